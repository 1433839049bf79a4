#pragma once

#include "reports/engine.h"
#include "reports/printing.h"
#include "reports/registerbooks.h"
#include "reports/sheets.h"

#include <QImage>

#include <memory>

class QWidget;
class Session;

namespace reports {

class PreviewDialog;

/// Shows a preview. Tests replace it to look at the preview instead of waiting on it.
class PreviewRunner
{
public:
    virtual ~PreviewRunner() = default;
    virtual void run(PreviewDialog &preview);
};

/// The printed reports of one run, made once: each report keeps the printer
/// chosen for it until the program ends. The start functions follow each
/// report's rule: set-up first or not, preview or straight printing.
class ReportDesk
{
public:
    explicit ReportDesk(Session &session, QWidget *parent = nullptr);
    ~ReportDesk();

    /// Tests play the person at the set-up dialog and the preview.
    void setPrinterSetup(PrinterSetup *setup) { m_setup = setup; }
    void setPreviewRunner(PreviewRunner *runner) { m_runner = runner; }
    PrinterChoices &printers() { return m_printers; }

    /// "F7-Yazdır" of a list in register-book mode: its rows, in list order.
    void printRegisterBook(Book book, RowSource &rows);
    /// The register book straight into a PDF file the person names.
    void exportRegisterBook(Book book, RowSource &rows);
    /// "F7-Yazdır" of the incoming record screen, "Kayıt Yazdır" of the outgoing one.
    void printIncomingSheet(const RecordSheet &sheet);
    void printOutgoingSheet(const RecordSheet &sheet);
    /// "Yazdır" of the archive record screen: the current text attachment's METIN.
    void printLetter(const QByteArray &METIN);
    /// "Yazdır" of the picture viewer (its stretch and centre settings) or of the
    /// petition record screen (its attachment picture; the print-return flag is set first).
    void printPicture(const QImage &image, bool stretch, bool centre, bool setsPrintReturn = false);

    /// "Süresi Geçen Evraklar": always previewed, printed or saved as PDF from there.
    void printOverdue(RowSource &rows, const QString &institution, const QDate &today);

    /// Runs a report by its rule; public so every report starts one way.
    void start(ReportId id, Report &report);

private:
    void preview(ReportId id, Report &report);
    bool print(ReportId id, Report &report, const PrinterChoice &choice);
    bool exportPdf(Report &report, const QString &suggested);
    QImage logo() const;

    Session &m_session;
    QWidget *m_parent;
    PrinterChoices m_printers;
    std::unique_ptr<PrinterSetup> m_ownSetup;
    PrinterSetup *m_setup;
    PreviewRunner m_ownRunner;
    PreviewRunner *m_runner;
};

/// The system's printer set-up dialog.
class QtPrinterSetup : public PrinterSetup
{
public:
    explicit QtPrinterSetup(QWidget *parent = nullptr) : m_parent(parent) {}
    bool ask(const QString &title, QPageLayout::Orientation orientation, PrinterChoice &choice) override;

private:
    QWidget *m_parent;
};

} // namespace reports
