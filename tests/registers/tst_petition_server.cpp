// Two workstations, each its own process, saving petitions and archive
// records into the same year through a Firebird server at the same time: no
// petition, delivery or archive number may be given twice.

#include "registers/archive.h"
#include "registers/petition.h"

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
    int failures = 0;
    for (int i = 0; i < saves; ++i) {
        bool saved;
        if ((i + seed) % 2) {
            PetitionRecord r(session);
            r.openNew();
            saved = r.save(QStringLiteral("26/08/2021"));
        } else {
            ArchiveRecord r(session);
            r.openNew();
            saved = r.save(QStringLiteral("26/08/2021"));
        }
        if (!saved)
            ++failures;
    }
    session.db.closeAll();
    std::printf("failures %d\n%s\n", failures, qPrintable(prompt.transcript().join(u'\n')));
    return failures == 0 ? 0 : 1;
}

} // namespace

class TestPetitionServer : public QObject
{
    Q_OBJECT

public:
    PrivateServer server;

private slots:
    void initTestCase();
    void twoProcessesNeverShareANumber();
};

void TestPetitionServer::initTestCase()
{
    const QString why = server.prepareEnvironment();
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    const QString failed = server.start();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
}

void TestPetitionServer::twoProcessesNeverShareANumber()
{
    const QString db = server.databaseName(QStringLiteral("KELMA.GDB"));
    fb::CreateOptions c;
    c.forcedWrites = false;
    fb::ConnectOptions o;
    o.database = db;
    o.password = QStringLiteral("WEXD");
    try {
        newdb::createMain(o, c);
    } catch (const fb::Error &e) {
        QFAIL(qPrintable(e.message() + "\n" + server.log()));
    }

    constexpr int kSaves = 150;
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
    const int petitions = t.value("SELECT COUNT(*) FROM DILEKCE").toInt();
    const int archived = t.value("SELECT COUNT(*) FROM ARSIV").toInt();
    QCOMPARE(petitions + archived, 2 * kSaves);
    QCOMPARE(t.value("SELECT COUNT(DISTINCT DILNO) FROM DILEKCE").toInt(), petitions);
    QCOMPARE(t.value("SELECT COUNT(DISTINCT ZNO) FROM DILEKCE").toInt(), petitions);
    QCOMPARE(t.value("SELECT COUNT(DISTINCT ARSNO) FROM ARSIV").toInt(), archived);
    QCOMPARE(t.value("SELECT MAX(ARSNO) FROM ARSIV").toInt(), archived);
}

int main(int argc, char **argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--worker") == 0) {
        QCoreApplication app(argc, argv);
        return runWorker(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    }
    QCoreApplication app(argc, argv);
    TestPetitionServer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_petition_server.moc"
