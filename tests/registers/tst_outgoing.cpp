// Outgoing letters as the logic keeps them: numbering under the lock, what a
// failed or refused save leaves behind, answer links kept in step on both sides.

#include "registers/incoming.h"
#include "registers/numbering.h"
#include "registers/outgoing.h"
#include "registers/related.h"

#include "core/clock.h"
#include "core/session.h"
#include "db/upgrade.h"
#include "legacydatabase.h"
#include "rowsread.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

struct Workstation
{
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [] { return std::make_unique<QSettings>(); }};

    explicit Workstation(const QString &path)
    {
        session.db.openMain(path);
        session.workstation.year = QStringLiteral("2021");
        session.LUSR = QStringLiteral("ZIRVO");
        session.general.ESDUR = QStringLiteral("B");
    }
};

/// Two departments with prefixes, two bodies, one incoming document and one
/// petition waiting for an answer.
struct Office
{
    TempDatabase db;
    std::unique_ptr<Workstation> ws;

    explicit Office(const QStringList &more = {})
    {
        fb::Attachment a;
        db.createMain(a);
        fb::Transaction t(a);
        for (const char *sql : {
                 "INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (1,'YAZI İŞLERİ','B','AHMET YILMAZ','MÜDÜR','YZ-')",
                 "INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (2,'İMAR','B','AYŞE KAYA','ŞEF','IM-')",
                 "INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (9,'ANKARA VALİLİĞİ','K')",
                 "INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (10,'İZMİR VALİLİĞİ','K')",
                 "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR,CEVNO) VALUES (50,3,'2021-05-01',9,'Soru','E',0)",
                 "INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,ADI,SOYADI,KONU,BIRKOD,CEVDUR,CEVNO) "
                 "VALUES (70,4,'2021-05-02','Ayşe','Çelik','Yol','1','E',0)"})
            t.executeRaw(QString::fromUtf8(sql));
        t.commit();
        // One transaction each: a changed column must be committed before use.
        for (const QString &sql : more) {
            fb::Transaction m(a);
            m.executeRaw(sql);
            m.commit();
        }
        a.close();
        ws = std::make_unique<Workstation>(db.path());
    }
    Session &session() { return ws->session; }
    ScriptedPrompt &prompt() { return ws->prompt; }
    QVariant query(const QString &sql, const fb::Params &p = {})
    {
        fb::Transaction t(ws->session.db.IBDATABASE);
        return t.value(sql, p);
    }
    void run(const QString &sql)
    {
        fb::Transaction t(ws->session.db.IBDATABASE);
        t.execute(sql);
        t.commit();
    }
};

} // namespace

class TestOutgoing : public QObject
{
    Q_OBJECT

private slots:
    void numberingPerYearAndDepartment();
    void typedNumbersAreKept();
    void badInputWritesNothingAndKeepsWhatWasTyped_data();
    void badInputWritesNothingAndKeepsWhatWasTyped();
    void failedWriteRollsBackWhole();
    void linkReplacedKeepsTheFinalChoice_data();
    void linkReplacedKeepsTheFinalChoice();
    void answersToPetitionsAreNotIncomingAnswers();
    void concurrentSavesNeverShareANumber();
    void numberingFindsItsNumbersThroughIndexes_data();
    void numberingFindsItsNumbersThroughIndexes();
};

void TestOutgoing::numberingPerYearAndDepartment()
{
    // Last year's letters do not count for GIDNO, BSIRNO and ZNO; a delivery
    // number that is not a whole number is left out.
    Office o({"INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO,ZDUR,ZNO,GIZDER,GSIRNO) "
              "VALUES (-1,57,'2020-12-31',1,30,'D','40','G',6)",
              "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO,ZDUR,ZNO) VALUES (-2,NULL,'2021-01-02',2,5,'D','12/A')"});
    QStringList got;
    struct Letter { int department; const char *zdur; const char *gizder; };
    for (const Letter &l : {Letter{1, "D", "G"}, Letter{1, "D", "Ö"}, Letter{2, "İ", "G"}}) {
        OutgoingRecord r(o.session());
        r.openNew();
        QVERIFY(r.setDepartment(l.department));
        r.setZDUR(QString::fromUtf8(l.zdur));
        r.setGIZDER(QString::fromUtf8(l.gizder));
        QVERIFY2(r.save("26/08/2021"), qPrintable(o.prompt().report()));
        got << QStringLiteral("%1 %2 %3 %4%5 %6").arg(r.value("GIDNO").toString(), r.value("BSIRNO").toString(),
                                                     r.value("EVSAY").toString(), QString::fromUtf8(l.zdur),
                                                     r.value("ZNO").toString(), r.value("GSIRNO").toString());
    }
    // GSIRNO counts within the level over all years.
    QCOMPARE(got, QStringList({"1 1 YZ-1 D1 7", "2 2 YZ-2 D2 1", "3 6 IM-6 İ1 8"}));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
}

void TestOutgoing::typedNumbersAreKept()
{
    Office o;
    OutgoingRecord r(o.session());
    r.openNew();
    r.setDepartment(1);
    r.setValue("GIDNO", 500);
    r.setValue("ZNO", "77");
    r.setValue("BSIRNO", 40);
    r.setValue("EVSAY", "YZ-ÖZEL");
    QVERIFY(r.save("26/08/2021"));
    QCOMPARE(o.query("SELECT GIDNO || ' ' || ZNO || ' ' || BSIRNO || ' ' || EVSAY FROM GIDEN").toString(),
             QStringLiteral("500 77 40 YZ-ÖZEL"));
    OutgoingRecord next(o.session());
    next.openNew();
    next.setDepartment(1);
    QVERIFY(next.save("27/08/2021"));
    QCOMPARE(next.value("GIDNO").toInt(), 501);
    QCOMPARE(next.value("ZNO").toString(), QStringLiteral("78"));
    QCOMPARE(next.value("EVSAY").toString(), QStringLiteral("YZ-41"));
}

void TestOutgoing::badInputWritesNothingAndKeepsWhatWasTyped_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");
    QTest::newRow("another year") << "" << "" << QVariant() << "26/08/2022" << "Tarih Çalışma Yılından Farklı Olamaz.";
    QTest::newRow("signer too long") << "" << "TESADI" << QVariant(QString(21, u'Ş')) << "26/08/2021"
                                     << "«Gönderen Adı Soyadı» en fazla 20 karakter";
    QTest::newRow("department deleted") << "DELETE FROM BIRIM WHERE BKOD=1" << "" << QVariant() << "26/08/2021"
                                        << "Gönderen birim bu arada silinmiş";
    QTest::newRow("body deleted") << "DELETE FROM BIRIM WHERE BKOD=9" << "" << QVariant() << "26/08/2021"
                                  << "«ANKARA VALİLİĞİ» bu arada silinmiş";
    QTest::newRow("answered document deleted") << "DELETE FROM GELEN WHERE KAYNO=50" << "" << QVariant()
                                               << "26/08/2021" << "bu arada silinmiş";
    QTest::newRow("answered by another letter") << "UPDATE GELEN SET CEVNO=999 WHERE KAYNO=50" << "" << QVariant()
                                                << "26/08/2021" << "başka bir evrakla cevaplanmış";
    // 49 characters of prefix and a two-digit sequence do not fit the 50 of EVSAY.
    QTest::newRow("prefix too long") << "UPDATE GIDEN SET BSIRNO=9 WHERE KAYNO=-1" << "" << QVariant()
                                     << "26/08/2021" << "ön ekini kısaltınız";
}

void TestOutgoing::badInputWritesNothingAndKeepsWhatWasTyped()
{
    QFETCH(QString, meanwhile);
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, date);
    QFETCH(QString, message);
    const bool longPrefix = QString::fromUtf8(QTest::currentDataTag()) == QLatin1String("prefix too long");
    QStringList seed;
    if (longPrefix) {
        seed << "ALTER TABLE BIRIM ALTER ONEK TYPE VARCHAR(60)";
        seed << QStringLiteral("INSERT INTO GIDEN (KAYNO,GIDTAR,BIRKOD,BSIRNO) VALUES (-1,'2021-01-05',1,8)");
    }
    Office o(seed);
    if (longPrefix)
        o.run(QStringLiteral("UPDATE BIRIM SET ONEK='%1' WHERE BKOD=1").arg(QString(49, u'A')));
    OutgoingRecord r(o.session());
    r.openNew();
    QVERIFY(r.setDepartment(1));
    QVERIFY(r.addRecipientBody(9));
    r.reply().choose(50, related::kIncoming);
    r.setValue("KONU", QStringLiteral("Yazılan konu"));
    const QVariant evsay = r.value("EVSAY");
    if (!column.isEmpty())
        r.setValue(column, value);
    if (!meanwhile.isEmpty())
        o.run(meanwhile);
    o.prompt().expectMessage(message);
    QVERIFY(!r.save(date));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM GIDEN WHERE KAYNO>0").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 0);
    QVERIFY(o.query("SELECT COALESCE(MAX(CEVNO),0) FROM GELEN WHERE KAYNO=50").toInt() != r.kayno());
    QCOMPARE(r.value("KONU").toString(), QStringLiteral("Yazılan konu"));
    QCOMPARE(r.value("EVSAY"), evsay);
    QVERIFY(r.value("GIDNO").isNull());
    QCOMPARE(r.routing().rows().rowCount(), 1);
    QCOMPARE(r.reply().ILGNO(), 50);
    // Nobody waits behind the refused save.
    Workstation other(o.db.path());
    fb::TransactionOptions quick;
    quick.wait = false;
    fb::Transaction t(other.session.db.IBDATABASE, quick);
    numbering::lock(t);
}

void TestOutgoing::failedWriteRollsBackWhole()
{
    Office o;
    OutgoingRecord r(o.session());
    r.openNew();
    r.setDepartment(1);
    r.reply().choose(50, related::kIncoming);
    r.setValue("KONU", QStringLiteral("Yazılan konu"));
    // Another row under the same key: the insert fails after the answer was claimed.
    o.run(QStringLiteral("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR) VALUES (%1,1,'2021-08-01')").arg(r.kayno()));
    o.prompt().expectError("Kayıt yapılamadı");
    QVERIFY(!r.save("26/08/2021"));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), 0);
    QCOMPARE(r.value("KONU").toString(), QStringLiteral("Yazılan konu"));
    QVERIFY(r.value("GIDNO").isNull());
    // Nothing rides along to a later commit on this connection.
    o.run(QStringLiteral("DELETE FROM GIDEN WHERE KAYNO=%1").arg(r.kayno()));
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), 0);
    QVERIFY2(r.save("26/08/2021"), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), r.kayno());
    QCOMPARE(o.query("SELECT GIDNO FROM GIDEN WHERE KAYNO=:K", {{"K", r.kayno()}}).toInt(), 1);
}

void TestOutgoing::linkReplacedKeepsTheFinalChoice_data()
{
    QTest::addColumn<bool>("removeFirst");
    QTest::addColumn<QString>("ilgdur");
    QTest::addColumn<int>("target");
    QTest::newRow("removed, another incoming chosen") << true << "G" << 51;
    QTest::newRow("another incoming chosen over it") << false << "G" << 51;
    QTest::newRow("removed, a petition chosen") << true << "D" << 70;
}

void TestOutgoing::linkReplacedKeepsTheFinalChoice()
{
    QFETCH(bool, removeFirst);
    QFETCH(QString, ilgdur);
    QFETCH(int, target);
    Office o({"INSERT INTO GELEN (KAYNO,GELNO,GELTAR,CEVDUR,CEVNO) VALUES (51,4,'2021-05-03','E',0)"});
    OutgoingRecord first(o.session());
    first.openNew();
    first.reply().choose(50, related::kIncoming);
    QVERIFY(first.save("26/08/2021"));
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), first.kayno());

    OutgoingRecord edit(o.session());
    QVERIFY(edit.openExisting(first.kayno()));
    QCOMPARE(edit.ILGIGETIR(), QStringList({"Gelen Evr.", "3", "01.05.2021", "", "Soru"}));
    if (removeFirst) {
        o.prompt().expectQuestion("DİKKAT! Bu Cevap Bilgisi Silinecektir. Onaylıyormusunuz.?", true);
        QVERIFY(edit.reply().remove(o.prompt()));
    }
    edit.reply().choose(target, ilgdur);
    QVERIFY(edit.save("26/08/2021"));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT ILGNO || ILGDUR FROM GIDEN WHERE KAYNO=:K", {{"K", first.kayno()}}).toString(),
             QString::number(target) + ilgdur);
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), 0);
    const QString table = ilgdur == "G" ? "GELEN" : "DILEKCE";
    QCOMPARE(o.query(QStringLiteral("SELECT CEVNO FROM %1 WHERE KAYNO=:K").arg(table), {{"K", target}}).toInt(),
             first.kayno());

    // Removing it at last clears both sides.
    OutgoingRecord again(o.session());
    QVERIFY(again.openExisting(first.kayno()));
    o.prompt().expectQuestion("Silinecektir", true);
    QVERIFY(again.reply().remove(o.prompt()));
    QVERIFY(again.save("26/08/2021"));
    QCOMPARE(o.query(QStringLiteral("SELECT CEVNO FROM %1 WHERE KAYNO=:K").arg(table), {{"K", target}}).toInt(), 0);
    QCOMPARE(o.query("SELECT ILGNO FROM GIDEN WHERE KAYNO=:K", {{"K", first.kayno()}}).toInt(), 0);
    o.prompt().expectMessage("DİKKAT! İlgili Evrak Kaydı Bulunamadı");
    QVERIFY(!again.reply().remove(o.prompt()));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
}

void TestOutgoing::answersToPetitionsAreNotIncomingAnswers()
{
    // A petition and an incoming document under the same key.
    Office o({"INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,CEVDUR,CEVNO) VALUES (50,9,'2021-05-04','E',0)"});
    OutgoingRecord r(o.session());
    r.openNew();
    r.reply().choose(50, related::kPetition);
    QVERIFY(r.save("26/08/2021"));
    QCOMPARE(o.query("SELECT CEVNO FROM DILEKCE WHERE KAYNO=50").toInt(), r.kayno());
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), 0);
    fb::Transaction &t = o.session().db.IBTransaction1;
    QVERIFY(!related::incomingIsAnswered(t, 50));
    QCOMPARE(t.value(QStringLiteral("SELECT COUNT(G2.KAYNO) FROM GELEN G1 %1 WHERE G1.KAYNO=50")
                         .arg(related::incomingAnswerJoin())).toInt(), 0);
    o.run("UPDATE GIDEN SET ILGDUR='G'");
    QVERIFY(related::incomingIsAnswered(t, 50));
}

void TestOutgoing::concurrentSavesNeverShareANumber()
{
    Office o;
    constexpr int kWorkstations = 3;
    constexpr int kSaves = 30;
    std::atomic<int> failures{0};
    QList<QThread *> threads;
    for (int w = 0; w < kWorkstations; ++w) {
        threads << QThread::create([&, w] {
            Workstation ws(o.db.path());
            for (int i = 0; i < kSaves; ++i) {
                // Both registers share the one numbering lock.
                if (i % 3 == 2) {
                    IncomingRecord in(ws.session);
                    in.openNew();
                    if (!in.save("26/08/2021"))
                        ++failures;
                    continue;
                }
                OutgoingRecord r(ws.session);
                r.openNew();
                r.setDepartment(1 + (i + w) % 2);
                r.setZDUR((i + w) % 3 ? QStringLiteral("D") : QStringLiteral("İ"));
                if (!r.save("26/08/2021"))
                    ++failures;
            }
            ws.session.db.closeAll();
        });
    }
    for (QThread *t : threads)
        t->start();
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    QCOMPARE(failures.load(), 0);
    const int outgoing = kWorkstations * (kSaves - kSaves / 3);
    QCOMPARE(o.query("SELECT COUNT(DISTINCT GIDNO) FROM GIDEN").toInt(), outgoing);
    QCOMPARE(o.query("SELECT MAX(GIDNO) FROM GIDEN").toInt(), outgoing);
    QCOMPARE(o.query("SELECT COUNT(*) FROM (SELECT BIRKOD, BSIRNO FROM GIDEN GROUP BY BIRKOD, BSIRNO "
                     "HAVING COUNT(*) > 1)").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM (SELECT EVSAY FROM GIDEN GROUP BY EVSAY HAVING COUNT(*) > 1)").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM (SELECT ZDUR, ZNO FROM GIDEN GROUP BY ZDUR, ZNO "
                     "HAVING COUNT(*) > 1)").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM (SELECT GSIRNO FROM GIDEN GROUP BY GSIRNO HAVING COUNT(*) > 1)").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(DISTINCT GELNO) FROM GELEN WHERE KAYNO<>50").toInt(), kWorkstations * (kSaves / 3));
}

void TestOutgoing::numberingFindsItsNumbersThroughIndexes_data()
{
    QTest::addColumn<bool>("upgraded");
    QTest::newRow("fresh database") << false;
    QTest::newRow("upgraded from 12.x") << true;
}

void TestOutgoing::numberingFindsItsNumbersThroughIndexes()
{
    QFETCH(bool, upgraded);
    TempDatabase db;
    {
        fb::Attachment a;
        if (upgraded) {
            legacy::create(db, a, 12001);
            fb::Transaction t(a);
            ScriptedPrompt quiet;
            QCOMPARE(SchemaUpgrade(t, quiet).upgradeToCurrent().outcome, SchemaUpgrade::Outcome::Current);
            t.commit();
        } else {
            db.createMain(a);
        }
        // Last year's 400 letters of department 2 carry higher numbers than
        // this year's 300, as they do early in a year.
        fb::Transaction t(a);
        t.executeRaw("DELETE FROM GIDEN");
        t.executeRaw("UPDATE OR INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (1,'YAZI İŞLERİ','B') MATCHING (BKOD)");
        t.executeRaw("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN "
                     "WHILE (I <= 700) DO BEGIN "
                     "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO,ZDUR,ZNO,GIZDER,GSIRNO,KONU) "
                     "VALUES (-:I, IIF(:I <= 400, :I, :I - 400), IIF(:I <= 400, DATE '2020-06-01', DATE '2021-03-01'), "
                     "2, IIF(:I <= 400, :I, :I - 400), 'D', IIF(:I <= 400, :I, :I - 400), 'Ö', :I, 'Eski yazı'); "
                     "I = I + 1; END END");
        t.commit();
    }
    Workstation ws(db.path());
    // A letter of department 1 at a level no letter has yet: its numbers are
    // found through the indexes, not by reading the year or the register.
    const qint64 before = rowsRead(ws.session.db.IBDATABASE, "GIDEN");
    OutgoingRecord r(ws.session);
    r.openNew();
    QVERIFY(r.setDepartment(1));
    r.setZDUR(QStringLiteral("D"));
    r.setGIZDER(QStringLiteral("G"));
    QVERIFY2(r.save("26/08/2021"), qPrintable(ws.prompt.report()));
    const qint64 read = rowsRead(ws.session.db.IBDATABASE, "GIDEN") - before;
    QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(r.value("GIDNO").toString(), r.value("BSIRNO").toString(),
                                                r.value("ZNO").toString(), r.value("GSIRNO").toString()),
             QStringLiteral("301 1 301 1"));
    QVERIFY2(read < 30, qPrintable(QStringLiteral("%1 rows of GIDEN read").arg(read)));
}

QTEST_GUILESS_MAIN(TestOutgoing)
#include "tst_outgoing.moc"
