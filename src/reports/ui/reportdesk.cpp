#include "reportdesk.h"

#include "reports/overdue.h"

#include "previewdialog.h"

#include "core/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryDir>

namespace reports {

namespace {

/// Runs long work behind a progress window with a cancel button; the window
/// appears only when the work takes a moment.
Outcome withProgress(QWidget *parent, const QString &what, const std::function<Outcome(const Progress &)> &work,
                     const std::function<void()> &onCancel = {})
{
    QProgressDialog dialog(what, QStringLiteral("İptal"), 0, 1, parent);
    dialog.setWindowTitle(QStringLiteral("Lütfen Bekleyiniz"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    dialog.setAutoReset(false);
    const Progress progress = [&](int page, int pages) {
        dialog.setMaximum(pages);
        dialog.setValue(page);
        dialog.setLabelText(QStringLiteral("%1\nSayfa %2 / %3").arg(what).arg(page).arg(pages));
        QCoreApplication::processEvents();
        if (dialog.wasCanceled()) {
            if (onCancel)
                onCancel();
            return false;
        }
        return true;
    };
    return work(progress);
}

QString withPdfSuffix(QString file)
{
    if (!file.isEmpty() && !file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    return file;
}

ReportId bookReport(Book book)
{
    switch (book) {
    case Book::Outgoing: return ReportId::OutgoingBook;
    case Book::Petition: return ReportId::PetitionBook;
    case Book::Incoming: break;
    }
    return ReportId::IncomingBook;
}

} // namespace

void PreviewRunner::run(PreviewDialog &preview)
{
    if (preview.opensMaximized)
        preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

ReportDesk::ReportDesk(Session &session, QWidget *parent)
    : m_session(session), m_parent(parent), m_ownSetup(std::make_unique<QtPrinterSetup>(parent)),
      m_setup(m_ownSetup.get()), m_runner(&m_ownRunner)
{
}

ReportDesk::~ReportDesk() = default;

QImage ReportDesk::logo() const
{
    return logoPicture(m_session.general.LOGO);
}

void ReportDesk::printRegisterBook(Book book, RowSource &rows)
{
    Report report(registerBook(book), &rows);
    start(bookReport(book), report);
}

void ReportDesk::exportRegisterBook(Book book, RowSource &rows)
{
    Report report(registerBook(book), &rows);
    exportPdf(report, report.layout().name);
}

void ReportDesk::printOverdue(RowSource &rows, const QString &institution, const QDate &today)
{
    Report report(overdueReport(institution, today, rows.count()), &rows);
    start(ReportId::Overdue, report);
}

void ReportDesk::printIncomingSheet(const RecordSheet &sheet)
{
    Report report(incomingSheet(sheet, logo()));
    start(ReportId::IncomingSheet, report);
}

void ReportDesk::printOutgoingSheet(const RecordSheet &sheet)
{
    Report report(outgoingSheet(sheet, logo()));
    start(ReportId::OutgoingSheet, report);
}

void ReportDesk::printLetter(const QByteArray &METIN)
{
    Report report(letter(letterHtml(METIN), logo()));
    start(ReportId::Letter, report);
}

void ReportDesk::printPicture(const QImage &image, bool stretch, bool centre, bool setsPrintReturn)
{
    if (setsPrintReturn)
        m_session.printReturn = true;
    const PictureMode mode = stretch ? PictureMode::Stretch : centre ? PictureMode::Centre : PictureMode::Fit;
    Report report(picturePage(image, mode));
    start(ReportId::Picture, report);
}

void ReportDesk::start(ReportId id, Report &report)
{
    const StartRule rule = startRule(id);
    if (rule.setUpFirst && !m_printers.setUp(id, *m_setup, report.layout().orientation))
        return;
    if (id == ReportId::Letter || !rule.setUpFirst)
        m_session.printReturn = true;
    if (previews(id, m_session.general.ONIZ)) {
        preview(id, report);
    } else {
        print(id, report, m_printers.chosen(id).value_or(PrinterChoice{}));
    }
}

void ReportDesk::preview(ReportId id, Report &report)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("onizleme.pdf"));
    QString error;
    const Outcome made = withProgress(m_parent, QStringLiteral("Rapor hazırlanıyor..."),
                                      [&](const Progress &p) { return writePdf(report, file, p, &error); });
    if (made == Outcome::Cancelled)
        return;
    if (made == Outcome::Failed) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Rapor hazırlanamadı."), error);
        return;
    }
    PreviewDialog dialog(report.layout().name, file, m_parent);
    dialog.opensMaximized = startRule(id).maximized;
    dialog.onPrint = [&] {
        PrinterChoice choice = m_printers.chosen(id).value_or(PrinterChoice{});
        if (!m_setup->ask(reportTitle(id), report.layout().orientation, choice))
            return;
        m_printers.choose(id, choice);
        print(id, report, choice);
    };
    dialog.onExport = [&] {
        const QString target = withPdfSuffix(m_session.prompt().saveFile(
            QStringLiteral("PDF'e Aktar"), QStringLiteral("PDF (*.pdf)"), report.layout().name + QStringLiteral(".pdf")));
        if (target.isEmpty())
            return;
        QFile::remove(target);
        if (!QFile::copy(file, target))
            m_session.prompt().error(QStringLiteral("DİKKAT! PDF dosyası yazılamadı.\n") + target);
    };
    m_runner->run(dialog);
}

bool ReportDesk::print(ReportId, Report &report, const PrinterChoice &choice)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choice.printerName.isEmpty())
        printer.setPrinterName(choice.printerName);
    if (!choice.outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice.outputFile);
    }
    printer.setCopyCount(std::max(1, choice.copies));
    printer.setDocName(report.layout().name);
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Yazıcı bulunamadı. Yazıcı ayarlarından bir yazıcı seçiniz."));
        return false;
    }
    const Outcome outcome = withProgress(
        m_parent, QStringLiteral("Yazdırılıyor..."), [&](const Progress &p) { return report.render(printer, p); },
        [&] { printer.abort(); });
    if (outcome == Outcome::Cancelled && !choice.outputFile.isEmpty())
        QFile::remove(choice.outputFile);
    if (outcome == Outcome::Failed)
        m_session.prompt().error(QStringLiteral("DİKKAT! Yazdırılamadı: ") + printer.printerName());
    return outcome == Outcome::Done;
}

bool ReportDesk::exportPdf(Report &report, const QString &suggested)
{
    const QString target = withPdfSuffix(m_session.prompt().saveFile(
        QStringLiteral("PDF'e Aktar"), QStringLiteral("PDF (*.pdf)"), suggested + QStringLiteral(".pdf")));
    if (target.isEmpty())
        return false;
    QString error;
    const Outcome outcome = withProgress(m_parent, QStringLiteral("PDF yazılıyor..."),
                                         [&](const Progress &p) { return writePdf(report, target, p, &error); });
    if (outcome == Outcome::Failed)
        m_session.prompt().error(QStringLiteral("DİKKAT! PDF dosyası yazılamadı.\n") + target, error);
    return outcome == Outcome::Done;
}

bool QtPrinterSetup::ask(const QString &title, QPageLayout::Orientation orientation, PrinterChoice &choice)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choice.printerName.isEmpty())
        printer.setPrinterName(choice.printerName);
    if (!choice.outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice.outputFile);
    }
    printer.setCopyCount(std::max(1, choice.copies));
    printer.setPageOrientation(orientation);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(title + QStringLiteral(" - Yazıcı Ayarları"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.printerName = printer.printerName();
    choice.outputFile = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    choice.copies = printer.copyCount();
    return true;
}

} // namespace reports
