// Two workstations, each its own process, saving outgoing letters (and now and
// then an incoming document) through a Firebird server at the same time: no
// register number, department sequence or delivery number may be given twice.

#include "registers/incoming.h"
#include "registers/outgoing.h"

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "db/newdatabase.h"
#include "privateserver.h"
#include "scriptedprompt.h"

#include <QProcess>
#include <QtTest>

#include <cstdio>

namespace {

int runWorker(const QString &database, int saves, int seed)
{
    ScriptedPrompt prompt;
    FixedClock clock(QDateTime(QDate(2021, 8, 26), QTime(9, 30)));
    Session session(prompt, clock, [] { return std::make_unique<QSettings>(); });
    session.db.openMain(database);
    session.workstation.year = QStringLiteral("2021");
    session.general.ESDUR = QStringLiteral("B");
    int failures = 0;
    for (int i = 0; i < saves; ++i) {
        if (i % 4 == 3) {
            IncomingRecord in(session);
            in.openNew();
            failures += in.save(QStringLiteral("26/08/2021")) ? 0 : 1;
            continue;
        }
        OutgoingRecord r(session);
        r.openNew();
        r.setDepartment(1 + (i + seed) % 2);
        r.setZDUR((i + seed) % 3 ? QStringLiteral("D") : QStringLiteral("İ"));
        failures += r.save(QStringLiteral("26/08/2021")) ? 0 : 1;
    }
    session.db.closeAll();
    std::printf("failures %d\n%s\n", failures, qPrintable(prompt.transcript().join(u'\n')));
    return failures == 0 ? 0 : 1;
}

} // namespace

class TestOutgoingServer : public QObject
{
    Q_OBJECT

public:
    PrivateServer server;

private slots:
    void initTestCase();
    void twoProcessesNeverShareANumber();
};

void TestOutgoingServer::initTestCase()
{
    const QString why = server.prepareEnvironment();
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    const QString failed = server.start();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
}

void TestOutgoingServer::twoProcessesNeverShareANumber()
{
    const QString db = server.databaseName(QStringLiteral("KELMA.GDB"));
    fb::CreateOptions c;
    c.forcedWrites = false;
    fb::ConnectOptions o;
    o.database = db;
    o.password = QStringLiteral("WEXD");
    try {
        newdb::createMain(o, c);
        fb::Attachment a;
        a.open(o);
        fb::Transaction t(a);
        t.execute("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (1,'YAZI İŞLERİ','B','AHMET','MÜDÜR','YZ-')");
        t.execute("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (2,'İMAR','B','AYŞE','ŞEF','IM-')");
        t.commit();
    } catch (const fb::Error &e) {
        QFAIL(qPrintable(e.message() + "\n" + server.log()));
    }

    constexpr int kSaves = 120;
    QList<QProcess *> workers;
    for (int w = 0; w < 2; ++w) {
        auto *p = new QProcess(this);
        p->setProcessEnvironment(server.environment());
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--worker"), db, QString::number(kSaves), QString::number(w)});
        workers << p;
    }
    for (QProcess *p : workers) {
        QVERIFY(p->waitForFinished(240000));
        QVERIFY2(p->exitCode() == 0, p->readAll().constData());
    }
    fb::Attachment a;
    a.open(o);
    fb::Transaction t(a);
    const int outgoing = 2 * (kSaves - kSaves / 4);
    QCOMPARE(t.value("SELECT COUNT(*) FROM GIDEN").toInt(), outgoing);
    QCOMPARE(t.value("SELECT COUNT(DISTINCT GIDNO) FROM GIDEN").toInt(), outgoing);
    QCOMPARE(t.value("SELECT COUNT(*) FROM (SELECT BIRKOD, BSIRNO FROM GIDEN GROUP BY BIRKOD, BSIRNO "
                     "HAVING COUNT(*) > 1)").toInt(), 0);
    QCOMPARE(t.value("SELECT COUNT(*) FROM (SELECT ZDUR, ZNO FROM GIDEN GROUP BY ZDUR, ZNO "
                     "HAVING COUNT(*) > 1)").toInt(), 0);
    QCOMPARE(t.value("SELECT COUNT(DISTINCT GELNO) FROM GELEN").toInt(), 2 * (kSaves / 4));
}

int main(int argc, char **argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--worker") == 0) {
        QCoreApplication app(argc, argv);
        return runWorker(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    }
    QCoreApplication app(argc, argv);
    TestOutgoingServer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_outgoing_server.moc"
