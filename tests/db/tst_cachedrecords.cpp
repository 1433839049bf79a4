#include "db/cachedrecords.h"
#include "db/fb/error.h"
#include "db/fb/transaction.h"
#include "tempdatabase.h"

#include <QtTest>

using namespace fb;

class TestCachedRecords : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void nothingReachesTheDatabaseUntilApplied();
    void applyWritesInsertsEditsAndDeletesByKey();
    void failedCommitKeepsWhatWasTyped();
    void revertDropsEverything();
    void editOfARowDeletedElsewhereIsRefused();
    void rowsSwapTheirKeys();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<Attachment> m_a;

    int count(const QString &where = "1=1")
    {
        Transaction t(*m_a);
        return t.value("SELECT COUNT(*) FROM EVBRM WHERE " + where).toInt();
    }
};

void TestCachedRecords::init()
{
    m_db = std::make_unique<TempDatabase>();
    m_a = std::make_unique<Attachment>();
    m_db->createMain(*m_a);
    Transaction t(*m_a);
    for (int b : {1, 2, 3})
        t.execute("INSERT INTO EVBRM (TUR, EKAYNO, BKOD, TESADI) VALUES (1, 10, :B, 'ALİ')", {{"B", b}});
    t.commit();
}

void TestCachedRecords::cleanup()
{
    m_a.reset();
    m_db.reset();
}

void TestCachedRecords::nothingReachesTheDatabaseUntilApplied()
{
    Transaction t(*m_a);
    CachedRecords r("EVBRM", {"TUR", "EKAYNO", "BKOD"});
    r.select(t, "SELECT * FROM EVBRM WHERE TUR=1 AND EKAYNO=:K ORDER BY BKOD", {{"K", 10}});
    QCOMPARE(r.rowCount(), 3);
    QVERIFY(!r.isDirty());
    r.setValue(0, "TESADI", QStringLiteral("AYŞE"));
    r.remove(1);
    r.append({{"TUR", 1}, {"EKAYNO", 10}, {"BKOD", 9}});
    QVERIFY(r.isDirty());
    QCOMPARE(r.rowCount(), 3);
    QCOMPARE(count(), 3);
    QCOMPARE(count("TESADI='AYŞE'"), 0);
}

void TestCachedRecords::applyWritesInsertsEditsAndDeletesByKey()
{
    Transaction t(*m_a);
    CachedRecords r("EVBRM", {"TUR", "EKAYNO", "BKOD"});
    r.select(t, "SELECT * FROM EVBRM ORDER BY BKOD");
    r.setValue(0, "TESADI", QStringLiteral("AYŞE"));
    r.remove(1);
    const int added = r.append({{"TUR", 1}, {"EKAYNO", 10}, {"BKOD", 9}, {"ONAY", "H"}});
    r.setValue(added, "TESGOR", QStringLiteral("Müdür"));
    // A key changed in place: the row is found by its old key.
    r.setValue(1, "BKOD", 7);
    r.apply(t);
    t.commit();
    r.accept();
    QVERIFY(!r.isDirty());
    QCOMPARE(count(), 3);
    QCOMPARE(count("BKOD=1 AND TESADI='AYŞE'"), 1);
    QCOMPARE(count("BKOD=2"), 0);
    QCOMPARE(count("BKOD=7"), 1);
    QCOMPARE(count("BKOD=9 AND TESGOR='Müdür' AND ONAY='H'"), 1);
}

void TestCachedRecords::failedCommitKeepsWhatWasTyped()
{
    Transaction t(*m_a);
    CachedRecords r("EVBRM", {"TUR", "EKAYNO", "BKOD"});
    r.select(t, "SELECT * FROM EVBRM ORDER BY BKOD");
    r.append({{"TUR", 1}, {"EKAYNO", 10}, {"BKOD", 5}, {"TESADI", QStringLiteral("ÇOK UZUN BİR AD SOYAD YAZILDI")}});
    QVERIFY_THROWS_EXCEPTION(Error, r.apply(t));
    t.rollback();
    QVERIFY(r.isDirty());
    QCOMPARE(r.value(3, "TESADI").toString(), QStringLiteral("ÇOK UZUN BİR AD SOYAD YAZILDI"));
    // The user shortens it and saves again.
    r.setValue(3, "TESADI", QStringLiteral("ÇOK UZUN"));
    r.apply(t);
    t.commit();
    r.accept();
    QCOMPARE(count("BKOD=5"), 1);
}

void TestCachedRecords::revertDropsEverything()
{
    Transaction t(*m_a);
    CachedRecords r("EVBRM", {"TUR", "EKAYNO", "BKOD"});
    r.select(t, "SELECT * FROM EVBRM ORDER BY BKOD");
    r.setValue(0, "TESADI", QStringLiteral("AYŞE"));
    r.remove(2);
    r.append({{"TUR", 1}, {"EKAYNO", 10}, {"BKOD", 9}});
    r.revert();
    QVERIFY(!r.isDirty());
    QCOMPARE(r.rowCount(), 3);
    QCOMPARE(r.value(0, "TESADI").toString(), QStringLiteral("ALİ"));
}

void TestCachedRecords::editOfARowDeletedElsewhereIsRefused()
{
    Transaction t(*m_a);
    CachedRecords r("EVBRM", {"TUR", "EKAYNO", "BKOD"});
    r.select(t, "SELECT * FROM EVBRM ORDER BY BKOD");
    t.commit();
    {
        Transaction other(*m_a);
        other.execute("DELETE FROM EVBRM WHERE BKOD=1");
        other.commit();
    }
    r.setValue(0, "TESADI", QStringLiteral("AYŞE"));
    QVERIFY_THROWS_EXCEPTION(Error, r.apply(t));
}

void TestCachedRecords::rowsSwapTheirKeys()
{
    Transaction t(*m_a);
    CachedRecords r("EVBRM", {"TUR", "EKAYNO", "BKOD"});
    r.select(t, "SELECT * FROM EVBRM ORDER BY BKOD");
    r.setValue(0, "BKOD", 2);
    r.setValue(0, "TESADI", QStringLiteral("BİR"));
    r.setValue(1, "BKOD", 1);
    r.apply(t);
    t.commit();
    QCOMPARE(count(), 3);
    QCOMPARE(count("BKOD=2 AND TESADI='BİR'"), 1);
    QCOMPARE(count("BKOD=1 AND TESADI='ALİ'"), 1);
}

QTEST_GUILESS_MAIN(TestCachedRecords)
#include "tst_cachedrecords.moc"
