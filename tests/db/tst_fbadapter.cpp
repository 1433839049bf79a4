#include "db/fb/attachment.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/fb/win1254.h"
#include "tempdatabase.h"

#include <QDate>
#include <QRandomGenerator>
#include <QtTest>

using namespace fb;

class TestFbAdapter : public QObject
{
    Q_OBJECT

private slots:
    void codecTurkishLetters_data();
    void codecTurkishLetters();
    void codecEveryByteRoundTrips();
    void codecReplacesWhatItLacks();
    void parseNames_data();
    void parseNames();

    void textRoundTrip_data();
    void textRoundTrip();
    void namedParameterUsedTwiceAndNulls();
    void typesRoundTrip();
    void blobsOfAnySize();
    void transactionsOnOneAttachment();
    void retainingKeepsResultSets();
    void rollbackOnDestruction();
    void generatorsSurviveRollback();
    void errorsCarryCodesAndStatement();
    void lockTimeoutEndsAWait();
    void closeCommitsOrRollsBackPending();
};

void TestFbAdapter::codecTurkishLetters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("text");
    QTest::newRow("Ğ 0xD0") << 0xD0 << QStringLiteral("Ğ");
    QTest::newRow("İ 0xDD") << 0xDD << QStringLiteral("İ");
    QTest::newRow("Ş 0xDE") << 0xDE << QStringLiteral("Ş");
    QTest::newRow("ğ 0xF0") << 0xF0 << QStringLiteral("ğ");
    QTest::newRow("ı 0xFD") << 0xFD << QStringLiteral("ı");
    QTest::newRow("ş 0xFE") << 0xFE << QStringLiteral("ş");
    QTest::newRow("Ç 0xC7") << 0xC7 << QStringLiteral("Ç");
    QTest::newRow("ö 0xF6") << 0xF6 << QStringLiteral("ö");
    QTest::newRow("euro 0x80") << 0x80 << QStringLiteral("€");
    QTest::newRow("ASCII") << 0x41 << QStringLiteral("A");
}

void TestFbAdapter::codecTurkishLetters()
{
    QFETCH(int, byte);
    QFETCH(QString, text);
    const QByteArray b(1, char(byte));
    QCOMPARE(win1254::decode(b), text);
    QCOMPARE(win1254::encode(text), b);
}

void TestFbAdapter::codecEveryByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QCOMPARE(win1254::encode(win1254::decode(all)), all);
}

void TestFbAdapter::codecReplacesWhatItLacks()
{
    // Latin-1 letters whose places Turkish took, and letters of other scripts.
    QCOMPARE(win1254::encode(QStringLiteral("ÐÝÞðýþ")), QByteArray("??????"));
    QCOMPARE(win1254::encode(QStringLiteral("aΩb日")), QByteArray("a?b?"));
}

void TestFbAdapter::parseNames_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("parsed");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("simple") << "SELECT * FROM T WHERE A=:KN" << "SELECT * FROM T WHERE A=?"
                            << QStringList{"KN"};
    QTest::newRow("twice, lower case") << "UPDATE T SET A=:x WHERE B=:X OR C=:y"
                                       << "UPDATE T SET A=? WHERE B=? OR C=?"
                                       << QStringList{"X", "X", "Y"};
    QTest::newRow("inside quotes") << "SELECT ':A', \":B\" FROM T WHERE X=:C AND Y='it''s :D'"
                                   << "SELECT ':A', \":B\" FROM T WHERE X=? AND Y='it''s :D'"
                                   << QStringList{"C"};
    QTest::newRow("comments") << "SELECT 1 -- :A\nFROM T /* :B */ WHERE X=:C"
                              << "SELECT 1 -- :A\nFROM T /* :B */ WHERE X=?" << QStringList{"C"};
    QTest::newRow("positional") << "VALUES(?, :A)" << "VALUES(?, ?)" << QStringList{"", "A"};
    QTest::newRow("digits and underscore") << "X=:X0 AND Y=:K_N1" << "X=? AND Y=?"
                                           << QStringList{"X0", "K_N1"};
}

void TestFbAdapter::parseNames()
{
    QFETCH(QString, sql);
    QFETCH(QString, parsed);
    QFETCH(QStringList, names);
    QStringList got;
    QCOMPARE(Statement::parseNames(sql, &got), parsed);
    QCOMPARE(got, names);
}

void TestFbAdapter::textRoundTrip_data()
{
    QTest::addColumn<QString>("dbCharset");
    QTest::addColumn<QString>("connCharset");
    QTest::newRow("WIN1254 database, WIN1254 connection") << "WIN1254" << "WIN1254";
    QTest::newRow("legacy: no character set, no lc_ctype") << "" << "";
    QTest::newRow("legacy database read with WIN1254") << "" << "WIN1254";
}

void TestFbAdapter::textRoundTrip()
{
    QFETCH(QString, dbCharset);
    QFETCH(QString, connCharset);
    TempDatabase db;
    const QString turkish = QStringLiteral("ĞÜŞİÖÇ ğüşıöç – Işık İşçi");
    {
        Attachment a;
        db.createEmpty(a, dbCharset);
        Transaction t(a);
        t.executeRaw("CREATE TABLE T (ID INTEGER NOT NULL, AD VARCHAR(40), NOT_ BLOB SUB_TYPE 1)");
        t.commit();
        // Written by a legacy workstation: the connection has no character set.
        Attachment legacy;
        a.close();
        legacy.open(TempDatabase::options(db.path(), connCharset));
        Transaction w(legacy);
        w.execute("INSERT INTO T (ID, AD, NOT_) VALUES (1, :AD, :N)", {{"AD", turkish}, {"N", turkish}});
        w.commit();
    }
    Attachment a;
    a.open(TempDatabase::options(db.path(), connCharset));
    Transaction t(a);
    Statement s(t, "SELECT AD, NOT_ FROM T WHERE AD = :AD");
    s.bind("AD", turkish);
    s.execute();
    QVERIFY(s.next());
    QCOMPARE(s.value("AD").toString(), turkish);
    QCOMPARE(s.value("NOT_").toString(), turkish);
    QVERIFY(!s.next());
    // The bytes on disk are Windows-1254, whatever the connection said.
    QCOMPARE(t.value("SELECT OCTET_LENGTH(AD) FROM T").toLongLong(), qlonglong(turkish.size()));
}

void TestFbAdapter::namedParameterUsedTwiceAndNulls()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    Transaction t(a);
    t.executeRaw("CREATE TABLE T (A INTEGER, B VARCHAR(10))");
    t.commitRetaining();
    QCOMPARE(t.execute("INSERT INTO T (A, B) VALUES (:K, :B)", {{"K", 7}, {"B", QVariant()}}), 1);
    QCOMPARE(t.execute("INSERT INTO T (A, B) VALUES (:K, :B)", {{"k", 8}, {"b", "x"}}), 1);
    QCOMPARE(t.value("SELECT COUNT(*) FROM T WHERE A=:K OR A=:K+1", {{"K", 7}}).toInt(), 2);
    QVERIFY(t.value("SELECT B FROM T WHERE A=7").isNull());
    QVERIFY(t.value("SELECT B FROM T WHERE A=99").isNull()); // no row
    QVERIFY_THROWS_EXCEPTION(Error, t.execute("SELECT 1 FROM T WHERE A=:K", {{"NOPE", 1}}));
    // Text typed into a number parameter reaches the engine's own conversion.
    QCOMPARE(t.value("SELECT A FROM T WHERE A=:K", {{"K", "8"}}).toInt(), 8);
}

void TestFbAdapter::typesRoundTrip()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    Transaction t(a);
    t.executeRaw("CREATE TABLE T (S SMALLINT, I INTEGER, B BIGINT, N NUMERIC(15,2), D DATE, "
                 "TS TIMESTAMP, TM TIME, C CHAR(5), F DOUBLE PRECISION, BO BOOLEAN)");
    t.commitRetaining();
    const QDate d(2021, 8, 26);
    const QDateTime ts(d, QTime(13, 45, 12, 340));
    t.execute("INSERT INTO T VALUES (:S,:I,:B,:N,:D,:TS,:TM,:C,:F,:BO)",
              {{"S", -5}, {"I", 123456}, {"B", qint64(1) << 40}, {"N", 12.5}, {"D", d},
               {"TS", ts}, {"TM", QTime(8, 1, 2)}, {"C", "ab"}, {"F", 0.25}, {"BO", true}});
    Statement s(t, "SELECT * FROM T");
    s.execute();
    QVERIFY(s.next());
    QCOMPARE(s.value("S").toInt(), -5);
    QCOMPARE(s.value("I").toInt(), 123456);
    QCOMPARE(s.value("B").toLongLong(), qint64(1) << 40);
    QCOMPARE(s.value("N").toDouble(), 12.5);
    QCOMPARE(s.value("D").toDate(), d);
    QCOMPARE(s.value("TS").toDateTime(), ts);
    QCOMPARE(s.value("TM").toTime(), QTime(8, 1, 2));
    QCOMPARE(s.value("C").toString(), QStringLiteral("ab"));
    QCOMPARE(s.value("F").toDouble(), 0.25);
    QCOMPARE(s.value("BO").toBool(), true);
    // A number too large for its column is refused, not cut; so is text of any length.
    QVERIFY_THROWS_EXCEPTION(Error, t.execute("UPDATE T SET S=:S", {{"S", 70000}}));
    QVERIFY_THROWS_EXCEPTION(Error, t.execute("UPDATE T SET C=:C", {{"C", "abcdef"}}));
    QVERIFY_THROWS_EXCEPTION(Error, t.execute("UPDATE T SET C=:C", {{"C", QString(65537, u'x')}}));
    QCOMPARE(t.value("SELECT C FROM T").toString(), QStringLiteral("ab"));
    // An empty date box is NULL, not day zero.
    t.execute("UPDATE T SET D=:D, TS=:TS", {{"D", QDate()}, {"TS", QDateTime()}});
    QVERIFY(t.value("SELECT D FROM T").isNull());
    QVERIFY(t.value("SELECT TS FROM T").isNull());
}

void TestFbAdapter::blobsOfAnySize()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    Transaction t(a);
    t.executeRaw("CREATE TABLE T (ID INTEGER, M BLOB, X BLOB SUB_TYPE TEXT)");
    t.commitRetaining();
    QByteArray big(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (char &c : big)
        c = char(gen.bounded(256));
    big[0] = '\0';
    big[1] = '\r';
    big[2] = '\n';
    const QString text = QString(QStringLiteral("Çok uzun metin ığüşöç\n")).repeated(5000);
    for (int id : {1, 2}) {
        t.execute("INSERT INTO T VALUES (:ID, :M, :X)",
                  {{"ID", id}, {"M", id == 1 ? big : QByteArray()}, {"X", text}});
    }
    t.commit();
    Transaction r(a);
    Statement s(r, "SELECT ID, M, X FROM T ORDER BY ID");
    s.execute();
    QVERIFY(s.next());
    QCOMPARE(s.value("M").toByteArray(), big);
    QCOMPARE(s.value("X").toString(), text);
    QVERIFY(s.next());
    QVERIFY(s.value("M").toByteArray().isEmpty());
}

void TestFbAdapter::transactionsOnOneAttachment()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    {
        Transaction ddl(a);
        ddl.executeRaw("CREATE TABLE T (A INTEGER)");
        ddl.commit();
    }
    Transaction writes(a);
    Transaction lookups(a);
    writes.execute("INSERT INTO T VALUES (1)");
    QCOMPARE(lookups.value("SELECT COUNT(*) FROM T").toInt(), 0);
    writes.commitRetaining();
    // Read committed: the other transaction sees it at its next statement.
    QCOMPARE(lookups.value("SELECT COUNT(*) FROM T").toInt(), 1);
    writes.execute("INSERT INTO T VALUES (2)");
    writes.rollbackRetaining();
    QVERIFY(writes.isActive());
    QCOMPARE(writes.value("SELECT COUNT(*) FROM T").toInt(), 1);
    writes.commit();
    QVERIFY(!writes.isActive());
    // A used-again transaction starts itself.
    QCOMPARE(writes.value("SELECT COUNT(*) FROM T").toInt(), 1);
}

void TestFbAdapter::retainingKeepsResultSets()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    Transaction t(a);
    t.executeRaw("CREATE TABLE T (A INTEGER)");
    t.commitRetaining();
    for (int i = 0; i < 5; ++i)
        t.execute("INSERT INTO T VALUES (:A)", {{"A", i}});
    Statement s(t, "SELECT A FROM T ORDER BY A");
    s.execute();
    QVERIFY(s.next());
    t.commitRetaining();
    QVERIFY(s.next());
    QCOMPARE(s.value(0).toInt(), 1);
    t.commit();
    // A full commit ends the result set.
    QVERIFY(!s.next());
}

void TestFbAdapter::rollbackOnDestruction()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    {
        Transaction t(a);
        t.executeRaw("CREATE TABLE T (A INTEGER)");
        t.commit();
    }
    {
        Transaction t(a);
        t.execute("INSERT INTO T VALUES (1)");
    }
    Transaction t(a);
    QCOMPARE(t.value("SELECT COUNT(*) FROM T").toInt(), 0);
}

void TestFbAdapter::generatorsSurviveRollback()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    Transaction t(a);
    t.executeRaw("CREATE GENERATOR GEN_X");
    t.commit();
    QCOMPARE(t.value("SELECT GEN_ID(GEN_X,1) YENINO FROM RDB$DATABASE").toLongLong(), 1);
    t.rollback();
    QCOMPARE(t.value("SELECT GEN_ID(GEN_X,1) FROM RDB$DATABASE").toLongLong(), 2);
    t.executeRaw("SET GENERATOR GEN_X TO 10");
    t.commit();
    QCOMPARE(t.value("SELECT GEN_ID(GEN_X,0) FROM RDB$DATABASE").toLongLong(), 10);
}

void TestFbAdapter::errorsCarryCodesAndStatement()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    Transaction t(a);
    try {
        t.value("SELECT NOPE FROM RDB$DATABASE");
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.sqlCode(), -206);
        QVERIFY(e.gdsCode() != 0);
        QVERIFY2(e.message().contains("NOPE"), qPrintable(e.message()));
        QCOMPARE(e.statement(), QStringLiteral("SELECT NOPE FROM RDB$DATABASE"));
    }
    Attachment missing;
    QVERIFY_THROWS_EXCEPTION(Error, missing.open(TempDatabase::options(db.folder() + "/YOK.GDB")));
    QVERIFY(!missing.isOpen());
}

void TestFbAdapter::lockTimeoutEndsAWait()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    Transaction t(a);
    t.executeRaw("CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B INTEGER)");
    t.commitRetaining();
    t.execute("INSERT INTO T VALUES (1, 0)");
    t.commit();
    TransactionOptions o;
    o.lockTimeout = 1;
    Transaction first(a, o);
    Transaction second(a, o);
    first.execute("UPDATE T SET B=1 WHERE A=1");
    try {
        second.execute("UPDATE T SET B=2 WHERE A=1");
        QFAIL("the second update did not wait");
    } catch (const Error &e) {
        QVERIFY2(e.isLockConflict(), qPrintable(e.message()));
    }
}

void TestFbAdapter::closeCommitsOrRollsBackPending()
{
    TempDatabase db;
    Attachment a;
    db.createEmpty(a);
    {
        Transaction t(a);
        t.executeRaw("CREATE TABLE T (A INTEGER)");
        t.commit();
    }
    Transaction kept(a);
    kept.execute("INSERT INTO T VALUES (1)");
    a.close(Attachment::EndAction::Commit);
    QVERIFY(!kept.isActive());
    QVERIFY_THROWS_EXCEPTION(Error, kept.execute("INSERT INTO T VALUES (2)"));
    a.open(TempDatabase::options(db.path()));
    // The same transaction object works again on the reopened attachment.
    kept.execute("INSERT INTO T VALUES (3)");
    a.close(Attachment::EndAction::Rollback);
    a.open(TempDatabase::options(db.path()));
    Transaction t(a);
    QCOMPARE(t.value("SELECT LIST(A) FROM T").toString(), QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(TestFbAdapter)
#include "tst_fbadapter.moc"
