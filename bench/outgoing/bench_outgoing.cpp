// Save latency of one outgoing letter with three destination departments on a
// register of many outgoing letters, beside the bare baseline measured in the
// same run: the same row and routing rows inserted and committed, no numbering.
//
//   bench_outgoing [--database PATH] [--documents N] [--saves N] [--indexes]
//
// --indexes first adds the indexes the numbering of outgoing letters can use
// (level, department, padded delivery number), to show what they would give.
// PATH is an embedded path or host:path; without it a temporary database is
// made. A database holding fewer letters than N is filled up first.

#include "registers/outgoing.h"

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/attachment.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/newdatabase.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

double median(QList<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void print(const char *what, QList<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-46s median %7.2f ms   p90 %7.2f ms   max %7.2f ms\n", what, ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.last());
}

QString option(const QStringList &args, const QString &name, const QString &fallback)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

void fill(const fb::ConnectOptions &options, int documents)
{
    fb::Attachment a;
    a.open(options);
    fb::Transaction t(a);
    if (t.value("SELECT COUNT(*) FROM BIRIM WHERE TUR='B' AND BKOD BETWEEN 1 AND 3").toInt() < 3) {
        for (int b = 1; b <= 3; ++b) {
            t.execute("UPDATE OR INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) "
                      "VALUES (:K,:B,'B','AD SOYAD','ŞEF',:O) MATCHING (BKOD)",
                      {{"K", b}, {"B", QStringLiteral("BİRİM %1").arg(b)}, {"O", QStringLiteral("B%1-").arg(b)}});
        }
    }
    const int have = t.value("SELECT COUNT(*) FROM GIDEN").toInt();
    QElapsedTimer clock;
    clock.start();
    fb::Statement ins(t, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO,ZDUR,ZNO,GIZDER,GSIRNO,KONU,CEVDUR,CEVNO) "
                         "VALUES (:K,:N,:T,:B,:N,:ZD,:Z,'Ö',:K,:KONU,'H',0)");
    const int base = std::max(0, t.value("SELECT MAX(KAYNO) FROM GIDEN").toInt());
    for (int i = have + 1; i <= documents; ++i) {
        // Spread over three years, most of them in the working one.
        const QDate date = QDate(2019 + (i % 3 == 0 ? 0 : 2), 1, 1).addDays(i % 360);
        ins.bind("K", base + i);
        ins.bind("N", i);
        ins.bind("T", date);
        ins.bind("B", 1 + i % 3);
        // Internal and external deliveries alternate, each numbered on its own.
        ins.bind("ZD", i % 2 ? QStringLiteral("D") : QStringLiteral("İ"));
        ins.bind("Z", QString::number(i / 2 + 1));
        ins.bind("KONU", QStringLiteral("Örnek konu %1").arg(i));
        ins.execute();
    }
    t.executeRaw(QStringLiteral("SET GENERATOR GEN_GIDKAYNO TO %1").arg(base + documents + 1));
    t.commit();
    if (documents > have)
        std::printf("%d outgoing letters written in %.1f s\n", documents - have, clock.elapsed() / 1000.0);
}

void addIndexes(const fb::ConnectOptions &options)
{
    fb::Attachment a;
    a.open(options);
    for (const char *sql : {"CREATE DESCENDING INDEX GIDEN_GSIRNO_DESC ON GIDEN (GSIRNO)",
                            "CREATE INDEX GIDEN_BIRKOD ON GIDEN (BIRKOD)",
                            "CREATE DESCENDING INDEX GIDEN_ZNO_DESC ON GIDEN COMPUTED BY (LPAD(ZNO, 15, '0'))"}) {
        try {
            fb::Transaction t(a);
            t.executeRaw(QString::fromLatin1(sql));
            t.commit();
        } catch (const fb::Error &) {
            // Already there from an earlier run on the same database.
        }
    }
    std::printf("with the numbering indexes on GIDEN\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int documents = std::max(1, option(args, "--documents", "100000").toInt());
    const int saves = std::max(3, option(args, "--saves", "50").toInt());
    TempDatabase temporary;
    fb::ConnectOptions options = TempDatabase::options(option(args, "--database", temporary.path()));
    try {
        if (!args.contains("--database")) {
            fb::Attachment a;
            temporary.createMain(a);
        } else {
            try {
                fb::Attachment a;
                a.open(options);
            } catch (const fb::Error &) {
                fb::CreateOptions create;
                create.forcedWrites = false;
                newdb::createMain(options, create);
            }
        }
        fill(options, documents);
        if (args.contains("--indexes"))
            addIndexes(options);
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.details()));
        return 1;
    }

    ScriptedPrompt prompt;
    FixedClock clock(QDateTime(QDate(2021, 8, 26), QTime(9, 30)));
    Session session(prompt, clock, [] { return std::make_unique<QSettings>(); });
    session.db.openMain(options.database);
    session.workstation.year = QStringLiteral("2021");
    session.general.ESDUR = QStringLiteral("B");

    QList<double> saveMs, bareMs;
    for (int i = 0; i < saves; ++i) {
        OutgoingRecord r(session);
        r.openNew();
        r.setDepartment(1 + i % 3);
        r.setZDUR(QStringLiteral("İ"));
        r.setValue("KONU", QStringLiteral("Ölçüm"));
        r.routing().routeAll();
        QElapsedTimer t;
        t.start();
        if (!r.save(QStringLiteral("26/08/2021"))) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(prompt.report()));
            return 1;
        }
        saveMs << t.nsecsElapsed() / 1e6;

        // The bare baseline: the same writes with fixed numbers.
        const int key = r.kayno() + 1000000;
        t.restart();
        fb::Transaction bare(session.db.IBDATABASE);
        bare.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO,ZDUR,ZNO,GIZDER,GSIRNO,KONU,CEVDUR,CEVNO,ILGNO) "
                     "VALUES (:K,0,'2021-08-26',1,0,'İ','0','Ö',0,'Ölçüm','H',0,0)", {{"K", key}});
        for (int b = 1; b <= 3; ++b) {
            bare.execute("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,TESADI,TESGOR) VALUES (2,:K,:B,'AD SOYAD','ŞEF')",
                         {{"K", key}, {"B", b}});
        }
        bare.commit();
        bareMs << t.nsecsElapsed() / 1e6;
    }
    std::printf("%s, %d letters in the register, %d saves\n",
                qPrintable(newdb::hostOf(options.database).isEmpty() ? QStringLiteral("embedded database")
                                                                     : QStringLiteral("server database")),
                documents, saves);
    print("save (lock, numbers, checks, row, 3 routing)", saveMs);
    print("bare baseline (row, 3 routing, commit)", bareMs);
    std::printf("ratio save / bare (medians)                    %7.2f\n", median(saveMs) / median(bareMs));
    return 0;
}
