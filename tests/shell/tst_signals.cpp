// The real program, logged in from the command line, ended by a signal as a
// logout or a shutdown ends it: it closes the way "Program Sonu" does.

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestSignals : public QObject
{
    Q_OBJECT

private slots:
    void endsCleanlyOnSignal_data();
    void endsCleanlyOnSignal();
};

void TestSignals::endsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestSignals::endsCleanlyOnSignal()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("DATA/KELMA"));
    QDir(dir.path()).mkpath(QStringLiteral("home/.config"));
    const QString year = QString::number(QDate::currentDate().year());
    for (const QStringList &args : {QStringList{QStringLiteral("create"), QStringLiteral("DATA/KELMA/KELMA.GDB")},
                                    QStringList{QStringLiteral("create-year"),
                                                QStringLiteral("DATA/KELMA/TEXT%1.GDB").arg(year)}}) {
        QProcess admin;
        admin.setWorkingDirectory(dir.path());
        admin.setProcessChannelMode(QProcess::MergedChannels);
        admin.start(QStringLiteral(KELMA_ADMIN_BINARY), args);
        QVERIFY(admin.waitForFinished(120000));
        QVERIFY2(admin.exitCode() == 0, admin.readAll().constData());
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KELMA_REPORT_READY"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("home/.config")));
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    QProcess kelma;
    kelma.setProcessEnvironment(env);
    kelma.setWorkingDirectory(dir.path());
    kelma.start(QStringLiteral(KELMA_BINARY), {QStringLiteral("ZIRVO"), QStringLiteral("ZIRVO")});
    QByteArray out;
    while (!out.contains("ready") && kelma.waitForReadyRead(30000))
        out += kelma.readAllStandardOutput();
    QVERIFY2(out.contains("ready"), kelma.readAllStandardError().constData());

    const QString settings = dir.filePath(QStringLiteral("home/.config/ZIRVO/KELMA.conf"));
    QVERIFY(!QSettings(settings, QSettings::IniFormat).contains(QStringLiteral("BFORM")));
    QElapsedTimer t;
    t.start();
    ::kill(pid_t(kelma.processId()), signal);
    QVERIFY2(kelma.waitForFinished(5000), "still running five seconds after the signal");
    qInfo("ended %lld ms after the signal", t.elapsed());
    QCOMPARE(kelma.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kelma.exitCode(), 0);
    // Written only when the window closes the normal way.
    const QSettings written(settings, QSettings::IniFormat);
    QCOMPARE(written.value(QStringLiteral("BFORM")).toString(), QStringLiteral("2"));
    QCOMPARE(written.value(QStringLiteral("USR")).toString(), QStringLiteral("ZIRVO"));
    const QByteArray errors = kelma.readAllStandardError();
    QVERIFY2(!errors.contains("shutdown"), errors.constData());
}

QTEST_GUILESS_MAIN(TestSignals)
#include "tst_signals.moc"
