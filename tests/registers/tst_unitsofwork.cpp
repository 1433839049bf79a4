// A write that fails half-way leaves nothing behind: not at once, not after
// the next commit of anyone on the same connection, not after closing.

#include "db/checks.h"
#include "definitions/archivekinds.h"
#include "definitions/documenttypes.h"
#include "registers/incoming.h"
#include "users/useradmin.h"

#include "db/fb/error.h"
#include "office.h"

#include <QtTest>

#include <functional>

namespace {

/// A trigger that makes the table refuse the row the condition picks.
QString refuse(const char *table, const char *event, const char *condition)
{
    return QStringLiteral("CREATE TRIGGER KELMA_TEST_%1 FOR %1 BEFORE %2 AS BEGIN "
                          "IF (%3) THEN EXCEPTION KELMA_TEST; END")
        .arg(QLatin1String(table), QLatin1String(event), QLatin1String(condition));
}

struct Case
{
    QStringList seed;
    QString trigger;
    /// What must stay as it was.
    QString count;
    /// Runs the write; false or a throw is a failure.
    std::function<bool(Session &)> write;
};

const QList<Case> &cases()
{
    static const QList<Case> all = {
        // 0: rights completion, the last insert of many refused.
        {QStringList{"INSERT INTO USERS (HNO,USR,PSSWD) VALUES (2,'AYSE','X')", "INSERT INTO USERS (HNO,USR,PSSWD) VALUES (3,'ALI','X')"},
         refuse("RIGHTS", "INSERT", "NEW.HNO=3 AND NEW.KOD=30"),
         "SELECT COUNT(*) FROM RIGHTS",
         [](Session &s) {
             ConsistencyChecks(s.db.IBDATABASE, [](const QString &) {}).completeRights();
             return true;
         }},
        // 1: a new user: its row and rights are in, the closing update is refused.
        {{}, refuse("RIGHTS", "UPDATE", "1=1"),
         "SELECT (SELECT COUNT(*) FROM USERS) || '/' || (SELECT COUNT(*) FROM RIGHTS) FROM RDB$DATABASE",
         [](Session &s) {
             users::UserRecord r(s, users::UserRecord::New);
             r.open();
             users::UserRow u;
             u.USR = QStringLiteral("YENİ");
             u.PSSWD = QStringLiteral("A1");
             return r.save(u, u.PSSWD) == users::UserRecord::Field::None;
         }},
        // 2: document types: the second of two new rows refused at close.
        {{}, refuse("EVTUR", "INSERT", "NEW.EVTUR='SON'"),
         "SELECT COUNT(*) FROM EVTUR",
         [](Session &s) {
             DocumentTypes types(s);
             types.read();
             const int rows = types.rows().rowCount();
             for (const char *name : {"İLK", "SON"}) {
                 types.rows().setValue(types.append(), "EVTUR", QString::fromUtf8(name));
                 if (!types.writePending())
                     return false;
             }
             try {
                 return types.close();
             } catch (const fb::Error &) {
                 // Nothing typed is lost: another try can follow.
                 if (types.rows().rowCount() != rows + 2 || !types.rows().isDirty())
                     throw fb::Error(QStringLiteral("typed rows lost"));
                 throw;
             }
         }},
        // 3: an archive kind: its fields are in, the kind itself is refused.
        {{}, refuse("ECINS", "INSERT", "1=1"),
         "SELECT (SELECT COUNT(*) FROM ECINS) || '/' || (SELECT COUNT(*) FROM ECTAN) FROM RDB$DATABASE",
         [](Session &s) {
             ArchiveKindRecord r(s);
             r.openNew();
             r.kind().setValue(0, "ECINS", QStringLiteral("TAPU"));
             for (const char *name : {"Pafta", "Ada"})
                 r.fields().setValue(r.appendField(), "ECTAN", QString::fromUtf8(name));
             return r.save();
         }},
        // 4: an incoming document: its row and the first routing row are in, the second is refused.
        {QStringList{"INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (1,'YAZI İŞLERİ','B')",
                     "INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (2,'İMAR','B')"},
         refuse("EVBRM", "INSERT", "NEW.BKOD=2"),
         "SELECT (SELECT COUNT(*) FROM GELEN) || '/' || (SELECT COUNT(*) FROM EVBRM) FROM RDB$DATABASE",
         [](Session &s) {
             IncomingRecord r(s);
             r.openNew();
             r.setValue("KONU", QStringLiteral("Deneme"));
             r.routing().routeAll();
             if (r.routing().rows().rowCount() != 2)
                 throw fb::Error(QStringLiteral("not routed"));
             return r.save(QStringLiteral("26/08/2021"));
         }},
    };
    return all;
}

QVariant committed(const QString &path, const QString &sql)
{
    fb::Attachment a;
    a.open(TempDatabase::options(path));
    fb::Transaction t(a);
    return t.value(sql);
}

} // namespace

class TestUnitsOfWork : public QObject
{
    Q_OBJECT

private slots:
    void failedWriteLeavesNothing_data();
    void failedWriteLeavesNothing();
    void readingTransactionRefusesWrites();
    void reconnectAndCloseCommitNothing_data();
    void reconnectAndCloseCommitNothing();
};

void TestUnitsOfWork::failedWriteLeavesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("rights completion") << 0;
    QTest::newRow("new user") << 1;
    QTest::newRow("document types") << 2;
    QTest::newRow("archive kind") << 3;
    QTest::newRow("incoming with routing") << 4;
}

void TestUnitsOfWork::failedWriteLeavesNothing()
{
    QFETCH(int, index);
    const Case &c = cases()[index];
    Office o(c.seed);
    for (const QString &ddl : {QStringLiteral("CREATE EXCEPTION KELMA_TEST 'zorla bozuldu'"), c.trigger}) {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.executeRaw(ddl);
        t.commit();
    }
    const QVariant before = o.query(c.count);

    bool failed = false;
    try {
        failed = !c.write(o.session);
    } catch (const fb::Error &e) {
        QVERIFY2(e.message().contains("zorla bozuldu"), qPrintable(e.message()));
        failed = true;
    }
    QVERIFY(failed);
    QCOMPARE(o.query(c.count), before);

    // An unrelated action commits, and so do the run's long transactions.
    users::UserAdmin(o.session).deleteUser(99);
    o.session.db.IBTransaction1.commit();
    o.session.db.IBTransaction2.commit();
    QCOMPARE(o.query(c.count), before);

    // Even a close that commits whatever is still running finds nothing of it.
    o.session.db.IBDATABASE.close(fb::Attachment::EndAction::Commit);
    QCOMPARE(committed(o.db.path(), c.count), before);
}

void TestUnitsOfWork::readingTransactionRefusesWrites()
{
    Office o({});
    QVERIFY_THROWS_EXCEPTION(fb::Error, o.session.db.IBTransaction1.execute("UPDATE TANIM SET KURUM='X'"));
    QVERIFY(o.query("SELECT KURUM FROM TANIM").toString() != QStringLiteral("X"));
}

void TestUnitsOfWork::reconnectAndCloseCommitNothing_data()
{
    QTest::addColumn<bool>("reconnect");
    QTest::newRow("reconnect") << true;
    QTest::newRow("close") << false;
}

void TestUnitsOfWork::reconnectAndCloseCommitNothing()
{
    QFETCH(bool, reconnect);
    Office o({});
    // Work some code left running, as a fault would.
    fb::Transaction stray(o.session.db.IBDATABASE);
    stray.execute("INSERT INTO EVTUR (ETKOD,EVTUR) VALUES (99,'YARIM')");
    if (reconnect)
        o.session.db.openMain(o.db.path());
    else
        o.session.db.closeAll();
    QVERIFY(!stray.isActive());
    o.session.db.closeAll();
    QCOMPARE(committed(o.db.path(), "SELECT COUNT(*) FROM EVTUR WHERE ETKOD=99").toInt(), 0);
}

QTEST_GUILESS_MAIN(TestUnitsOfWork)
#include "tst_unitsofwork.moc"
