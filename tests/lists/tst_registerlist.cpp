#include "listoffice.h"
#include "legacydatabase.h"
#include "rowsread.h"

#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/upgrade.h"
#include "lists/incominglist.h"
#include "lists/outgoinglist.h"
#include "lists/petitionlist.h"
#include "lists/registerlist.h"

#include <QTest>

#include <algorithm>

using lists::RegisterList;

namespace {

enum FilterNo { Sender, Department, Reply, Confidentiality, Year, Month, Delivery, Type };

/// Puts each filter on the item of that text ("" = its "all" item), without a query per filter.
void choose(RegisterList &list, const QStringList &texts)
{
    for (int f = 0; f < list.filterCount(); ++f) {
        const int index = texts.value(f).isEmpty() ? 0 : list.filterItems(f).indexOf(texts.value(f));
        QVERIFY2(index >= 0, qPrintable(texts.value(f)));
        list.choose(f, index);
    }
}

/// The incoming list's query as the registry office always ran it, with
/// the answer's register checked and each attachment count a query of its own.
QStringList reference(fb::Transaction &t, const QStringList &texts, const RegisterList &list)
{
    QStringList sql = {
        "SELECT G1.KAYNO,G1.GELNO,G1.GELTAR,K.BIRIM DISKUR,G1.EVTAR,G1.EVSAY,G1.KONU,B.BIRIM,G1.CEVDUR,G2.GIDNO,"
        "G1.ILGNO,G1.GIZDER,G1.ZDUR,G1.ZNO,G1.EKSAY,E.EVTUR,G.ONAY,G.BKOD FROM GELEN G1",
        "LEFT JOIN BIRIM K ON(K.TUR='K' AND K.BKOD=G1.KURKOD)",
        "LEFT JOIN EVBRM G ON(G.TUR=1 AND G.EKAYNO=G1.KAYNO)",
        "LEFT JOIN BIRIM B ON(B.TUR='B' AND B.BKOD=G.BKOD)",
        "LEFT JOIN EVTUR E ON(E.ETKOD=G1.ETKOD)",
        "LEFT JOIN GIDEN G2 ON(G2.ILGNO=G1.KAYNO AND G2.ILGDUR='G')",
    };
    QStringList where;
    fb::Params p;
    const auto active = [&](int f) { return !texts.value(f).isEmpty(); };
    if (active(Sender)) {
        where << "G1.KURKOD=:DK";
        p["DK"] = t.value("SELECT BKOD FROM BIRIM WHERE TUR='K' AND BIRIM=:D", {{"D", texts[Sender]}});
    }
    if (active(Department)) {
        where << "G.BKOD=:BK";
        p["BK"] = t.value("SELECT BKOD FROM BIRIM WHERE TUR='B' AND BIRIM=:B", {{"B", texts[Department]}});
    }
    if (texts.value(Reply) == "Cevap Bekleyen")
        where << "G1.CEVDUR='E' AND G2.GIDNO IS NULL";
    if (texts.value(Reply) == "Cevap Verilen")
        where << "G1.CEVDUR='E' AND G2.GIDNO>0";
    if (active(Confidentiality)) {
        where << "G1.GIZDER=:GD";
        p["GD"] = texts[Confidentiality].left(1);
    }
    if (active(Year)) {
        where << "EXTRACT(YEAR FROM G1.GELTAR)=:YL";
        p["YL"] = texts[Year];
    }
    if (active(Month)) {
        where << "EXTRACT(MONTH FROM G1.GELTAR)=:AA";
        p["AA"] = list.filterItems(Month).indexOf(texts[Month]);
    }
    if (active(Delivery)) {
        where << "G1.ZDUR=:ZD";
        p["ZD"] = texts[Delivery].left(1);
    }
    if (active(Type)) {
        where << "G1.ETKOD=:ETK";
        p["ETK"] = t.value("SELECT ETKOD FROM EVTUR WHERE EVTUR=:B", {{"B", texts[Type]}});
    }
    if (!where.isEmpty())
        sql << "WHERE " + where.join(" AND ");
    sql << "ORDER BY G1.GELNO";

    QStringList rows;
    for (const QVariantList &r : t.rows(sql.join('\n'), p)) {
        const QVariant adet = t.value("SELECT COUNT(KAYNO) SAY FROM GELTEXT G WHERE KAYNO=:KNO", {{"KNO", r[0]}});
        rows << QStringList{r[0].toString(), r[1].toString(), r[3].toString(), r[7].toString(), r[9].toString(),
                            r[15].toString(), r[16].toString(), r[17].toString(), adet.toString()}
                    .join('|');
    }
    return rows;
}

QStringList listed(RegisterList &list)
{
    list.fetchAll();
    QStringList rows;
    for (int r = 0; r < list.rowCount(); ++r) {
        QStringList cells;
        for (const char *f : {"KAYNO", "GELNO", "DISKUR", "BIRIM", "GIDNO", "EVTUR", "ONAY", "BKOD", "ADET"})
            cells << list.value(r, f).toString();
        rows << cells.join('|');
    }
    return rows;
}

} // namespace

class TestRegisterList : public QObject
{
    Q_OBJECT

private slots:
    void rowsEqualTheReferenceQuery_data();
    void rowsEqualTheReferenceQuery();
    void conditionLineBindsOnlyActiveFilters();
    void activationFillsAndResetsFilters();
    void activationReadsTheMonthNotTheRegister();
    void firstRowsComeBeforeTheYearIsRead();
    void departmentOfTheUserIsLocked();
    void vanishedFilterValueFallsBackToAll();
    void deleteGuardAndGeneratorReset();
    void deleteTakesRoutingAndAttachmentRows();
    void deleteLeavesNothingHalfDone();
    void deleteOfAVanishedRecordReportsAndRefreshes();
    void upgradedDatabaseGetsIndexesAndUsesThem();
    void eachBookReadsFieldsOfItsList_data();
    void eachBookReadsFieldsOfItsList();
};

void TestRegisterList::rowsEqualTheReferenceQuery_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("rows");
    // sender, department, reply, confidentiality, year, month, delivery, type
    QTest::newRow("nothing: whole register") << QStringList{} << 9;
    QTest::newRow("working year, one row per department and answer")
        << QStringList{"", "", "", "", "2021"} << 7;
    QTest::newRow("body and answered, every year")
        << QStringList{"ANKARA VALİLİĞİ", "", "Cevap Verilen"} << 3;
    QTest::newRow("waiting: a petition's answer is no answer")
        << QStringList{"", "", "Cevap Bekleyen", "", "2021"} << 2;
    QTest::newRow("department") << QStringList{"", "FEN İŞLERİ"} << 2;
    QTest::newRow("confidentiality") << QStringList{"", "", "", "Çok Gizli"} << 1;
    QTest::newRow("month of the year") << QStringList{"", "", "", "", "2021", "Ağustos"} << 3;
    QTest::newRow("month of every year") << QStringList{"", "", "", "", "", "Mart"} << 1;
    QTest::newRow("internal delivery") << QStringList{"", "", "", "", "", "", "İç"} << 4;
    QTest::newRow("document type") << QStringList{"", "", "", "", "", "", "", "DİLEKÇE"} << 2;
    QTest::newRow("several") << QStringList{"", "", "", "", "2021", "", "Dış", "GENEL EVRAK"} << 2;
    QTest::newRow("none match") << QStringList{"İZMİR BELEDİYESİ", "", "", "Gizli"} << 0;
}

void TestRegisterList::rowsEqualTheReferenceQuery()
{
    QFETCH(QStringList, texts);
    QFETCH(int, rows);
    ListOffice o;
    RegisterList list(o.session, lists::incomingList());
    QVERIFY(list.activate());
    choose(list, texts);
    QStringList got = listed(list);
    for (int r = 1; r < list.rowCount(); ++r)
        QVERIFY(list.value(r - 1, "GELNO").toInt() <= list.value(r, "GELNO").toInt());

    fb::Transaction t(o.own);
    QStringList expected = reference(t, texts, list);
    QCOMPARE(got.size(), rows);
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(got, expected);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRegisterList::conditionLineBindsOnlyActiveFilters()
{
    ListOffice o;
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    choose(list, {});
    QCOMPARE(list.conditionLine(), QString());
    QVERIFY(list.parameters().isEmpty());

    choose(list, {"ANKARA VALİLİĞİ", "", "Cevap Verilen"});
    QCOMPARE(list.conditionLine(), QString("WHERE G1.KURKOD=:DK AND G1.CEVDUR='E' AND G2.GIDNO>0"));
    QCOMPARE(list.parameters(), (fb::Params{{"DK", 11}}));
}

void TestRegisterList::activationFillsAndResetsFilters()
{
    ListOffice o;
    RegisterList list(o.session, lists::incomingList());
    QVERIFY(list.activate());
    QCOMPARE(list.filterItems(Year), (QStringList{"TÜMÜ", "2021", "2020", "2018"}));
    QCOMPARE(list.filterIndex(Year), 1);
    QCOMPARE(list.filterIndex(Month), 8); // today's month, first time only
    QCOMPARE(list.filterItems(Sender), (QStringList{"   TÜMÜ", "ANKARA VALİLİĞİ", "İZMİR BELEDİYESİ"}));
    QVERIFY(list.filterEnabled(Department));

    list.choose(Month, 0);
    list.choose(Sender, 2);
    list.choose(Year, 2);
    QVERIFY(list.activate());
    QCOMPARE(list.filterIndex(Month), 0);
    QCOMPARE(list.filterIndex(Sender), 0);
    QCOMPARE(list.filterIndex(Year), 1);
    list.fetchAll();
    QCOMPARE(list.rowCount(), 7);

    // Back from a print preview: nothing is touched.
    list.choose(Year, 0);
    o.session.printReturn = true;
    QVERIFY(!list.activate());
    QCOMPARE(list.filterIndex(Year), 0);
}

void TestRegisterList::departmentOfTheUserIsLocked()
{
    ListOffice o;
    o.session.userDepartment = 2;
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    QCOMPARE(list.filterItems(Department), (QStringList{"TÜMÜ", "FEN İŞLERİ"}));
    QCOMPARE(list.filterIndex(Department), 1);
    QVERIFY(!list.filterEnabled(Department));
    list.choose(Year, 0);
    list.choose(Month, 0);
    list.fetchAll();
    QCOMPARE(list.rowCount(), 2);
    for (int r = 0; r < list.rowCount(); ++r)
        QCOMPARE(list.value(r, "BKOD").toInt(), 2);
}

void TestRegisterList::activationReadsTheMonthNotTheRegister()
{
    ListOffice o;
    // A thousand documents of 1990-1992 and five hundred of March 2021.
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.executeRaw("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 1500) DO BEGIN "
                     "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU) VALUES (10000 + :I, :I, "
                     "IIF(:I <= 1000, DATEADD(:I DAY TO DATE '1990-01-01'), DATE '2021-03-01'), 'Eski evrak'); "
                     "I = I + 1; END END");
        t.commit();
    }
    RegisterList list(o.session, lists::incomingList());
    const qint64 before = rowsRead(o.session.db.IBDATABASE, "GELEN");
    QVERIFY(list.activate());
    list.fetchAll();
    const qint64 read = rowsRead(o.session.db.IBDATABASE, "GELEN") - before;
    QCOMPARE(list.filterItems(Year), (QStringList{"TÜMÜ", "2021", "2020", "2018", "1992", "1991", "1990"}));
    QVERIFY(list.rowCount() > 0);
    for (int r = 0; r < list.rowCount(); ++r) // today's month of the working year
        QCOMPARE(list.value(r, "GELTAR").toDate().toString("yyyy-MM"), QString("2021-08"));
    QVERIFY2(read < 50, qPrintable(QStringLiteral("%1 rows of GELEN read").arg(read)));
}

void TestRegisterList::firstRowsComeBeforeTheYearIsRead()
{
    ListOffice o;
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.executeRaw("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 1500) DO BEGIN "
                     "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU) VALUES (10000 + :I, 100 + :I, "
                     "DATEADD(:I / 6 DAY TO DATE '2021-01-01'), 'Bu yılın evrakı'); I = I + 1; END END");
        t.commit();
    }
    RegisterList list(o.session, lists::incomingList());
    QVERIFY(list.activate());
    list.choose(Month, 0);
    const qint64 before = rowsRead(o.session.db.IBDATABASE, "GELEN");
    QCOMPARE(list.fetch(100), 100);
    const qint64 read = rowsRead(o.session.db.IBDATABASE, "GELEN") - before;
    QVERIFY2(read < 300, qPrintable(QStringLiteral("%1 rows of GELEN read for the first 100").arg(read)));
    list.fetchAll();
    for (int r = 1; r < list.rowCount(); ++r)
        QVERIFY(list.value(r - 1, "GELNO").toInt() <= list.value(r, "GELNO").toInt());
}

void TestRegisterList::vanishedFilterValueFallsBackToAll()
{
    ListOffice o;
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    list.choose(Month, 0);
    list.choose(Sender, 1);
    list.fetchAll();
    QCOMPARE(list.rowCount(), 3);

    o.exec("UPDATE BIRIM SET BIRIM='ANKARA VALİLİĞİ MÜDÜRLÜĞÜ' WHERE BKOD=11");
    o.prompt.expectMessage("TÜMÜ");
    list.SORGULA();
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(list.filterIndex(Sender), 0);
    QCOMPARE(list.filterCode(Sender), -1);
    list.fetchAll();
    QCOMPARE(list.rowCount(), 7);
}

void TestRegisterList::deleteGuardAndGeneratorReset()
{
    ListOffice o;
    o.exec("SET GENERATOR GEN_GELNO TO 99");
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    list.choose(Month, 0);

    // 201 is answered by an outgoing document: refused, nothing changes.
    o.prompt.expectQuestion("Silinecektir", true).expectMessage("Kullanılmıştır");
    QCOMPARE(list.remove(list.locate(201)), -1);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GELEN WHERE KAYNO=201").toInt(), 1);
    QCOMPARE(o.value("SELECT GEN_ID(GEN_GELNO, 0) FROM RDB$DATABASE").toInt(), 99);

    // 202's key is named only by a petition's answer: it goes. The cursor
    // stands on the document before it, not on another row of its own.
    o.prompt.expectQuestion("Silinecektir", true);
    const int at = list.remove(list.locate(202));
    QCOMPARE(list.kayno(at), 201);
    QCOMPARE(o.value("SELECT GEN_ID(GEN_GELNO, 0) FROM RDB$DATABASE").toInt(), 4);

    // The last one, answering 501: the answer's mark goes with it; the generator follows.
    o.prompt.expectQuestion("Silinecektir", true);
    list.fetchAll();
    const int last = list.remove(list.rowCount() - 1);
    QCOMPARE(list.kayno(last), 203);
    QCOMPARE(o.value("SELECT GEN_ID(GEN_GELNO, 0) FROM RDB$DATABASE").toInt(), 3);
    QCOMPARE(o.value("SELECT CEVNO FROM GIDEN WHERE KAYNO=501").toInt(), 0);

    // "No" deletes nothing.
    o.prompt.expectQuestion("Silinecektir", false);
    QCOMPARE(list.remove(0), -1);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GELEN").toInt(), 4);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRegisterList::deleteTakesRoutingAndAttachmentRows()
{
    ListOffice o;
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    // August 2021: 202, then 203 twice. The first row deleted leaves the cursor on the first row.
    o.prompt.expectQuestion("Silinecektir", true);
    QCOMPARE(list.remove(0), 0);
    QCOMPARE(list.kayno(0), 203);
    for (const char *sql : {"SELECT COUNT(*) FROM GELEN WHERE KAYNO=202",
                            "SELECT COUNT(*) FROM GELTEXT WHERE KAYNO=202",
                            "SELECT COUNT(*) FROM EVBRM WHERE TUR=1 AND EKAYNO=202"})
        QVERIFY2(o.value(sql).toInt() == 0, sql);
    // Others' rows stay.
    QCOMPARE(o.value("SELECT COUNT(*) FROM EVBRM").toInt(), 5);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GELTEXT").toInt(), 3);
    // Its content in the yearly database went in the same unit; the others' stay.
    QCOMPARE(o.contents("GELTEXT"), QList<int>({2011, 2012, 2031}));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRegisterList::deleteLeavesNothingHalfDone()
{
    ListOffice o;
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    list.choose(Month, 0);
    list.fetchAll();
    auto left = [&](int kayno) {
        return QList<int>{o.value("SELECT COUNT(*) FROM GELEN WHERE KAYNO=:K", {{"K", kayno}}).toInt(),
                          o.value("SELECT COUNT(*) FROM GELTEXT WHERE KAYNO=:K", {{"K", kayno}}).toInt()};
    };

    // 101 of 2020 has a content in TEXT2020, which is missing: refused with
    // the message, its row and attachment row stay.
    o.exec("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR, BELKAYNO) VALUES (101, 1, 'A', '4', 1011)");
    list.choose(Year, 0);
    list.fetchAll();
    o.prompt.expectQuestion("Silinecektir", true).expectMessage("DİKKAT! TEXT Veritabanı açılamadı");
    QCOMPARE(list.remove(list.locate(101)), -1);
    QCOMPARE(left(101), QList<int>({1, 1}));

    // The yearly database refuses the content's deletion: the record and its
    // rows stay in the main database too.
    {
        fb::Transaction t(o.year);
        t.executeRaw("CREATE EXCEPTION E_KILITLI 'kilitli'");
        t.commit();
    }
    {
        fb::Transaction t(o.year);
        t.executeRaw("CREATE TRIGGER GELTEXT_KILITLI FOR GELTEXT BEFORE DELETE AS BEGIN EXCEPTION E_KILITLI; END");
        t.commit();
    }
    o.prompt.expectQuestion("Silinecektir", true);
    QVERIFY_THROWS_EXCEPTION(fb::Error, list.remove(list.locate(202)));
    QCOMPARE(left(202), QList<int>({1, 1}));
    QCOMPARE(o.value("SELECT COUNT(*) FROM EVBRM WHERE TUR=1 AND EKAYNO=202").toInt(), 1);
    QCOMPARE(o.contents("GELTEXT"), QList<int>({2011, 2012, 2021, 2031}));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRegisterList::deleteOfAVanishedRecordReportsAndRefreshes()
{
    ListOffice o;
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    list.choose(Month, 0);
    list.fetchAll();
    const int row = list.locate(204);
    o.exec("DELETE FROM GELEN WHERE KAYNO=204");
    o.prompt.expectQuestion("Silinecektir", true).expectMessage("başka bir kullanıcı");
    QCOMPARE(list.remove(row), -1);
    QCOMPARE(list.locate(204), -1);
    QVERIFY(!list.stillThere(204));
    QVERIFY(o.prompt.transcript().last().contains("silinmiş"));
}

void TestRegisterList::upgradedDatabaseGetsIndexesAndUsesThem()
{
    ListOffice o; // for its session and prompt only
    TempDatabase old;
    {
        fb::Attachment a;
        legacy::create(old, a, 12001);
        a.close();
    }
    {
        fb::Attachment a;
        a.open(TempDatabase::options(old.path()));
        fb::Transaction t(a);
        ScriptedPrompt quiet;
        for (int i = 0; i < 4; ++i)
            quiet.expectMessage("Güncellemesi");
        SchemaUpgrade upgrade(t, quiet);
        QCOMPARE(upgrade.upgradeToCurrent().outcome, SchemaUpgrade::Outcome::Current);
        t.commit();
        for (const char *name : {"GELEN_ILGNO", "GIDEN_ILGNO", "GELEN_GELTAR", "EVBRM_BKOD"}) {
            QVERIFY2(t.value("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME=:N", {{"N", name}}).toInt() == 1,
                     name);
        }
        t.commit();
        a.close();
    }
    o.session.db.openMain(old.path());
    RegisterList list(o.session, lists::incomingList());
    list.activate();
    const QString plan = list.plan();
    QVERIFY2(plan.contains("GIDEN_ILGNO"), qPrintable(plan));
    QVERIFY2(plan.contains("GELEN_GELTAR"), qPrintable(plan));
}

void TestRegisterList::eachBookReadsFieldsOfItsList_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("incoming") << 0;
    QTest::newRow("outgoing") << 1;
    QTest::newRow("petition") << 2;
}

void TestRegisterList::eachBookReadsFieldsOfItsList()
{
    QFETCH(int, which);
    const lists::ListDescription d = which == 0 ? lists::incomingList()
                                     : which == 1 ? lists::outgoingList()
                                                  : lists::petitionList();
    QVERIFY2(d.book.has_value(), "F7-Yazdır would print nothing");
    ListOffice o;
    RegisterList list(o.session, d);
    list.activate();
    for (const QString &field : reports::bookFields(*d.book))
        QVERIFY2(list.columnIndex(field) >= 0, qPrintable(field));
}

QTEST_GUILESS_MAIN(TestRegisterList)
#include "tst_registerlist.moc"
