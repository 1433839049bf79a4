// A Firebird server of the test's own stopped and started under open
// connections: the program notices, says so once, reconnects in place, and a
// save made after the restart is stored exactly once.

#include "core/clock.h"
#include "core/guarded.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "db/newdatabase.h"
#include "definitions/ui/unkurbil.h"

#include "formtest.h"
#include "privateserver.h"
#include "scriptedprompt.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

struct Workstation
{
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [] { return std::make_unique<QSettings>(); }};

    qint64 count(const QString &sql)
    {
        fb::Transaction t(session.db.IBDATABASE);
        return t.value(sql).toLongLong();
    }
    bool insert(int id)
    {
        return guarded(session, [&] {
            fb::Transaction work(session.db.IBDATABASE);
            work.execute(QStringLiteral("INSERT INTO T (ID) VALUES (:I)"), {{"I", id}});
            work.commit();
        });
    }
};

} // namespace

class TestReconnect : public QObject
{
    Q_OBJECT

    PrivateServer server;
    QString database;
    fb::ConnectOptions options(const QString &name) const
    {
        return Connections::login(server.databaseName(name), QStringLiteral("WIN1254"));
    }
    void restart()
    {
        server.stop();
        const QString failed = server.start();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }

private slots:
    void initTestCase();
    void init();
    void saveWorksAfterARestart();
    void outageIsSaidOnceAndEndsByItself();
    void lossAtCommitIsNeverSavedTwice();
    void recordScreenSavesOnceAfterARestart();
};

void TestReconnect::initTestCase()
{
    const QString why = server.prepareEnvironment();
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    const QString failed = server.start();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    fb::Attachment a;
    fb::CreateOptions c;
    c.forcedWrites = false;
    try {
        a.create(options(QStringLiteral("T.FDB")), c);
        fb::Transaction t(a);
        t.executeRaw(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY)"));
        t.commit();
    } catch (const fb::Error &e) {
        QFAIL(qPrintable(e.details() + u'\n' + server.log()));
    }
    database = server.databaseName(QStringLiteral("T.FDB"));
}

void TestReconnect::init()
{
    fb::Attachment a;
    a.open(options(QStringLiteral("T.FDB")));
    fb::Transaction t(a);
    t.execute(QStringLiteral("DELETE FROM T"));
    t.commit();
}

void TestReconnect::saveWorksAfterARestart()
{
    Workstation w;
    w.session.db.openMain(database);
    fb::Attachment &main = w.session.db.IBDATABASE;
    // Made before the restart and kept by its owner, as screens keep theirs.
    fb::Transaction held(main);
    QCOMPARE(held.value(QStringLiteral("SELECT COUNT(*) FROM T")).toInt(), 0);
    QVERIFY(w.insert(1));

    restart();
    QElapsedTimer t;
    t.start();
    QVERIFY(w.insert(2));
    qInfo("first save after the restart took %lld ms, reconnect included", t.elapsed());
    QVERIFY2(w.prompt.done(), qPrintable(w.prompt.report()));
    QVERIFY(!w.session.db.watch.isLost());
    QCOMPARE(&w.session.db.IBDATABASE, &main);
    QVERIFY(w.session.db.IBTransaction1.isActive());
    QCOMPARE(held.value(QStringLiteral("SELECT COUNT(*) FROM T")).toInt(), 2);

    // Closing on a dead connection drops what ran on it, without an error.
    held.value(QStringLiteral("SELECT COUNT(*) FROM T"));
    server.stop();
    try {
        w.session.db.closeAll();
    } catch (const fb::Error &e) {
        QFAIL(qPrintable(e.details()));
    }
    const QString failed = server.start();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
}

void TestReconnect::outageIsSaidOnceAndEndsByItself()
{
    Workstation w;
    w.session.db.openMain(database);
    ConnectionWatch &watch = w.session.db.watch;
    QSignalSpy status(&watch, &ConnectionWatch::statusChanged);
    server.stop();

    w.prompt.expectError(ConnectionWatch::lostMessage());
    QElapsedTimer noticed;
    noticed.start();
    QVERIFY(!w.insert(1));
    qInfo("the loss was noticed and said after %lld ms", noticed.elapsed());
    QVERIFY(watch.isLost());
    // Later actions and the timer's tries fail quietly while the status bar says it.
    QVERIFY(!w.insert(2));
    QVERIFY(!w.insert(3));
    QVERIFY2(w.prompt.done(), qPrintable(w.prompt.report()));
    QVERIFY(!status.isEmpty());
    QVERIFY(!status.last().first().toString().isEmpty());

    const QString failed = server.start();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    QElapsedTimer back;
    back.start();
    QTRY_VERIFY_WITH_TIMEOUT(!watch.isLost(), 30000);
    qInfo("reconnected by itself %lld ms after the server answered (attempt %d)", back.elapsed(),
          watch.attempts());
    QCOMPARE(status.last().first().toString(), QString());
    QVERIFY(w.insert(4));
    QCOMPARE(w.count(QStringLiteral("SELECT COUNT(*) FROM T")), 1);
    QVERIFY2(w.prompt.done(), qPrintable(w.prompt.report()));
    w.session.db.closeAll();
}

void TestReconnect::lossAtCommitIsNeverSavedTwice()
{
    Workstation w;
    w.session.db.openMain(database);
    ConnectionWatch &watch = w.session.db.watch;
    int runs = 0;
    auto work = [&](int id) {
        return [&, id] {
            fb::Transaction t(w.session.db.IBDATABASE);
            t.execute(QStringLiteral("INSERT INTO T (ID) VALUES (:I)"), {{"I", id}});
            if (++runs == 1)
                restart(); // between the last statement and the commit
            t.commit();
        };
    };
    // Without a way to look, the clerk is told to check.
    w.prompt.expectError(ConnectionWatch::uncertainMessage());
    QVERIFY(!guarded(w.session, work(1)));
    QVERIFY2(w.prompt.done(), qPrintable(w.prompt.report()));
    QCOMPARE(runs, 1);

    // With one, it is looked up first: here the row is not there, so it is written once.
    runs = 0;
    watch.runOnce(work(2), [&] { return w.count(QStringLiteral("SELECT COUNT(*) FROM T WHERE ID=2")) > 0; });
    QCOMPARE(runs, 2);
    QCOMPARE(w.count(QStringLiteral("SELECT COUNT(*) FROM T")), 1);
    w.session.db.closeAll();
}

void TestReconnect::recordScreenSavesOnceAfterARestart()
{
    const QString kelma = server.databaseName(QStringLiteral("KELMA.GDB"));
    if (!QFile::exists(QDir(server.folder()).filePath(QStringLiteral("data/KELMA.GDB")))) {
        fb::CreateOptions c;
        c.forcedWrites = false;
        newdb::createMain(Connections::login(kelma, QStringLiteral("WIN1254")), c);
    }
    Workstation w;
    w.session.db.openMain(kelma);
    w.session.workstation.year = QStringLiteral("2021");
    TFRMKURBIL record(w.session);
    record.tag = 0;
    showActive(record);
    typeText(child<QLineEdit>(record, "nameEdit"), QStringLiteral("YENİ BAĞLANTI LTD"));

    restart();
    QTest::keyClick(&record, Qt::Key_F5);
    QVERIFY2(w.prompt.done(), qPrintable(w.prompt.report()));
    QCOMPARE(record.tag, 1);
    QCOMPARE(w.count(QStringLiteral("SELECT COUNT(*) FROM BIRIM WHERE BIRIM LIKE 'YEN%BA%LANTI LTD'")), 1);
    w.session.db.closeAll();
}

QTEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
