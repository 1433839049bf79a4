// kelma-versiyon: the office's version service. Serves release notes and
// the newest package's address and checksum to the workstations.

#include "versionservice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelma-versiyon"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "KELMA version service.\n"
        "  kelma-versiyon [options] FOLDER                      serve FOLDER\n"
        "  kelma-versiyon publish FOLDER VERSION PACKAGE URL    record the newest package"));
    parser.addHelpOption();
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")}, QStringLiteral("TCP port."),
                                  QStringLiteral("port"), QStringLiteral("1965"));
    const QCommandLineOption bind(QStringLiteral("bind"), QStringLiteral("Address to listen on."),
                                  QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    parser.addOptions({port, bind});
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folder with SURUM and NOTLAR/."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();

    if (args.value(0) == QLatin1String("publish")) {
        if (args.size() != 5) {
            std::fprintf(stderr, "kelma-versiyon: publish FOLDER VERSION PACKAGE URL\n");
            return 2;
        }
        const QString error = VersionService::publish(args[1], args[2], args[3], args[4]);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "kelma-versiyon: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    if (args.size() != 1 || !QDir(args[0]).exists()) {
        std::fprintf(stderr, "kelma-versiyon: a folder that exists is needed (--help)\n");
        return 2;
    }
    VersionService service(args[0]);
    if (!service.listen(QHostAddress(parser.value(bind)), parser.value(port).toUShort())) {
        std::fprintf(stderr, "kelma-versiyon: %s\n", qPrintable(service.errorString()));
        return 1;
    }
    std::printf("kelma-versiyon: %s:%d\n", qPrintable(parser.value(bind)), service.serverPort());
    std::fflush(stdout);
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
    return app.exec();
}
