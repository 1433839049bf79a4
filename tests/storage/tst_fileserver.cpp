// kelma-fileserver on a loopback port with the real client: transfers of any
// content and name, hostile names, broken transfers, many clients at once.

#include "runningserver.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include "storage/fileserverclient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <latch>

using namespace std::chrono_literals;

namespace {

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

/// Sends raw request bytes and ends our side; returns whatever the server
/// sends back before it closes.
QByteArray exchange(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return "(no connection)";
    socket.write(request);
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(5000)) {
    }
    ::shutdown(int(socket.socketDescriptor()), SHUT_WR);
    QByteArray reply;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(10000))
        reply += socket.readAll();
    return reply + socket.readAll();
}

/// A refused client is reset at once; the reset may beat the client's own view of the
/// connection, so "no connection" and "nothing answered" both mean turned away.
bool servedNothing(quint16 port)
{
    const QByteArray answer = exchange(port, "TEST\r\n");
    if (!answer.isEmpty() && answer != "(no connection)")
        qWarning("answered: %s", answer.constData());
    return answer.isEmpty() || answer == "(no connection)";
}

/// Ends a connection with a reset, as a crashing client or a broken line does.
void resetConnection(QTcpSocket &socket)
{
    const linger abortive{1, 0};
    ::setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    socket.abort();
}

QStringList uploadsLeft(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".upload-*")}, QDir::Files | QDir::Hidden);
}

/// A storage folder inside a root of its own, so that a file escaping it shows.
struct Fixture
{
    QTemporaryDir root;
    QString store = root.filePath(QStringLiteral("store"));
    QString local = root.filePath(QStringLiteral("EVRAKLAR"));
    QString temp = local + QStringLiteral("/TEMP");
    QString tempoku = local + QStringLiteral("/TEMPOKU");

    Fixture()
    {
        QDir().mkpath(store);
        QDir().mkpath(temp);
    }
};

} // namespace

class TestFileServer : public QObject
{
    Q_OBJECT

private slots:
    void answersTest();
    void roundTrip_data();
    void roundTrip();
    void unknownName();
    void hostileNamesTouchNothing_data();
    void hostileNamesTouchNothing();
    void brokenTransferKeepsStoredFile_data();
    void brokenTransferKeepsStoredFile();
    void manyClientsAtOnce();
    void silentClientHoldsNobody();
    void silentClientIsDropped();
    void clientsBeyondLimitAreTurnedAway();
    void logHasOneLinePerOperation();
    void allowList_data();
    void allowList();
    void addressesOutsideTheAllowListAreTurnedAway();
    void fileBeyondTheSizeLimitIsRefused_data();
    void fileBeyondTheSizeLimitIsRefused();
    void drippingClientIsCutAtTheTransferDeadline();
};

void TestFileServer::answersTest()
{
    Fixture f;
    RunningServer server(f.store);
    ScriptedPrompt prompt;
    const FileServerCheck check = FileServerClient(QStringLiteral("127.0.0.1"), server.portText(), prompt).SRVKONTROL();
    QVERIFY(check.active);
    QCOMPARE(check.LSRV, QStringLiteral("Dosya Sunucusu Aktif."));
    QCOMPARE(check.LSVER, QStringLiteral("V2"));
    QVERIFY(!check.updateNeeded);
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServer::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("empty") << "GEL_1_1.TXT" << QByteArray("");
    QTest::newRow("CR LF NUL inside") << "GEL_1_2.PDF" << QByteArray("\r\n%PDF\0\r\r\n\n\0", 12);
    QTest::newRow("multi-megabyte binary") << "GEL_1_3.PDF" << randomBytes(5 * 1024 * 1024 + 3, 7);
    QTest::newRow("Turkish name") << QStringLiteral("GEL_ŞİĞÜÇÖıi_4.DOC") << QByteArray("belge");
}

void TestFileServer::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);

    Fixture f;
    RunningServer server(f.store);
    writeFile(QDir(f.store).filePath(name), "an earlier version, replaced");
    writeFile(QDir(f.temp).filePath(name), content);

    ScriptedPrompt prompt;
    QPair<qint64, qint64> lastProgress{-1, -1};
    FileServerClient client(QStringLiteral("127.0.0.1"), server.portText(), prompt,
                            [&](qint64 done, qint64 total) { lastProgress = {done, total}; });

    const FileServerSend sent = client.SERVEREGONDER(f.temp);
    QCOMPARE(sent.sent, QStringList{name});
    QVERIFY(sent.failed.isEmpty());
    QCOMPARE(lastProgress, qMakePair(content.size(), content.size()));
    QVERIFY(server.waitForOperations(1));
    QCOMPARE(readFile(QDir(f.store).filePath(name)), content);

    lastProgress = {-1, -1};
    QVERIFY(client.SERVERDENAL(name, f.tempoku));
    QCOMPARE(readFile(QDir(f.tempoku).filePath(name)), content);
    QCOMPARE(lastProgress, qMakePair(content.size(), content.size()));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
    QVERIFY(uploadsLeft(f.store).isEmpty());
}

void TestFileServer::unknownName()
{
    Fixture f;
    RunningServer server(f.store);
    ScriptedPrompt prompt;
    prompt.expectMessage(QStringLiteral("DİKKAT: Dosya Sunucuda Bulunamadı.."));
    QVERIFY(!FileServerClient(QStringLiteral("127.0.0.1"), server.portText(), prompt)
                 .SERVERDENAL(QStringLiteral("GEL_9_9.PDF"), f.tempoku));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
    QVERIFY(QDir(f.tempoku).isEmpty());
}

void TestFileServer::hostileNamesTouchNothing_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("logged");

    QTest::newRow("parent") << QByteArray("..") << "refused: leading dot";
    QTest::newRow("current") << QByteArray(".") << "refused: leading dot";
    QTest::newRow("up and out") << QByteArray("../escape.txt") << "refused: path separator";
    QTest::newRow("up with backslash") << QByteArray("..\\escape.txt") << "refused: path separator";
    QTest::newRow("absolute") << QByteArray("/etc/passwd") << "refused: path separator";
    QTest::newRow("into a folder") << QByteArray("sub/escape.txt") << "refused: path separator";
    QTest::newRow("drive letter") << QByteArray("C:escape.txt") << "refused: drive or stream";
    QTest::newRow("drive path") << QByteArray("C:\\escape.txt") << "refused: drive or stream";
    QTest::newRow("control character") << QByteArray("GEL\x01.PDF") << "refused: control character";
    QTest::newRow("CR inside") << QByteArray("GEL\r1.PDF") << "refused: control character";
    QTest::newRow("undefined code page byte") << QByteArray("GEL\x81.PDF") << "refused: control character";
    QTest::newRow("empty") << QByteArray("") << "refused: empty name";
    QTest::newRow("over-long") << QByteArray(256, 'A') << "refused: name too long";
    QTest::newRow("transfer in progress") << QByteArray(".upload-abc123") << "refused: leading dot";
    QTest::newRow("line without end") << QByteArray(4000, 'A') << "line too long";
}

void TestFileServer::hostileNamesTouchNothing()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, logged);

    Fixture f;
    writeFile(f.root.filePath(QStringLiteral("escape.txt")), "outside");
    RunningServer server(f.store);

    const QByteArray sendReply = exchange(server.port(), "SEND\r\n" + name + "\r\npayload");
    const QByteArray receiveReply = exchange(server.port(), "RECEIVE\r\n" + name + "\r\n");
    QVERIFY(server.waitForOperations(2));

    QCOMPARE(sendReply, logged.startsWith(QLatin1String("refused")) ? QByteArray("HATA\r\n") : QByteArray());
    QCOMPARE(receiveReply, logged.startsWith(QLatin1String("refused")) ? QByteArray("0\r\n") : QByteArray());
    for (const QString &line : server.operations())
        QVERIFY2(line.endsWith(logged), qPrintable(line));
    QCOMPARE(QDir(f.root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("escape.txt"), QStringLiteral("EVRAKLAR"), QStringLiteral("store")}));
    QCOMPARE(readFile(f.root.filePath(QStringLiteral("escape.txt"))), QByteArray("outside"));
    QVERIFY(QDir(f.store).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

void TestFileServer::brokenTransferKeepsStoredFile_data()
{
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QString>("logged");

    QTest::newRow("connection reset") << true << "broken";
    QTest::newRow("client falls silent") << false << "timed out";
}

void TestFileServer::brokenTransferKeepsStoredFile()
{
    QFETCH(bool, reset);
    QFETCH(QString, logged);

    Fixture f;
    RunningServer server(f.store, 1s);
    const QByteArray stored = randomBytes(64 * 1024, 1);
    writeFile(QDir(f.temp).filePath(QStringLiteral("GEL_3_1.PDF")), stored);
    ScriptedPrompt prompt;
    QCOMPARE(FileServerClient(QStringLiteral("127.0.0.1"), server.portText(), prompt).SERVEREGONDER(f.temp).sent.size(), 1);
    QVERIFY(server.waitForOperations(1));

    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.port());
    QVERIFY(socket.waitForConnected(5000));
    socket.write("SEND\r\nGEL_3_1.PDF\r\n" + randomBytes(1024 * 1024, 2));
    while (socket.bytesToWrite() > 0)
        QVERIFY(socket.waitForBytesWritten(5000));
    if (reset)
        resetConnection(socket);
    else
        QVERIFY(socket.waitForDisconnected(10000));

    QVERIFY(server.waitForOperations(2));
    QVERIFY2(server.operations().last().endsWith(logged), qPrintable(server.operations().last()));
    QCOMPARE(readFile(QDir(f.store).filePath(QStringLiteral("GEL_3_1.PDF"))), stored);
    QVERIFY(uploadsLeft(f.store).isEmpty());
}

void TestFileServer::manyClientsAtOnce()
{
    constexpr int clients = 32;
    Fixture f;
    RunningServer server(f.store);

    std::array<QString, clients> failures;
    std::latch start(clients);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&, i] {
            const QString name = QStringLiteral("GEL_%1_1.PDF").arg(i);
            const QByteArray content = randomBytes(256 * 1024 + i, quint32(100 + i));
            QTemporaryDir local;
            QDir().mkpath(local.filePath(QStringLiteral("TEMP")));
            writeFile(local.filePath(QStringLiteral("TEMP/") + name), content);
            ScriptedPrompt prompt;
            FileServerClient client(QStringLiteral("127.0.0.1"), server.portText(), prompt);
            start.arrive_and_wait();
            if (client.SERVEREGONDER(local.filePath(QStringLiteral("TEMP"))).sent != QStringList{name})
                failures[i] = QStringLiteral("send");
            else if (!client.SERVERDENAL(name, local.filePath(QStringLiteral("TEMPOKU"))))
                failures[i] = QStringLiteral("fetch");
            else if (readFile(local.filePath(QStringLiteral("TEMPOKU/") + name)) != content)
                failures[i] = QStringLiteral("content");
            else if (!prompt.done())
                failures[i] = prompt.report();
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    for (int i = 0; i < clients; ++i)
        QVERIFY2(failures[i].isEmpty(), qPrintable(QStringLiteral("client %1: %2").arg(i).arg(failures[i])));
    QVERIFY(server.waitForOperations(2 * clients));
    QCOMPARE(server.operations().filter(QRegularExpression(QStringLiteral(" ok$"))).size(), 2 * clients);
    QCOMPARE(QDir(f.store).entryList(QDir::Files).size(), clients);
}

void TestFileServer::silentClientHoldsNobody()
{
    Fixture f;
    RunningServer server(f.store);
    std::array<QTcpSocket, 4> silent;
    for (QTcpSocket &socket : silent) {
        socket.connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(socket.waitForConnected(5000));
    }
    writeFile(QDir(f.temp).filePath(QStringLiteral("GEL_2_1.PDF")), "while others wait");

    ScriptedPrompt prompt;
    FileServerClient client(QStringLiteral("127.0.0.1"), server.portText(), prompt);
    QVERIFY(client.SRVKONTROL().active);
    QCOMPARE(client.SERVEREGONDER(f.temp).sent.size(), 1);
    QVERIFY(client.SERVERDENAL(QStringLiteral("GEL_2_1.PDF"), f.tempoku));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
    for (QTcpSocket &socket : silent)
        QCOMPARE(socket.state(), QAbstractSocket::ConnectedState);
}

void TestFileServer::silentClientIsDropped()
{
    Fixture f;
    RunningServer server(f.store, 200ms);
    QTcpSocket silent;
    silent.connectToHost(QHostAddress::LocalHost, server.port());
    QVERIFY(silent.waitForConnected(5000));
    QVERIFY(silent.waitForDisconnected(10000));
    QVERIFY(server.waitForOperations(1));
    QVERIFY2(server.operations().first().endsWith(QLatin1String(" - - 0 timed out")),
             qPrintable(server.operations().first()));
}

void TestFileServer::clientsBeyondLimitAreTurnedAway()
{
    Fixture f;
    RunningServer server(f.store, 60s, 2);
    std::array<QTcpSocket, 2> holding;
    for (QTcpSocket &socket : holding) {
        socket.connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(socket.waitForConnected(5000));
    }
    QVERIFY(servedNothing(server.port()));
    QVERIFY(server.waitForOperations(1));
    QVERIFY2(server.operations().first().endsWith(QLatin1String(" busy")), qPrintable(server.operations().first()));
}

void TestFileServer::logHasOneLinePerOperation()
{
    Fixture f;
    FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
    RunningServer server(f.store, 60s, 256, &clock);
    writeFile(QDir(f.temp).filePath(QStringLiteral("GEL_1_1.PDF")), "hello");
    ScriptedPrompt prompt;
    prompt.expectMessage(QStringLiteral("Bulunamadı"));
    FileServerClient client(QStringLiteral("127.0.0.1"), server.portText(), prompt);
    client.SRVKONTROL();
    client.SERVEREGONDER(f.temp);
    client.SERVERDENAL(QStringLiteral("GEL_1_1.PDF"), f.tempoku);
    client.SERVERDENAL(QStringLiteral("GEL_1_2.PDF"), f.tempoku);
    exchange(server.port(), "SEND\r\nGEL\x01\"\\.PDF\r\n");
    exchange(server.port(), "HELLO\r\n");
    QVERIFY(server.waitForOperations(6));

    QStringList expected = {
        R"(TEST - 0 ok)",
        R"(SEND "GEL_1_1.PDF" 5 ok)",
        R"(RECEIVE "GEL_1_1.PDF" 5 ok)",
        R"(RECEIVE "GEL_1_2.PDF" 0 not found)",
        R"(SEND "GEL\x01\"\\.PDF" 0 refused: control character)",
        R"(HELLO - 0 unknown command)",
    };
    // Each connection logs from its own thread, so the order may vary.
    const QRegularExpression prefix(QStringLiteral(R"(^2024-03-05 10:20:30\.000 127\.0\.0\.1:\d+ )"));
    QStringList logged;
    for (const QString &line : server.operations()) {
        QVERIFY2(prefix.match(line).hasMatch(), qPrintable(line));
        logged << QString(line).remove(prefix);
    }
    logged.sort();
    expected.sort();
    QCOMPARE(logged, expected);
}


void TestFileServer::allowList_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected"); // "in", "out" or "error"

    QTest::newRow("in a network") << "10.0.0.0/8,192.168.1.5" << "10.200.3.4" << "in";
    QTest::newRow("the single address") << "10.0.0.0/8,192.168.1.5" << "192.168.1.5" << "in";
    QTest::newRow("its neighbour") << "10.0.0.0/8,192.168.1.5" << "192.168.1.6" << "out";
    QTest::newRow("outside the network") << "10.0.0.0/8" << "11.0.0.1" << "out";
    QTest::newRow("host bits in the network are ignored") << "192.168.1.77/24" << "192.168.1.200" << "in";
    QTest::newRow("spaces") << " 127.0.0.1 , 10.0.0.0/8 " << "127.0.0.1" << "in";
    QTest::newRow("every address") << "0.0.0.0/0" << "8.8.8.8" << "in";
    QTest::newRow("prefix too long") << "10.0.0.0/33" << "" << "error";
    QTest::newRow("not an address") << "10.0.0.300" << "" << "error";
    QTest::newRow("a host name") << "fileserver.local" << "" << "error";
    QTest::newRow("empty") << "," << "" << "error";
}

void TestFileServer::allowList()
{
    QFETCH(QString, list);
    QFETCH(QString, address);
    QFETCH(QString, expected);
    QList<AllowedNetwork> networks;
    QString why;
    const bool parsed = parseAllowList(list, &networks, &why);
    QCOMPARE(parsed, expected != QLatin1String("error"));
    if (!parsed) {
        QVERIFY(!why.isEmpty());
        return;
    }
    const quint32 host = QHostAddress(address).toIPv4Address();
    const bool in = std::any_of(networks.cbegin(), networks.cend(),
                                [host](const AllowedNetwork &n) { return n.contains(host); });
    QCOMPARE(in, expected == QLatin1String("in"));
}

void TestFileServer::addressesOutsideTheAllowListAreTurnedAway()
{
    Fixture f;
    ServerOptions elsewhere;
    QVERIFY(parseAllowList(QStringLiteral("10.0.0.0/8"), &elsewhere.allowed, nullptr));
    RunningServer closed(f.store, elsewhere);
    QVERIFY(servedNothing(closed.port()));
    QVERIFY(closed.waitForOperations(1));
    QVERIFY2(closed.operations().first().endsWith(QLatin1String(" not allowed")),
             qPrintable(closed.operations().first()));

    ServerOptions loopback;
    QVERIFY(parseAllowList(QStringLiteral("10.0.0.0/8,127.0.0.1"), &loopback.allowed, nullptr));
    RunningServer open(f.store, loopback);
    QCOMPARE(exchange(open.port(), "TEST\r\n"), QByteArray("TAMAM\r\nV2\r\n"));
}

void TestFileServer::fileBeyondTheSizeLimitIsRefused_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("stored");

    QTest::newRow("at the limit") << 300 * 1024 << true;
    QTest::newRow("one byte over") << 300 * 1024 + 1 << false;
    QTest::newRow("over within the first packet") << 600 << false;
}

void TestFileServer::fileBeyondTheSizeLimitIsRefused()
{
    QFETCH(int, size);
    QFETCH(bool, stored);
    Fixture f;
    ServerOptions options;
    options.maxFileSize = size == 600 ? 500 : 300 * 1024;
    RunningServer server(f.store, options);
    const QByteArray before = "kept as it was";
    writeFile(QDir(f.store).filePath(QStringLiteral("GEL_4_1.PDF")), before);

    const QByteArray body = randomBytes(size, 3);
    const QByteArray reply = exchange(server.port(), "SEND\r\nGEL_4_1.PDF\r\n" + body);
    QCOMPARE(reply, stored ? QByteArray("TAMAM\r\n") : QByteArray("HATA\r\n"));
    QVERIFY(server.waitForOperations(1));
    QCOMPARE(server.operations().first().endsWith(QLatin1String("refused: too large")), !stored);
    QCOMPARE(readFile(QDir(f.store).filePath(QStringLiteral("GEL_4_1.PDF"))), stored ? body : before);
    QVERIFY(uploadsLeft(f.store).isEmpty());
}

void TestFileServer::drippingClientIsCutAtTheTransferDeadline()
{
    Fixture f;
    ServerOptions options;
    options.idleLimit = 60s;
    options.transferLimit = 1s;
    RunningServer server(f.store, options);
    QTcpSocket dripping;
    dripping.connectToHost(QHostAddress::LocalHost, server.port());
    QVERIFY(dripping.waitForConnected(5000));
    dripping.write("SEND\r\nGEL_5_1.PDF\r\n");
    QElapsedTimer held;
    held.start();
    // Never silent for long, so only the deadline can end it.
    while (dripping.state() == QAbstractSocket::ConnectedState && held.elapsed() < 20000) {
        dripping.write("x");
        dripping.waitForBytesWritten(100);
        dripping.waitForDisconnected(100);
    }
    QCOMPARE(dripping.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(server.waitForOperations(1));
    QVERIFY2(server.operations().first().endsWith(QLatin1String(" timed out")), qPrintable(server.operations().first()));
    QVERIFY(!QFile::exists(QDir(f.store).filePath(QStringLiteral("GEL_5_1.PDF"))));
    QVERIFY(uploadsLeft(f.store).isEmpty());
}

QTEST_GUILESS_MAIN(TestFileServer)
#include "tst_fileserver.moc"
