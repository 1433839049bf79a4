#include "sessionfixture.h"

#include "db/numbering.h"
#include "texts/templates.h"

#include <QtTest>

#include <thread>

class TestTemplates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newNumberWaitsForAnotherWorkstation();
};

void TestTemplates::newNumberWaitsForAnotherWorkstation()
{
    SessionFixture f;
    // Another workstation is adding template 5 and has not committed yet.
    fb::Transaction other(f.own);
    numbering::lock(other);
    other.execute("INSERT INTO SABLON (KAYNO, ACIK) VALUES (5, 'Başka istasyon')");

    texts::Template added;
    std::thread adding([&] { added = texts::Templates(f.session).add(); });
    QTest::qWait(300);
    other.commit();
    adding.join();
    // Read without the lock it would have been 1, and then a second 5 after the other's commit.
    QCOMPARE(added.kayno, 6);
    QCOMPARE(added.description, QStringLiteral("Giden Evrak Örneği :6"));
    QCOMPARE(f.rows("SELECT KAYNO FROM SABLON ORDER BY KAYNO"), (QList<QVariantList>{{5}, {6}}));
}

QTEST_GUILESS_MAIN(TestTemplates)
#include "tst_templates.moc"
