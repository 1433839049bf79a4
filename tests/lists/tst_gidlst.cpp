#include "listoffice.h"

#include "formtest.h"
#include "bookpreview.h"
#include "scriptedrunner.h"
#include "lists/outgoinglist.h"
#include "lists/registerlist.h"
#include "lists/ui/ungidlst.h"
#include "registers/ui/ungiden.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <algorithm>

using lists::RegisterList;
using Mode = RegisterList::Mode;

namespace {

enum FilterNo { Destination, Department, Reply, Confidentiality, Year, Month, Delivery };

/// The office's outgoing letters made distinct: 501 from department 1 to both
/// bodies, answered by incoming 204, two attachments; 502 from department 1,
/// delivered inside to department 2, answering petition 202, waiting; 503 from
/// department 2 in August to İZMİR, one attachment (contents of both in TEXT2021); 504 of 2020, waiting.
/// An incoming routing row and an incoming document share 502's and 503's keys.
struct Office : ListOffice
{
    ScriptedRunner runner;

    Office()
    {
        exec("UPDATE GIDEN SET BIRKOD=1, CEVDUR='E', GIZDER='Ö', ZDUR='D', EVTAR=GIDTAR, EVSAY='S-501' WHERE KAYNO=501");
        exec("UPDATE GIDEN SET BIRKOD=1, CEVDUR='E', GIZDER='G', ZDUR='İ' WHERE KAYNO=502");
        exec("UPDATE GIDEN SET BIRKOD=2, CEVDUR='H', GIZDER='Ö', ZDUR='D', GIDTAR='2021-08-10' WHERE KAYNO=503");
        exec("UPDATE GIDEN SET BIRKOD=2, CEVDUR='E', GIZDER='Ç', ZDUR='D', GIDTAR='2020-05-01' WHERE KAYNO=504");
        for (const auto &[tur, k, b] : std::initializer_list<std::tuple<int, int, int>>{
                 {2, 501, 11}, {2, 501, 12}, {2, 502, 2}, {2, 503, 12}, {1, 502, 3}, {1, 503, 1}})
            exec("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (:T, :K, :B)", {{"T", tur}, {"K", k}, {"B", b}});
        for (const auto &[k, n] : std::initializer_list<std::pair<int, int>>{{501, 1}, {501, 2}, {503, 1}})
        {
            exec("INSERT INTO GIDTEXT (KAYNO, SIRNO, TUR, BELTUR, BELKAYNO) VALUES (:K, :S, 'A', '1', :B)",
                 {{"K", k}, {"S", n}, {"B", k * 10 + n}});
            addContent("GIDTEXT", k * 10 + n);
        }
        // 502 answers the petition 202; the incoming 202 names 502 too, by the overlap of keys.
        exec("INSERT INTO DILEKCE (KAYNO, DILNO, DILTAR, CEVDUR, CEVNO) VALUES (202, 1, '2021-08-01', 'E', 502)");
        exec("UPDATE GELEN SET CEVNO=502 WHERE KAYNO=202");
        // 203 was answered by 503 and then anew by 504.
        exec("UPDATE GELEN SET CEVNO=504 WHERE KAYNO=203");
    }
};

void choose(RegisterList &list, const QStringList &texts)
{
    for (int f = 0; f < list.filterCount(); ++f) {
        const int index = texts.value(f).isEmpty() ? 0 : list.filterItems(f).indexOf(texts.value(f));
        QVERIFY2(index >= 0, qPrintable(texts.value(f)));
        list.choose(f, index);
    }
}

const char *const kFields[] = {"KAYNO", "GIDNO", "DKURUM", "BIRIM", "GELNO", "ILGDUR", "BKOD", "ADET"};

/// The outgoing list's query as the registry office ran it (without its join
/// on document types, which outgoing letters do not have), each attachment
/// count a query of its own.
QStringList reference(fb::Transaction &t, const QStringList &texts, const RegisterList &list)
{
    QStringList sql = {
        "SELECT G1.KAYNO,G1.GIDNO,G1.GIDTAR,G1.ILGDUR,D.BIRIM DKURUM,G1.EVTAR,G1.EVSAY,G1.KONU,B.BIRIM,G1.CEVDUR,"
        "G2.GELNO,G1.ILGNO,G1.GIZDER,G1.ZDUR,G1.ZNO,G1.EKSAY,G.ONAY,G.BKOD FROM GIDEN G1",
        "LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD)",
        "LEFT JOIN EVBRM G ON(G.TUR=2 AND G.EKAYNO=G1.KAYNO)",
        "LEFT JOIN BIRIM D ON(D.BKOD=G.BKOD)",
        "LEFT JOIN GELEN G2 ON(G2.ILGNO=G1.KAYNO)",
    };
    QStringList where;
    fb::Params p;
    const auto active = [&](int f) { return !texts.value(f).isEmpty(); };
    if (active(Destination)) {
        where << "G.BKOD=:DK";
        p["DK"] = t.value("SELECT BKOD FROM BIRIM WHERE TUR='K' AND BIRIM=:D", {{"D", texts[Destination]}});
    }
    if (active(Department)) {
        where << "G1.BIRKOD=:BK";
        p["BK"] = t.value("SELECT BKOD FROM BIRIM WHERE TUR='B' AND BIRIM=:B", {{"B", texts[Department]}});
    }
    if (texts.value(Reply) == "Cevap Bekleyen")
        where << "G1.CEVDUR='E' AND G2.GELNO IS NULL";
    if (texts.value(Reply) == "Cevap Verilen")
        where << "G1.CEVDUR='E' AND G2.GELNO>0";
    if (active(Confidentiality)) {
        where << "G1.GIZDER=:GD";
        p["GD"] = texts[Confidentiality].left(1);
    }
    if (active(Year)) {
        where << "EXTRACT(YEAR FROM G1.GIDTAR)=:YL";
        p["YL"] = texts[Year];
    }
    if (active(Month)) {
        where << "EXTRACT(MONTH FROM G1.GIDTAR)=:AA";
        p["AA"] = list.filterItems(Month).indexOf(texts[Month]);
    }
    if (active(Delivery)) {
        where << "G1.ZDUR=:ZD";
        p["ZD"] = texts[Delivery].left(1);
    }
    if (!where.isEmpty())
        sql << "WHERE " + where.join(" AND ");
    sql << "ORDER BY G1.GIDNO";

    QStringList rows;
    for (const QVariantList &r : t.rows(sql.join('\n'), p)) {
        const QVariant adet = t.value("SELECT COUNT(KAYNO) SAY FROM GIDTEXT G WHERE KAYNO=:KNO", {{"KNO", r[0]}});
        rows << QStringList{r[0].toString(), r[1].toString(), r[4].toString(), r[8].toString(), r[10].toString(),
                            r[3].toString(), r[17].toString(), adet.toString()}
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
        for (const char *f : kFields)
            cells << list.value(r, f).toString();
        rows << cells.join('|');
    }
    return rows;
}

} // namespace

class TestGIDLST : public QObject
{
    Q_OBJECT

private slots:
    void rowsEqualTheReferenceQuery_data();
    void rowsEqualTheReferenceQuery();
    void deleteGuardReplyResetAndGenerator();
    void modesShowTheirButtons_data();
    void modesShowTheirButtons();
};

void TestGIDLST::rowsEqualTheReferenceQuery_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("rows");
    // destination, department, reply, confidentiality, year, month, delivery
    QTest::newRow("nothing: whole register, one row per place sent to") << QStringList{} << 5;
    QTest::newRow("working year") << QStringList{"", "", "", "", "2021"} << 4;
    QTest::newRow("destination") << QStringList{"İZMİR BELEDİYESİ"} << 2;
    QTest::newRow("destination and answered") << QStringList{"ANKARA VALİLİĞİ", "", "Cevap Verilen"} << 1;
    QTest::newRow("waiting") << QStringList{"", "", "Cevap Bekleyen"} << 2;
    QTest::newRow("sending department") << QStringList{"", "FEN İŞLERİ"} << 2;
    QTest::newRow("confidentiality") << QStringList{"", "", "", "Çok Gizli"} << 1;
    QTest::newRow("month of the year") << QStringList{"", "", "", "", "2021", "Ağustos"} << 1;
    QTest::newRow("internal delivery") << QStringList{"", "", "", "", "", "", "İç"} << 1;
    QTest::newRow("none match") << QStringList{"ANKARA VALİLİĞİ", "", "", "Gizli"} << 0;
}

void TestGIDLST::rowsEqualTheReferenceQuery()
{
    QFETCH(QStringList, texts);
    QFETCH(int, rows);
    Office o;
    RegisterList list(o.session, lists::outgoingList());
    QVERIFY(list.activate());
    choose(list, texts);
    QStringList got = listed(list);
    for (int r = 1; r < list.rowCount(); ++r)
        QVERIFY(list.value(r - 1, "GIDNO").toInt() <= list.value(r, "GIDNO").toInt());

    fb::Transaction t(o.own);
    QStringList expected = reference(t, texts, list);
    QCOMPARE(got.size(), rows);
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(got, expected);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestGIDLST::deleteGuardReplyResetAndGenerator()
{
    Office o;
    o.exec("SET GENERATOR GEN_GIDNO TO 99");
    RegisterList list(o.session, lists::outgoingList());
    list.activate();
    list.choose(Year, 0);
    list.choose(Month, 0);
    list.fetchAll();
    const auto generator = [&] { return o.value("SELECT GEN_ID(GEN_GIDNO, 0) FROM RDB$DATABASE").toInt(); };

    // 501 is answered by incoming 204: refused, nothing changes.
    o.prompt.expectQuestion("Silinecektir", true).expectMessage("Kullanılmıştır");
    QCOMPARE(list.remove(list.locate(501)), -1);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GIDEN WHERE KAYNO=501").toInt(), 1);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GIDTEXT WHERE KAYNO=501").toInt(), 2);
    QCOMPARE(generator(), 99);

    // 502 answered a petition: the petition is released, the incoming
    // document of the same key keeps its mark.
    o.prompt.expectQuestion("Silinecektir", true);
    QCOMPARE(list.kayno(list.remove(list.locate(502))), 501);
    QCOMPARE(o.value("SELECT CEVNO FROM DILEKCE WHERE KAYNO=202").toInt(), 0);
    QCOMPARE(o.value("SELECT CEVNO FROM GELEN WHERE KAYNO=202").toInt(), 502);
    QCOMPARE(generator(), 4);

    // 503: its routing and attachment rows go, the incoming ones of its key
    // stay; 203, answered anew by 504 meanwhile, keeps that answer.
    o.prompt.expectQuestion("Silinecektir", true);
    list.remove(list.locate(503));
    QCOMPARE(o.value("SELECT COUNT(*) FROM EVBRM WHERE TUR=2 AND EKAYNO=503").toInt(), 0);
    QCOMPARE(o.value("SELECT COUNT(*) FROM EVBRM WHERE TUR=1 AND EKAYNO=503").toInt(), 1);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GIDTEXT WHERE KAYNO=503").toInt(), 0);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GIDTEXT").toInt(), 2);
    // Its content in the yearly database went with the row; the others' stay.
    QCOMPARE(o.contents("GIDTEXT"), QList<int>({5011, 5012}));
    QCOMPARE(o.contents("GELTEXT"), QList<int>({2011, 2012, 2021, 2031}));
    QCOMPARE(o.value("SELECT CEVNO FROM GELEN WHERE KAYNO=203").toInt(), 504);
    QCOMPARE(generator(), 4);

    // 504, the last: 203 loses its answer, the generator follows.
    o.prompt.expectQuestion("Silinecektir", true);
    list.fetchAll();
    list.remove(list.locate(504));
    QCOMPARE(o.value("SELECT CEVNO FROM GELEN WHERE KAYNO=203").toInt(), 0);
    QCOMPARE(generator(), 1);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GIDEN").toInt(), 1);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestGIDLST::modesShowTheirButtons_data()
{
    QTest::addColumn<bool>("work");
    QTest::newRow("work") << true;
    QTest::newRow("register book") << false;
}

void TestGIDLST::modesShowTheirButtons()
{
    QFETCH(bool, work);
    Office o;
    o.session.general.TEXTVT = "H";
    TFRMGIDLST form(o.session, o.runner);
    form.mode = work ? Mode::Work : Mode::RegisterBook;
    showActive(form);
    form.readAll();
    QCOMPARE(form.windowTitle(), QString("GİDEN EVRAK  LİSTESİ"));
    for (const char *name : {"newButton", "changeButton", "deleteButton", "searchButton"})
        QVERIFY2(child<QPushButton>(form, name)->isVisible() == work, name);
    QCOMPARE(child<QPushButton>(form, "printButton")->isVisible(), !work);
    QVERIFY(child<QPushButton>(form, "exitButton")->isVisible());
    // August 2021: only 503.
    QCOMPARE(child<QComboBox>(form, "yearFilter")->currentText(), QString("2021"));
    QCOMPARE(form.list().rowCount(), 1);
    QCOMPARE(form.list().kayno(form.currentRow()), 503);

    // New and change open the outgoing letter's screen; in the register book nothing opens.
    QList<std::pair<int, int>> opened;
    const auto record = [&](KelmaForm &screen) {
        auto *letter = qobject_cast<TFRMGIDEN *>(&screen);
        QVERIFY(letter);
        opened << std::pair{letter->tag, letter->kayno};
    };
    o.runner.then(record).then(record);
    QTest::keyClick(&form, Qt::Key_F2);
    QTest::keyClick(&form, Qt::Key_F4);
    QCOMPARE(o.runner.shown(), work ? QStringList({"TFRMGIDEN", "TFRMGIDEN"}) : QStringList());
    if (work) {
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].first, 1);
        QCOMPARE(opened[1], (std::pair<int, int>{2, 503}));
    }

    // F7 previews the outgoing register book of the rows shown, only in that mode.
    LookingRunner preview;
    const QStringList missing = pressF7(form, o.session, preview, {"GİDEN YAZILAR DEFTERİ", "İZMİR BELEDİYESİ", "10.08.2021"});
    QCOMPARE(missing, work ? QStringList{"no preview"} : QStringList{});
    QCOMPARE(o.session.printReturn, !work);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

QTEST_MAIN(TestGIDLST)
#include "tst_gidlst.moc"
