// A database user of the office's own on a private Firebird server: granted
// what README says, used by a workstation from its settings and by the
// administrator's tool with a password that never shows on its command line.

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "db/newdatabase.h"
#include "shell/startup.h"

#include "privateserver.h"
#include "scriptedprompt.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kUser = QStringLiteral("KELMAWS");
const QString kPassword = QStringLiteral("Gizli-1");

// The grants of README, as the IT person runs them.
const char kGrants[] = R"(EXECUTE BLOCK AS
  DECLARE t VARCHAR(63);
BEGIN
  FOR SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS
      WHERE RDB$SYSTEM_FLAG = 0 AND RDB$VIEW_BLR IS NULL INTO :t DO
    EXECUTE STATEMENT 'GRANT SELECT, INSERT, UPDATE, DELETE ON "' || t || '" TO USER KELMAWS';
  FOR SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS
      WHERE RDB$SYSTEM_FLAG = 0 INTO :t DO
    EXECUTE STATEMENT 'GRANT USAGE ON GENERATOR "' || t || '" TO USER KELMAWS';
END)";

} // namespace

class TestServerLogin : public QObject
{
    Q_OBJECT

    PrivateServer server;
    QString database;

private slots:
    void initTestCase();
    void adminPasswordSources_data();
    void adminPasswordSources();
    void workstationLogsInAsItsOwnUser();
};

void TestServerLogin::initTestCase()
{
    const QString why = server.prepareEnvironment();
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    const QString failed = server.start();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    database = server.databaseName(QStringLiteral("KELMA.GDB"));
    try {
        fb::CreateOptions c;
        c.forcedWrites = false;
        newdb::createMain(Connections::login(database, QStringLiteral("WIN1254")), c);
        fb::Attachment a;
        a.open(Connections::login(database, QStringLiteral("WIN1254")));
        fb::Transaction t(a);
        t.executeRaw(QStringLiteral("CREATE USER %1 PASSWORD '%2' USING PLUGIN Srp").arg(kUser, kPassword));
        t.commit();
        fb::Transaction g(a);
        g.executeRaw(QString::fromLatin1(kGrants));
        g.executeRaw(QStringLiteral("GRANT ALTER ANY SEQUENCE TO USER KELMAWS"));
        g.commit();
    } catch (const fb::Error &e) {
        QFAIL(qPrintable(e.details() + u'\n' + server.log()));
    }
}

void TestServerLogin::adminPasswordSources_data()
{
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("environment") << kPassword << "" << QStringList{} << 0;
    QTest::newRow("standard input") << "" << kPassword + "\n" << QStringList{"--password-stdin"} << 0;
    QTest::newRow("standard input before a wrong environment")
        << "yanlis" << kPassword + "\r\n" << QStringList{"--password-stdin"} << 0;
    QTest::newRow("old option still works") << "" << "" << QStringList{"--password", kPassword} << 0;
    QTest::newRow("wrong in the environment") << "yanlis" << "" << QStringList{} << 1;
    QTest::newRow("none: the default is not this user's") << "" << "" << QStringList{} << 1;
}

void TestServerLogin::adminPasswordSources()
{
    QFETCH(QString, environment);
    QFETCH(QString, input);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QProcessEnvironment env = server.environment();
    env.remove(QStringLiteral("KELMA_DB_PASSWORD"));
    if (!environment.isEmpty())
        env.insert(QStringLiteral("KELMA_DB_PASSWORD"), environment);
    QProcess admin;
    admin.setProcessEnvironment(env);
    admin.setProcessChannelMode(QProcess::MergedChannels);
    admin.start(QStringLiteral(KELMA_ADMIN_BINARY),
                QStringList{QStringLiteral("--user"), kUser} + options + QStringList{QStringLiteral("info"), database});
    QVERIFY(admin.waitForStarted());
    admin.write(input.toUtf8());
    admin.closeWriteChannel();
    QVERIFY(admin.waitForFinished(60000));
    const QByteArray out = admin.readAll();
    QVERIFY2(admin.exitCode() == exitCode, out.constData());
    if (exitCode == 0)
        QVERIFY2(out.contains("USERS: 1"), out.constData());
}

void TestServerLogin::workstationLogsInAsItsOwnUser()
{
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("KELMA.ini"));
    {
        QSettings store(ini, QSettings::IniFormat);
        store.setValue(QStringLiteral("SRV"), QStringLiteral("127.0.0.1/%1").arg(server.port()));
        store.setValue(QStringLiteral("YOL"), QDir(server.folder()).filePath(QStringLiteral("data")));
        store.setValue(QStringLiteral("DBUSER"), kUser);
        store.setValue(QStringLiteral("DBSIFRE"), kPassword);
    }
    ScriptedPrompt prompt;
    FixedClock clock(QDateTime(QDate(2021, 8, 26), QTime(9, 30)));
    Session s(prompt, clock, [&] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); });
    QCOMPARE(startup::IBASEAC(s, {clock.today(), home.path(), home.path()}), startup::DatabaseState::Ok);
    QVERIFY2(prompt.done(), qPrintable(prompt.report()));
    QCOMPARE(s.db.IBTransaction1.value(QStringLiteral("SELECT CURRENT_USER FROM RDB$DATABASE")).toString().trimmed(),
             kUser);
    // Writing the settings back at start leaves the office's login as it was.
    QCOMPARE(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("DBSIFRE")).toString(), kPassword);

    // The work of the screens goes through …
    fb::Transaction work(s.db.IBDATABASE);
    work.execute(QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (GEN_ID(GEN_BKOD,1),'DENEME','K')"));
    work.executeRaw(QStringLiteral("SET GENERATOR GEN_GELNO TO 0"));
    work.commit();
    // … what would change the database's make-up does not.
    fb::Transaction ddl(s.db.IBDATABASE);
    QVERIFY_THROWS_EXCEPTION(fb::Error, ddl.executeRaw(QStringLiteral("DROP TABLE BIRIM")));
    QVERIFY_THROWS_EXCEPTION(fb::Error, ddl.executeRaw(QStringLiteral("CREATE TABLE X (A INTEGER)")));
    ddl.rollback();
    s.db.closeAll();
}

QTEST_GUILESS_MAIN(TestServerLogin)
#include "tst_serverlogin.moc"
