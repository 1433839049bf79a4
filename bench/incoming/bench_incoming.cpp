// Save latency of one incoming document with five routing rows, and the time to
// open one in edit mode, on a database holding many incoming documents.
//
//   bench_incoming [documents] [saves]     (defaults 100000 and 50)

#include "registers/incoming.h"

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/statement.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

void print(const char *what, QList<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %7.2f ms   p90 %7.2f ms   max %7.2f ms\n", what, ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.last());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int documents = std::max(1, app.arguments().value(1, QStringLiteral("100000")).toInt());
    const int saves = std::max(1, app.arguments().value(2, QStringLiteral("50")).toInt());

    TempDatabase db;
    {
        fb::Attachment a;
        db.createMain(a);
        fb::Transaction t(a);
        for (int b = 1; b <= 5; ++b) {
            t.execute("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (:K,:B,'B','AD SOYAD','ŞEF')",
                      {{"K", b}, {"B", QStringLiteral("BİRİM %1").arg(b)}});
        }
        QElapsedTimer fill;
        fill.start();
        fb::Statement ins(t, "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,ZDUR,ZNO,GIZDER,GSIRNO,KONU) "
                             "VALUES (:K,:N,:T,'D',:Z,'Ö',:K,:KONU)");
        for (int i = 1; i <= documents; ++i) {
            // Spread over three years, most of them in the working one.
            const QDate date = QDate(2019 + (i % 3 == 0 ? 0 : 2), 1, 1).addDays(i % 360);
            ins.bind("K", i);
            ins.bind("N", i);
            ins.bind("T", date);
            ins.bind("Z", QString::number(i));
            ins.bind("KONU", QStringLiteral("Örnek konu %1").arg(i));
            ins.execute();
        }
        t.executeRaw(QStringLiteral("SET GENERATOR GEN_GELKAYNO TO %1").arg(documents));
        t.commit();
        std::printf("%d incoming documents written in %.1f s\n", documents, fill.elapsed() / 1000.0);
    }

    ScriptedPrompt prompt;
    FixedClock clock(QDateTime(QDate(2021, 8, 26), QTime(9, 30)));
    Session session(prompt, clock, [] { return std::make_unique<QSettings>(); });
    session.db.openMain(db.path());
    session.workstation.year = QStringLiteral("2021");

    QList<double> saveMs, openMs;
    QList<int> saved;
    for (int i = 0; i < saves; ++i) {
        IncomingRecord r(session);
        r.openNew();
        r.setValue("KONU", QStringLiteral("Ölçüm"));
        r.routing().routeAll();
        QElapsedTimer t;
        t.start();
        if (!r.save(QStringLiteral("26/08/2021"))) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(prompt.report()));
            return 1;
        }
        saveMs << t.nsecsElapsed() / 1e6;
        saved << r.kayno();
    }
    for (int kayno : saved) {
        IncomingRecord r(session);
        QElapsedTimer t;
        t.start();
        r.openExisting(kayno);
        openMs << t.nsecsElapsed() / 1e6;
    }
    std::printf("embedded database, %d saves\n", saves);
    print("save (numbering, row, 5 routing rows, commit)", saveMs);
    print("open in edit mode (row and routing rows)", openMs);
    return 0;
}
