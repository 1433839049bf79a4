// Opening the incoming list on one working year of a register of many years,
// beside a bare read of the same rows by the same statement in the same run.
//
//   bench_lists [--documents N] [--years Y] [--runs R] [--database PATH]
//
// Without --database it generates two registers of N documents over Y years
// ending in the working year 2021 (defaults 50000 and 25; 500000 is the full
// size): one made at the current version, one made at 12.001 and taken
// through the upgrade steps. With --database it measures that database
// (embedded path or host:path) as it stands.

#include "lists/incominglist.h"
#include "lists/registerlist.h"

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/upgrade.h"
#include "legacydatabase.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kMonthFilter = 5;
constexpr int kBatch = 10000;
constexpr int kFirstKey = 1000000;

/// Documents spread evenly over the years; one or two departments each, a
/// tenth answered, every second with an attachment row. `legacy`: only the
/// columns of 12.001, departments in GELEN.BIRKOD as they were kept then.
void generate(fb::Attachment &a, int documents, int years, bool legacy)
{
    QElapsedTimer clock;
    clock.start();
    fb::Transaction t(a);
    // Clear of the keys the old databases' standard rows use.
    for (int b = 101; b <= 108; ++b) {
        t.execute(QStringLiteral("INSERT INTO BIRIM (BKOD, TUR, BIRIM) VALUES (:K, 'B', :B)"),
                  {{"K", b}, {"B", QStringLiteral("BİRİM %1").arg(b)}});
    }
    for (int b = 111; b <= 160; ++b) {
        t.execute(QStringLiteral("INSERT INTO BIRIM (BKOD, TUR, BIRIM) VALUES (:K, 'K', :B)"),
                  {{"K", b}, {"B", QStringLiteral("KURUM %1").arg(b)}});
    }
    t.commit();

    const QString columns = legacy ? QStringLiteral("BIRKOD") : QStringLiteral("ETKOD");
    fb::Statement doc(t, QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, EVTAR, EVSAY, KONU, KURKOD, "
                                        "CEVDUR, GIZDER, ZDUR, ZNO, ILGNO, %1) VALUES (:K, :N, :D, :D, :S, :KONU, "
                                        ":B, :C, 'Ö', 'D', :N, 0, :X)")
                             .arg(columns));
    std::unique_ptr<fb::Statement> route;
    if (!legacy)
        route = std::make_unique<fb::Statement>(
            t, QStringLiteral("INSERT INTO EVBRM (TUR, EKAYNO, BKOD, ONAY) VALUES (1, :K, :B, :O)"));
    fb::Statement answer(t, QStringLiteral("INSERT INTO GIDEN (KAYNO, GIDNO, GIDTAR, ILGNO, ILGDUR) "
                                           "VALUES (:K, :K, :D, :I, :R)"));
    fb::Statement text(t, QStringLiteral("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR) VALUES (:K, 1, 'A', '1')"));

    const int perYear = std::max(1, documents / years);
    const int firstYear = 2021 - years + 1;
    for (int i = 1; i <= documents; ++i) {
        const int y = std::min(years - 1, (i - 1) / perYear);
        const int inYear = (i - 1) % perYear;
        const QDate date = QDate(firstYear + y, 1, 1).addDays(inYear * 360 / perYear);
        const int key = kFirstKey + i;
        doc.bindAll({{"K", key}, {"N", inYear + 1}, {"D", date}, {"S", QStringLiteral("B.14.%1").arg(i)},
                     {"KONU", QStringLiteral("Örnek konu %1: şehir içi ulaşım").arg(i)}, {"B", 111 + i % 50},
                     {"C", i % 3 == 0 ? "E" : "H"}, {"X", legacy ? 101 + i % 8 : 1 + i % 2}});
        doc.execute();
        if (route) {
            route->bindAll({{"K", key}, {"B", 101 + i % 8}, {"O", i % 5 == 0 ? QVariant() : QVariant("E")}});
            route->execute();
            if (i % 4 == 0) {
                route->bindAll({{"K", key}, {"B", 101 + (i + 3) % 8}, {"O", QVariant()}});
                route->execute();
            }
        }
        if (i % 10 == 0) {
            answer.bindAll({{"K", key}, {"D", date}, {"I", key}, {"R", "G"}});
            answer.execute();
        } else if (i % 10 == 5) {
            // A petition's answer whose key is an incoming key too.
            answer.bindAll({{"K", key}, {"D", date}, {"I", key}, {"R", "D"}});
            answer.execute();
        }
        if (i % 2 == 0) {
            text.bindAll({{"K", key}});
            text.execute();
        }
        if (i % kBatch == 0)
            t.commit();
    }
    t.commit();
    std::printf("  generated %d documents over %d years in %.1f s\n", documents, years, clock.elapsed() / 1000.0);
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

/// The same statement with the same parameters, read row by row and nothing more.
double bare(Session &s, const QString &sql, const fb::Params &params, int *rows)
{
    QElapsedTimer t;
    t.start();
    fb::TransactionOptions o;
    o.readOnly = true;
    fb::Transaction tr(s.db.IBDATABASE, o);
    fb::Statement st(tr, sql);
    st.bindAll(params);
    st.execute();
    int n = 0;
    while (st.next()) {
        const QVariantList r = st.row();
        n += !r.isEmpty();
    }
    *rows = n;
    return t.nsecsElapsed() / 1e6;
}

void measure(const char *title, const QString &database, int runs)
{
    std::printf("%s\n", title);
    ScriptedPrompt prompt;
    FixedClock clock(QDateTime(QDate(2021, 8, 26), QTime(9, 30)));
    Session s(prompt, clock, [] { return std::make_unique<QSettings>(); });
    s.db.openMain(database);
    s.workstation.year = QStringLiteral("2021");

    QList<double> activation, first, whole, baseline;
    int rows = 0, bareRows = 0;
    QString plan, sql;
    fb::Params params;
    for (int run = 0; run < runs; ++run) {
        lists::RegisterList list(s, lists::incomingList());
        QElapsedTimer t;
        t.start();
        list.activate(); // filters filled, the working year's current month listed
        list.fetch(100);
        activation << t.nsecsElapsed() / 1e6;

        t.restart();
        list.choose(kMonthFilter, 0); // the whole working year
        list.fetch(100);
        first << t.nsecsElapsed() / 1e6;
        list.fetchAll();
        // The grid paints one screenful of the cells it holds.
        for (int r = 0; r < std::min(30, list.rowCount()); ++r) {
            for (int c = 0; c < list.description().columns.size(); ++c)
                list.display(r, c);
        }
        whole << t.nsecsElapsed() / 1e6;
        rows = list.rowCount();
        plan = list.plan();
        sql = list.sql();
        params = list.parameters();

        baseline << bare(s, sql, params, &bareRows);
    }
    const double w = median(whole), b = median(baseline);
    std::printf("  plan: %s\n", qPrintable(plan));
    std::printf("  %-52s %9.1f ms\n", "activation (filters, one month, first rows)", median(activation));
    std::printf("  %-52s %9.1f ms   (goal < 100 ms)\n", "working year: first 100 rows", median(first));
    std::printf("  %-52s %9.1f ms   %d rows\n", "working year: every row read, a screenful shown", w, rows);
    std::printf("  %-52s %9.1f ms   %d rows\n", "bare read of the same statement", b, bareRows);
    std::printf("  %-52s %9.2f x    (goal <= 1.2)\n", "list / bare", w / b);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int documents = 50000, years = 25, runs = 3;
    QString database;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--documents"))
            documents = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--years"))
            years = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
    }
    try {
        if (!database.isEmpty()) {
            measure(qPrintable(QStringLiteral("database %1").arg(database)), database, runs);
            return 0;
        }
        {
            TempDatabase db;
            fb::Attachment a;
            db.createMain(a);
            generate(a, documents, years, false);
            a.close();
            measure("fresh database (current version)", db.path(), runs);
        }
        {
            TempDatabase db;
            fb::Attachment a;
            legacy::create(db, a, 12001);
            generate(a, documents, years, true);
            QElapsedTimer t;
            t.start();
            ScriptedPrompt quiet;
            fb::Transaction tr(a);
            SchemaUpgrade upgrade(tr, quiet);
            const auto r = upgrade.upgradeToCurrent();
            tr.commit();
            a.close();
            std::printf("  upgraded from 12.001 to %s in %.1f s\n", qPrintable(r.versionText),
                        t.elapsed() / 1000.0);
            measure("database upgraded from 12.001", db.path(), runs);
        }
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.details()));
        return 1;
    }
    return 0;
}
