// The main window as the clerk meets it: login at start, the menu trimmed to
// the rights, the date and clock, the notification panel and the items.

#include "formtest.h"
#include "mnemonics.h"
#include "scriptedrunner.h"
#include "sessionfixture.h"

#include "shell/startup.h"
#include "shell/ui/unabout.h"
#include "shell/ui/unmenu.h"
#include "shell/ui/unsystem.h"
#include "definitions/ui/ungentan.h"
#include "core/colours.h"
#include "core/sifrele.h"
#include "users/ui/unpasdeg.h"
#include "users/ui/unpsswd.h"
#include "users/ui/unuserstan.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

struct Fixture : SessionFixture
{
    WorkstationDefaults defaults{QDate(2021, 8, 26), dir.filePath("cwd"), dir.filePath("prog")};

    Fixture()
    {
        exec("UPDATE TANIM SET TEXTVT='H'");
        exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (40,'YAZI İŞLERİ','B')");
        exec("INSERT INTO USERS (HNO,USR,PSSWD,ACIK,ACIK1,OZEL) VALUES (7,'AYŞE',:P,'Ayşe Yılmaz','',40)",
             {{"P", SIFRELE(u'1', "Çam1")}});
        auto s = session.store();
        s->setValue("YOL", db.folder());
        s->sync();
    }
    /// A value of the workstation's settings store, as left by an earlier run.
    void stored(const char *key, const QString &value)
    {
        auto s = session.store();
        s->setValue(QLatin1String(key), value);
    }
    /// The start: settings read, database opened, main window made.
    void start() { QCOMPARE(startup::IBASEAC(session, defaults), startup::DatabaseState::Ok); }
    void giveRights(int hno, const QList<int> &codes, const QString &entry)
    {
        for (int kod : codes) {
            exec("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (:H,:K,:G,'E','E','E')",
                 {{"H", hno}, {"K", kod}, {"G", entry}});
        }
    }
};

ScriptedRunner::Step logIn(const QString &name, const QString &password)
{
    return [name, password](KelmaForm &form) {
        auto &dialog = dynamic_cast<TFRMPSSWD &>(form);
        child<QLineEdit>(dialog, "userNameEdit")->setText(name);
        child<QLineEdit>(dialog, "passwordEdit")->setText(password);
        child<QPushButton>(dialog, "okButton")->click();
    };
}

bool shown(const QAction *a)
{
    return a->isVisible();
}

} // namespace

class TestMenu : public QObject
{
    Q_OBJECT

private slots:
    void loginAtStart();
    void loginAbandonedEndsTheRun();
    void commandLineLogin_data();
    void commandLineLogin();
    void noUserControl();
    void menuTrimming_data();
    void menuTrimming();
    void dateAndClock();
    void notificationPanel();
    void storageWarningAtStart();
    void yearWarningFollowsTheWorkingYear();
    void schemeMaviReads();
    void systemItemShowsYearWarning();
    void everyItemOpensItsScreen();
    void passwordChangeAndUsersFromMenu();
    void aboutScreen();
    void generalDefinitionsRefresh();
    void generalDefinitionsSavedFromMenu();
};

void TestMenu::loginAtStart()
{
    Fixture f;
    f.start();
    ScriptedRunner runner;
    runner.then([](KelmaForm &form) {
        // The last user is offered.
        QCOMPARE(child<QLineEdit>(form, "userNameEdit")->text(), QStringLiteral("ZIRVO"));
        logIn("AYŞE", "Çam1")(form);
    });
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY(f.session.activationGuard);
    QCOMPARE(child<QLabel>(menu, "userLabel")->text(), QStringLiteral("AYŞE"));
    QCOMPARE(child<QLabel>(menu, "userDescriptionLabel")->text(), QStringLiteral("Ayşe Yılmaz"));
    QCOMPARE(child<QLabel>(menu, "departmentLabel")->text(), QStringLiteral("YAZI İŞLERİ"));
    QVERIFY(child<QLabel>(menu, "departmentLabel")->isVisibleTo(&menu));
    QCOMPARE(f.session.userNumber, 7);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestMenu::loginAbandonedEndsTheRun()
{
    Fixture f;
    f.start();
    ScriptedRunner runner;
    runner.then([](KelmaForm &form) { child<QPushButton>(form, "exitButton")->click(); });
    TFRMMENU menu(f.session, runner);
    menu.show();
    QSignalSpy ended(&menu, &TFRMMENU::programEnded);
    menu.FormActivate();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!menu.isVisible());
    QVERIFY(runner.done());
}

void TestMenu::commandLineLogin_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("dialog");
    QTest::newRow("right") << QStringList{"AYŞE", "Çam1"} << false;
    QTest::newRow("wrong password") << QStringList{"AYŞE", "Çam2"} << true;
}

void TestMenu::commandLineLogin()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, dialog);
    Fixture f;
    f.start();
    ScriptedRunner runner;
    if (dialog)
        runner.then(logIn("ZIRVO", "ZIRVO"));
    TFRMMENU menu(f.session, runner);
    menu.arguments = arguments;
    menu.FormActivate();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(runner.shown().size(), dialog ? 1 : 0);
    QCOMPARE(child<QLabel>(menu, "userLabel")->text(), dialog ? QStringLiteral("ZIRVO") : QStringLiteral("AYŞE"));
    // Bound to the department as a dialog login binds it, and shown.
    QCOMPARE(f.session.userDepartment, dialog ? 0 : 40);
    QCOMPARE(child<QLabel>(menu, "departmentLabel")->isVisibleTo(&menu), !dialog);
    if (!dialog)
        QCOMPARE(child<QLabel>(menu, "departmentLabel")->text(), QStringLiteral("YAZI İŞLERİ"));
}

void TestMenu::noUserControl()
{
    Fixture f;
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.giveRights(7, {1, 2, 3, 4, 5}, "H");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.arguments = QStringList{"AYŞE", "Çam1"};
    menu.FormActivate();
    QVERIFY(runner.shown().isEmpty());
    QCOMPARE(f.session.userNumber, 0);
    QVERIFY(shown(child<QMenu>(menu, "documentsMenu")->menuAction()));
    QVERIFY(shown(child<QAction>(menu, "incomingAction")));
}

void TestMenu::menuTrimming_data()
{
    QTest::addColumn<QList<int>>("refused");         // codes with G "H"
    QTest::addColumn<QList<int>>("allowed");         // codes with G "E"
    QTest::addColumn<QStringList>("hiddenGroups");
    QTest::addColumn<QList<int>>("hiddenItems");     // coded items hidden by the trimming
    QTest::newRow("no rights rows: whole menu") << QList<int>{} << QList<int>{} << QStringList{} << QList<int>{};
    QTest::newRow("codes 1 to 5 refused") << QList<int>{1, 2, 3, 4, 5} << QList<int>{} << QStringList{"Evrak"}
                                          << QList<int>{1, 2, 3, 4};
    QTest::newRow("some of a group") << QList<int>{1, 3} << QList<int>{2} << QStringList{} << QList<int>{1, 3};
    // Code 11's own entry opens nothing, but the overdue report goes with it.
    QTest::newRow("registers refused, not 11") << QList<int>{12, 13, 14, 15, 16} << QList<int>{11}
                                               << QStringList{} << QList<int>{12, 13, 14};
    QTest::newRow("a register book left") << QList<int>{12, 13} << QList<int>{11, 14} << QStringList{}
                                          << QList<int>{12, 13};
    // The archive files stay; the registers' sub-group has nothing left.
    QTest::newRow("registers refused, archive not") << QList<int>{1, 2, 3} << QList<int>{4, 5} << QStringList{}
                                                    << QList<int>{1, 2, 3};
    QTest::newRow("all reports refused") << QList<int>{11, 12, 13, 14, 15, 16} << QList<int>{} << QStringList{"Raporlar"}
                                         << QList<int>{12, 13, 14};
    QTest::newRow("user administration refused") << QList<int>{22} << QList<int>{21} << QStringList{}
                                                 << QList<int>{22};
}

void TestMenu::menuTrimming()
{
    QFETCH(QList<int>, refused);
    QFETCH(QList<int>, allowed);
    QFETCH(QStringList, hiddenGroups);
    QFETCH(QList<int>, hiddenItems);
    Fixture f;
    f.giveRights(7, refused, "H");
    f.giveRights(7, allowed, "E");
    f.start();
    ScriptedRunner runner;
    runner.then(logIn("AYŞE", "Çam1"));
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QVERIFY2(runner.done(), qPrintable(runner.report()));

    const QList<QPair<QString, QMenu *>> groups = {
        {"Evrak", child<QMenu>(menu, "documentsMenu")}, {"Raporlar", child<QMenu>(menu, "reportsMenu")}, {"Parametreler", child<QMenu>(menu, "settingsMenu")}};
    for (const auto &[name, group] : groups)
        QCOMPARE(shown(group->menuAction()), !hiddenGroups.contains(name));
    // Items that open a screen, with their code.
    for (int code : {1, 2, 3, 4, 12, 13, 14, 21, 22, 23, 24, 25, 26, 28, 29})
        QVERIFY2(shown(menu.menuItem(code)) == !hiddenItems.contains(code), qPrintable(QString::number(code)));
    // A sub-group goes with its last item; what has no code is never hidden.
    const bool anyRegister = !(hiddenItems.contains(1) && hiddenItems.contains(2) && hiddenItems.contains(3));
    QCOMPARE(shown(child<QMenu>(menu, "documentsSubmenu")->menuAction()), anyRegister);
    QVERIFY(shown(child<QAction>(menu, "documentTypeDefinitionsAction")));
    QVERIFY(shown(child<QAction>(menu, "programEndAction")));
}

void TestMenu::dateAndClock()
{
    Fixture f;
    f.clock.set(QDateTime(QDate(2021, 8, 26), QTime(23, 59)));
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QCOMPARE(child<QLabel>(menu, "dateLabel")->text(), QStringLiteral("26-AĞUSTOS(8)-2021"));
    QCOMPARE(child<QLabel>(menu, "dayLabel")->text(), QStringLiteral("PERŞEMBE"));
    QCOMPARE(child<QLabel>(menu, "clockLabel")->text(), QStringLiteral("23:59"));
    QCOMPARE(child<ClickableLabel>(menu, "versionLabel")->text(), QStringLiteral("21.001"));
    QCOMPARE(f.session.dateTexts.month, 8);
    QCOMPARE(f.session.dateTexts.monthName, QStringLiteral("AĞUSTOS"));
    QCOMPARE(menu.Timer1.interval(), 60000);
    QVERIFY(menu.Timer1.isActive());

    // Past midnight the clock goes on; the date labels keep the day of the start.
    f.clock.set(QDateTime(QDate(2021, 8, 27), QTime(0, 0)));
    menu.Timer1Timer();
    QCOMPARE(child<QLabel>(menu, "clockLabel")->text(), QStringLiteral("00:00"));
    QCOMPARE(child<QLabel>(menu, "dateLabel")->text(), QStringLiteral("26-AĞUSTOS(8)-2021"));
}

void TestMenu::notificationPanel()
{
    Fixture f;
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (1,1,40,NULL)");
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (1,2,41,'H')");
    f.start();
    ScriptedRunner runner;
    runner.then(logIn("ZIRVO", "ZIRVO"));
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QVERIFY(child<QGroupBox>(menu, "notificationsGroup")->isVisibleTo(&menu));
    QCOMPARE(child<QLabel>(menu, "notificationCaption1")->text(), QStringLiteral("Onay bekleyen Evraklar"));
    QCOMPARE(child<QLabel>(menu, "notificationCount1")->text(), QStringLiteral("2"));
    QCOMPARE(child<QLabel>(menu, "notificationCaption3")->text(), QStringLiteral("Onay bekleyen İç Zimmet"));
    QCOMPARE(child<QLabel>(menu, "notificationCount3")->text(), QStringLiteral("0"));

    // Approved elsewhere: the next tick hides the panel.
    f.exec("UPDATE EVBRM SET ONAY='E'");
    menu.Timer1Timer();
    QVERIFY(!child<QGroupBox>(menu, "notificationsGroup")->isVisibleTo(&menu));

    // Approval not in use: the tick leaves the panel alone.
    f.exec("UPDATE EVBRM SET ONAY=NULL");
    f.session.general.ONDUR = "H";
    menu.Timer1Timer();
    QVERIFY(!child<QGroupBox>(menu, "notificationsGroup")->isVisibleTo(&menu));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestMenu::storageWarningAtStart()
{
    Fixture f;
    f.exec("UPDATE TANIM SET UDUR='0', SRVSAKLA='H', TRMSAKLA='H', VTSAKLA='H'");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    f.prompt.expectMessage("DİKKAT! Belgelerin Saklanacağı bir ortam tanımlamalısınız.");
    menu.FormActivate();
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(child<QLabel>(menu, "institutionLabel")->text(), QStringLiteral("BELEDİYE BAŞKANLIĞI"));
    QVERIFY(!child<QLabel>(menu, "fileServerLabel")->isVisibleTo(&menu));
}

void TestMenu::yearWarningFollowsTheWorkingYear()
{
    Fixture f;
    f.clock.set(QDateTime(QDate(2026, 3, 2), QTime(8, 0)));
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.stored("YIL", "2025");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    // At start, before anything is registered into last year.
    QVERIFY(child<QLabel>(menu, "yearWarningLabel")->isVisibleTo(&menu));

    // Set right in the general definitions: gone at once.
    runner.then([](KelmaForm &form) {
        child<QLineEdit>(form, "yearEdit")->setText(QStringLiteral("2026"));
        child<QPushButton>(form, "saveButton")->click();
    });
    child<QAction>(menu, "generalDefinitionsAction")->trigger();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(f.session.workstation.year, QStringLiteral("2026"));
    QVERIFY(!child<QLabel>(menu, "yearWarningLabel")->isVisibleTo(&menu));
    // And back to a year that is not today's: there again.
    menu.GenelTanimlarRefresh("2025");
    QVERIFY(child<QLabel>(menu, "yearWarningLabel")->isVisibleTo(&menu));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestMenu::schemeMaviReads()
{
    Fixture f;
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.stored("RNK", "M");
    f.stored("YIL", "2020");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    // Shown: a style sheet settles its widgets' colours only then.
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    // Each text against what is painted behind it: the window's colour.
    const QColor behind = menu.palette().color(QPalette::Window);
    auto ratio = [&](const QWidget *w, QPalette::ColorRole text) {
        const QColor a = w->palette().color(text);
        return ColourScheme::contrast({a.red(), a.green(), a.blue()}, {behind.red(), behind.green(), behind.blue()});
    };
    QCOMPARE(behind, QColor(0, 0, 0xA0));
    QVERIFY(ratio(menu.menuBar(), QPalette::ButtonText) >= 4.5);
    for (const char *label : {"userLabel", "yearLabel", "dateLabel", "clockLabel", "institutionLabel", "yearWarningLabel"})
        QVERIFY2(ratio(child<QLabel>(menu, label), QPalette::WindowText) >= 4.5, label);
}

void TestMenu::systemItemShowsYearWarning()
{
    Fixture f;
    f.clock.set(QDateTime(QDate(2021, 1, 1), QTime(8, 0)));
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.stored("YIL", "2020");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.show();
    menu.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    QTRY_VERIFY(f.session.activationGuard);
    QVERIFY(child<QLabel>(menu, "yearWarningLabel")->isVisible());
    menu.GenelTanimlarRefresh("2021");
    QVERIFY(!child<QLabel>(menu, "yearWarningLabel")->isVisible());

    runner.then([](KelmaForm &form) {
        QCOMPARE(form.tag, 2);
        child<QPushButton>(form, "cancelButton")->click();
    });
    QTest::keyClick(&menu, Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    // The System item keeps the year the general definitions set, though the store still has 2020.
    QCOMPARE(f.session.workingYear(), 2021);
    QCOMPARE(child<QLabel>(menu, "yearLabel")->text(), QStringLiteral("2021"));
    QVERIFY(!child<QLabel>(menu, "yearWarningLabel")->isVisible());
}

void TestMenu::everyItemOpensItsScreen()
{
    Fixture f;
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    // The hidden "Genel Liste" opens nothing and says nothing.
    child<QAction>(menu, "generalListAction")->trigger();
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY(runner.shown().isEmpty());
    // Each screen as shown: no two of its captions share an Alt letter, and a
    // button that names its key ("F7-Yazdır") has it.
    QStringList clashes;
    const auto closeAfterKeyCheck = [&clashes](KelmaForm &form) {
        form.show();
        const QString screen = QLatin1String(form.metaObject()->className()) + u' ';
        for (const QString &clash : mnemonicClashes(form))
            clashes << screen + clash;
        for (const QString &caption : unboundKeyCaptions(form))
            clashes << screen + caption + QStringLiteral(" has no key");
        form.closeForm(0);
    };
    // The register lists, at work and as the register book, without the print mark.
    for (QAction *a : {child<QAction>(menu, "incomingAction"), child<QAction>(menu, "incomingListAction"),
                       child<QAction>(menu, "outgoingAction"), child<QAction>(menu, "outgoingListAction"),
                       child<QAction>(menu, "petitionAction"), child<QAction>(menu, "petitionListAction"),
                       child<QAction>(menu, "archiveFilesAction")}) {
        f.session.printReturn = true;
        runner.then(closeAfterKeyCheck);
        a->trigger();
        QVERIFY(!f.session.printReturn);
    }
    const QStringList shownLists = {"TFRMGELLST", "TFRMGELLST", "TFRMGIDLST", "TFRMGIDLST",
                                    "TFRMDILLST", "TFRMDILLST", "TFRMARSIVLST"};
    QCOMPARE(runner.shown(), shownLists);
    for (QAction *a : {child<QAction>(menu, "fileCheckAction"), child<QAction>(menu, "generalDefinitionsAction"), child<QAction>(menu, "departmentDefinitionsAction"), child<QAction>(menu, "bodyDefinitionsAction"),
                       child<QAction>(menu, "documentTypeDefinitionsAction"), child<QAction>(menu, "archiveKindDefinitionsAction"),
                       child<QAction>(menu, "documentTemplateAction")}) {
        runner.then(closeAfterKeyCheck);
        a->trigger();
    }
    QCOMPARE(runner.shown(), shownLists + QStringList({"TFRMDKONT", "TFRMGENTAN", "TFRMBIRLST", "TFRMKURLST",
                                                  "TFRMETUR", "TFRMECTANIM", "TFRMSABLON"}));
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestMenu::passwordChangeAndUsersFromMenu()
{
    Fixture f;
    f.start();
    ScriptedRunner runner;
    runner.then(logIn("ZIRVO", "ZIRVO"));
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    runner.then([](KelmaForm &form) {
        QCOMPARE(child<QLineEdit>(form, "userNameEdit")->text(), QStringLiteral("ZIRVO"));
    });
    child<QAction>(menu, "changePasswordAction")->trigger();
    runner.then([](KelmaForm &form) { QVERIFY(dynamic_cast<TFRMUSERSTAN *>(&form)); });
    child<QAction>(menu, "userDefinitionsAction")->trigger();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(runner.shown(), QStringList({"TFRMPSSWD", "TFRMPASDEG", "TFRMUSERSTAN"}));
}

void TestMenu::aboutScreen()
{
    Fixture f;
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    runner.then([](KelmaForm &form) {
        auto &about = dynamic_cast<TFRMABOUT &>(form);
        QVERIFY(!child<QLabel>(about, "pictureLabel")->pixmap().isNull());
        QTest::mouseClick(child<QLabel>(about, "pictureLabel"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
    });
    QTest::mouseClick(child<ClickableLabel>(menu, "logoImage"), Qt::LeftButton);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
}

void TestMenu::generalDefinitionsRefresh()
{
    Fixture f;
    f.exec("UPDATE TANIM SET UDUR='0'");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QVERIFY(!f.session.textOpen);

    // Saved on the general definitions screen: another name, yearly databases,
    // and the year 2022 in its field.
    f.exec("UPDATE TANIM SET KURUM='İL ÖZEL İDARESİ', TEXTVT='A'");
    f.db.createYear("2022");
    menu.GenelTanimlarRefresh("2022");
    QCOMPARE(child<QLabel>(menu, "institutionLabel")->text(), QStringLiteral("İL ÖZEL İDARESİ"));
    QCOMPARE(child<QLabel>(menu, "yearLabel")->text(), QStringLiteral("2022"));
    QCOMPARE(f.session.workstation.year, QStringLiteral("2022"));
    QCOMPARE(f.session.textYear, QStringLiteral("2022"));
    QVERIFY(f.session.textOpen);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestMenu::generalDefinitionsSavedFromMenu()
{
    Fixture f;
    f.exec("UPDATE TANIM SET UDUR='0', TEXTVT='A'");
    f.db.createYear("2021");
    f.db.createYear("2022");
    f.start();
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QCOMPARE(f.session.textYear, QStringLiteral("2021"));
    runner.then([](KelmaForm &form) {
        auto &screen = dynamic_cast<TFRMGENTAN &>(form);
        child<QLineEdit>(screen, "institutionEdit")->setText(QStringLiteral("ÇANKAYA BELEDİYESİ"));
        child<QLineEdit>(screen, "yearEdit")->setText(QStringLiteral("2022"));
        child<QPushButton>(screen, "saveButton")->click();
    });
    child<QAction>(menu, "generalDefinitionsAction")->trigger();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(child<QLabel>(menu, "institutionLabel")->text(), QStringLiteral("ÇANKAYA BELEDİYESİ"));
    QCOMPARE(child<QLabel>(menu, "yearLabel")->text(), QStringLiteral("2022"));
    QCOMPARE(f.session.textYear, QStringLiteral("2022"));
    QVERIFY(f.session.textOpen);
}

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
