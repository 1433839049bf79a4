// Prints how long the upgrade from 12.001 to the current version takes on a
// database with many incoming documents and attachment rows: the whole of
// "kelma-admin upgrade DB --all", and each step on its own as a start of the
// program runs it. With Firebird's gfix on the path, the whole upgrade is also
// measured with forced writes on, as an installed database has them.
//
//   bench_upgrade [incoming] [attachments] [runs]     (default 10000 20000 3)

#include "core/prompt.h"
#include "db/fb/attachment.h"
#include "db/fb/transaction.h"
#include "db/upgrade.h"

#include "legacydatabase.h"
#include "tempdatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace {

class SilentPrompt : public Prompt
{
public:
    void message(const QString &) override {}
    void error(const QString &text, const QString &details) override
    {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(text), qPrintable(details));
    }
    bool question(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    QString folder(const QString &, const QString &) override { return {}; }
};

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void print(const char *what, const QList<double> &v)
{
    std::printf("%-44s min %8.1f ms   median %8.1f ms   max %8.1f ms\n", what,
                *std::min_element(v.begin(), v.end()), median(v), *std::max_element(v.begin(), v.end()));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int incoming = args.value(1, QStringLiteral("10000")).toInt();
    const int attachments = args.value(2, QStringLiteral("20000")).toInt();
    const int runs = std::max(1, args.value(3, QStringLiteral("3")).toInt());

    TempDatabase fixture;
    QElapsedTimer timer;
    timer.start();
    {
        fb::Attachment a;
        legacy::create(fixture, a, 12001);
        fb::Transaction t(a);
        legacy::seedBulk(t, incoming, attachments);
        t.commit();
    }
    std::printf("fixture 12.001: %d incoming documents, %d attachment rows (+ the standard rows), "
                "built in %.1f s; forced writes off\n",
                incoming, attachments, timer.elapsed() / 1000.0);

    const QString gfix = QStandardPaths::findExecutable(QStringLiteral("gfix"));
    // Milliseconds for the whole upgrade of a fresh copy; negative on failure.
    auto upgradeCopy = [&](bool forcedWrites) {
        TempDatabase copy;
        QFile::copy(fixture.path(), copy.path());
        if (forcedWrites) {
            QProcess::execute(gfix, {QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-password"),
                                     QStringLiteral("WEXD"), QStringLiteral("-write"), QStringLiteral("sync"),
                                     copy.path()});
        }
        QProcess admin;
        QElapsedTimer t;
        t.start();
        admin.start(QStringLiteral(KELMA_ADMIN_BINARY), {QStringLiteral("upgrade"), copy.path(), QStringLiteral("--all")});
        admin.waitForFinished(600000);
        if (admin.exitCode() != 0) {
            std::fprintf(stderr, "kelma-admin upgrade --all failed:\n%s\n", admin.readAllStandardError().constData());
            return -1.0;
        }
        return t.nsecsElapsed() / 1e6;
    };

    QList<double> whole, wholeSync;
    QList<QList<double>> steps(4);
    for (int run = 0; run < runs; ++run) {
        whole << upgradeCopy(false);
        if (!gfix.isEmpty())
            wholeSync << upgradeCopy(true);
        if (whole.last() < 0 || (!wholeSync.isEmpty() && wholeSync.last() < 0))
            return 1;

        TempDatabase stepwise;
        QFile::copy(fixture.path(), stepwise.path());
        for (int step = 0; step < 4; ++step) {
            fb::Attachment a;
            a.open(TempDatabase::options(stepwise.path(), QString()));
            fb::Transaction main(a);
            SilentPrompt prompt;
            SchemaUpgrade upgrade(main, prompt);
            timer.restart();
            const SchemaUpgrade::Result r = upgrade.VERKONT();
            a.close(fb::Attachment::EndAction::Commit);
            steps[step] << timer.nsecsElapsed() / 1e6;
            if (r.outcome != SchemaUpgrade::Outcome::Upgraded) {
                std::fprintf(stderr, "step %d did not run\n", step + 1);
                return 1;
            }
        }
        if (run == 0) {
            fb::Attachment a;
            a.open(TempDatabase::options(stepwise.path()));
            fb::Transaction t(a);
            std::printf("after the steps: %lld routing rows, attachment numbers up to %lld\n",
                        t.value(QStringLiteral("SELECT COUNT(*) FROM EVBRM")).toLongLong(),
                        t.value(QStringLiteral("SELECT MAX(BELKAYNO) FROM GELTEXT")).toLongLong());
        }
    }
    std::printf("%d runs\n", runs);
    print("kelma-admin upgrade --all (process)", whole);
    if (!wholeSync.isEmpty())
        print("the same, forced writes on", wholeSync);
    const char *names[] = {"step 13.001 (one start)", "step 14.001 (one start)", "step 15.001 (one start)",
                           "step 16.001 (one start)"};
    for (int step = 0; step < 4; ++step)
        print(names[step], steps[step]);
    return 0;
}
