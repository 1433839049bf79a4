#include "listopening.h"

#include "lists/registerlist.h"

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/statement.h"
#include "scriptedprompt.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace bench {

namespace {

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

int monthFilter(const lists::ListDescription &d)
{
    for (qsizetype i = 0; i < d.filters.size(); ++i) {
        if (d.filters[i].kind == lists::Filter::Month)
            return int(i);
    }
    return -1;
}

} // namespace

void measureListOpening(const QString &title, const QString &database, const lists::ListDescription &description,
                        int runs)
{
    std::printf("%s\n", qPrintable(title));
    ScriptedPrompt prompt;
    FixedClock clock(QDateTime(QDate(2021, 8, 26), QTime(9, 30)));
    Session s(prompt, clock, [] { return std::make_unique<QSettings>(); });
    s.db.openMain(database);
    s.workstation.year = QStringLiteral("2021");

    QList<double> activation, first, whole, baseline, ratios, firstCpu, wholeCpu, baselineCpu;
    int rows = 0, bareRows = 0;
    QString plan;
    for (int run = 0; run < runs; ++run) {
        lists::RegisterList list(s, description);
        QElapsedTimer t;
        t.start();
        list.activate(); // filters filled, the working year's current month listed
        list.fetch(100);
        activation << t.nsecsElapsed() / 1e6;

        t.restart();
        const double cpu = cpuMs();
        list.choose(monthFilter(description), 0); // the whole working year
        list.fetch(100);
        first << t.nsecsElapsed() / 1e6;
        firstCpu << cpuMs() - cpu;
        list.fetchAll();
        // The grid paints one screenful of the cells it holds.
        for (int r = 0; r < std::min(30, list.rowCount()); ++r) {
            for (int c = 0; c < description.columns.size(); ++c)
                list.display(r, c);
        }
        whole << t.nsecsElapsed() / 1e6;
        wholeCpu << cpuMs() - cpu;
        rows = list.rowCount();
        plan = list.plan();

        const double bareCpu = cpuMs();
        baseline << bare(s, list.sql(), list.parameters(), &bareRows);
        baselineCpu << cpuMs() - bareCpu;
        ratios << whole.last() / baseline.last();
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("  plan: %s\n", qPrintable(plan));
    std::printf("  %-52s %9.1f ms\n", "activation (filters, one month, first rows)", median(activation));
    std::printf("  %-52s %9.1f ms   cpu %7.1f ms   (goal < 100 ms)\n", "working year: first 100 rows",
                median(first), median(firstCpu));
    std::printf("  %-52s %9.1f ms   cpu %7.1f ms   %d rows\n", "working year: every row read, a screenful shown",
                median(whole), median(wholeCpu), rows);
    std::printf("  %-52s %9.1f ms   cpu %7.1f ms   %d rows\n", "bare read of the same statement", median(baseline),
                median(baselineCpu), bareRows);
    std::printf("  %-52s %9.2f x    (goal <= 1.2; runs %.2f-%.2f)\n", "list / bare, median of the runs",
                median(ratios), ratios.first(), ratios.last());
}

} // namespace bench
