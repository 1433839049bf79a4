#pragma once

#include <QHash>
#include <QPageLayout>
#include <QString>

#include <optional>

namespace reports {

/// The printed reports.
enum class ReportId { IncomingBook, OutgoingBook, PetitionBook, IncomingSheet, OutgoingSheet, Letter, Picture,
                      Overdue };

/// How a report is started.
struct StartRule
{
    bool setUpFirst;    ///< the printer set-up comes first; no chosen printer → nothing happens
    bool alwaysPreview; ///< else preview only when ONIZ is "E", straight to the printer otherwise
    bool maximized;     ///< the preview window opens maximized
};

StartRule startRule(ReportId id);
/// Whether a report goes to the preview, given the general setting ONIZ.
bool previews(ReportId id, const QString &ONIZ);
QString reportTitle(ReportId id);

/// A printer as the person chose it in the set-up dialog.
struct PrinterChoice
{
    QString printerName;
    QString outputFile; ///< printing to a file instead of a printer
    int copies = 1;
};

/// The printer set-up dialog; tests play the person.
class PrinterSetup
{
public:
    virtual ~PrinterSetup() = default;
    /// Shows the set-up starting from `choice`; true with the new choice when confirmed.
    virtual bool ask(const QString &title, QPageLayout::Orientation orientation, PrinterChoice &choice) = 0;
};

/// The printer chosen for each report during the run: once chosen it stays,
/// so a later cancelled set-up still prints.
class PrinterChoices
{
public:
    /// Runs the set-up for a report; true when the report has a chosen printer afterwards.
    bool setUp(ReportId id, PrinterSetup &setup, QPageLayout::Orientation orientation);
    std::optional<PrinterChoice> chosen(ReportId id) const;
    void choose(ReportId id, const PrinterChoice &choice) { m_chosen.insert(int(id), choice); }

private:
    QHash<int, PrinterChoice> m_chosen;
};

} // namespace reports
