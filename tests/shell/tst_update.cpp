// Release notes and the program update against a scripted version service
// and a small HTTP server of the test's own, both on loopback.

#include "core/clock.h"
#include "core/session.h"
#include "shell/programupdate.h"
#include "shell/ui/prgguncelle.h"
#include "shell/ui/unverbilgi.h"

#include "formtest.h"
#include "scriptedprompt.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

/// Answers each connection with `reply` once it has read the four request
/// lines, then closes (or, with `hang`, stays silent).
class ScriptedService : public QTcpServer
{
public:
    QByteArray reply;
    bool hang = false;
    QList<QByteArray> requests;

    ScriptedService()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s] {
                QByteArray &got = m_got[s];
                got += s->readAll();
                if (got.count('\n') < 4)
                    return;
                requests << got;
                if (hang)
                    return;
                s->write(reply);
                s->disconnectFromHost();
            });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        });
    }
    update::ServiceAddress address() const { return {QStringLiteral("127.0.0.1"), serverPort()}; }

private:
    QHash<QTcpSocket *, QByteArray> m_got;
};

/// Serves one body for every GET; `cut` sends only half of it while
/// announcing all of it.
class HttpServer : public QTcpServer
{
public:
    QByteArray body;
    bool cut = false;
    int gets = 0;

    HttpServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s] {
                if (!s->readAll().contains("\r\n\r\n"))
                    return;
                ++gets;
                s->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: "
                         + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n");
                s->write(cut ? body.left(body.size() / 2) : body);
                s->disconnectFromHost();
            });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/kelma_21.002_amd64.deb").arg(serverPort()); }
};

QByteArray releaseReply(const QString &url, const QByteArray &sha)
{
    return "SURUM 21.002\r\nADRES " + url.toLatin1() + "\r\nSHA256 " + sha + "\r\n@\r\n";
}

QByteArray sha256(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

struct Office
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    Session session{prompt, clock, [this] {
        return std::make_unique<QSettings>(dir.filePath(QStringLiteral("KELMA.ini")), QSettings::IniFormat);
    }};
    ScriptedService service;
    HttpServer http;
    QString argsFile = dir.filePath(QStringLiteral("installer-args"));

    /// A stand-in installer: writes its arguments and the file's bytes, exits with `code`.
    update::Installer installer(int code)
    {
        const QString script = dir.filePath(QStringLiteral("installer.sh"));
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + argsFile.toLocal8Bit() + "'\ncat \"$3\" >> '"
                + argsFile.toLocal8Bit() + "'\nexit " + QByteArray::number(code) + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return {script, {QStringLiteral("install"), QStringLiteral("-y"), QStringLiteral("{}")}};
    }
    UpdatePlan plan(int installerCode = 0)
    {
        UpdatePlan p;
        p.service = service.address();
        p.runningVersion = QStringLiteral("21.001");
        p.tempFolder = dir.filePath(QStringLiteral("temp"));
        QDir().mkpath(p.tempFolder);
        p.installer = installer(installerCode);
        p.timeoutMs = 2000;
        return p;
    }
    bool tempEmpty() { return QDir(dir.filePath(QStringLiteral("temp"))).isEmpty(); }
};

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    void notesAreShownExactly_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("failureSaid");
        QTest::newRow("three lines") << QByteArray("Yeni: gelen liste\r\nDüzeltme\r\n\r\n@\r\nsonrası\r\n")
                                     << QStringLiteral("Yeni: gelen liste\nDüzeltme\n") << false;
        QTest::newRow("no @, closed") << QByteArray("bir\r\niki\r\n") << QStringLiteral("bir\niki") << true;
        QTest::newRow("garbage bytes") << QByteArray("\xfe\xfd\x01\r\n@\r\n") << QStringLiteral("şı\x01") << false;
    }
    void notesAreShownExactly()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, shown);
        QFETCH(bool, failureSaid);
        Office o;
        // Turkish text travels in the workstation's code page.
        o.service.reply = reply.replace("Düzeltme", QByteArray("D\xfc" "zeltme"));
        TFRMVERBILGI screen(o.session, QStringLiteral("21.001"), o.service.address());
        QSignalSpy done(&screen.exchange(), &update::ServiceExchange::finished);
        screen.show();
        QVERIFY(done.wait(3000));
        QCOMPARE(child<QPlainTextEdit>(screen, "notesMemo")->toPlainText(), shown);
        QCOMPARE(!child<QLabel>(screen, "statusLabel")->text().isEmpty(), failureSaid);
        QCOMPARE(child<QLabel>(screen, "versionLabel")->text(), QStringLiteral("21.001"));
        QVERIFY(o.service.requests.value(0).startsWith("VER\r\n\r\nVOM\r\n21.001\r\n"));
    }

    void silentOrMissingService()
    {
        Office o;
        o.service.hang = true;
        update::ServiceExchange exchange;
        exchange.setTimeout(300);
        QSignalSpy done(&exchange, &update::ServiceExchange::finished);
        exchange.requestNotes(o.service.address(), QStringLiteral("21.001"));
        QVERIFY(done.wait(3000));
        QCOMPARE(done.first().at(0).toBool(), false);
        QVERIFY(done.first().at(1).toString().contains(QStringLiteral("yanıt vermedi")));

        TFRMVERBILGI unconfigured(o.session, QStringLiteral("21.001"), {});
        unconfigured.show();
        QVERIFY(child<QLabel>(unconfigured, "statusLabel")->text().contains(QStringLiteral("tanımlı değil")));
    }

    void noDownloadsNothing()
    {
        Office o;
        o.http.body = "paket";
        o.service.reply = releaseReply(o.http.url(), sha256(o.http.body));
        o.prompt.expectQuestion(QStringLiteral("Daha Yeni Sürümü"), false);
        QVERIFY(!PRGGUNCELLE(o.prompt, o.plan()));
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QCOMPARE(o.http.gets, 0);
        QVERIFY(o.service.requests.isEmpty());
    }

    void badDownloadIsRefusedAndDeleted_data()
    {
        QTest::addColumn<bool>("tampered");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QString>("said");
        QTest::newRow("tampered") << true << false << QStringLiteral("SHA-256 tutmuyor");
        QTest::newRow("cut short") << false << true << QStringLiteral("indirilemedi");
    }
    void badDownloadIsRefusedAndDeleted()
    {
        QFETCH(bool, tampered);
        QFETCH(bool, cut);
        QFETCH(QString, said);
        Office o;
        o.http.body = QByteArray(200000, 'k');
        o.http.cut = cut;
        o.service.reply = releaseReply(o.http.url(), sha256(tampered ? "başka" : o.http.body));
        o.prompt.expectQuestion(QStringLiteral("Daha Yeni Sürümü"), true).expectMessage(said);
        QVERIFY(!PRGGUNCELLE(o.prompt, o.plan()));
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QVERIFY(o.tempEmpty());
        QVERIFY(!QFile::exists(o.argsFile)); // nothing was started
    }

    void replyWithoutChecksumIsNoRelease()
    {
        Office o;
        o.service.reply = "SURUM 21.002\r\nADRES " + o.http.url().toLatin1() + "\r\n@\r\n";
        o.prompt.expectQuestion(QStringLiteral("Daha Yeni Sürümü"), true).expectMessage(QStringLiteral("SHA-256"));
        QVERIFY(!PRGGUNCELLE(o.prompt, o.plan()));
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QCOMPARE(o.http.gets, 0);
    }

    void goodDownloadIsHandedToTheInstaller_data()
    {
        QTest::addColumn<int>("installerCode");
        QTest::addColumn<bool>("handedOver");
        QTest::addColumn<QString>("said");
        QTest::newRow("installed") << 0 << true << QStringLiteral("Güncelleme kuruldu");
        QTest::newRow("refused") << 126 << false << QStringLiteral("kurulamadı");
    }
    void goodDownloadIsHandedToTheInstaller()
    {
        QFETCH(int, installerCode);
        QFETCH(bool, handedOver);
        QFETCH(QString, said);
        Office o;
        o.http.body = "gerçek paket baytları";
        o.service.reply = releaseReply(o.http.url(), sha256(o.http.body));
        o.prompt.expectQuestion(QStringLiteral("Daha Yeni Sürümü"), true).expectMessage(said);
        QCOMPARE(PRGGUNCELLE(o.prompt, o.plan(installerCode)), handedOver);
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QVERIFY(o.service.requests.value(0).startsWith("PKG\r\n\r\nVOM\r\n21.001\r\n"));
        QFile args(o.argsFile);
        QVERIFY(args.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = args.readAll().split('\n');
        QCOMPARE(lines.value(0), QByteArray("install"));
        QCOMPARE(lines.value(1), QByteArray("-y"));
        QVERIFY(lines.value(2).endsWith("/kelma_21.002_amd64.deb"));
        QCOMPARE(lines.value(3), o.http.body); // the verified file itself
    }

    void releaseParsing_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("valid");
        const QString sha(64, QLatin1Char('a'));
        QTest::newRow("complete") << QStringList{"SURUM 21.002", "ADRES https://x/k.deb", "SHA256 " + sha} << true;
        QTest::newRow("short hash") << QStringList{"SURUM 21.002", "ADRES https://x/k.deb", "SHA256 abc"} << false;
        QTest::newRow("file url") << QStringList{"SURUM 21.002", "ADRES file:///tmp/k.deb", "SHA256 " + sha}
                                  << false;
        QTest::newRow("no version") << QStringList{"ADRES https://x/k.deb", "SHA256 " + sha} << false;
    }
    void releaseParsing()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, valid);
        QCOMPARE(update::parseRelease(lines).has_value(), valid);
        QVERIFY(update::newer("21.010", "21.002"));
        QVERIFY(!update::newer("21.001", "21.001"));
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
