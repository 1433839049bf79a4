// Reply deadlines on a real database: which rows are overdue or near, the
// main window's counts per department, the lists' filter and marks, the
// settings and the overdue report.

#include "sessionfixture.h"

#include "pdftext.h"

#include "db/fb/statement.h"
#include "db/upgrade.h"
#include "definitions/generaldefinitions.h"
#include "lists/deadlines.h"
#include "lists/incominglist.h"
#include "lists/outgoinglist.h"
#include "lists/petitionlist.h"
#include "lists/registerlist.h"
#include "reports/engine.h"
#include "reports/overdue.h"

#include <QSet>
#include <QTest>

using deadlines::Register;

namespace {

// Today is Thursday 26.08.2021 (the fixture's clock).
const QDate kToday(2021, 8, 26);

/// One register row of the table: what it holds about its reply, and where it belongs.
struct Row
{
    Register reg;
    int kayno;
    const char *CEVDUR;
    QVariant CEVNO;
    QDate CEVTAR;
    QDate registered;
    QList<int> departments; ///< routing rows (incoming) or BIRKOD (petition, outgoing)
};

QDate day(int d, int m = 8) { return QDate(2021, m, d); }

// Mind the weekend: Saturday 28 and Sunday 29 count like any other day.
const QList<Row> kRows = {
    {Register::Incoming, 1, "E", 0, day(25), day(1), {1}},          // yesterday
    {Register::Incoming, 2, "E", 0, day(26), day(1), {1}},          // today
    {Register::Incoming, 3, "E", 0, day(29), day(1), {2}},          // in three days (a Sunday)
    {Register::Incoming, 4, "E", 0, day(30), day(1), {1}},          // in four days
    {Register::Incoming, 5, "E", 77, day(1), day(1), {1}},          // answered
    {Register::Incoming, 6, "H", 0, day(1), day(1), {1}},           // no reply asked
    {Register::Incoming, 7, "E", 0, QDate(), day(1, 6), {1}},       // no date: no legal period for letters
    {Register::Incoming, 8, "E", QVariant(), day(1, 1), day(1, 1), {2}}, // CEVNO empty: no reply either
    {Register::Incoming, 9, "E", 0, day(20), day(1), {1, 2}},       // routed to two departments
    {Register::Petition, 21, "E", 0, QDate(), day(26, 7), {1}},     // 30 days: due yesterday
    {Register::Petition, 22, "E", 0, QDate(), day(27, 7), {2}},     // due today
    {Register::Petition, 23, "E", 0, QDate(), day(30, 7), {1}},     // due in three days
    {Register::Petition, 24, "E", 0, QDate(), day(31, 7), {1}},     // due in four days
    {Register::Petition, 25, "E", 0, day(30, 9), day(1, 6), {2}},   // its own date wins over the period
    {Register::Petition, 26, "E", 0, day(10), day(9), {2}},         // its own, earlier date
    {Register::Petition, 27, "H", 0, QDate(), day(1, 1), {1}},      // no reply asked
    {Register::Petition, 28, "E", 91, QDate(), day(1, 1), {1}},     // answered
    {Register::Outgoing, 41, "E", 0, day(20), day(1), {1}},
    {Register::Outgoing, 42, "E", 0, QDate(), day(1, 1), {1}},      // no date, no deadline
};

void insert(fb::Transaction &t, const Row &r)
{
    fb::Params p{{"K", r.kayno},
                       {"C", QString::fromLatin1(r.CEVDUR)},
                       {"N", r.CEVNO},
                       {"T", r.CEVTAR.isValid() ? QVariant(r.CEVTAR) : QVariant()},
                       {"G", r.registered}};
    if (r.reg != Register::Incoming)
        p.insert(QStringLiteral("B"), r.departments.value(0));
    switch (r.reg) {
    case Register::Incoming:
        t.execute("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU,CEVDUR,CEVNO,CEVTAR) "
                  "VALUES (:K,:K,:G,'Konu',:C,:N,:T)",
                  p);
        for (int b : r.departments)
            t.execute("INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,:K,:B)", {{"K", r.kayno}, {"B", b}});
        break;
    case Register::Petition:
        t.execute("INSERT INTO DILEKCE (KAYNO,DILNO,GELTAR,DILTAR,ADI,SOYADI,KONU,CEVDUR,CEVNO,CEVTAR,BIRKOD) "
                  "VALUES (:K,:K,:G,:G,'Ayşe','Işık','Konu',:C,:N,:T,:B)",
                  p);
        break;
    case Register::Outgoing:
        t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KONU,CEVDUR,CEVNO,CEVTAR,BIRKOD) "
                  "VALUES (:K,:K,:G,'Konu',:C,:N,:T,:B)",
                  p);
        break;
    }
}

struct Office : SessionFixture
{
    Office()
    {
        fb::Transaction t(own);
        t.execute("INSERT INTO BIRIM (BKOD,TUR,BIRIM) VALUES (1,'B','YAZI İŞLERİ')");
        t.execute("INSERT INTO BIRIM (BKOD,TUR,BIRIM) VALUES (2,'B','FEN İŞLERİ')");
        for (const Row &r : kRows)
            insert(t, r);
        t.commit();
        session.workstation.year = QStringLiteral("2021");
    }
};

lists::ListDescription describe(Register reg)
{
    switch (reg) {
    case Register::Incoming: return lists::incomingList();
    case Register::Outgoing: return lists::outgoingList();
    case Register::Petition: break;
    }
    return lists::petitionList();
}

QChar letter(int mark)
{
    switch (deadlines::Mark(mark)) {
    case deadlines::Mark::Overdue: return u'O';
    case deadlines::Mark::Near: return u'N';
    case deadlines::Mark::Waiting: return u'W';
    case deadlines::Mark::None: break;
    }
    return u'-';
}

int filterIndex(const lists::RegisterList &list, const QString &name)
{
    for (int i = 0; i < list.filterCount(); ++i)
        if (list.description().filters[i].name == name)
            return i;
    return -1;
}

} // namespace

class TestDeadlines : public QObject
{
    Q_OBJECT

private slots:
    void countsFiltersAndMarks_data();
    void countsFiltersAndMarks();
    void countsReadTheDeadlineIndexes();
    void settingsDefaultsAndUpgrade();
    void generalDefinitionsKeepTheSettings();
    void overdueReport();
};

void TestDeadlines::countsFiltersAndMarks_data()
{
    QTest::addColumn<int>("legalDays");
    QTest::addColumn<int>("soonDays");
    // One letter per row of kRows: O overdue, N near, W waiting, - no deadline.
    QTest::addColumn<QString>("marks");
    //                                                       incoming   petitions outgoing
    QTest::newRow("30 days, near within 3") << 30 << 3 << "ONNW---OO" "ONNWWO--" "O-";
    QTest::newRow("near only on the day") << 30 << 0 << "ONWW---OO" "ONWWWO--" "O-";
    QTest::newRow("10 days for petitions") << 10 << 3 << "ONNW---OO" "OOOOWO--" "O-";
}

void TestDeadlines::countsFiltersAndMarks()
{
    QFETCH(int, legalDays);
    QFETCH(int, soonDays);
    QFETCH(QString, marks);
    QCOMPARE(marks.size(), kRows.size());
    Office o;
    o.session.general.CEVSURE = legalDays;
    o.session.general.CEVYAKIN = soonDays;
    const deadlines::Rules rules = deadlines::Rules::of(o.session.general);

    // What the table expects, per register and department (0: all).
    QHash<int, QChar> expected;
    QHash<QString, QSet<int>> rowsOf; // "<register>/<mark>/<department>"
    for (int i = 0; i < kRows.size(); ++i) {
        const Row &r = kRows[i];
        expected.insert(r.kayno, marks[i]);
        const QString prefix = QStringLiteral("%1/%2/").arg(int(r.reg)).arg(marks[i]);
        rowsOf[prefix + u'0'] << r.kayno;
        for (int b : r.departments)
            rowsOf[prefix + QString::number(b)] << r.kayno;
    }
    auto expectedCount = [&](Register reg, QChar mark, int department) {
        return qint64(rowsOf.value(QStringLiteral("%1/%2/%3").arg(int(reg)).arg(mark).arg(department)).size());
    };

    // The main window's counts: an incoming document counts once, however often routed.
    for (int department : {0, 1, 2}) {
        const deadlines::Counts n = deadlines::count(o.session.db.IBTransaction1, department, rules, kToday);
        QVERIFY(n.ran);
        QCOMPARE(n.overdueIncoming, expectedCount(Register::Incoming, u'O', department));
        QCOMPARE(n.nearIncoming, expectedCount(Register::Incoming, u'N', department));
        QCOMPARE(n.overduePetitions, expectedCount(Register::Petition, u'O', department));
        QCOMPARE(n.nearPetitions, expectedCount(Register::Petition, u'N', department));
    }
    QVERIFY(!deadlines::count(o.session.db.IBTransaction1, -1, rules, kToday).ran);

    // The lists: every row marked, in both modes; the filter keeps exactly the overdue or near rows.
    for (Register reg : {Register::Incoming, Register::Petition, Register::Outgoing}) {
        for (auto mode : {lists::RegisterList::Mode::Work, lists::RegisterList::Mode::RegisterBook}) {
            lists::RegisterList list(o.session, describe(reg));
            list.mode = mode;
            list.presets = {{QStringLiteral("yearFilter"), 0}, {QStringLiteral("monthFilter"), 0}};
            QVERIFY(list.activate());
            list.fetchAll();
            QSet<int> seen;
            for (int row = 0; row < list.rowCount(); ++row) {
                const int k = list.kayno(row);
                seen << k;
                QCOMPARE(letter(list.mark(row)), expected.value(k));
            }
            QCOMPARE(seen.size(), int(rowsOf.value(QStringLiteral("%1/O/0").arg(int(reg))).size()
                                      + rowsOf.value(QStringLiteral("%1/N/0").arg(int(reg))).size()
                                      + rowsOf.value(QStringLiteral("%1/W/0").arg(int(reg))).size()
                                      + rowsOf.value(QStringLiteral("%1/-/0").arg(int(reg))).size()));

            const int f = filterIndex(list, QStringLiteral("deadlineFilter"));
            QVERIFY(f >= 0);
            QCOMPARE(list.filterItems(f), (QStringList{"Tümü", "Süresi Geçen", "Yaklaşan"}));
            for (const auto &[index, mark] : {std::pair{1, u'O'}, std::pair{2, u'N'}}) {
                list.choose(f, index);
                list.fetchAll();
                QSet<int> shown;
                for (int row = 0; row < list.rowCount(); ++row)
                    shown << list.kayno(row);
                QCOMPARE(shown, rowsOf.value(QStringLiteral("%1/%2/0").arg(int(reg)).arg(QChar(mark))));
            }
        }
    }

    // Days left or over, as the column shows them.
    if (legalDays == 30 && soonDays == 3) {
        lists::RegisterList list(o.session, lists::incomingList());
        list.presets = {{QStringLiteral("yearFilter"), 0}, {QStringLiteral("monthFilter"), 0}};
        list.activate();
        list.fetchAll();
        const int column = int(list.description().columns.size()) - 1;
        QCOMPARE(list.description().columns[column].caption, QStringLiteral("Cevap Süresi"));
        QHash<int, QString> shown;
        for (int row = 0; row < list.rowCount(); ++row)
            shown.insert(list.kayno(row), list.display(row, column).toString());
        QCOMPARE(shown.value(1), QStringLiteral("1 gün geçti"));
        QCOMPARE(shown.value(2), QStringLiteral("Bugün"));
        QCOMPARE(shown.value(3), QStringLiteral("3 gün kaldı"));
        QCOMPARE(shown.value(5), QString());
        QCOMPARE(shown.value(8), QStringLiteral("237 gün geçti"));
    }
}

void TestDeadlines::countsReadTheDeadlineIndexes()
{
    Office o;
    const deadlines::Rules rules;
    fb::Transaction &t = o.session.db.IBTransaction1;
    for (int department : {0, 2}) {
        for (Register reg : {Register::Incoming, Register::Petition}) {
            for (deadlines::Which which : {deadlines::Which::Overdue, deadlines::Which::Near}) {
                const deadlines::CountQuery q = deadlines::countQuery(reg, which, department, rules, kToday);
                fb::Statement s(t, q.sql);
                const QString plan = s.plan();
                // No natural scan of the register: only its deadline index(es) lead.
                QVERIFY2(!plan.contains(QLatin1String("NATURAL")), qPrintable(plan));
                if (reg == Register::Incoming) {
                    QVERIFY2(plan.contains(QLatin1String("GELEN_CEVBEKLER")), qPrintable(plan));
                } else {
                    QVERIFY2(plan.contains(QLatin1String("DILEKCE_CEVBEKLER")), qPrintable(plan));
                    QVERIFY2(plan.contains(QLatin1String("DILEKCE_SUREBEKLER")), qPrintable(plan));
                }
            }
        }
    }
}

void TestDeadlines::settingsDefaultsAndUpgrade()
{
    SessionFixture f;
    // A fresh database leaves them empty: the defaults hold.
    QCOMPARE(f.session.general.CEVSURE, 30);
    QCOMPARE(f.session.general.CEVYAKIN, 3);
    f.exec("UPDATE TANIM SET CEVSURE=15, CEVYAKIN=0");
    GeneralSettings g = generalsettings::readRow(f.session.db.IBTransaction1);
    QCOMPARE(g.CEVSURE, 15);
    QCOMPARE(g.CEVYAKIN, 0);

    // A database of the current version made before the settings existed:
    // read with the defaults, and given the columns and indexes at the next start.
    f.session.db.closeAll();
    {
        fb::Transaction t(f.own);
        for (const char *index : {"GELEN_CEVBEKLER", "GIDEN_CEVBEKLER", "DILEKCE_CEVBEKLER", "DILEKCE_SUREBEKLER"})
            t.executeRaw(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index)));
        t.executeRaw("ALTER TABLE TANIM DROP CEVSURE, DROP CEVYAKIN");
        t.commit();
    }
    f.session.db.openMain(f.db.path());
    g = generalsettings::readRow(f.session.db.IBTransaction1);
    QCOMPARE(g.CEVSURE, 30);
    QCOMPARE(g.CEVYAKIN, 3);
    {
        fb::Transaction work(f.session.db.IBDATABASE);
        SchemaUpgrade check(work, f.prompt);
        QCOMPARE(int(check.VERKONT().outcome), int(SchemaUpgrade::Outcome::Current));
        work.commit();
    }
    QCOMPARE(f.value("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='TANIM' "
                     "AND RDB$FIELD_NAME IN ('CEVSURE','CEVYAKIN')").toInt(), 2);
    QCOMPARE(f.value("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME IN "
                     "('GELEN_CEVBEKLER','GIDEN_CEVBEKLER','DILEKCE_CEVBEKLER','DILEKCE_SUREBEKLER')").toInt(), 4);
    QCOMPARE(f.value("SELECT VER FROM TANIM").toString(), QStringLiteral("16.001"));
}

void TestDeadlines::generalDefinitionsKeepTheSettings()
{
    SessionFixture f;
    GeneralDefinitions d(f.session);
    GeneralDefinitions::Values v = d.open();
    QCOMPARE(v.CEVSURE, 30);
    QCOMPARE(v.CEVYAKIN, 3);
    v.year = QStringLiteral("2021");
    v.CEVSURE = 45;
    v.CEVYAKIN = 7;
    QVERIFY(d.save(v));
    QCOMPARE(f.value("SELECT CEVSURE FROM TANIM").toInt(), 45);
    QCOMPARE(f.value("SELECT CEVYAKIN FROM TANIM").toInt(), 7);

    // Nothing is stored from a period of no days.
    v.CEVSURE = 0;
    f.prompt.expectMessage(QStringLiteral("DİKKAT! Cevap süresi 1 ile 365, yaklaşan uyarısı 0 ile 60 gün arasında olmalıdır."));
    QVERIFY(!d.save(v));
    QCOMPARE(f.value("SELECT CEVSURE FROM TANIM").toInt(), 45);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestDeadlines::overdueReport()
{
    Office o;
    const QList<deadlines::OverdueLine> all =
        deadlines::overdueLines(o.session.db.IBTransaction1, 0, deadlines::Rules(), kToday);
    // By department in Turkish order, longest overdue first; 9 under both of its departments.
    QStringList seen;
    for (const deadlines::OverdueLine &l : all)
        seen << QStringLiteral("%1 %2 %3 %4").arg(l.department, l.kind).arg(l.number).arg(l.daysOver);
    QCOMPARE(seen, (QStringList{"FEN İŞLERİ Gelen Evrak 8 237", "FEN İŞLERİ Dilekçe 26 16",
                                "FEN İŞLERİ Gelen Evrak 9 6", "YAZI İŞLERİ Gelen Evrak 9 6",
                                "YAZI İŞLERİ Gelen Evrak 1 1", "YAZI İŞLERİ Dilekçe 21 1"}));
    const QList<deadlines::OverdueLine> own =
        deadlines::overdueLines(o.session.db.IBTransaction1, 1, deadlines::Rules(), kToday);
    QCOMPARE(own.size(), 3);
    for (const deadlines::OverdueLine &l : own)
        QCOMPARE(l.department, QStringLiteral("YAZI İŞLERİ"));

    // Through the report engine into a PDF.
    reports::RowList rows(reports::overdueFields(), deadlines::reportRows(all));
    reports::Report report(reports::overdueReport(QStringLiteral("KELMA BELEDİYESİ"), kToday, rows.count()), &rows);
    const QString file = o.dir.filePath(QStringLiteral("overdue.pdf"));
    QCOMPARE(int(reports::writePdf(report, file)), int(reports::Outcome::Done));
    const QString text = pdfPages(file).join(u'\n');
    for (const char *expected : {"SÜRESİ GEÇEN EVRAKLAR", "KELMA BELEDİYESİ", "Tarih : 26.08.2021", "FEN İŞLERİ",
                                 "YAZI İŞLERİ", "Ayşe Işık", "01.01.2021", "237", "Toplam 6 evrak"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
}

QTEST_MAIN(TestDeadlines)
#include "tst_deadlines.moc"
