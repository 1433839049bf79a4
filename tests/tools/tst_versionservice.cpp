// The office's version service answered through the workstations' own
// client, over a real socket.

#include "shell/programupdate.h"
#include "versionservice.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void write(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QStringList exchange(VersionService &service, bool release, const QString &version, bool *complete)
{
    update::ServiceExchange client;
    QSignalSpy done(&client, &update::ServiceExchange::finished);
    const update::ServiceAddress a{QStringLiteral("127.0.0.1"), service.serverPort()};
    release ? client.requestRelease(a, version) : client.requestNotes(a, version);
    if (!done.wait(3000))
        return {QStringLiteral("no answer")};
    *complete = done.first().at(0).toBool();
    return client.lines();
}

} // namespace

class TestVersionService : public QObject
{
    Q_OBJECT

private slots:
    void notesNewerThanTheClient_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("two behind") << "21.001"
                                    << QStringList{"Versiyon 21.002", "Gelen liste hızlandı", "", "Versiyon 21.010",
                                                   "Şablonlar", " @", ""};
        QTest::newRow("one behind") << "21.002" << QStringList{"Versiyon 21.010", "Şablonlar", " @", ""};
        QTest::newRow("current") << "21.010" << QStringList{"Programınız güncel."};
    }
    void notesNewerThanTheClient()
    {
        QFETCH(QString, client);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        write(dir.filePath("NOTLAR/21.002.txt"), "Gelen liste hızlandı\n");
        write(dir.filePath("NOTLAR/21.010.txt"), "Şablonlar\n@\n"); // an "@" of the notes must not end the reply
        write(dir.filePath("NOTLAR/21.001.txt"), "eski\n");
        VersionService service(dir.path());
        QVERIFY(service.listen(QHostAddress::LocalHost));
        bool complete = false;
        QCOMPARE(exchange(service, false, client, &complete), lines);
        QVERIFY(complete);
    }

    void publishedReleaseIsWhatTheClientVerifies()
    {
        QTemporaryDir dir;
        write(dir.filePath("kelma.deb"), "paket");
        QCOMPARE(VersionService::publish(dir.path(), "21.002", dir.filePath("kelma.deb"),
                                         "https://guncelleme.belediye.local/kelma.deb"),
                 QString());
        VersionService service(dir.path());
        QVERIFY(service.listen(QHostAddress::LocalHost));
        bool complete = false;
        const auto release = update::parseRelease(exchange(service, true, "21.001", &complete));
        QVERIFY(complete);
        QVERIFY(release.has_value());
        QCOMPARE(release->version, QStringLiteral("21.002"));
        QCOMPARE(release->sha256, QCryptographicHash::hash("paket", QCryptographicHash::Sha256).toHex());
        QVERIFY(!VersionService::publish(dir.path(), "21.002", dir.filePath("yok.deb"), "https://x").isEmpty());
    }

    void otherProductGetsNothing()
    {
        QTemporaryDir dir;
        VersionService service(dir.path());
        QCOMPARE(service.answer({"VER", "", "XYZ", "1"}), QStringList());
        QCOMPARE(service.answer({"SIL", "", "VOM", "1"}), QStringList());
    }
};

QTEST_MAIN(TestVersionService)
#include "tst_versionservice.moc"
