// The login, password and user administration screens, driven as a person
// would, with a scripted person answering the message boxes and the screens
// they open.

#include "formtest.h"
#include "scriptedrunner.h"
#include "sessionfixture.h"

#include "core/sifrele.h"
#include "users/ui/unhaklar.h"
#include "users/ui/unpasdeg.h"
#include "users/ui/unpsswd.h"
#include "users/ui/unsifre.h"
#include "users/ui/unuser.h"
#include "users/ui/unuserstan.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

struct Fixture : SessionFixture
{
    Fixture()
    {
        // AYŞE works in department 40 with every right but user administration's delete.
        exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (40,'YAZI İŞLERİ','B')");
        exec("INSERT INTO USERS (HNO,USR,PSSWD,ACIK,ACIK1,OZEL) VALUES (7,'AYŞE',:P,'Ayşe Yılmaz','',40)",
             {{"P", SIFRELE(u'1', "Çam1")}});
        exec("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) SELECT 7,KOD,G,K,D,S FROM RIGHTS WHERE HNO=1");
        session.LUSR = "ZIRVO";
    }
    void logInAs(const QString &name, int hno)
    {
        session.LUSR = name;
        session.userNumber = hno;
        rights::RIGHTSAKTAR(session);
    }
    qint64 count(const QString &sql) { return value(sql).toLongLong(); }
};

// The password prompt, answered.
ScriptedRunner::Step password(const QString &typed, bool accept = true)
{
    return [typed, accept](KelmaForm &form) {
        auto &prompt = dynamic_cast<TFRMSIFRE &>(form);
        child<QLineEdit>(prompt, "passwordEdit")->setText(typed);
        (accept ? child<QPushButton>(prompt, "acceptButton") : child<QPushButton>(prompt, "cancelButton"))->click();
    };
}

QStringList cells(const QTableWidget *grid, int row)
{
    QStringList out;
    for (int c = 0; c < grid->columnCount(); ++c)
        out << grid->item(row, c)->text();
    return out;
}

int rowOf(const QTableWidget *grid, const QString &first)
{
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (grid->item(r, 0)->text() == first)
            return r;
    }
    return -1;
}

} // namespace

class TestUsersScreens : public QObject
{
    Q_OBJECT

private slots:
    void loginWithKeys();
    void loginFourthAttemptEndsIt();
    void loginRefusesFrameClose();

    void passwordChangeScreen();
    void passwordChangeGovernedByCode50();

    void usersScreenButtonsFollowRights_data();
    void usersScreenButtonsFollowRights();
    void usersScreenProtections();
    void usersScreenDelete();
    void usersScreenNewUserChangeAndRights();
    void rightsThatDoNothingAreGreyed();
    void rightsScreenKeepsOddFlags();
};

void TestUsersScreens::loginWithKeys()
{
    Fixture f;
    TFRMPSSWD dialog(f.session);
    showActive(dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("        KULLANICI GİRİŞİ"));
    // The last user is offered; the password box has the focus.
    QCOMPARE(child<QLineEdit>(dialog, "userNameEdit")->text(), QStringLiteral("ZIRVO"));
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(dialog, "passwordEdit"));
    QTest::keyClicks(child<QLineEdit>(dialog, "passwordEdit"), "ZIRVOZIRVO");
    QCOMPARE(child<QLineEdit>(dialog, "passwordEdit")->text(), QStringLiteral("ZIRVO"));

    child<QLineEdit>(dialog, "userNameEdit")->setFocus();
    child<QLineEdit>(dialog, "userNameEdit")->setText("AYŞE");
    QTest::keyClick(child<QLineEdit>(dialog, "userNameEdit"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(dialog, "passwordEdit"));
    f.prompt.expectMessage(" YANLIŞ ŞİFRE ");
    QTest::keyClick(child<QLineEdit>(dialog, "passwordEdit"), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(dialog, "passwordEdit"));

    child<QLineEdit>(dialog, "passwordEdit")->setText("Çam1");
    QTest::keyClick(child<QLineEdit>(dialog, "passwordEdit"), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.login.result(), users::Login::LoggedIn);
    QCOMPARE(f.session.userNumber, 7);
    QCOMPARE(f.session.userDepartment, 40);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestUsersScreens::loginFourthAttemptEndsIt()
{
    Fixture f;
    TFRMPSSWD dialog(f.session);
    showActive(dialog);
    for (int i = 0; i < 3; ++i) {
        f.prompt.expectMessage(" KULLANICI ADI HATALI");
        child<QLineEdit>(dialog, "userNameEdit")->setText(QStringLiteral("YOK%1").arg(i));
        child<QPushButton>(dialog, "okButton")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(dialog, "userNameEdit"));
    }
    f.prompt.expectMessage(" YANLIŞ ŞİFRE ");
    child<QLineEdit>(dialog, "userNameEdit")->setText("ZIRVO");
    child<QLineEdit>(dialog, "passwordEdit")->setText("HAYIR");
    child<QPushButton>(dialog, "okButton")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.login.result(), users::Login::Abandoned);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestUsersScreens::loginRefusesFrameClose()
{
    Fixture f;
    TFRMPSSWD dialog(f.session);
    showActive(dialog);
    QVERIFY(!dialog.close());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    child<QPushButton>(dialog, "exitButton")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.login.result(), users::Login::Abandoned);
}

void TestUsersScreens::passwordChangeScreen()
{
    Fixture f;
    f.logInAs("ZIRVO", 1);
    TFRMPASDEG screen(f.session);
    screen.userName = "ZIRVO";
    showActive(screen);
    QCOMPARE(child<QLineEdit>(screen, "userNameEdit")->text(), QStringLiteral("ZIRVO"));
    QCOMPARE(child<QLineEdit>(screen, "descriptionEdit")->text(), QStringLiteral("Sistem Yöneticisi"));
    QVERIFY(child<QLineEdit>(screen, "newPasswordEdit")->text().isEmpty());
    QTest::keyClicks(child<QLineEdit>(screen, "newPasswordEdit"), "ABCDEFG");
    QCOMPARE(child<QLineEdit>(screen, "newPasswordEdit")->text(), QStringLiteral("ABCDE"));

    f.prompt.expectMessage("ESKİ ŞİFRE HATALI..");
    child<QLineEdit>(screen, "oldPasswordEdit")->setText("ZIRV");
    child<QLineEdit>(screen, "repeatPasswordEdit")->setText("ABCDE");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(screen.isVisible());
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(screen, "oldPasswordEdit"));

    child<QLineEdit>(screen, "oldPasswordEdit")->setText("ZIRVO");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.tag, 1);
    QCOMPARE(f.value("SELECT PSSWD FROM USERS WHERE HNO=1").toString(), SIFRELE(u'1', "ABCDE"));
}

void TestUsersScreens::passwordChangeGovernedByCode50()
{
    Fixture f;
    f.exec("UPDATE RIGHTS SET K='H', D='H' WHERE HNO=7 AND KOD=50");
    f.logInAs("AYŞE", 7);
    TFRMPASDEG screen(f.session);
    screen.userName = "AYŞE";
    showActive(screen);
    QVERIFY(!child<QPushButton>(screen, "saveButton")->isEnabled());
    child<QLineEdit>(screen, "oldPasswordEdit")->setText("Çam1");
    child<QLineEdit>(screen, "newPasswordEdit")->setText("YENİ");
    child<QLineEdit>(screen, "repeatPasswordEdit")->setText("YENİ");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(screen.isVisible());
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.tag, 0);
    QCOMPARE(f.value("SELECT PSSWD FROM USERS WHERE HNO=7").toString(), SIFRELE(u'1', "Çam1"));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestUsersScreens::usersScreenButtonsFollowRights_data()
{
    QTest::addColumn<QString>("udur");
    QTest::addColumn<QString>("flags"); // G K D S of code 22; empty: no row
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("add only") << "1" << "EEHH" << QList<bool>{true, false, false};
    QTest::newRow("change and delete") << "1" << "EHEE" << QList<bool>{false, true, true};
    QTest::newRow("no row disables") << "1" << "" << QList<bool>{false, false, false};
    QTest::newRow("no user control") << "0" << "HHHH" << QList<bool>{true, true, true};
}

void TestUsersScreens::usersScreenButtonsFollowRights()
{
    QFETCH(QString, udur);
    QFETCH(QString, flags);
    QFETCH(QList<bool>, enabled);
    Fixture f;
    f.exec("DELETE FROM RIGHTS WHERE HNO=7 AND KOD=22");
    if (!flags.isEmpty()) {
        f.exec("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (7,22,:G,:K,:D,:S)",
               {{"G", flags.mid(0, 1)}, {"K", flags.mid(1, 1)}, {"D", flags.mid(2, 1)}, {"S", flags.mid(3, 1)}});
    }
    f.session.general.UDUR = udur;
    f.logInAs("AYŞE", 7);
    ScriptedRunner runner;
    TFRMUSERSTAN screen(f.session, runner);
    showActive(screen);
    QCOMPARE(QList<bool>({child<QPushButton>(screen, "newUserButton")->isEnabled(), child<QPushButton>(screen, "changeButton")->isEnabled(), child<QPushButton>(screen, "deleteUserButton")->isEnabled()}),
             enabled);
    // The keys of disabled buttons do nothing: no password prompt, no screen.
    screen.selectUser("AYŞE");
    const Qt::Key keys[] = {Qt::Key_F2, Qt::Key_F4, Qt::Key_F10};
    for (int i = 0; i < 3; ++i) {
        if (!enabled[i])
            QTest::keyClick(&screen, keys[i]);
    }
    QVERIFY2(runner.shown().isEmpty(), qPrintable(runner.report()));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestUsersScreens::usersScreenProtections()
{
    Fixture f;
    f.logInAs("AYŞE", 7);
    ScriptedRunner runner;
    TFRMUSERSTAN screen(f.session, runner);
    showActive(screen);

    // ZIRVO is changed only by ZIRVO: refused before any password is asked.
    QVERIFY(screen.selectUser("ZIRVO"));
    f.prompt.expectMessage("DİKKAT! Bu Kullanıcı üzerinde değişiklik yapamazsınız.");
    QTest::keyClick(&screen, Qt::Key_F4);
    // Nobody deletes ZIRVO, nor itself.
    runner.then(password("Çam1")).then(password("Çam1"));
    f.prompt.expectMessage("ZIRVO Kullanıcısını Silemezsiniz....");
    QTest::keyClick(&screen, Qt::Key_F10);
    QVERIFY(screen.selectUser("AYŞE"));
    f.prompt.expectMessage("DİKKAT! Aktif Kullanıcı Silinemez....");
    QTest::keyClick(&screen, Qt::Key_F10);
    // Nor changes ZIRVO's rights.
    QVERIFY(screen.selectUser("ZIRVO"));
    child<QTableWidget>(screen, "rightsGrid")->setFocus();
    f.prompt.expectMessage("ZIRVO Kullanıcısının Yetkilerini Değiştiremezsiniz....");
    QTest::keyClick(child<QTableWidget>(screen, "rightsGrid"), Qt::Key_Return);
    // Another user at the screen is shown no password, and asked nothing.
    QTest::keyClick(&screen, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);

    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(f.count("SELECT COUNT(*) FROM USERS"), 2);
}

void TestUsersScreens::usersScreenDelete()
{
    Fixture f;
    f.logInAs("ZIRVO", 1);
    ScriptedRunner runner;
    TFRMUSERSTAN screen(f.session, runner);
    showActive(screen);
    QVERIFY(screen.selectUser("AYŞE"));
    QCOMPARE(child<QTableWidget>(screen, "rightsGrid")->rowCount(), int(f.count("SELECT COUNT(*) FROM RIGHTS WHERE HNO=7")));

    runner.then(password("", false))        // Vazgeç: nothing
        .then(password("ZIRVX"))             // wrong
        .then(password("ZIRVO"))             // right, then No
        .then(password("ZIRVO"));            // right, then Yes
    f.prompt.expectMessage("Yanlış Şifre Girdiniz...")
        .expectQuestion("BU KULLANICI SİLİNECEKTİR ONAYLIYORMUSUNUZ", false)
        .expectQuestion("BU KULLANICI SİLİNECEKTİR ONAYLIYORMUSUNUZ", true);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(&screen, Qt::Key_F10);
        QCOMPARE(f.count("SELECT COUNT(*) FROM USERS WHERE HNO=7"), 1);
    }
    QTest::keyClick(&screen, Qt::Key_F10);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(f.count("SELECT COUNT(*) FROM USERS WHERE HNO=7"), 0);
    QCOMPARE(f.count("SELECT COUNT(*) FROM RIGHTS WHERE HNO=7"), 0);
    QCOMPARE(child<QTableWidget>(screen, "usersGrid")->rowCount(), 1);

    // The hidden item shows the selected user's password once ZIRVO confirms.
    const QString ask = QStringLiteral("DİKKAT! ZIRVO kullanıcısının şifresi ekranda açıkça gösterilecek. "
                                       "Onaylıyor musunuz?");
    f.prompt.expectQuestion(ask, false);
    QTest::keyClick(&screen, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    f.prompt.expectQuestion(ask, true).expectMessage("ZIRVO");
    QTest::keyClick(&screen, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));

    QTest::keyClick(&screen, Qt::Key_Escape);
    QVERIFY(!screen.isVisible());
}

void TestUsersScreens::usersScreenNewUserChangeAndRights()
{
    Fixture f;
    f.logInAs("ZIRVO", 1);
    ScriptedRunner runner;
    TFRMUSERSTAN screen(f.session, runner);
    showActive(screen);

    runner.then([](KelmaForm &form) {
        auto &user = dynamic_cast<TFRMUSER &>(form);
        QVERIFY(!child<QLineEdit>(user, "userNameEdit")->isReadOnly());
        QCOMPARE(child<QComboBox>(user, "departmentBox")->itemText(0), QStringLiteral("TÜMÜ"));
        QCOMPARE(child<QComboBox>(user, "departmentBox")->currentIndex(), 0);
        child<QLineEdit>(user, "userNameEdit")->setText("MEHMET");
        child<QLineEdit>(user, "passwordEdit")->setText("K4L3M");
        child<QLineEdit>(user, "repeatPasswordEdit")->setText("K4L3M");
        child<QLineEdit>(user, "fullNameEdit")->setText("Mehmet Öz");
        child<QComboBox>(user, "departmentBox")->setCurrentIndex(child<QComboBox>(user, "departmentBox")->findText("YAZI İŞLERİ"));
        child<QPushButton>(user, "saveButton")->click();
    });
    QTest::keyClick(&screen, Qt::Key_F2);
    QCOMPARE(screen.selectedUser()->USR, QStringLiteral("MEHMET"));
    QCOMPARE(cells(child<QTableWidget>(screen, "rightsGrid"), rowOf(child<QTableWidget>(screen, "rightsGrid"), "Gelen Evrak")),
             QStringList({"Gelen Evrak", "Evet", "Hayır", "Evet", "Hayır"}));
    QCOMPARE(cells(child<QTableWidget>(screen, "rightsGrid"), rowOf(child<QTableWidget>(screen, "rightsGrid"), "Kullanıcı Tanımları")),
             QStringList({"Kullanıcı Tanımları", "Hayır", "Hayır", "Evet", "Hayır"}));
    // Code 50 has a name; no row is nameless.
    QVERIFY(rowOf(child<QTableWidget>(screen, "rightsGrid"), "Şifre Kaydı") >= 0);
    QCOMPARE(rowOf(child<QTableWidget>(screen, "rightsGrid"), ""), -1);

    // Changing it asks for ZIRVO's own password first.
    runner.then(password("ZIRVO")).then([](KelmaForm &form) {
        auto &user = dynamic_cast<TFRMUSER &>(form);
        QCOMPARE(child<QLineEdit>(user, "passwordEdit")->text(), SIFRELE(u'1', "K4L3M"));
        QCOMPARE(child<QComboBox>(user, "departmentBox")->currentText(), QStringLiteral("YAZI İŞLERİ"));
        child<QLineEdit>(user, "titleEdit")->setText("Şef");
        child<QLineEdit>(user, "passwordEdit")->setText("K4L3M");
        child<QLineEdit>(user, "repeatPasswordEdit")->setText("K4L3M");
        child<QPushButton>(user, "saveButton")->click();
    });
    QTest::keyClick(&screen, Qt::Key_F4);
    QCOMPARE(f.value("SELECT ACIK1 FROM USERS WHERE USR='MEHMET'").toString(), QStringLiteral("Şef"));

    // Rights of one section: Enter (or a double-click) opens them; the grid
    // comes back on the same section.
    const int row = rowOf(child<QTableWidget>(screen, "rightsGrid"), "Giden Evrak");
    child<QTableWidget>(screen, "rightsGrid")->setCurrentCell(row, 0);
    runner.then([](KelmaForm &form) {
        auto &rights = dynamic_cast<TFRMHAKLAR &>(form);
        QCOMPARE(child<QButtonGroup>(rights, "addRightChoice")->checkedId(), 1);
        child<QButtonGroup>(rights, "addRightChoice")->button(0)->click();
        child<QPushButton>(rights, "saveButton")->click();
    });
    const QPoint at = child<QTableWidget>(screen, "rightsGrid")->visualItemRect(child<QTableWidget>(screen, "rightsGrid")->item(row, 0)).center();
    QTest::mouseClick(child<QTableWidget>(screen, "rightsGrid")->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(child<QTableWidget>(screen, "rightsGrid")->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(child<QTableWidget>(screen, "rightsGrid")->currentRow(), row);
    QCOMPARE(cells(child<QTableWidget>(screen, "rightsGrid"), row), QStringList({"Giden Evrak", "Evet", "Evet", "Evet", "Hayır"}));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY2(runner.done(), qPrintable(runner.report()));
}

void TestUsersScreens::rightsThatDoNothingAreGreyed()
{
    Fixture f;
    f.logInAs("ZIRVO", 1);
    // A code left behind by an older version names nothing.
    f.exec("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (7,7,'E','E','E','E')");
    ScriptedRunner runner;
    TFRMUSERSTAN screen(f.session, runner);
    showActive(screen);
    QVERIFY(screen.selectUser("AYŞE"));
    auto *grid = child<QTableWidget>(screen, "rightsGrid");
    QCOMPARE(grid->rowCount(), int(f.count("SELECT COUNT(*) FROM RIGHTS WHERE HNO=7")) - 1);
    const QColor greyed = grid->palette().color(QPalette::Disabled, QPalette::Text);
    auto greyedFlags = [&](const QString &section) {
        const int row = rowOf(grid, section);
        QString out;
        for (int c = 1; c < 5; ++c)
            out += grid->item(row, c)->foreground().color() == greyed ? u'-' : u'+';
        return out;
    };
    // Giriş, Kayıt, Değiş, Silme: only what some screen reads is in black.
    QCOMPARE(greyedFlags("Kurum Tanımları"), QStringLiteral("++--"));
    QCOMPARE(greyedFlags("Birim Tanımları"), QStringLiteral("+---"));
    QCOMPARE(greyedFlags("Gelen Evrak"), QStringLiteral("++++"));
    QCOMPARE(greyedFlags("Evrak Onayı"), QStringLiteral("-+--"));
    QCOMPARE(greyedFlags("Şifre Kaydı"), QStringLiteral("-++-"));

    // The dialog offers only those; the rest keeps what is stored.
    grid->setCurrentCell(rowOf(grid, "Kurum Tanımları"), 0);
    runner.then([](KelmaForm &form) {
        auto &rights = dynamic_cast<TFRMHAKLAR &>(form);
        QVERIFY(child<QLabel>(rights, "titleLabel")->text().endsWith(QStringLiteral("Kurum Tanımları")));
        QVERIFY(child<QButtonGroup>(rights, "entryRightChoice")->button(0)->isEnabled());
        QVERIFY(child<QButtonGroup>(rights, "addRightChoice")->button(0)->isEnabled());
        QVERIFY(!child<QButtonGroup>(rights, "changeRightChoice")->button(0)->isEnabled());
        QVERIFY(!child<QButtonGroup>(rights, "deleteRightChoice")->button(1)->isEnabled());
        QVERIFY(child<QLabel>(rights, "governsLabel")->text().contains(QStringLiteral("Kurum Tanımı Ekle")));
        child<QButtonGroup>(rights, "addRightChoice")->button(1)->click();
        child<QPushButton>(rights, "saveButton")->click();
    });
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(f.value("SELECT G||K||D||S FROM RIGHTS WHERE HNO=7 AND KOD=24").toString(), QStringLiteral("EHEE"));

    // "Genel Liste" decides the overdue report of the menu: its Giriş can be refused.
    QCOMPARE(greyedFlags("Genel Liste"), QStringLiteral("+---"));
    grid->setCurrentCell(rowOf(grid, "Genel Liste"), 0);
    runner.then([](KelmaForm &form) {
        QVERIFY(child<QButtonGroup>(form, "entryRightChoice")->button(1)->isEnabled());
        QVERIFY(child<QLabel>(form, "governsLabel")->text().contains(QStringLiteral("Süresi Geçen Evraklar")));
        child<QButtonGroup>(form, "entryRightChoice")->button(1)->click();
        child<QPushButton>(form, "saveButton")->click();
    });
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(f.value("SELECT G FROM RIGHTS WHERE HNO=7 AND KOD=11").toString(), QStringLiteral("H"));

    // The incoming record's attachment buttons follow code 1 as well; the administrator reads which.
    grid->setCurrentCell(rowOf(grid, "Gelen Evrak"), 0);
    runner.then([](KelmaForm &form) {
        const QString governs = child<QLabel>(form, "governsLabel")->text();
        QVERIFY2(governs.contains(QStringLiteral("ek belge")), qPrintable(governs));
        child<QPushButton>(form, "cancelButton")->click();
    });
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestUsersScreens::rightsScreenKeepsOddFlags()
{
    Fixture f;
    f.exec("UPDATE RIGHTS SET G='X', K='' WHERE HNO=7 AND KOD=1");
    TFRMHAKLAR screen(f.session);
    screen.hno = 7;
    screen.kod = 1;
    screen.userName = "AYŞE";
    showActive(screen);
    QCOMPARE(child<QButtonGroup>(screen, "entryRightChoice")->checkedId(), -1);
    QCOMPARE(child<QButtonGroup>(screen, "addRightChoice")->checkedId(), -1);
    QCOMPARE(child<QButtonGroup>(screen, "changeRightChoice")->checkedId(), 0);
    child<QButtonGroup>(screen, "deleteRightChoice")->button(1)->click();
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(!screen.isVisible());
    const auto r = f.rows("SELECT G,K,D,S FROM RIGHTS WHERE HNO=7 AND KOD=1").value(0);
    QCOMPARE(r.value(0).toString(), QStringLiteral("X"));
    QCOMPARE(r.value(1).toString(), QString());
    QCOMPARE(r.value(2).toString(), QStringLiteral("E"));
    QCOMPARE(r.value(3).toString(), QStringLiteral("H"));
}

QTEST_MAIN(TestUsersScreens)
#include "tst_usersscreens.moc"
