// Prints how long KELMA takes from process start to a ready main window on the
// embedded default database, and how long the first attach of a new process takes.
//
//   bench_startup [runs]     (default 10)

#include "db/fb/attachment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

struct Stats
{
    double min, median, max;
};

Stats stats(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return {v.first(), v[v.size() / 2], v.last()};
}

void print(const char *what, const Stats &s)
{
    std::printf("%-40s min %7.1f ms   median %7.1f ms   max %7.1f ms\n", what, s.min, s.median, s.max);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.value(1) == QLatin1String("--attach")) {
        // Child: one first attach in a fresh process.
        QElapsedTimer t;
        t.start();
        fb::Attachment a;
        fb::ConnectOptions o;
        o.database = args.value(2);
        o.password = QStringLiteral("WEXD");
        a.open(o);
        std::printf("%.3f\n", t.nsecsElapsed() / 1e6);
        return 0;
    }

    const int runs = std::max(1, args.value(1, QStringLiteral("10")).toInt());
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("DATA/KELMA"));
    const QString db = dir.filePath(QStringLiteral("DATA/KELMA/KELMA.GDB"));
    QProcess admin;
    admin.start(QStringLiteral(KELMA_ADMIN_BINARY), {QStringLiteral("create"), db});
    admin.waitForFinished(120000);
    if (admin.exitCode() != 0) {
        std::fprintf(stderr, "kelma-admin create failed\n");
        return 1;
    }
    const QString year = QString::number(QDate::currentDate().year());
    admin.start(QStringLiteral(KELMA_ADMIN_BINARY),
                {QStringLiteral("create-year"), dir.filePath(QStringLiteral("DATA/KELMA/TEXT%1.GDB").arg(year))});
    admin.waitForFinished(120000);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KELMA_EXIT_WHEN_READY"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("home/.config")));
    env.insert(QStringLiteral("TMPDIR"), dir.path());

    QList<double> ready;
    QList<double> attach;
    for (int i = 0; i < runs; ++i) {
        QProcess kelma;
        kelma.setProcessEnvironment(env);
        kelma.setWorkingDirectory(dir.path());
        QElapsedTimer t;
        t.start();
        // The first login of a fresh database, given on the command line.
        kelma.start(QStringLiteral(KELMA_BINARY), {QStringLiteral("ZIRVO"), QStringLiteral("ZIRVO")});
        bool ok = false;
        while (kelma.waitForReadyRead(30000)) {
            if (kelma.readAll().contains("ready")) {
                ok = true;
                break;
            }
        }
        const double ms = t.nsecsElapsed() / 1e6;
        kelma.waitForFinished(30000);
        if (!ok) {
            std::fprintf(stderr, "KELMA did not become ready: %s\n", kelma.readAllStandardError().constData());
            return 1;
        }
        ready << ms;

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--attach"), db});
        child.waitForFinished(30000);
        attach << child.readAllStandardOutput().trimmed().toDouble();
    }
    std::printf("KELMA start-up, embedded database, %d runs\n", runs);
    print("process start to ready main window", stats(ready));
    print("first attach in a new process", stats(attach));
    return 0;
}
