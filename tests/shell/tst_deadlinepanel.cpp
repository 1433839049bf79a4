// The main window's reply-deadline counts: what the institution and one
// department see, the minute tick, and the list a click on a count opens.

#include "formtest.h"
#include "scriptedrunner.h"
#include "sessionfixture.h"

#include "core/sifrele.h"
#include "lists/deadlines.h"
#include "lists/listmodel.h"
#include "lists/ui/undillst.h"
#include "lists/ui/ungellst.h"
#include "shell/startup.h"
#include "shell/ui/unmenu.h"
#include "users/ui/unpsswd.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

namespace {

ScriptedRunner::Step logIn(const QString &name, const QString &password)
{
    return [name, password](KelmaForm &form) {
        child<QLineEdit>(form, "userNameEdit")->setText(name);
        child<QLineEdit>(form, "passwordEdit")->setText(password);
        child<QPushButton>(form, "okButton")->click();
    };
}

// Today is 26.08.2021; petitions have 30 days, near means within 3.
struct Fixture : SessionFixture
{
    WorkstationDefaults defaults{QDate(2021, 8, 26), dir.filePath("cwd"), dir.filePath("prog")};

    Fixture()
    {
        exec("UPDATE TANIM SET TEXTVT='H', ONDUR='H'");
        exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (40,'YAZI İŞLERİ','B')");
        exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (41,'FEN İŞLERİ','B')");
        exec("INSERT INTO USERS (HNO,USR,PSSWD,ACIK,ACIK1,OZEL) VALUES (7,'AYŞE',:P,'Ayşe Yılmaz','',40)",
             {{"P", SIFRELE(u'1', "Çam1")}});
        // Incoming: 1 overdue at 40, 2 overdue at 40 and 41 (last year), 3 near at 41, 4 answered.
        for (const auto &[k, cevtar, cevno] : std::initializer_list<std::tuple<int, QDate, int>>{
                 {1, QDate(2021, 8, 20), 0}, {2, QDate(2020, 12, 1), 0}, {3, QDate(2021, 8, 28), 0},
                 {4, QDate(2021, 8, 1), 99}}) {
            exec("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU,CEVDUR,CEVNO,CEVTAR) "
                 "VALUES (:K,:K,:D,'Konu',:C,:N,:T)",
                 {{"K", k}, {"D", cevtar.addDays(-10)}, {"C", QStringLiteral("E")}, {"N", cevno}, {"T", cevtar}});
        }
        for (const auto &[k, b] : std::initializer_list<std::pair<int, int>>{{1, 40}, {2, 40}, {2, 41}, {3, 41}, {4, 40}})
            exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,:K,:B)", {{"K", k}, {"B", b}});
        // Petitions: 11 overdue at 40 (registered 40 days ago), 12 near at 41.
        exec("INSERT INTO DILEKCE (KAYNO,DILNO,GELTAR,KONU,CEVDUR,CEVNO,BIRKOD) VALUES (11,1,'2021-07-17','D','E',0,40)");
        exec("INSERT INTO DILEKCE (KAYNO,DILNO,GELTAR,KONU,CEVDUR,CEVNO,BIRKOD) VALUES (12,2,'2021-07-28','D','E',0,41)");
        auto s = session.store();
        s->setValue("YOL", db.folder());
        s->sync();
    }
    std::unique_ptr<TFRMMENU> menu;

    void start() { QCOMPARE(startup::IBASEAC(session, defaults), startup::DatabaseState::Ok); }
    /// The main window after its start, without user control: the institution's view.
    TFRMMENU &startMenu(ScriptedRunner &runner)
    {
        exec("UPDATE TANIM SET UDUR='0'");
        start();
        menu = std::make_unique<TFRMMENU>(session, runner);
        menu->FormActivate();
        return *menu;
    }
    /// The main window after AYŞE of YAZI İŞLERİ has logged in.
    TFRMMENU &startMenuAsAyse(ScriptedRunner &runner)
    {
        start();
        runner.then(logIn("AYŞE", "Çam1"));
        menu = std::make_unique<TFRMMENU>(session, runner);
        menu->FormActivate();
        return *menu;
    }
};

QStringList counts(TFRMMENU &menu)
{
    QStringList out;
    for (const char *name : {"overdueIncomingCount", "nearIncomingCount", "overduePetitionsCount", "nearPetitionsCount"})
        out << child<ClickableLabel>(menu, name)->text();
    return out;
}

} // namespace

class TestDeadlinePanel : public QObject
{
    Q_OBJECT

private slots:
    void countsByDepartment_data();
    void countsByDepartment();
    void tickFollowsAnswers();
    void clickOpensTheFilteredList();
    void settingsFromGeneralDefinitions();
    void reportItemGoesWithTheGeneralListRight_data();
    void reportItemGoesWithTheGeneralListRight();
    void linesOfARefusedRegisterAreLeftOut_data();
    void linesOfARefusedRegisterAreLeftOut();
};

void TestDeadlinePanel::countsByDepartment_data()
{
    QTest::addColumn<bool>("department");
    QTest::addColumn<QStringList>("expected");
    // Without approval in use too: deadlines do not depend on it.
    QTest::newRow("whole institution") << false << QStringList{"2", "1", "1", "1"};
    QTest::newRow("YAZI İŞLERİ") << true << QStringList{"2", "0", "1", "0"};
}

void TestDeadlinePanel::countsByDepartment()
{
    QFETCH(bool, department);
    QFETCH(QStringList, expected);
    Fixture f;
    if (!department)
        f.exec("UPDATE TANIM SET UDUR='0'");
    f.start();
    ScriptedRunner runner;
    if (department)
        runner.then(logIn("AYŞE", "Çam1"));
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY(child<QGroupBox>(menu, "deadlinesGroup")->isVisibleTo(&menu));
    QVERIFY(!child<QGroupBox>(menu, "notificationsGroup")->isVisibleTo(&menu));
    QCOMPARE(counts(menu), expected);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestDeadlinePanel::tickFollowsAnswers()
{
    Fixture f;
    ScriptedRunner runner;
    TFRMMENU &menu = f.startMenu(runner);
    QCOMPARE(counts(menu), (QStringList{"2", "1", "1", "1"}));

    // Answered elsewhere: the next minute counts it no more.
    f.exec("UPDATE GELEN SET CEVNO=500 WHERE KAYNO=1");
    menu.Timer1Timer();
    QCOMPARE(counts(menu), (QStringList{"1", "1", "1", "1"}));

    // A day later the near ones are overdue.
    f.clock.set(QDateTime(QDate(2021, 8, 29), QTime(9, 0)));
    menu.Timer1Timer();
    QCOMPARE(counts(menu), (QStringList{"2", "0", "2", "0"}));

    // Nothing left waiting: the panel goes.
    f.exec("UPDATE GELEN SET CEVNO=500");
    f.exec("UPDATE DILEKCE SET CEVDUR='H'");
    menu.Timer1Timer();
    QVERIFY(!child<QGroupBox>(menu, "deadlinesGroup")->isVisibleTo(&menu));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestDeadlinePanel::clickOpensTheFilteredList()
{
    Fixture f;
    ScriptedRunner runner;
    TFRMMENU &menu = f.startMenu(runner);
    // On screen and active, so that the labels have a place to be clicked and keys arrive.
    showActive(menu);

    // Overdue incoming: of every year and month, each marked.
    QSet<int> listed;
    runner.then([&](KelmaForm &form) {
        QCOMPARE(form.metaObject()->className(), "TFRMGELLST");
        QCOMPARE(child<QComboBox>(form, "deadlineFilter")->currentText(), QStringLiteral("Süresi Geçen"));
        QCOMPARE(child<QComboBox>(form, "yearFilter")->currentIndex(), 0);
        QCOMPARE(child<QComboBox>(form, "monthFilter")->currentIndex(), 0);
        auto &list = static_cast<TFRMGELLST &>(form);
        list.readAll();
        auto *grid = child<QTableView>(form, "listGrid");
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            listed << list.list().kayno(row);
            QCOMPARE(grid->model()->index(row, 0).data(lists::ListModel::MarkRole).toInt(),
                     int(deadlines::Mark::Overdue));
        }
    });
    QTest::mouseClick(child<ClickableLabel>(menu, "overdueIncomingCount"), Qt::LeftButton);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(listed, (QSet<int>{1, 2}));

    // Near petitions, by keyboard: Alt and the caption's letter.
    runner.then([&](KelmaForm &form) {
        QCOMPARE(form.metaObject()->className(), "TFRMDILLST");
        QCOMPARE(child<QComboBox>(form, "deadlineFilter")->currentText(), QStringLiteral("Yaklaşan"));
        auto &list = static_cast<TFRMDILLST &>(form);
        list.readAll();
        QCOMPARE(list.list().rowCount(), 1);
        QCOMPARE(list.list().kayno(0), 12);
        QCOMPARE(list.list().mark(0), int(deadlines::Mark::Near));
    });
    QTest::keyClick(&menu, Qt::Key_L, Qt::AltModifier);
    // A mnemonic presses the button as a click does, a moment later.
    QTRY_VERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestDeadlinePanel::settingsFromGeneralDefinitions()
{
    Fixture f;
    ScriptedRunner runner;
    TFRMMENU &menu = f.startMenu(runner);
    QCOMPARE(counts(menu), (QStringList{"2", "1", "1", "1"}));

    // Ten days for petitions, near within one: both petitions are overdue,
    // and incoming 3, due in two days, is no longer near.
    runner.then([](KelmaForm &form) {
        QCOMPARE(child<QSpinBox>(form, "legalPeriodBox")->value(), 30);
        QCOMPARE(child<QSpinBox>(form, "nearDaysBox")->value(), 3);
        child<QSpinBox>(form, "legalPeriodBox")->setValue(10);
        child<QSpinBox>(form, "nearDaysBox")->setValue(1);
        child<QPushButton>(form, "saveButton")->click();
    });
    child<QAction>(menu, "generalDefinitionsAction")->trigger();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(f.value("SELECT CEVSURE FROM TANIM").toInt(), 10);
    QCOMPARE(f.value("SELECT CEVYAKIN FROM TANIM").toInt(), 1);
    QCOMPARE(counts(menu), (QStringList{"2", "0", "2", "0"}));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestDeadlinePanel::reportItemGoesWithTheGeneralListRight_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("shown");
    QTest::newRow("refused") << "H" << false;
    QTest::newRow("allowed") << "E" << true;
    QTest::newRow("no rights row") << QString() << true;
}

void TestDeadlinePanel::reportItemGoesWithTheGeneralListRight()
{
    QFETCH(QString, entry);
    QFETCH(bool, shown);
    Fixture f;
    if (!entry.isEmpty())
        f.exec("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (7,11,:G,'E','E','E')", {{"G", entry}});
    ScriptedRunner runner;
    TFRMMENU &menu = f.startMenuAsAyse(runner);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(child<QAction>(menu, "overdueReportAction")->isVisible(), shown);
}

void TestDeadlinePanel::linesOfARefusedRegisterAreLeftOut_data()
{
    QTest::addColumn<QList<int>>("refused");
    QTest::addColumn<bool>("incomingAnswered");
    QTest::addColumn<bool>("incomingShown");
    QTest::addColumn<bool>("petitionsShown");
    QTest::addColumn<bool>("panel");
    // AYŞE's department: 2 incoming overdue, 1 petition overdue.
    QTest::newRow("incoming refused") << QList<int>{1} << false << false << true << true;
    QTest::newRow("petitions refused") << QList<int>{3} << false << true << false << true;
    QTest::newRow("petitions refused, no incoming waiting") << QList<int>{3} << true << true << false << false;
    QTest::newRow("both refused") << QList<int>{1, 3} << false << false << false << false;
}

void TestDeadlinePanel::linesOfARefusedRegisterAreLeftOut()
{
    QFETCH(QList<int>, refused);
    QFETCH(bool, incomingAnswered);
    QFETCH(bool, incomingShown);
    QFETCH(bool, petitionsShown);
    QFETCH(bool, panel);
    Fixture f;
    for (int code : {1, 3})
        f.exec("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (7,:K,:G,'E','E','E')",
               {{"K", code}, {"G", refused.contains(code) ? QStringLiteral("H") : QStringLiteral("E")}});
    if (incomingAnswered)
        f.exec("UPDATE GELEN SET CEVNO=500");
    ScriptedRunner runner;
    TFRMMENU &menu = f.startMenuAsAyse(runner);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    showActive(menu);
    auto *group = child<QGroupBox>(menu, "deadlinesGroup");
    QCOMPARE(group->isVisibleTo(&menu), panel);
    auto lineShown = [&](const char *line) {
        const bool caption = child<QPushButton>(menu, (QByteArray(line) + "Caption").constData())->isVisibleTo(group);
        const bool count = child<ClickableLabel>(menu, (QByteArray(line) + "Count").constData())->isVisibleTo(group);
        return caption && count ? 1 : !caption && !count ? 0 : -1;
    };
    QCOMPARE(lineShown("overdueIncoming"), int(incomingShown));
    QCOMPARE(lineShown("nearIncoming"), int(incomingShown));
    QCOMPARE(lineShown("overduePetitions"), int(petitionsShown));
    QCOMPARE(lineShown("nearPetitions"), int(petitionsShown));
    // The minute's tick keeps them out.
    menu.Timer1Timer();
    QCOMPARE(lineShown("overdueIncoming"), int(incomingShown));
    QCOMPARE(child<QGroupBox>(menu, "deadlinesGroup")->isVisibleTo(&menu), panel);

    // The captions' letters open what is shown and nothing else.
    if (panel && petitionsShown)
        runner.then([](KelmaForm &form) { QCOMPARE(form.metaObject()->className(), "TFRMDILLST"); });
    if (panel && incomingShown)
        runner.then([](KelmaForm &form) { QCOMPARE(form.metaObject()->className(), "TFRMGELLST"); });
    QTest::keyClick(&menu, Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(&menu, Qt::Key_G, Qt::AltModifier);
    QTest::qWait(200);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(runner.shown().size(), 1 + (panel && petitionsShown) + (panel && incomingShown));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

QTEST_MAIN(TestDeadlinePanel)
#include "tst_deadlinepanel.moc"
