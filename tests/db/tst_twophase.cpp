#include "db/fb/attachment.h"
#include "db/fb/blob.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/fb/twophase.h"
#include "tempdatabase.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>

using namespace fb;

/// Two databases of their own, each with one keyed table.
struct Pair
{
    TempDatabase one{QStringLiteral("ONE.GDB")};
    TempDatabase two{QStringLiteral("TWO.GDB")};
    Attachment a, b;

    Pair()
    {
        for (auto [db, att] : {std::pair{&one, &a}, {&two, &b}}) {
            db->createEmpty(*att);
            Transaction t(*att);
            t.executeRaw(QStringLiteral("CREATE TABLE T (K INTEGER NOT NULL PRIMARY KEY, B BLOB)"));
            t.commit();
        }
    }
    int count(Attachment &att)
    {
        Transaction t(att);
        return t.value(QStringLiteral("SELECT COUNT(*) FROM T")).toInt();
    }
    /// Transactions left in limbo (prepared and never ended).
    int limbo(Attachment &att)
    {
        Transaction t(att);
        return t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$TRANSACTIONS WHERE RDB$TRANSACTION_STATE = 1")).toInt();
    }
};

class TestTwoPhase : public QObject
{
    Q_OBJECT

private slots:
    void commitWritesBoth();
    void failureInOneWritesNeither();
    void failureAfterPrepareLeavesNothingInLimbo();
    void committingAPartEndsTheWhole();
    void blobsStreamBothWays();
};

void TestTwoPhase::commitWritesBoth()
{
    Pair p;
    {
        TwoPhaseTransaction t(p.a, &p.b);
        QVERIFY(t.isTwoPhase());
        t.first().execute(QStringLiteral("INSERT INTO T (K) VALUES (1)"));
        t.second().execute(QStringLiteral("INSERT INTO T (K) VALUES (2)"));
        t.commit();
        QVERIFY(!t.isActive());
    }
    QCOMPARE(p.count(p.a), 1);
    QCOMPARE(p.count(p.b), 1);
}

void TestTwoPhase::failureInOneWritesNeither()
{
    Pair p;
    {
        Transaction t(p.b);
        t.execute(QStringLiteral("INSERT INTO T (K) VALUES (7)"));
        t.commit();
    }
    try {
        TwoPhaseTransaction t(p.a, &p.b);
        t.first().execute(QStringLiteral("INSERT INTO T (K) VALUES (7)"));
        t.second().execute(QStringLiteral("INSERT INTO T (K) VALUES (7)")); // key taken
        t.commit();
        QFAIL("the second insert should have failed");
    } catch (const Error &) {
    }
    QCOMPARE(p.count(p.a), 0);
    QCOMPARE(p.count(p.b), 1);
}

void TestTwoPhase::failureAfterPrepareLeavesNothingInLimbo()
{
    Pair p;
    try {
        TwoPhaseTransaction t(p.a, &p.b);
        t.first().execute(QStringLiteral("INSERT INTO T (K) VALUES (1)"));
        t.second().execute(QStringLiteral("INSERT INTO T (K) VALUES (1)"));
        t.prepare();
        // What fails between the phases: the unit is left without its commit.
        throw std::runtime_error("between the phases");
    } catch (const std::runtime_error &) {
    }
    QCOMPARE(p.count(p.a), 0);
    QCOMPARE(p.count(p.b), 0);
    QCOMPARE(p.limbo(p.a), 0);
    QCOMPARE(p.limbo(p.b), 0);
}

void TestTwoPhase::committingAPartEndsTheWhole()
{
    Pair p;
    TwoPhaseTransaction t(p.a, &p.b);
    t.first().execute(QStringLiteral("INSERT INTO T (K) VALUES (1)"));
    // A retaining end of one part would split the whole.
    QVERIFY_THROWS_EXCEPTION(Error, t.first().commitRetaining());
    t.second().execute(QStringLiteral("INSERT INTO T (K) VALUES (1)"));
    t.second().commit();
    QVERIFY(!t.first().isActive());
    QCOMPARE(p.count(p.a), 1);
    QCOMPARE(p.count(p.b), 1);
    QCOMPARE(p.limbo(p.a), 0);
}

void TestTwoPhase::blobsStreamBothWays()
{
    Pair p;
    QByteArray bytes(3 * 65535 + 17, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    {
        TwoPhaseTransaction t(p.a, &p.b);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        qint64 reported = 0;
        const BlobId id = writeBlob(t.second(), in, [&](qint64 done) { reported = done; });
        QCOMPARE(reported, bytes.size());
        t.second().execute(QStringLiteral("INSERT INTO T (K, B) VALUES (1, :B)"), {{"B", QVariant::fromValue(id)}});
        t.commit();
    }
    Transaction t(p.b);
    Statement s(t, QStringLiteral("SELECT B FROM T WHERE K = 1"));
    s.setBlobsAsIds(true);
    s.execute();
    QVERIFY(s.next());
    const BlobId id = s.value(0).value<BlobId>();
    QCOMPARE(blobLength(t, id), bytes.size());
    QByteArray out;
    QBuffer target(&out);
    target.open(QIODevice::WriteOnly);
    QCOMPARE(readBlob(t, id, target), bytes.size());
    QCOMPARE(out, bytes);
}

QTEST_GUILESS_MAIN(TestTwoPhase)
#include "tst_twophase.moc"
