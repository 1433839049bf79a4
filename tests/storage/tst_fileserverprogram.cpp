// kelma-fileserver as an administrator runs it: a process of its own, its
// log on standard output, a clean stop on SIGTERM, refusal of a bad start.

#include "scriptedprompt.h"
#include "testfiles.h"

#include "storage/fileserverclient.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral(KELMA_FILESERVER);

/// The program on a free loopback port, stopped with SIGTERM when dropped.
struct ServerProcess
{
    QProcess process;
    QString port;

    bool start(const QString &folder)
    {
        process.start(kProgram, {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                                 QStringLiteral("0"), folder});
        if (!process.waitForStarted(10000) || !process.waitForReadyRead(10000))
            return false;
        const auto match = QRegularExpression(QStringLiteral(R"(listening on 127\.0\.0\.1:(\d+))"))
                               .match(QString::fromUtf8(process.readLine()));
        port = match.captured(1);
        return match.hasMatch();
    }

    /// The rest of the log, once the process has ended.
    QStringList stopAndReadLog()
    {
        process.terminate();
        process.waitForFinished(10000);
        return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    ~ServerProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(10000))
                process.kill();
        }
    }
};

} // namespace

class TestFileServerProgram : public QObject
{
    Q_OBJECT

private slots:
    void servesAndStopsOnSigterm();
    void sigtermDuringTransferKeepsStoredFile();
    void refusesBadStart_data();
    void refusesBadStart();
};

void TestFileServerProgram::servesAndStopsOnSigterm()
{
    QTemporaryDir root;
    const QString store = root.filePath(QStringLiteral("store"));
    const QString temp = root.filePath(QStringLiteral("TEMP"));
    QDir().mkpath(store);
    QDir().mkpath(temp);
    QVERIFY(writeFile(QDir(temp).filePath(QStringLiteral("GİD_4_1.PDF")), QByteArray("%PDF-1.4\r\n\0", 11)));

    ServerProcess server;
    QVERIFY(server.start(store));
    ScriptedPrompt prompt;
    FileServerClient client(QStringLiteral("127.0.0.1"), server.port, prompt);
    QVERIFY(client.SRVKONTROL().active);
    QCOMPARE(client.SERVEREGONDER(temp).sent.size(), 1);
    QVERIFY(client.SERVERDENAL(QStringLiteral("GİD_4_1.PDF"), root.filePath(QStringLiteral("TEMPOKU"))));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));

    const QStringList log = server.stopAndReadLog();
    QCOMPARE(server.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.process.exitCode(), 0);
    QCOMPARE(log.size(), 4);
    QVERIFY2(log[0].endsWith(QLatin1String(" TEST - 0 ok")), qPrintable(log[0]));
    QVERIFY2(log[1].endsWith(QStringLiteral(" SEND \"GİD_4_1.PDF\" 11 ok")), qPrintable(log[1]));
    QVERIFY2(log[2].endsWith(QStringLiteral(" RECEIVE \"GİD_4_1.PDF\" 11 ok")), qPrintable(log[2]));
    QVERIFY2(log[3].endsWith(QLatin1String(" stopped")), qPrintable(log[3]));
}

void TestFileServerProgram::sigtermDuringTransferKeepsStoredFile()
{
    QTemporaryDir store;
    QVERIFY(writeFile(store.filePath(QStringLiteral("GEL_8_1.PDF")), "as it was"));

    ServerProcess server;
    QVERIFY(server.start(store.path()));
    QTcpSocket sender;
    sender.connectToHost(QHostAddress::LocalHost, server.port.toUShort());
    QVERIFY(sender.waitForConnected(5000));
    constexpr qint64 size = 32 * 1024 * 1024;
    sender.write("SEND\r\nGEL_8_1.PDF\r\n" + QByteArray(size, 'x'));
    // More than the socket buffers hold has been taken: the server is inside the transfer.
    QTRY_VERIFY(sender.bytesToWrite() < size / 2);

    const QStringList log = server.stopAndReadLog();
    QCOMPARE(server.process.exitCode(), 0);
    QVERIFY2(QRegularExpression(QStringLiteral(R"( SEND "GEL_8_1\.PDF" [1-9]\d* stopped$)")).match(log.value(0)).hasMatch(),
             qPrintable(log.join(QLatin1Char('\n'))));
    QCOMPARE(readFile(store.filePath(QStringLiteral("GEL_8_1.PDF"))), QByteArray("as it was"));
    QCOMPARE(QDir(store.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("GEL_8_1.PDF")});
}

void TestFileServerProgram::refusesBadStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");

    QTest::newRow("no folder") << QStringList{} << 2 << "exactly one folder";
    QTest::newRow("missing folder") << QStringList{"/nonexistent/kelma-store"} << 1 << "is not a folder";
    QTest::newRow("port not a number") << QStringList{"--port", "x", "."} << 2 << "is not a port";
    QTest::newRow("address not IPv4") << QStringList{"--listen", "localhost", "."} << 1 << "not an IPv4 address";
}

void TestFileServerProgram::refusesBadStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, says);

    QProcess process;
    process.start(kProgram, arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), exitCode);
    const QString error = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(error.contains(says), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestFileServerProgram)
#include "tst_fileserverprogram.moc"
