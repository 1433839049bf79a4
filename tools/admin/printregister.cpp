#include "printregister.h"

#include "reports/bookquery.h"
#include "reports/engine.h"
#include "reports/registerbooks.h"

#include "db/fb/attachment.h"

#include <QGuiApplication>

namespace {

int usage(AdminContext &c)
{
    c.err << "Kullanım: kelma-admin print-register VERİTABANI --register gelen|giden|dilekce --year YIL"
             " [--month AY] [--department BİRİMKODU] --pdf DOSYA\n";
    return 2;
}

} // namespace

std::unique_ptr<QCoreApplication> makeAdminApplication(int &argc, char **argv)
{
    bool draws = false;
    for (int i = 1; i < argc; ++i)
        draws = draws || qstrcmp(argv[i], "print-register") == 0;
    if (!draws)
        return std::make_unique<QCoreApplication>(argc, argv);
    // Text needs fonts, fonts need a platform; a server has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int printRegisterCommand(AdminContext &c)
{
    QStringList args = c.args;
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return usage(c);
    const QString database = args.takeFirst();
    QString reg, pdf;
    reports::BookFilter filter;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (args.isEmpty())
            return usage(c);
        const QString value = args.takeFirst();
        bool ok = true;
        if (option == QLatin1String("--register"))
            reg = value;
        else if (option == QLatin1String("--pdf"))
            pdf = value;
        else if (option == QLatin1String("--year"))
            filter.year = value.toInt(&ok);
        else if (option == QLatin1String("--month"))
            filter.month = value.toInt(&ok);
        else if (option == QLatin1String("--department"))
            filter.department = value.toInt(&ok);
        else
            ok = false;
        if (!ok) {
            c.err << "Geçersiz seçenek: " << option << " " << value << "\n";
            return usage(c);
        }
    }
    reports::Book book;
    if (reg == QLatin1String("gelen"))
        book = reports::Book::Incoming;
    else if (reg == QLatin1String("giden"))
        book = reports::Book::Outgoing;
    else if (reg == QLatin1String("dilekce"))
        book = reports::Book::Petition;
    else
        return usage(c);
    if (pdf.isEmpty() || filter.year <= 0 || filter.month < 0 || filter.month > 12)
        return usage(c);
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        c.err << "Bu komut yazı çizebilen bir uygulama nesnesi ister.\n";
        return 1;
    }

    fb::Attachment attachment;
    if (!c.open(attachment, database))
        return 1;
    reports::BookQuery rows(attachment, book, filter);
    reports::Report report(reports::registerBook(book), &rows);
    int pages = 0;
    QString error;
    const reports::Outcome outcome = reports::writePdf(report, pdf, [&](int page, int total) {
        pages = total;
        if (page % 50 == 0 || page == total) {
            c.out << "Sayfa " << page << " / " << total << "\n";
            c.out.flush();
        }
        return true;
    }, &error);
    if (outcome != reports::Outcome::Done) {
        c.err << pdf << " yazılamadı: " << error << "\n";
        return 1;
    }
    c.out << pdf << ": " << report.layout().name << ", " << pages << " sayfa yazıldı.\n";
    return 0;
}
