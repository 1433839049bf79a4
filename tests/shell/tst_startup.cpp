#include "core/clock.h"
#include "core/colours.h"
#include "core/session.h"
#include "shell/singleinstance.h"
#include "shell/startup.h"
#include "core/workstation.h"

#include "db/fb/statement.h"
#include "db/schema.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QDir>
#include <QSettings>
#include <QtTest>

namespace {

/// A session whose settings store is an ini file of the test's own.
struct Fixture
{
    QTemporaryDir dir;
    QString ini = dir.filePath("KELMA.ini");
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [this] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); }};
    WorkstationDefaults defaults{QDate(2021, 8, 26), dir.filePath("cwd"), dir.filePath("prog"), dir.filePath("userdata")};

    QString stored(const char *key) { return session.store()->value(key).toString(); }
    void store(const char *key, const QString &value)
    {
        auto s = session.store();
        s->setValue(key, value);
        s->sync();
    }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void freshWorkstationGetsDefaultsStoredAtOnce();
    void documentsOfAServerDatabaseInTheUsersFolder();
    void storedValuesAreKept();
    void storedYearOutOfRange_data();
    void storedYearOutOfRange();
    void unreadableStoreGivesDefaults();
    void databaseNames_data();
    void databaseNames();
    void colourScheme_data();
    void colourScheme();

    void opensTheConfiguredDatabase();
    void characterSetMark_data();
    void characterSetMark();
    void legacyDatabaseTextStaysRight();
    void missingDatabaseSetsTheFlag();
    void notAKelmaDatabase();
    void yearDatabase();

    void secondInstanceRefused();
};

void TestStartup::freshWorkstationGetsDefaultsStoredAtOnce()
{
    Fixture f;
    startup::IBASEAC(f.session, f.defaults);
    const WorkstationSettings &w = f.session.workstation;
    QCOMPARE(w.year, QStringLiteral("2021"));
    QCOMPARE(w.folder, f.dir.filePath("cwd/DATA/KELMA"));
    // Documents beside the data, not in the program's folder.
    QCOMPARE(w.localFolder, f.dir.filePath("cwd/DATA/KELMA/EVRAKLAR"));
    QCOMPARE(w.readMode, QStringLiteral("V"));
    QCOMPARE(w.user, QStringLiteral("ZIRVO"));
    QCOMPARE(f.session.LUSR, QStringLiteral("ZIRVO"));
    QVERIFY(!f.session.colours.applies());
    QCOMPARE(f.stored("YIL"), QStringLiteral("2021"));
    QCOMPARE(f.stored("YOL"), w.folder);
    QCOMPARE(f.stored("LOCAL"), w.localFolder);
    QCOMPARE(f.stored("DOSYAOKU"), QStringLiteral("V"));
    QCOMPARE(f.stored("USR"), QStringLiteral("ZIRVO"));
    QVERIFY(f.session.store()->contains("SRV"));
    // The window state is written only at close.
    QVERIFY(!f.session.store()->contains("BFORM"));
}

void TestStartup::documentsOfAServerDatabaseInTheUsersFolder()
{
    Fixture f;
    // The data folder is the server's: the documents go to the user's own folder.
    f.store("SRV", "sunucu");
    startup::IBASEAC(f.session, f.defaults);
    QCOMPARE(f.session.workstation.localFolder, f.dir.filePath("userdata/EVRAKLAR"));
    QCOMPARE(f.stored("LOCAL"), f.session.workstation.localFolder);
}

void TestStartup::storedValuesAreKept()
{
    Fixture f;
    f.store("YIL", "20215");
    f.store("BFORM", "12");
    f.store("RNK", "T");
    f.store("USR", "AYŞE");
    f.store("DOSYAOKU", "SX");
    startup::IBASEAC(f.session, f.defaults);
    QCOMPARE(f.session.workstation.year, QStringLiteral("2021"));
    QCOMPARE(f.session.workstation.windowState, QStringLiteral("1"));
    QCOMPARE(f.session.workstation.readMode, QStringLiteral("S"));
    QCOMPARE(f.session.LUSR, QStringLiteral("AYŞE"));
    QCOMPARE(f.session.colours.form, QStringLiteral("$000080FF"));
    QCOMPARE(f.stored("YIL"), QStringLiteral("2021"));
}

void TestStartup::storedYearOutOfRange_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("used");
    // Today is 2021: 1990 up to 2022 are working years.
    QTest::newRow("older version's 1234") << "1234" << "2021";
    QTest::newRow("before 1990") << "1989" << "2021";
    QTest::newRow("two years ahead") << "2023" << "2021";
    QTest::newRow("not a number") << "20x1" << "2021";
    QTest::newRow("first") << "1990" << "1990";
    QTest::newRow("next year") << "2022" << "2022";
}

void TestStartup::storedYearOutOfRange()
{
    QFETCH(QString, stored);
    QFETCH(QString, used);
    Fixture f;
    f.store("YIL", stored);
    startup::IBASEAC(f.session, f.defaults);
    QCOMPARE(f.session.workstation.year, used);
    QCOMPARE(f.session.workingYear(), used.toInt());
    // Written back at start like a missing year.
    QCOMPARE(f.stored("YIL"), used);
}

void TestStartup::unreadableStoreGivesDefaults()
{
    Fixture f;
    // A folder where the settings file should be: it can be neither read nor written.
    QVERIFY(QDir().mkpath(f.ini));
    startup::IBASEAC(f.session, f.defaults);
    QCOMPARE(f.session.workstation.year, QStringLiteral("2021"));
    QCOMPARE(f.session.workstation.user, QStringLiteral("ZIRVO"));
    QVERIFY(f.session.connectionFailed);
}

void TestStartup::databaseNames_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("text");
    QTest::newRow("local") << "" << "/srv/kelma" << "/srv/kelma/KELMA.GDB" << "/srv/kelma/TEXT2021.GDB";
    QTest::newRow("server") << "arsiv" << "/var/lib/kelma" << "arsiv:/var/lib/kelma/KELMA.GDB"
                            << "arsiv:/var/lib/kelma/TEXT2021.GDB";
    QTest::newRow("server with a Windows folder") << "10.0.0.5" << "C:\\DATA\\KELMA"
                                                  << "10.0.0.5:C:\\DATA\\KELMA\\KELMA.GDB"
                                                  << "10.0.0.5:C:\\DATA\\KELMA\\TEXT2021.GDB";
    QTest::newRow("trailing separator") << "" << "/srv/kelma/" << "/srv/kelma/KELMA.GDB"
                                        << "/srv/kelma/TEXT2021.GDB";
}

void TestStartup::databaseNames()
{
    QFETCH(QString, host);
    QFETCH(QString, folder);
    QFETCH(QString, main);
    QFETCH(QString, text);
    QCOMPARE(workstation::mainDatabaseName(host, folder), main);
    QCOMPARE(workstation::textDatabaseName(host, folder, "2021"), text);
}

void TestStartup::colourScheme_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("panel");
    QTest::newRow("O") << "O" << "$00C6C8CC" << "$00ABD6B5";
    QTest::newRow("Y") << "Y" << "$00807900" << "$00BBDC01";
    QTest::newRow("M") << "M" << "$00A00000" << "$00F5A90A";
    QTest::newRow("T") << "T" << "$000080FF" << "$0042C0FD";
    QTest::newRow("unknown") << "X" << "0" << "0";
    QTest::newRow("empty") << "" << "0" << "0";
}

void TestStartup::colourScheme()
{
    QFETCH(QString, letter);
    QFETCH(QString, form);
    QFETCH(QString, panel);
    const ColourScheme s = ColourScheme::forLetter(letter);
    QCOMPARE(s.form, form);
    QCOMPARE(s.panel, panel);
    if (letter == "T") {
        // Blue, green, red from high to low: orange.
        int r, g, b;
        ColourScheme::rgb(ColourScheme::number(s.form), &r, &g, &b);
        QCOMPARE(QList<int>({r, g, b}), QList<int>({255, 128, 0}));
    }
}

void TestStartup::opensTheConfiguredDatabase()
{
    Fixture f;
    TempDatabase db;
    {
        fb::Attachment a;
        db.createMain(a);
    }
    f.store("YOL", db.folder());
    QCOMPARE(startup::IBASEAC(f.session, f.defaults), startup::DatabaseState::Ok);
    QVERIFY(!f.session.connectionFailed);
    QVERIFY(f.session.db.IBDATABASE.isOpen());
    QCOMPARE(f.session.db.IBDATABASE.charset(), QStringLiteral("WIN1254"));
    QVERIFY(f.session.db.IBTransaction1.isActive());
}

void TestStartup::characterSetMark_data()
{
    QTest::addColumn<QVariant>("chset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1 keeps WIN1254") << QVariant("1") << "WIN1254";
    QTest::newRow("empty") << QVariant("") << "";
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("other") << QVariant("2") << "";
}

void TestStartup::characterSetMark()
{
    QFETCH(QVariant, chset);
    QFETCH(QString, expected);
    Fixture f;
    TempDatabase db;
    {
        fb::Attachment a;
        db.createMain(a);
        fb::Transaction t(a);
        t.execute("UPDATE TANIM SET CHSET=:C", {{"C", chset}});
        t.commit();
    }
    f.store("YOL", db.folder());
    QCOMPARE(startup::IBASEAC(f.session, f.defaults), startup::DatabaseState::Ok);
    QCOMPARE(f.session.db.IBDATABASE.charset(), expected);
    QVERIFY(f.session.db.IBTransaction1.isActive());
}

void TestStartup::legacyDatabaseTextStaysRight()
{
    // An older database: columns with no character set, Windows-1254 bytes in
    // them, no CHSET column at all.
    Fixture f;
    TempDatabase db;
    {
        fb::Attachment a;
        db.createEmpty(a, QString());
        schema::createMain(a, 14001);
        fb::Attachment legacy;
        a.close();
        legacy.open(TempDatabase::options(db.path(), QString()));
        fb::Transaction t(legacy);
        t.execute("INSERT INTO TANIM (KURUM, VER, UDUR) VALUES (:K, '14.001', '0')",
                  {{"K", QStringLiteral("ÇAĞLAYAN BELEDİYESİ")}});
        t.commit();
    }
    f.store("YOL", db.folder());
    QCOMPARE(startup::IBASEAC(f.session, f.defaults), startup::DatabaseState::Ok);
    QCOMPARE(f.session.db.IBDATABASE.charset(), QString());
    QCOMPARE(f.session.db.IBTransaction1.value("SELECT KURUM FROM TANIM").toString(),
             QStringLiteral("ÇAĞLAYAN BELEDİYESİ"));
}

void TestStartup::missingDatabaseSetsTheFlag()
{
    Fixture f;
    f.store("YOL", f.dir.filePath("nowhere"));
    QCOMPARE(startup::IBASEAC(f.session, f.defaults), startup::DatabaseState::ConnectionFailed);
    QVERIFY(f.session.connectionFailed);
    QVERIFY(!f.session.db.IBDATABASE.isOpen());
    QVERIFY(f.prompt.done()); // nothing shown at this point
}

void TestStartup::notAKelmaDatabase()
{
    Fixture f;
    TempDatabase db;
    {
        fb::Attachment a;
        db.createEmpty(a);
    }
    f.store("YOL", db.folder());
    // Said, naming the file, then repaired like a place that could not be reached.
    f.prompt.expectMessage(db.path() + " bir KELMA veritabanı değil");
    QCOMPARE(startup::begin(f.session, f.defaults), startup::DatabaseState::NotKelma);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QVERIFY(f.session.connectionFailed);
    QVERIFY(!f.session.db.IBDATABASE.isOpen());

    {
        fb::Attachment a;
        f.session.db.closeAll();
        a.open(TempDatabase::options(db.path()));
        fb::Transaction t(a);
        t.executeRaw("CREATE TABLE TANIM (VER VARCHAR(10), CHSET VARCHAR(1))");
        t.commit();
    }
    QCOMPARE(startup::IBASEAC(f.session, f.defaults), startup::DatabaseState::NoSettingsRow);
}

void TestStartup::yearDatabase()
{
    Fixture f;
    TempDatabase db;
    {
        fb::Attachment a;
        db.createMain(a);
    }
    db.createYear("2021");
    f.store("YOL", db.folder());
    startup::IBASEAC(f.session, f.defaults);
    f.session.general.TEXTVT = QStringLiteral("A"); // contents kept in yearly databases
    QVERIFY(startup::TEXTVTAC(f.session, "2021"));
    QVERIFY(f.session.textOpen);
    QVERIFY(f.session.db.IBTEXTTrans.isActive());

    // A missing year says which file is missing and how it is made.
    const QString missing = workstation::textDatabaseName(QString(), db.folder(), "2019");
    f.prompt.expectMessage(QStringLiteral("DİKKAT! TEXT Veritabanı açılamadı\n%1\nBu dosya yok.\n"
                                          "Çalışma yılının eki veritabanı yoksa sistem yöneticiniz şu komutla "
                                          "oluşturur:\nkelma-admin create-year %1").arg(missing));
    QVERIFY(!startup::TEXTVTAC(f.session, "2019"));
    QVERIFY(f.session.activationGuard);
    // The year open before stays open for the records of its year.
    QVERIFY(f.session.textOpen);
    QCOMPARE(f.session.textYear, QStringLiteral("2021"));
    QVERIFY(f.session.db.IBTEXTDB.isOpen());
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    // The main database is not touched.
    QVERIFY(f.session.db.IBDATABASE.isOpen());
}

void TestStartup::secondInstanceRefused()
{
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path());
    QVERIFY(first->acquire());
    SingleInstance second(dir.path());
    QVERIFY(!second.acquire());
    QVERIFY(SingleInstance::message().startsWith("Dikkat! KELMA Proragramı zaten çalışıyor...."));
    first.reset();
    QVERIFY(second.acquire());

    // A lock left by a run that crashed is taken over.
    QTemporaryDir other;
    QFile stale(other.filePath("KELMA.EXE"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("999999\nkelma\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    SingleInstance after(other.path());
    QVERIFY(after.acquire());
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
