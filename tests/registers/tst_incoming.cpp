#include "registers/incoming.h"
#include "registers/numbering.h"

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/statement.h"
#include "rowsread.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QSet>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

/// A session on a KELMA database of its own, as a workstation has it after start.
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
    }
};

struct Office
{
    TempDatabase db;
    std::unique_ptr<Workstation> ws;

    Office()
    {
        fb::Attachment a;
        db.createMain(a);
        fb::Transaction t(a);
        const char *departments[][3] = {{"YAZI İŞLERİ", "AHMET YILMAZ", "MÜDÜR"},
                                        {"İMAR", "AYŞE KAYA", "ŞEF"},
                                        {"FEN İŞLERİ", "", ""}};
        int code = 1;
        for (auto &d : departments) {
            t.execute("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (:K,:B,'B',:Y,:U)",
                      {{"K", code++}, {"B", QString::fromUtf8(d[0])}, {"Y", QString::fromUtf8(d[1])},
                       {"U", QString::fromUtf8(d[2])}});
        }
        t.execute("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (10,'VALİLİK','K')");
        t.executeRaw("SET GENERATOR GEN_BKOD TO 10");
        t.commit();
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
};

} // namespace

class TestIncoming : public QObject
{
    Q_OBJECT

private slots:
    void roadOfOneDocument();
    void numberingPerYearAndDeliveryKind();
    void typedNumbersAreKept();
    void anotherYearIsRefused();
    void cancelLeavesOnlyTheSpentKey();
    void confidentialityRenumbers();
    void routingOffersEachDepartmentOnce();
    void laterSelectionDropsUnsavedRoutingEdits();
    void overlongResponsiblePersonMakesNoRow();
    void badInputKeepsEverythingTyped_data();
    void badInputKeepsEverythingTyped();
    void failedSaveReleasesTheNumberingLock();
    void deletion();
    void replyLinks();
    void concurrentSavesNeverShareANumber();
    void numberingFindsItsNumbersThroughIndexes();
};

void TestIncoming::roadOfOneDocument()
{
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    const int kayno = r.kayno();
    QVERIFY(kayno > 0);
    QCOMPARE(r.value("ZDUR").toString(), QStringLiteral("D"));
    QCOMPARE(r.value("GIZDER").toString(), QStringLiteral("Ö"));
    QCOMPARE(r.value("GSEKLI").toString(), QStringLiteral("P"));
    QCOMPARE(r.value("GELTAR").toDate(), QDate(2021, 8, 26));
    r.setValue("SDP", "010.01");
    QCOMPARE(r.SACK1(), QStringLiteral("010 : Mevzuat İşleri"));
    QCOMPARE(r.SACK2(), QStringLiteral("010.01 : Kanunlar"));
    r.setValue("KURKOD", 10);
    r.setValue("KONU", QStringLiteral("İmar planı değişikliği hk."));
    r.routing().routeAll();
    QCOMPARE(r.routing().rows().rowCount(), 3);
    // Nothing is visible to anyone before F5.
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 0);

    QVERIFY2(r.save("26/08/2021"), qPrintable(o.prompt().report()));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT GELNO FROM GELEN WHERE KAYNO=:K", {{"K", kayno}}).toInt(), 1);
    QCOMPARE(o.query("SELECT ZNO FROM GELEN WHERE KAYNO=:K", {{"K", kayno}}).toString(), QStringLiteral("1"));
    QCOMPARE(o.query("SELECT KONU FROM GELEN WHERE KAYNO=:K", {{"K", kayno}}).toString(),
             QStringLiteral("İmar planı değişikliği hk."));
    QCOMPARE(o.query("SELECT USR FROM GELEN WHERE KAYNO=:K", {{"K", kayno}}).toString(), QStringLiteral("ZIRVO"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM WHERE TUR=1 AND EKAYNO=:K AND ONAY IS NULL", {{"K", kayno}}).toInt(), 3);
    QCOMPARE(o.query("SELECT TESADI FROM EVBRM WHERE BKOD=2").toString(), QStringLiteral("AYŞE KAYA"));

    // Opened again, changed, saved: no new number.
    IncomingRecord again(o.session());
    QVERIFY(again.openExisting(kayno));
    again.setValue("KONU", QStringLiteral("Düzeltildi"));
    QVERIFY(again.save("26/08/2021"));
    QCOMPARE(o.query("SELECT GELNO FROM GELEN WHERE KAYNO=:K", {{"K", kayno}}).toInt(), 1);
    QCOMPARE(o.query("SELECT KONU FROM GELEN WHERE KAYNO=:K", {{"K", kayno}}).toString(), QStringLiteral("Düzeltildi"));
}

void TestIncoming::numberingPerYearAndDeliveryKind()
{
    Office o;
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        // Last year's book does not count; a delivery number that is not a number is left out.
        t.execute("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,ZDUR,ZNO) VALUES (-1, 57, '2020-12-31', 'D', '40')");
        t.execute("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,ZDUR,ZNO) VALUES (-2, NULL, '2021-01-02', 'D', '12/A')");
        t.commit();
    }
    QStringList got;
    for (const char *zdur : {"D", "D", "İ"}) {
        IncomingRecord r(o.session());
        r.openNew();
        r.setValue("ZDUR", QString::fromUtf8(zdur));
        QVERIFY(r.save("26/08/2021"));
        got << QStringLiteral("%1/%2%3").arg(r.value("GELNO").toString(), QString::fromUtf8(zdur), r.value("ZNO").toString());
    }
    QCOMPARE(got, QStringList({"1/D1", "2/D2", "3/İ1"}));
}

void TestIncoming::typedNumbersAreKept()
{
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    r.setValue("GELNO", 500);
    r.setValue("ZNO", "77");
    QVERIFY(r.save("26/08/2021"));
    QCOMPARE(o.query("SELECT GELNO || '-' || ZNO FROM GELEN").toString(), QStringLiteral("500-77"));
    IncomingRecord next(o.session());
    next.openNew();
    QVERIFY(next.save("27/08/2021"));
    QCOMPARE(next.value("GELNO").toInt(), 501);
    QCOMPARE(next.value("ZNO").toString(), QStringLiteral("78"));
}

void TestIncoming::anotherYearIsRefused()
{
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    o.prompt().expectMessage("Tarih Çalışma Yılından Farklı Olamaz.");
    QVERIFY(!r.save("26/08/2020"));
    QVERIFY(o.prompt().done());
    QVERIFY(r.save("26/08/2021"));

    IncomingRecord edit(o.session());
    QVERIFY(edit.openExisting(r.kayno()));
    o.prompt().expectMessage("Tarih Çalışma Yılından Farklı Olamaz.");
    QVERIFY(!edit.save("01/01/2022"));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT GELTAR FROM GELEN").toDate(), QDate(2021, 8, 26));
}

void TestIncoming::cancelLeavesOnlyTheSpentKey()
{
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    const int first = r.kayno();
    r.routing().routeAll();
    r.cancel();
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 0);
    IncomingRecord next(o.session());
    next.openNew();
    QCOMPARE(next.kayno(), first + 1);
}

void TestIncoming::confidentialityRenumbers()
{
    Office o;
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.execute("INSERT INTO GELEN (KAYNO,GIZDER,GSIRNO) VALUES (-1, 'G', 4)");
        t.execute("INSERT INTO GELEN (KAYNO,GIZDER,GSIRNO) VALUES (-2, 'Ö', 9)");
        t.commit();
    }
    IncomingRecord r(o.session());
    r.openNew();
    QCOMPARE(r.value("GSIRNO").toInt(), 10);
    r.setGIZDER("G");
    QCOMPARE(r.value("GSIRNO").toInt(), 5);
    QVERIFY(r.save("26/08/2021"));
    IncomingRecord edit(o.session());
    QVERIFY(edit.openExisting(r.kayno()));
    edit.setGIZDER("Ö");
    QCOMPARE(edit.value("GSIRNO").toInt(), 5); // edit mode leaves it alone
}

void TestIncoming::routingOffersEachDepartmentOnce()
{
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    QCOMPARE(r.routing().departmentsToOffer().size(), 3);
    QVERIFY(r.routing().route(r.routing().departmentsToOffer().first()));
    const auto offered = r.routing().departmentsToOffer();
    QCOMPARE(offered.size(), 2);
    r.routing().routeAll();
    QCOMPARE(r.routing().rows().rowCount(), 3);
    QVERIFY(r.routing().departmentsToOffer().isEmpty());
    QVERIFY(r.save("26/08/2021"));

    IncomingRecord edit(o.session());
    QVERIFY(edit.openExisting(r.kayno()));
    QVERIFY(edit.routing().departmentsToOffer().isEmpty());
    o.prompt().expectQuestion("Bu Birim Silinecektir. Onaylıyormusunuz.?", true);
    edit.routing().remove(0);
    QCOMPARE(edit.routing().rows().rowCount(), 2);
    QVERIFY(edit.save("26/08/2021"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 2);
}

void TestIncoming::laterSelectionDropsUnsavedRoutingEdits()
{
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    const auto offered = r.routing().departmentsToOffer();
    r.routing().route(offered[0]);
    QVERIFY(r.save("26/08/2021"));
    IncomingRecord edit(o.session());
    QVERIFY(edit.openExisting(r.kayno()));
    edit.routing().rows().setValue(0, "TESADI", QStringLiteral("DEĞİŞTİ"));
    edit.routing().route(edit.routing().departmentsToOffer().first());
    QCOMPARE(edit.routing().rows().rowCount(), 2);
    QVERIFY(edit.routing().rows().value(0, "TESADI").toString() != QStringLiteral("DEĞİŞTİ"));
}

void TestIncoming::overlongResponsiblePersonMakesNoRow()
{
    Office o;
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.execute("UPDATE BIRIM SET YETKILI='ABDURRAHMAN KARAOSMANOĞLU' WHERE BKOD=2");
        t.commit();
    }
    IncomingRecord r(o.session());
    r.openNew();
    o.prompt().expectMessage("20 karakterden uzun");
    r.routing().routeAll(); // stops at the department that does not fit
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(r.routing().rows().rowCount(), 1);
}

void TestIncoming::badInputKeepsEverythingTyped_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a date") << "" << QVariant() << "31/02/2021" << "geçerli bir tarih değil";
    QTest::newRow("subject too long") << "KONU" << QVariant(QString(201, u'ş')) << "26/08/2021"
                                      << "«Konusu (Özü)» en fazla 200 karakter";
    QTest::newRow("number too large") << "EKSAY" << QVariant(40000) << "26/08/2021" << "«Ek Sayısı» en fazla 32767";
    QTest::newRow("file code gone") << "SDP" << QVariant("999.99") << "26/08/2021" << "dosya planında yok";
    QTest::newRow("code with sub-codes") << "SDP" << QVariant("010") << "26/08/2021" << "alt";
    QTest::newRow("body gone") << "KURKOD" << QVariant(77) << "26/08/2021" << "kurum artık tanımlı değil";
}

void TestIncoming::badInputKeepsEverythingTyped()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, date);
    QFETCH(QString, message);
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    r.setValue("EVSAY", QStringLiteral("B.01.4.İÇ/123"));
    r.routing().routeAll();
    if (!column.isEmpty())
        r.setValue(column, value);
    o.prompt().expectMessage(message);
    QVERIFY(!r.save(date));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 0);
    QCOMPARE(r.value("EVSAY").toString(), QStringLiteral("B.01.4.İÇ/123"));
    QCOMPARE(r.routing().rows().rowCount(), 3);
    QVERIFY(r.value("GELNO").isNull());
}

void TestIncoming::failedSaveReleasesTheNumberingLock()
{
    Office o;
    // Another workstation recorded a document under this key already (the
    // generator was set back by hand): the insert fails after numbering.
    IncomingRecord r(o.session());
    r.openNew();
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.execute("INSERT INTO GELEN (KAYNO, GELNO, GELTAR) VALUES (:K, 1, '2021-08-01')", {{"K", r.kayno()}});
        t.commit();
    }
    r.setValue("KONU", QStringLiteral("Yazılan konu"));
    o.prompt().expect(ScriptedPrompt::Kind::Error, "Kayıt yapılamadı");
    QVERIFY(!r.save("26/08/2021"));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QVERIFY(r.value("GELNO").isNull());
    QCOMPARE(r.value("KONU").toString(), QStringLiteral("Yazılan konu"));
    // Nobody waits behind the failed save.
    Workstation other(o.db.path());
    fb::TransactionOptions quick;
    quick.wait = false;
    fb::Transaction t(other.session.db.IBDATABASE, quick);
    numbering::lock(t);
}

void TestIncoming::deletion()
{
    Office o;
    IncomingRecord r(o.session());
    r.openNew();
    r.routing().routeAll();
    QVERIFY(r.save("26/08/2021"));
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.execute("INSERT INTO GIDEN (KAYNO, ILGNO, ILGDUR) VALUES (1, :K, 'G')", {{"K", r.kayno()}});
        t.commit();
    }
    o.prompt().expectQuestion("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?", true)
        .expectMessage("DİKKAT! Bu Kayıt Kullanılmıştır. Silemezsiniz...");
    QVERIFY(!IncomingRecord::remove(o.session(), r.kayno()));
    o.prompt().expectQuestion("Silinecektir", false);
    QVERIFY(!IncomingRecord::remove(o.session(), r.kayno()));
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.execute("DELETE FROM GIDEN");
        t.commit();
    }
    o.prompt().expectQuestion("Silinecektir", true);
    QVERIFY(IncomingRecord::remove(o.session(), r.kayno()));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 0);
}

void TestIncoming::replyLinks()
{
    Office o;
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,KURKOD,KONU,CEVDUR,CEVNO) "
                  "VALUES (40, 7, '2021-06-01', 1, 10, 'Soru yazısı', 'E', 0)");
        t.commit();
    }
    IncomingRecord r(o.session());
    r.openNew();
    r.chooseReply(40);
    QCOMPARE(r.ILGIGETIR(), QStringList({"7", "01.06.2021", "YAZI İŞLERİ", "Soru yazısı"}));
    r.setValue("CEVDUR", "E");
    QVERIFY(r.save("26/08/2021"));
    QCOMPARE(o.query("SELECT CEVNO FROM GIDEN WHERE KAYNO=40").toInt(), r.kayno());

    IncomingRecord edit(o.session());
    QVERIFY(edit.openExisting(r.kayno()));
    QCOMPARE(edit.CEVAPGETIR().value(0), QStringLiteral("Cevap Gönderilmedi...."));
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.execute("UPDATE GELEN SET CEVNO=40 WHERE KAYNO=:K", {{"K", r.kayno()}});
        t.commit();
    }
    QVERIFY(edit.openExisting(r.kayno()));
    QCOMPARE(edit.CEVAPGETIR(), QStringList({"Cevap Gönderildi....", "No:7  Tarih:01.06.2021  G.Yer:VALİLİK"}));
    // Removing the link clears the other side at save.
    o.prompt().expectQuestion("DİKKAT! Bu Cevap Bilgisi Silinecektir. Onaylıyormusunuz.?", true);
    QVERIFY(edit.removeReply());
    QVERIFY(edit.save("26/08/2021"));
    QVERIFY2(o.prompt().done(), qPrintable(o.prompt().report()));
    QCOMPARE(o.query("SELECT CEVNO FROM GIDEN WHERE KAYNO=40").toInt(), 0);
    QCOMPARE(o.query("SELECT ILGNO FROM GELEN WHERE KAYNO=:K", {{"K", r.kayno()}}).toInt(), 0);
}

void TestIncoming::concurrentSavesNeverShareANumber()
{
    Office o;
    constexpr int kWorkstations = 3;
    constexpr int kSaves = 40;
    std::atomic<int> failures{0};
    QList<QThread *> threads;
    for (int w = 0; w < kWorkstations; ++w) {
        threads << QThread::create([&, w] {
            Workstation ws(o.db.path());
            for (int i = 0; i < kSaves; ++i) {
                IncomingRecord r(ws.session);
                r.openNew();
                r.setValue("ZDUR", (i + w) % 2 ? QStringLiteral("İ") : QStringLiteral("D"));
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
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), kWorkstations * kSaves);
    QCOMPARE(o.query("SELECT COUNT(DISTINCT GELNO) FROM GELEN").toInt(), kWorkstations * kSaves);
    QCOMPARE(o.query("SELECT MAX(GELNO) FROM GELEN").toInt(), kWorkstations * kSaves);
    QCOMPARE(o.query("SELECT COUNT(*) FROM (SELECT ZDUR, ZNO FROM GELEN GROUP BY ZDUR, ZNO HAVING COUNT(*) > 1)").toInt(), 0);
}

void TestIncoming::numberingFindsItsNumbersThroughIndexes()
{
    // Last year's 400 documents carry higher numbers than this year's 300, as
    // they do early in a year, and none has the level the new one gets.
    Office o;
    {
        fb::Transaction t(o.session().db.IBDATABASE);
        t.executeRaw("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN "
                     "WHILE (I <= 700) DO BEGIN "
                     "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,ZDUR,ZNO,GIZDER,GSIRNO,KONU) "
                     "VALUES (-:I, IIF(:I <= 400, :I, :I - 400), IIF(:I <= 400, DATE '2020-06-01', DATE '2021-03-01'), "
                     "'D', IIF(:I <= 400, :I, :I - 400), 'Ö', :I, 'Eski evrak'); "
                     "I = I + 1; END END");
        t.commit();
    }
    const qint64 before = rowsRead(o.session().db.IBDATABASE, "GELEN");
    IncomingRecord r(o.session());
    r.openNew();
    r.setGIZDER(QStringLiteral("G"));
    QVERIFY2(r.save("26/08/2021"), qPrintable(o.prompt().report()));
    const qint64 read = rowsRead(o.session().db.IBDATABASE, "GELEN") - before;
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(r.value("GELNO").toString(), r.value("ZNO").toString(),
                                             r.value("GSIRNO").toString()),
             QStringLiteral("301 301 1"));
    QVERIFY2(read < 30, qPrintable(QStringLiteral("%1 rows of GELEN read").arg(read)));
}

QTEST_GUILESS_MAIN(TestIncoming)
#include "tst_incoming.moc"
