#pragma once

#include "layout.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace reports {

/// Told after each page is done (pages counted first, so the total is known);
/// returns false to stop.
using Progress = std::function<bool(int page, int pages)>;

enum class Outcome { Done, Cancelled, Failed };

/// A layout with its rows, laid out in two passes: the first counts the pages
/// (so "Sayfa No : n / total" can be printed), the second draws them one at a
/// time straight onto the device, holding no page in memory.
class Report
{
public:
    Report(Layout layout, RowSource *rows = nullptr);

    const Layout &layout() const { return m_layout; }
    Layout &layout() { return m_layout; }

    /// Walks the rows once and counts pages.
    int pageCount();
    /// Draws every page onto a device whose page layout it sets. The device
    /// must not be painted on yet.
    Outcome render(QPagedPaintDevice &device, const Progress &progress = {});

private:
    Layout m_layout;
    RowSource *m_rows;
};

/// Writes the report to a PDF file (fonts embedded). A cancelled or failed
/// export leaves no file behind; `error` says why it failed.
Outcome writePdf(Report &report, const QString &fileName, const Progress &progress = {},
                 QString *error = nullptr);

} // namespace reports
