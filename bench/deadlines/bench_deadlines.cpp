// Prints how long the main window's minute tick takes to count the overdue and
// near reply deadlines (four statements: incoming documents and petitions,
// overdue and near), for the whole institution and for one department, beside
// a bare baseline measured in the same run: four one-row statements, the least
// any four statements cost on that connection. For contrast it also times the
// same counts written so that no deadline index can serve them.
//
//   bench_deadlines [--documents N] [--forgotten-years Y] [--runs R] [--database PATH]
//
// Without --database it fills a fresh embedded database with N incoming
// documents (default 500,000) over ten years, each routed to one of 50
// departments, and N/5 petitions; three in ten documents and six in ten
// petitions ask for a reply, and one in ten of those of the last Y years
// (default 1) never got it recorded, so those rows stay overdue. The tick
// reads one index entry and one row per overdue or near row, so its cost
// follows how many there are, not the register's size: --forgotten-years 10
// shows an office that never links its answers. With --database (a file path or host:path) it measures
// that database as it is.

#include "timing.h"

#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "lists/deadlines.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

void generate(fb::Attachment &a, int documents, int forgottenYears, const QDate &today)
{
    fb::Transaction t(a);
    const QString start = today.addYears(-10).toString(Qt::ISODate);
    const QString forgotten = today.addYears(-forgottenYears).toString(Qt::ISODate);
    // Filled inside the engine: a client-side insert per row would take minutes.
    t.executeRaw(QStringLiteral(
        "EXECUTE BLOCK AS\n"
        "DECLARE I INTEGER = 1;\n"
        "DECLARE D DATE;\n"
        "BEGIN\n"
        "  WHILE (I <= %1) DO BEGIN\n"
        "    D = DATE '%2' + CAST(I AS BIGINT) * 3650 / %1;\n"
        "    INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU,CEVDUR,CEVNO,CEVTAR)\n"
        "    VALUES (:I, :I, :D, 'Belge', IIF(MOD(:I,10)<3,'E','H'),\n"
        "            IIF(MOD(:I,10)<3 AND (MOD(:I,97)>=10 OR :D<DATE '%3'), :I+1, 0), IIF(MOD(:I,10)<3, :D+15, NULL));\n"
        "    INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (1, :I, 1+MOD(:I,50), 'E');\n"
        "    IF (MOD(:I,5)=0) THEN\n"
        "      INSERT INTO DILEKCE (KAYNO,DILNO,GELTAR,KONU,CEVDUR,CEVNO,CEVTAR,BIRKOD)\n"
        "      VALUES (:I, :I, :D, 'Dilekçe', IIF(MOD(:I,10)<6,'E','H'),\n"
        "              IIF(MOD(:I,97)>=10 OR :D<DATE '%3', :I+1, 0), IIF(MOD(:I,7)=0, :D+20, NULL), 1+MOD(:I,50));\n"
        "    I = I + 1;\n"
        "  END\n"
        "END")
                     .arg(documents)
                     .arg(start, forgotten));
    t.commit();
    // The optimizer chooses by the selectivity it last measured.
    t.executeRaw(QStringLiteral("EXECUTE BLOCK AS\n"
                                "DECLARE N VARCHAR(63);\n"
                                "BEGIN\n"
                                "  FOR SELECT RDB$INDEX_NAME FROM RDB$INDICES WHERE RDB$SYSTEM_FLAG=0 INTO :N DO\n"
                                "    EXECUTE STATEMENT 'SET STATISTICS INDEX ' || TRIM(:N);\n"
                                "END"));
    t.commit();
}

void measure(const QString &database, int runs)
{
    ScriptedPrompt prompt;
    SystemClock clock;
    Session s(prompt, clock, [] { return std::make_unique<QSettings>(); });
    s.db.openMain(database);
    s.general = generalsettings::readRow(s.db.IBTransaction1);
    const deadlines::Rules rules = deadlines::Rules::of(s.general);
    const QDate today = clock.today();
    fb::Transaction &t = s.db.IBTransaction1;

    std::printf("  register: %lld incoming documents, %lld petitions\n",
                t.value(QStringLiteral("SELECT COUNT(*) FROM GELEN")).toLongLong(),
                t.value(QStringLiteral("SELECT COUNT(*) FROM DILEKCE")).toLongLong());
    deadlines::Counts all = deadlines::count(t, 0, rules, today);
    std::printf("  whole institution: %lld overdue, %lld near incoming; %lld overdue, %lld near petitions\n",
                all.overdueIncoming, all.nearIncoming, all.overduePetitions, all.nearPetitions);
    for (auto reg : {deadlines::Register::Incoming, deadlines::Register::Petition}) {
        const deadlines::CountQuery q = deadlines::countQuery(reg, deadlines::Which::Overdue, 7, rules, today);
        std::printf("  plan: %s\n", qPrintable(fb::Statement(t, q.sql).plan().simplified()));
    }

    // Four one-row statements, prepared each time as the tick's are.
    const double bare = bench::medianMs(runs, [&] {
        for (int i = 0; i < 4; ++i)
            t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$DATABASE"));
    });
    const double institution = bench::medianMs(runs, [&] { deadlines::count(t, 0, rules, today); });
    const double department = bench::medianMs(runs, [&] { deadlines::count(t, 7, rules, today); });
    // The same four counts with the keys hidden from the optimizer ("+0" on a date).
    const double scan = bench::medianMs(std::min(runs, 3), [&] {
        for (auto reg : {deadlines::Register::Incoming, deadlines::Register::Petition}) {
            for (auto which : {deadlines::Which::Overdue, deadlines::Which::Near}) {
                deadlines::CountQuery q = deadlines::countQuery(reg, which, 0, rules, today);
                q.sql.replace(QStringLiteral(" END)"), QStringLiteral(" END)+0"));
                t.value(q.sql, q.params);
            }
        }
    });
    for (auto reg : {deadlines::Register::Incoming, deadlines::Register::Petition}) {
        for (auto which : {deadlines::Which::Overdue, deadlines::Which::Near}) {
            const deadlines::CountQuery q = deadlines::countQuery(reg, which, 7, rules, today);
            const QString name = QStringLiteral("  one department: %1, %2")
                                     .arg(reg == deadlines::Register::Incoming ? "incoming" : "petitions",
                                          which == deadlines::Which::Overdue ? "overdue" : "near");
            std::printf("  %-44s %9.2f ms\n", qPrintable(name), bench::medianMs(runs, [&] { t.value(q.sql, q.params); }));
        }
    }
    std::printf("  %-44s %9.2f ms\n", "bare baseline (4 one-row statements)", bare);
    std::printf("  %-44s %9.2f ms   %6.1f x bare   (goal <= 20 ms)\n", "minute tick, whole institution",
                institution, institution / bare);
    std::printf("  %-44s %9.2f ms   %6.1f x bare\n", "minute tick, one department", department, department / bare);
    std::printf("  %-44s %9.2f ms   %6.1f x bare\n", "same counts without the indexes", scan, scan / bare);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    int documents = 500000, runs = 11, forgottenYears = 1;
    QString database;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--documents"))
            documents = std::max(1000, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--forgotten-years"))
            forgottenYears = std::clamp(args[i + 1].toInt(), 0, 10);
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
    }
    try {
        if (!database.isEmpty()) {
            std::printf("Reply-deadline counts of the minute tick, database %s (median of %d)\n",
                        qPrintable(database), runs);
            measure(database, runs);
            return 0;
        }
        TempDatabase db;
        {
            fb::Attachment a;
            db.createMain(a);
            QElapsedTimer t;
            t.start();
            generate(a, documents, forgottenYears, QDate::currentDate());
            std::printf("Reply-deadline counts of the minute tick, fresh embedded database (median of %d)\n", runs);
            std::printf("  filled in %.1f s\n", t.elapsed() / 1000.0);
            a.close();
        }
        measure(db.path(), runs);
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.details()));
        return 1;
    }
    return 0;
}
