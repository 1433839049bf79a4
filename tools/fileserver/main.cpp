// kelma-fileserver: keeps the attachment files of the workstations by name in
// one folder and serves them over TCP.

#include "fileserver.h"
#include "operationlog.h"

#include "core/clock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>

namespace {

FileServer *g_server = nullptr;

void onSignal(int)
{
    if (g_server)
        g_server->stop();
}

void installSignals()
{
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int fail(const QString &text, int code)
{
    std::fprintf(stderr, "kelma-fileserver: %s\n", qPrintable(text));
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelma-fileserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("KELMA document file server."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folder that keeps the files."));
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")},
                                  QStringLiteral("TCP port (0: any free one, shown in the log)."),
                                  QStringLiteral("port"), QString::number(fileserver::defaultPort));
    const QCommandLineOption listen({QStringLiteral("b"), QStringLiteral("bind"), QStringLiteral("l"),
                                     QStringLiteral("listen")},
                                    QStringLiteral("IPv4 address to listen on (--listen is the older name)."),
                                    QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    const QCommandLineOption allow(QStringLiteral("allow"),
                                   QStringLiteral("Addresses that may connect, comma-separated: single ones "
                                                  "(192.168.1.5) or networks (10.0.0.0/8). Default: any."),
                                   QStringLiteral("list"));
    const QCommandLineOption maxSize(QStringLiteral("max-size"),
                                     QStringLiteral("Largest file accepted, in bytes."), QStringLiteral("bytes"),
                                     QString::number(ServerOptions().maxFileSize));
    const QCommandLineOption transferTimeout(QStringLiteral("transfer-timeout"),
                                             QStringLiteral("Seconds a whole connection may last."),
                                             QStringLiteral("seconds"), QStringLiteral("600"));
    const QCommandLineOption idle(QStringLiteral("idle-timeout"),
                                  QStringLiteral("Seconds a client may stay silent before it is dropped."),
                                  QStringLiteral("seconds"), QStringLiteral("60"));
    const QCommandLineOption maxClients(QStringLiteral("max-clients"),
                                        QStringLiteral("Connections served at once."), QStringLiteral("count"),
                                        QStringLiteral("256"));
    const QCommandLineOption logFile(QStringLiteral("log"),
                                     QStringLiteral("Append the log to this file instead of standard output."),
                                     QStringLiteral("file"));
    parser.addOptions({port, listen, allow, idle, transferTimeout, maxClients, maxSize, logFile});
    parser.process(app);

    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("give exactly one folder (see --help)"), 2);

    ServerOptions options;
    options.folder = parser.positionalArguments().first();
    options.address = parser.value(listen);
    bool ok = false;
    const uint portNumber = parser.value(port).toUInt(&ok);
    if (!ok || portNumber > 65535)
        return fail(QStringLiteral("%1 is not a port").arg(parser.value(port)), 2);
    options.port = static_cast<quint16>(portNumber);
    const int idleSeconds = parser.value(idle).toInt(&ok);
    if (!ok || idleSeconds <= 0)
        return fail(QStringLiteral("--idle-timeout needs a number of seconds"), 2);
    options.idleLimit = std::chrono::seconds(idleSeconds);
    options.maxClients = parser.value(maxClients).toInt(&ok);
    if (!ok || options.maxClients <= 0)
        return fail(QStringLiteral("--max-clients needs a positive number"), 2);
    options.maxFileSize = parser.value(maxSize).toLongLong(&ok);
    if (!ok || options.maxFileSize <= 0)
        return fail(QStringLiteral("--max-size needs a positive number of bytes"), 2);
    const int transferSeconds = parser.value(transferTimeout).toInt(&ok);
    if (!ok || transferSeconds <= 0)
        return fail(QStringLiteral("--transfer-timeout needs a number of seconds"), 2);
    options.transferLimit = std::chrono::seconds(transferSeconds);
    if (parser.isSet(allow)) {
        QString why;
        if (!parseAllowList(parser.value(allow), &options.allowed, &why))
            return fail(QStringLiteral("--allow: ") + why, 2);
    }

    QFile out;
    const bool opened = parser.isSet(logFile)
                            ? (out.setFileName(parser.value(logFile)), out.open(QIODevice::Append | QIODevice::Text))
                            : out.open(stdout, QIODevice::WriteOnly);
    if (!opened)
        return fail(QStringLiteral("cannot write the log: %1").arg(out.errorString()), 1);

    SystemClock clock;
    OperationLog log(out, clock);
    FileServer server(options, log);
    QString error;
    if (!server.start(&error))
        return fail(error, 1);

    g_server = &server;
    installSignals();
    server.run();
    g_server = nullptr;
    return 0;
}
