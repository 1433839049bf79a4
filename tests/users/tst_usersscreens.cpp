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
        prompt.Edit1->setText(typed);
        (accept ? prompt.BitBtn1 : prompt.BitBtn2)->click();
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
    void rightsScreenKeepsOddFlags();
};

void TestUsersScreens::loginWithKeys()
{
    Fixture f;
    TFRMPSSWD dialog(f.session);
    showActive(dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("        KULLANICI GİRİŞİ"));
    // The last user is offered; the password box has the focus.
    QCOMPARE(dialog.Edit1->text(), QStringLiteral("ZIRVO"));
    QCOMPARE(QApplication::focusWidget(), dialog.Edit2);
    QTest::keyClicks(dialog.Edit2, "ZIRVOZIRVO");
    QCOMPARE(dialog.Edit2->text(), QStringLiteral("ZIRVO"));

    dialog.Edit1->setFocus();
    dialog.Edit1->setText("AYŞE");
    QTest::keyClick(dialog.Edit1, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.Edit2);
    f.prompt.expectMessage(" YANLIŞ ŞİFRE ");
    QTest::keyClick(dialog.Edit2, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(), dialog.Edit2);

    dialog.Edit2->setText("Çam1");
    QTest::keyClick(dialog.Edit2, Qt::Key_Return);
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
        dialog.Edit1->setText(QStringLiteral("YOK%1").arg(i));
        dialog.BitBtn1->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), dialog.Edit1);
    }
    f.prompt.expectMessage(" YANLIŞ ŞİFRE ");
    dialog.Edit1->setText("ZIRVO");
    dialog.Edit2->setText("HAYIR");
    dialog.BitBtn1->click();
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
    dialog.BitBtn2->click();
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
    QCOMPARE(screen.DBEdit2->text(), QStringLiteral("ZIRVO"));
    QCOMPARE(screen.DBEdit1->text(), QStringLiteral("Sistem Yöneticisi"));
    QVERIFY(screen.DBEdit3->text().isEmpty());
    QTest::keyClicks(screen.DBEdit3, "ABCDEFG");
    QCOMPARE(screen.DBEdit3->text(), QStringLiteral("ABCDE"));

    f.prompt.expectMessage("ESKİ ŞİFRE HATALI..");
    screen.Edit2->setText("ZIRV");
    screen.Edit1->setText("ABCDE");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(screen.isVisible());
    QCOMPARE(QApplication::focusWidget(), screen.Edit2);

    screen.Edit2->setText("ZIRVO");
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
    QVERIFY(!screen.BitBtn2->isEnabled());
    screen.Edit2->setText("Çam1");
    screen.DBEdit3->setText("YENİ");
    screen.Edit1->setText("YENİ");
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
    QCOMPARE(QList<bool>({screen.BitBtn1->isEnabled(), screen.BitBtn2->isEnabled(), screen.BitBtn3->isEnabled()}),
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
    screen.DBGrid2->setFocus();
    f.prompt.expectMessage("ZIRVO Kullanıcısının Yetkilerini Değiştiremezsiniz....");
    QTest::keyClick(screen.DBGrid2, Qt::Key_Return);
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
    QCOMPARE(screen.DBGrid2->rowCount(), int(f.count("SELECT COUNT(*) FROM RIGHTS WHERE HNO=7")));

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
    QCOMPARE(screen.DBGrid1->rowCount(), 1);

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
        QVERIFY(!user.DBEdit1->isReadOnly());
        QCOMPARE(user.ComboBox1->itemText(0), QStringLiteral("TÜMÜ"));
        QCOMPARE(user.ComboBox1->currentIndex(), 0);
        user.DBEdit1->setText("MEHMET");
        user.DBEdit2->setText("K4L3M");
        user.Edit1->setText("K4L3M");
        user.DBEdit3->setText("Mehmet Öz");
        user.ComboBox1->setCurrentIndex(user.ComboBox1->findText("YAZI İŞLERİ"));
        user.BitBtn2->click();
    });
    QTest::keyClick(&screen, Qt::Key_F2);
    QCOMPARE(screen.selectedUser()->USR, QStringLiteral("MEHMET"));
    QCOMPARE(cells(screen.DBGrid2, rowOf(screen.DBGrid2, "Gelen Evrak")),
             QStringList({"Gelen Evrak", "Evet", "Hayır", "Evet", "Hayır"}));
    QCOMPARE(cells(screen.DBGrid2, rowOf(screen.DBGrid2, "Kullanıcı Tanımları")),
             QStringList({"Kullanıcı Tanımları", "Hayır", "Hayır", "Evet", "Hayır"}));
    // Code 50 has no caption.
    QVERIFY(rowOf(screen.DBGrid2, "") >= 0);

    // Changing it asks for ZIRVO's own password first.
    runner.then(password("ZIRVO")).then([](KelmaForm &form) {
        auto &user = dynamic_cast<TFRMUSER &>(form);
        QCOMPARE(user.DBEdit2->text(), SIFRELE(u'1', "K4L3M"));
        QCOMPARE(user.ComboBox1->currentText(), QStringLiteral("YAZI İŞLERİ"));
        user.DBEdit4->setText("Şef");
        user.DBEdit2->setText("K4L3M");
        user.Edit1->setText("K4L3M");
        user.BitBtn2->click();
    });
    QTest::keyClick(&screen, Qt::Key_F4);
    QCOMPARE(f.value("SELECT ACIK1 FROM USERS WHERE USR='MEHMET'").toString(), QStringLiteral("Şef"));

    // Rights of one section: Enter (or a double-click) opens them; the grid
    // comes back on the same section.
    const int row = rowOf(screen.DBGrid2, "Giden Evrak");
    screen.DBGrid2->setCurrentCell(row, 0);
    runner.then([](KelmaForm &form) {
        auto &rights = dynamic_cast<TFRMHAKLAR &>(form);
        QCOMPARE(rights.DBRadioGroup2->checkedId(), 1);
        rights.DBRadioGroup2->button(0)->click();
        rights.BitBtn2->click();
    });
    const QPoint at = screen.DBGrid2->visualItemRect(screen.DBGrid2->item(row, 0)).center();
    QTest::mouseClick(screen.DBGrid2->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(screen.DBGrid2->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(screen.DBGrid2->currentRow(), row);
    QCOMPARE(cells(screen.DBGrid2, row), QStringList({"Giden Evrak", "Evet", "Evet", "Evet", "Hayır"}));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY2(runner.done(), qPrintable(runner.report()));
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
    QCOMPARE(screen.DBRadioGroup1->checkedId(), -1);
    QCOMPARE(screen.DBRadioGroup2->checkedId(), -1);
    QCOMPARE(screen.DBRadioGroup4->checkedId(), 0);
    screen.DBRadioGroup3->button(1)->click();
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
