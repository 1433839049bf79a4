// The System settings screen and the main window's start and close, driven
// through the real forms with a scripted person.

#include "core/clock.h"
#include "core/session.h"
#include "shell/startup.h"
#include "shell/ui/unmenu.h"
#include "shell/ui/unsystem.h"

#include "formtest.h"
#include "scriptedprompt.h"
#include "scriptedrunner.h"
#include "tempdatabase.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

namespace {

struct Fixture
{
    QTemporaryDir dir;
    QString ini = dir.filePath("KELMA.ini");
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [this] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); }};
    WorkstationDefaults defaults{QDate(2021, 8, 26), dir.filePath("cwd"), dir.filePath("prog")};
    TempDatabase db;

    Fixture()
    {
        fb::Attachment a;
        db.createMain(a);
        fb::Transaction t(a);
        // Users log in with a later screen; here the run goes on without them.
        t.execute("UPDATE TANIM SET UDUR='0', TEXTVT='H'");
        t.commit();
    }
    QString stored(const char *key) { return session.store()->value(key).toString(); }
    void store(const char *key, const QString &value)
    {
        auto s = session.store();
        s->setValue(key, value);
        s->sync();
    }
};

void type(QLineEdit *edit, const QString &text)
{
    edit->clear();
    edit->insert(text);
}

} // namespace

class TestStartScreens : public QObject
{
    Q_OBJECT

private slots:
    void systemScreenMessages_data();
    void systemScreenMessages();
    void systemScreenSaves();
    void systemScreenRefusesFrameCloseAndEscape();
    void systemScreenKeepsTheWorkingYear_data();
    void systemScreenKeepsTheWorkingYear();

    void brokenLocationRepairedAtStart();
    void brokenLocationCancelledEndsTheRun();
    void activationRunsOnce();
    void closeRefusedUntilProgramSonu();
    void newerDatabaseEndsTheRun();
    void fileServerCheckedWhenDocumentsGoThere();
};

void TestStartScreens::systemScreenMessages_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such folder") << "nowhere" << "DİKKAT! Veritabanı Yolu Bulunamadı..!";
    QTest::newRow("no database file") << "empty" << "DİKKAT! Veritabanı Dosyası Bulunamadı..!";
    QTest::newRow("not a database") << "junk" << "Veritabanı Tanımlarında Hata Var";
}

void TestStartScreens::systemScreenMessages()
{
    QFETCH(QString, folder);
    QFETCH(QString, message);
    Fixture f;
    QDir(f.dir.path()).mkpath("empty");
    QDir(f.dir.path()).mkpath("junk");
    QFile junk(f.dir.filePath("junk/KELMA.GDB"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is no database");
    junk.close();
    f.store("YOL", "/previous/place");

    TFRMSYSTEM screen(f.session);
    screen.tag = 1;
    showActive(screen);
    type(child<QLineEdit>(screen, "folderEdit"), f.dir.filePath(folder));
    QCOMPARE(child<QLabel>(screen, "databaseNameLabel")->text(), f.dir.filePath(folder + "/KELMA.GDB"));
    f.prompt.expectMessage(message);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY(screen.isVisible());
    // Nothing is stored from a failed save.
    QCOMPARE(f.stored("YOL"), QStringLiteral("/previous/place"));
}

void TestStartScreens::systemScreenSaves()
{
    Fixture f;
    TFRMSYSTEM screen(f.session);
    showActive(screen);
    type(child<QLineEdit>(screen, "hostEdit"), "");
    type(child<QLineEdit>(screen, "folderEdit"), f.db.folder());
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(screen.tag, 1);
    QVERIFY(!screen.isVisible());
    QCOMPARE(f.stored("YOL"), f.db.folder());
    QCOMPARE(f.stored("SRV"), QString());
    QVERIFY(f.session.db.IBDATABASE.isOpen());

    TFRMSYSTEM again(f.session);
    showActive(again);
    QCOMPARE(child<QLineEdit>(again, "folderEdit")->text(), f.db.folder());
    // A wrong place tried from here does not cost the run its database.
    QDir(f.dir.path()).mkpath("junk");
    QFile junk(f.dir.filePath("junk/KELMA.GDB"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is no database");
    junk.close();
    type(child<QLineEdit>(again, "folderEdit"), f.dir.filePath("junk"));
    f.prompt.expectMessage("Veritabanı Tanımlarında Hata Var");
    QTest::keyClick(&again, Qt::Key_F5);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY(f.session.db.IBDATABASE.isOpen());
    QCOMPARE(f.session.db.IBTransaction1.value("SELECT COUNT(*) FROM TANIM").toInt(), 1);
    QTest::keyClick(&again, Qt::Key_F6);
    QCOMPARE(again.tag, 0);
    QVERIFY(!again.isVisible());
}

void TestStartScreens::systemScreenRefusesFrameCloseAndEscape()
{
    Fixture f;
    TFRMSYSTEM screen(f.session);
    showActive(screen);
    QVERIFY(!screen.close());
    QTest::keyClick(&screen, Qt::Key_Escape);
    QVERIFY(screen.isVisible());
    // F5 does nothing while its button is disabled.
    child<QPushButton>(screen, "saveButton")->setEnabled(false);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(screen.isVisible());
    QVERIFY(f.prompt.done());
}

void TestStartScreens::systemScreenKeepsTheWorkingYear_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("F5-Kayıt") << "saveButton";
    QTest::newRow("F6-Vazgeç") << "cancelButton";
}

void TestStartScreens::systemScreenKeepsTheWorkingYear()
{
    QFETCH(QString, button);
    Fixture f;
    f.store("YOL", f.db.folder());
    startup::IBASEAC(f.session, f.defaults);
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QCOMPARE(f.session.workingYear(), 2021);

    // The general definitions change the working year; the store has it only at close.
    runner.then([](KelmaForm &form) {
        type(child<QLineEdit>(form, "yearEdit"), "2020");
        child<QPushButton>(form, "saveButton")->click();
    });
    child<QAction>(menu, "generalDefinitionsAction")->trigger();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(f.session.workingYear(), 2020);
    QCOMPARE(f.stored("YIL"), QStringLiteral("2021"));

    runner.then([button](KelmaForm &form) {
        QCOMPARE(form.metaObject()->className(), "TFRMSYSTEM");
        child<QPushButton>(form, qPrintable(button))->click();
    });
    child<QAction>(menu, "systemAction")->trigger();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    // One working year: the status bar, the registers and the store written at close.
    QCOMPARE(f.session.workingYear(), 2020);
    QCOMPARE(child<QLabel>(menu, "yearLabel")->text(), QStringLiteral("2020"));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestStartScreens::brokenLocationRepairedAtStart()
{
    Fixture f;
    f.store("YOL", f.dir.filePath("moved-away"));
    startup::IBASEAC(f.session, f.defaults);
    QVERIFY(f.session.connectionFailed);

    ScriptedRunner runner;
    runner.then([&](KelmaForm &form) {
        auto &screen = dynamic_cast<TFRMSYSTEM &>(form);
        QCOMPARE(screen.tag, 1);
        type(child<QLineEdit>(screen, "folderEdit"), f.db.folder());
        child<QPushButton>(screen, "saveButton")->click();
    });
    TFRMMENU menu(f.session, runner);
    QSignalSpy ended(&menu, &TFRMMENU::programEnded);
    menu.FormActivate();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(ended.count(), 0);
    QVERIFY(f.session.activationGuard);
    QCOMPARE(child<QLabel>(menu, "yearLabel")->text(), QStringLiteral("2021"));
    QCOMPARE(f.stored("YOL"), f.db.folder());
    QCOMPARE(child<QLabel>(menu, "institutionLabel")->text(), QStringLiteral("BELEDİYE BAŞKANLIĞI"));
}

void TestStartScreens::brokenLocationCancelledEndsTheRun()
{
    Fixture f;
    f.store("YOL", f.dir.filePath("moved-away"));
    startup::IBASEAC(f.session, f.defaults);
    ScriptedRunner runner;
    runner.then([](KelmaForm &form) { child<QPushButton>(form, "cancelButton")->click(); });
    TFRMMENU menu(f.session, runner);
    menu.show();
    QSignalSpy ended(&menu, &TFRMMENU::programEnded);
    menu.FormActivate();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!menu.isVisible());
    QVERIFY(runner.done());
}

void TestStartScreens::activationRunsOnce()
{
    Fixture f;
    f.store("YOL", f.db.folder());
    startup::IBASEAC(f.session, f.defaults);
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.FormActivate();
    QVERIFY(f.session.activationGuard);
    QCOMPARE(child<QLabel>(menu, "clockLabel")->text(), QStringLiteral("09:30"));
    f.clock.set(QDateTime(QDate(2021, 8, 26), QTime(10, 45)));
    menu.FormActivate();
    QCOMPARE(child<QLabel>(menu, "clockLabel")->text(), QStringLiteral("09:30"));
    QVERIFY(runner.shown().isEmpty());
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestStartScreens::closeRefusedUntilProgramSonu()
{
    Fixture f;
    f.store("YOL", f.db.folder());
    startup::IBASEAC(f.session, f.defaults);
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QTRY_VERIFY(f.session.activationGuard); // activation runs once the window is shown
    QSignalSpy ended(&menu, &TFRMMENU::programEnded);
    QVERIFY(!menu.close());
    QVERIFY(menu.isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(f.session.db.IBDATABASE.isOpen());

    f.session.LUSR = QStringLiteral("AYŞE");
    f.session.workstation.year = QStringLiteral("2022");
    child<QAction>(menu, "programEndAction")->trigger();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!menu.isVisible());
    QVERIFY(!f.session.db.IBDATABASE.isOpen());
    QCOMPARE(f.stored("BFORM"), QStringLiteral("2"));
    QCOMPARE(f.stored("USR"), QStringLiteral("AYŞE"));
    QCOMPARE(f.stored("YIL"), QStringLiteral("2022"));
}

void TestStartScreens::newerDatabaseEndsTheRun()
{
    Fixture f;
    {
        fb::Attachment a;
        a.open(TempDatabase::options(f.db.path()));
        fb::Transaction t(a);
        t.execute("UPDATE TANIM SET VER='17.000'");
        t.commit();
    }
    f.store("YOL", f.db.folder());
    startup::IBASEAC(f.session, f.defaults);
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    menu.show();
    QSignalSpy ended(&menu, &TFRMMENU::programEnded);
    f.prompt.expectMessage("DİKKAT! Program Versiyonu Eski Olduğundan Çalışamazsınız..");
    // The update is offered; No leaves the run to end as before.
    f.prompt.expectQuestion("Daha Yeni Sürümü Mevcuttur", false);
    menu.FormActivate();
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(ended.count(), 1);
    QVERIFY(!f.session.versionOk);
    QVERIFY(f.session.activationGuard);
}

void TestStartScreens::fileServerCheckedWhenDocumentsGoThere()
{
    Fixture f;
    {
        // A port nothing listens on: the check fails and says so.
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        fb::Attachment a;
        a.open(TempDatabase::options(f.db.path()));
        fb::Transaction t(a);
        t.execute("UPDATE TANIM SET SRVSAKLA='E', SRVIPNO='127.0.0.1', SRVPORT=:P", {{"P", QString::number(port)}});
        t.commit();
    }
    f.store("YOL", f.db.folder());
    startup::IBASEAC(f.session, f.defaults);
    ScriptedRunner runner;
    TFRMMENU menu(f.session, runner);
    f.prompt.expectMessage("DİKKAT! Dosya sunucusuna bağlantı sağlanamadı..");
    menu.FormActivate();
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(child<QLabel>(menu, "fileServerLabel")->text(), QStringLiteral("??? Dosya Sunucusu Aktif Değil ???"));
    QVERIFY(f.session.activationGuard);
}

QTEST_MAIN(TestStartScreens)
#include "tst_startscreens.moc"
