// Prints how long the main window's minute tick takes to count the routing rows
// waiting for approval, for the whole institution and for one department, as
// the routing table grows; and how long a login check and the loading of a
// user's rights take. Everything runs on the one user-interface thread.
//
//   bench_notifications [largest row count]     (default 100000)

#include "timing.h"

#include "core/clock.h"
#include "core/generalsettings.h"
#include "shell/mainwindowlogic.h"
#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/statement.h"
#include "db/newdatabase.h"
#include "users/login.h"
#include "users/rights.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

class SilentPrompt : public Prompt
{
public:
    void message(const QString &) override {}
    void error(const QString &, const QString &) override {}
    bool question(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    QString folder(const QString &, const QString &) override { return {}; }
};


// Routing rows as a busy registry office leaves them: half incoming, half
// outgoing, spread over 50 departments, four in five already approved.
void addRouting(fb::Transaction &t, int from, int to)
{
    fb::Statement evbrm(t, QStringLiteral("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (:T,:K,:B,:O)"));
    fb::Statement giden(t, QStringLiteral("INSERT INTO GIDEN (KAYNO,ZDUR,BIRKOD) VALUES (:K,:Z,:B)"));
    for (int i = from; i < to; ++i) {
        const bool outgoing = i % 2;
        evbrm.bind(QStringLiteral("T"), outgoing ? 2 : 1);
        evbrm.bind(QStringLiteral("K"), i);
        evbrm.bind(QStringLiteral("B"), 1 + i % 50);
        evbrm.bind(QStringLiteral("O"), i % 5 ? QVariant(QStringLiteral("E")) : QVariant());
        evbrm.execute();
        if (outgoing) {
            giden.bind(QStringLiteral("K"), i);
            giden.bind(QStringLiteral("Z"), i % 3 ? QStringLiteral("D") : QStringLiteral("İ"));
            giden.bind(QStringLiteral("B"), 1 + (i / 2) % 50);
            giden.execute();
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int largest = std::max(1000, app.arguments().value(1, QStringLiteral("100000")).toInt());

    QTemporaryDir dir;
    fb::ConnectOptions options;
    options.database = dir.filePath(QStringLiteral("KELMA.GDB"));
    options.password = QStringLiteral("WEXD");
    options.charset = QStringLiteral("WIN1254");
    fb::CreateOptions create;
    create.forcedWrites = false;
    newdb::createMain(options, create);

    SilentPrompt prompt;
    SystemClock clock;
    Session s(prompt, clock, [&] {
        return std::make_unique<QSettings>(dir.filePath(QStringLiteral("KELMA.ini")), QSettings::IniFormat);
    });
    s.db.openMain(options.database);
    s.general = generalsettings::readRow(s.db.IBTransaction1);
    fb::Transaction &t = s.db.IBTransaction1;
    fb::Transaction fill(s.db.IBDATABASE);

    std::printf("Minute tick: counting routing rows waiting for approval (median of 5)\n");
    std::printf("%12s %20s %20s\n", "rows", "no department", "one department");
    int rows = 0;
    for (int target = 1000; target <= largest; target *= 10) {
        addRouting(fill, rows, target);
        fill.commit();
        rows = target;
        const double all = bench::medianMs(5, [&] { mainwindow::EVDURGUNC(t, 0); });
        const double one = bench::medianMs(5, [&] { mainwindow::EVDURGUNC(t, 7); });
        std::printf("%12d %17.1f ms %17.1f ms\n", rows, all, one);
    }

    const double login = bench::medianMs(25, [&] {
        users::Login l(s);
        l.open();
        l.Tamam(QStringLiteral("ZIRVO"), QStringLiteral("ZIRVO"));
    });
    s.userNumber = 1;
    const double grid = bench::medianMs(25, [&] {
        rights::RIGHTSAKTAR(s);
        for (int code = 1; code <= 30; ++code)
            rights::HAKBUL(s, code);
    });
    std::printf("login check (one user row, password unscrambled)    %7.2f ms\n", login);
    std::printf("rights loaded and 30 codes looked up                %7.2f ms\n", grid);
    return 0;
}
