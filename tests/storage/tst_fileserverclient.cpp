// The client against a stand-in server that answers from a script: every
// message of the check, send and fetch, and the bytes the client puts on
// the wire.

#include "scriptedprompt.h"
#include "scriptedserver.h"
#include "testfiles.h"

#include "db/fb/win1254.h"
#include "storage/fileserverclient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTcpServer>

using Answer = ScriptedServer::Answer;
Q_DECLARE_METATYPE(Answer)

namespace {

const QString kActive = QStringLiteral("Dosya Sunucusu Aktif.");
const QString kInactive = QStringLiteral("??? Dosya Sunucusu Aktif Değil ???");
const QString kUpdate = QStringLiteral("Lütfen KELMA Servis programını güncelleyiniz.");
const QString kNotFound = QStringLiteral("DİKKAT: Dosya Sunucuda Bulunamadı..");
const QString kFetchFailed = QStringLiteral("DİKKAT! Dosya Sunucudan Alınamadı.");

QString noConnection(const QString &address)
{
    return QStringLiteral("DİKKAT! Dosya sunucusuna bağlantı sağlanamadı..\n"
                          "Lütfen Sunucu Ayarlarınızı Kontrol Ediniz..\n")
           + address;
}

// A port nobody listens on: one that was just given up.
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

FileServerClient clientOf(const ScriptedServer &server, ScriptedPrompt &prompt)
{
    FileServerClient client(QStringLiteral("127.0.0.1"), QString::number(server.port()), prompt);
    client.setReplyTimeout(300);
    return client;
}

} // namespace

class TestFileServerClient : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void checkKeepsShownVersionWhenNoneComes();
    void checkWithNothingListening_data();
    void checkWithNothingListening();

    void sendPutsEachFileOnItsOwnConnection();
    void sendWithEmptyTempOpensNoConnection();
    void sendFailureIsReportedAndNamed();
    void sendClosedWithoutAWordIsAFailure();
    void sendRefusedByServerIsReported();

    void fetch_data();
    void fetch();
    void fetchKeepsEarlierCopyWhenCut();
    void fetchRefusesNameThatLeavesFolder();
    void fetchStopsWhenFoldersCannotBeMade();
};

void TestFileServerClient::check_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("message");

    QTest::newRow("current server") << Answer{1, "TAMAM\r\nV2\r\n"} << true << "V2" << QString();
    QTest::newRow("bare LF lines") << Answer{1, "TAMAM\nV2\n"} << true << "V2" << QString();
    QTest::newRow("no version line") << Answer{1, "TAMAM\r\n"} << true << "V0" << kUpdate;
    QTest::newRow("version 1") << Answer{1, "TAMAM\r\nV1\r\n"} << true << "V1" << kUpdate;
    QTest::newRow("closes at once") << Answer{0, {}} << false << "V0" << QStringLiteral("bağlantı sağlanamadı");
    QTest::newRow("other answer") << Answer{1, "HATA\r\n"} << false << "V0" << QStringLiteral("bağlantı sağlanamadı");
    QTest::newRow("never answers") << Answer{1, {}, false} << false << "V0" << QStringLiteral("bağlantı sağlanamadı");
    QTest::newRow("endless line") << Answer{1, QByteArray(4096, 'T'), false} << false << "V0"
                                   << QStringLiteral("bağlantı sağlanamadı");
}

void TestFileServerClient::check()
{
    QFETCH(Answer, answer);
    QFETCH(bool, active);
    QFETCH(QString, version);
    QFETCH(QString, message);

    ScriptedServer server({answer});
    ScriptedPrompt prompt;
    if (!message.isEmpty())
        prompt.expectMessage(message);
    const FileServerCheck result = clientOf(server, prompt).SRVKONTROL();

    QCOMPARE(result.active, active);
    QCOMPARE(result.LSRV, active ? kActive : kInactive);
    QCOMPARE(result.LSVER, version);
    QCOMPARE(result.updateNeeded, active && version != QLatin1String("V2"));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
    if (answer.linesBeforeReply > 0)
        QCOMPARE(server.received(0), QByteArray("TEST\r\n"));
}

void TestFileServerClient::checkKeepsShownVersionWhenNoneComes()
{
    ScriptedServer server({Answer{1, "TAMAM\r\n"}});
    ScriptedPrompt prompt;
    const FileServerCheck result = clientOf(server, prompt).SRVKONTROL(QStringLiteral("V2"));
    QCOMPARE(result.LSVER, QStringLiteral("V2"));
    QVERIFY(!result.updateNeeded);
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::checkWithNothingListening_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("address");

    const QString port = QString::number(closedPort());
    QTest::newRow("closed port") << "127.0.0.1" << port << "127.0.0.1:" + port;
    QTest::newRow("empty host") << "" << port << "127.0.0.1:" + port;
    QTest::newRow("port not a number") << "127.0.0.1" << "6x69" << "127.0.0.1:6x69";
    QTest::newRow("port out of range") << "127.0.0.1" << "70000" << "127.0.0.1:70000";
}

void TestFileServerClient::checkWithNothingListening()
{
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, address);

    ScriptedPrompt prompt;
    prompt.expectMessage(noConnection(address));
    const FileServerCheck result = FileServerClient(host, port, prompt).SRVKONTROL();
    QVERIFY(!result.active);
    QCOMPARE(result.LSRV, kInactive);
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
    QCOMPARE(prompt.transcript().value(0), QStringLiteral("message: ") + noConnection(address));
}

void TestFileServerClient::sendPutsEachFileOnItsOwnConnection()
{
    QTemporaryDir temp;
    const QString turkish = QStringLiteral("GEL_ŞİĞÜÇÖ_1.PDF");
    const QByteArray content("%PDF\r\n\0\n\xff", 9);
    writeFile(temp.filePath(turkish), content);
    writeFile(temp.filePath(QStringLiteral("GEL_7_2.TXT")), "metin");
    QFile::setPermissions(temp.filePath(QStringLiteral("GEL_7_2.TXT")), QFile::ReadOwner);
    QDir(temp.path()).mkdir(QStringLiteral("ALT"));

    ScriptedServer server({Answer{-1, "TAMAM\r\n", false}, Answer{-1, "TAMAM\r\n", false}});
    ScriptedPrompt prompt;
    QList<QPair<qint64, qint64>> progress;
    FileServerClient client(QStringLiteral("127.0.0.1"), QString::number(server.port()), prompt,
                            [&](qint64 done, qint64 total) { progress << qMakePair(done, total); });
    const FileServerSend result = client.SERVEREGONDER(temp.path());

    QCOMPARE(result.sent, QStringList({QStringLiteral("GEL_7_2.TXT"), turkish}));
    QVERIFY(result.failed.isEmpty());
    QCOMPARE(server.received(0), QByteArray("SEND\r\nGEL_7_2.TXT\r\nmetin"));
    QCOMPARE(server.received(1), "SEND\r\n" + fb::win1254::encode(turkish) + "\r\n" + content);
    QCOMPARE(server.connections(), 2);
    QCOMPARE(progress.last(), qMakePair(qint64(14), qint64(14)));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::sendWithEmptyTempOpensNoConnection()
{
    QTemporaryDir temp;
    QDir(temp.path()).mkdir(QStringLiteral("ALT"));
    ScriptedServer server;
    ScriptedPrompt prompt;
    const FileServerSend result = clientOf(server, prompt).SERVEREGONDER(temp.path());
    QVERIFY(result.sent.isEmpty() && result.failed.isEmpty());
    QTest::qWait(50);
    QCOMPARE(server.connections(), 0);
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::sendFailureIsReportedAndNamed()
{
    QTemporaryDir temp;
    writeFile(temp.filePath(QStringLiteral("GEL_1_1.PDF")), "a");
    writeFile(temp.filePath(QStringLiteral("GEL_1_2.JPG")), "b");
    ScriptedPrompt prompt;
    prompt.expectMessage(QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.\nGEL_1_1.PDF\nGEL_1_2.JPG"));
    const FileServerSend result =
        FileServerClient(QStringLiteral("127.0.0.1"), QString::number(closedPort()), prompt)
            .SERVEREGONDER(temp.path());
    QCOMPARE(result.failed, QStringList({QStringLiteral("GEL_1_1.PDF"), QStringLiteral("GEL_1_2.JPG")}));
    QVERIFY(result.sent.isEmpty());
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::sendClosedWithoutAWordIsAFailure()
{
    QTemporaryDir temp;
    writeFile(temp.filePath(QStringLiteral("GEL_1_1.PDF")), "a");
    // Read all, then closed without saying the file is stored: a server that
    // turned the connection away looks like this.
    ScriptedServer server({Answer{0, {}, false}});
    ScriptedPrompt prompt;
    prompt.expectMessage(QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.\nGEL_1_1.PDF"));
    const FileServerSend result = clientOf(server, prompt).SERVEREGONDER(temp.path());
    QCOMPARE(result.failed, QStringList({QStringLiteral("GEL_1_1.PDF")}));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::sendRefusedByServerIsReported()
{
    QTemporaryDir temp;
    writeFile(temp.filePath(QStringLiteral("GEL_1_1.PDF")), QByteArray(100000, 'a'));
    // The server could not store it: it says so and waits for our end.
    ScriptedServer server({Answer{2, "HATA\r\n", false}});
    ScriptedPrompt prompt;
    prompt.expectMessage(QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.\nGEL_1_1.PDF"));
    QCOMPARE(clientOf(server, prompt).SERVEREGONDER(temp.path()).failed, QStringList{QStringLiteral("GEL_1_1.PDF")});
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::fetch_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("stored"); // what TEMPOKU holds afterwards; null: nothing

    QTest::newRow("not found") << Answer{2, "0\r\n"} << kNotFound << QByteArray();
    QTest::newRow("closes at once") << Answer{0, {}} << kFetchFailed << QByteArray();
    QTest::newRow("closes after found line") << Answer{2, "1 5\r\n"} << kFetchFailed << QByteArray();
    QTest::newRow("cut short") << Answer{2, "1 10\r\nabc"} << kFetchFailed << QByteArray();
    QTest::newRow("silent after found line") << Answer{2, "1 3\r\na", false} << kFetchFailed << QByteArray();
    QTest::newRow("size given") << Answer{2, QByteArray("1 5\r\na\r\n\0b", 10)} << QString()
                                << QByteArray("a\r\n\0b", 5);
    QTest::newRow("no size given") << Answer{2, "BULUNDU\r\nabc"} << QString() << QByteArray("abc");
    QTest::newRow("empty file") << Answer{2, "1 0\r\n"} << QString() << QByteArray("");
}

void TestFileServerClient::fetch()
{
    QFETCH(Answer, answer);
    QFETCH(QString, message);
    QFETCH(QByteArray, stored);

    QTemporaryDir local;
    const QString tempoku = local.filePath(QStringLiteral("TEMPOKU"));
    ScriptedServer server({answer});
    ScriptedPrompt prompt;
    if (!message.isEmpty())
        prompt.expectMessage(message);
    const bool fetched = clientOf(server, prompt).SERVERDENAL(QStringLiteral("GEL_5_1.PDF"), tempoku);

    QCOMPARE(fetched, message.isEmpty());
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
    const QString path = QDir(tempoku).filePath(QStringLiteral("GEL_5_1.PDF"));
    QCOMPARE(QFile::exists(path), !stored.isNull());
    if (!stored.isNull())
        QCOMPARE(readFile(path), stored);
    // Nothing half-written is left beside it either.
    QCOMPARE(QDir(tempoku).entryList(QDir::Files | QDir::Hidden).size(), stored.isNull() ? 0 : 1);
    if (answer.linesBeforeReply == 2)
        QCOMPARE(server.received(0), QByteArray("RECEIVE\r\nGEL_5_1.PDF\r\n"));
}

void TestFileServerClient::fetchKeepsEarlierCopyWhenCut()
{
    QTemporaryDir tempoku;
    writeFile(tempoku.filePath(QStringLiteral("GEL_5_1.PDF")), "earlier");
    ScriptedServer server({Answer{2, "1 100\r\npartial"}});
    ScriptedPrompt prompt;
    prompt.expectMessage(kFetchFailed);
    QVERIFY(!clientOf(server, prompt).SERVERDENAL(QStringLiteral("GEL_5_1.PDF"), tempoku.path()));
    QCOMPARE(readFile(tempoku.filePath(QStringLiteral("GEL_5_1.PDF"))), QByteArray("earlier"));
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::fetchRefusesNameThatLeavesFolder()
{
    QTemporaryDir local;
    const QString tempoku = local.filePath(QStringLiteral("TEMPOKU"));
    ScriptedServer server({Answer{2, "1 3\r\nabc"}});
    ScriptedPrompt prompt;
    prompt.expectMessage(kFetchFailed);
    QVERIFY(!clientOf(server, prompt).SERVERDENAL(QStringLiteral("../GEL_5_1.PDF"), tempoku));
    QVERIFY(!QFile::exists(local.filePath(QStringLiteral("GEL_5_1.PDF"))));
    QCOMPARE(server.connections(), 0);
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

void TestFileServerClient::fetchStopsWhenFoldersCannotBeMade()
{
    QTemporaryDir local;
    ScriptedServer server({Answer{2, "1 3\r\nabc"}});
    ScriptedPrompt prompt; // the folder check has shown its own message
    QVERIFY(!clientOf(server, prompt).SERVERDENAL(QStringLiteral("GEL_5_1.PDF"), local.path(), [] { return false; }));
    QTest::qWait(50);
    QCOMPARE(server.connections(), 0);
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
}

QTEST_GUILESS_MAIN(TestFileServerClient)
#include "tst_fileserverclient.moc"
