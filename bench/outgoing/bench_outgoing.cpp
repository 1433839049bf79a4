// Save latency of one outgoing letter with three destination departments on a
// register of many outgoing letters, beside the bare baseline measured in the
// same run: the same row and routing rows inserted and committed, no numbering.
// Also the numbers shown before the save (a new letter, its department
// chosen), and the outgoing list opened on the working year beside a bare read.
//
//   bench_outgoing [--database PATH] [--documents N] [--saves N] [--runs R]
//                  [--without-indexes]
//
// PATH is an embedded path or host:path; without it a temporary database is
// made. A database holding fewer letters than N is filled up first.
// --without-indexes (temporary database only) drops the indexes the numbering
// of outgoing letters uses, to show what they give.

#include "registers/outgoing.h"

#include "lists/outgoinglist.h"
#include "listopening.h"

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
                         "VALUES (:K,:N,:T,:B,:BN,:ZD,:Z,'Ö',:G,:KONU,'H',0)");
    // One to three destination departments each.
    fb::Statement route(t, "INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (2,:K,:B,'E')");
    const int base = std::max(0, t.value("SELECT MAX(KAYNO) FROM GIDEN").toInt());
    // Twelve years up to the working one, about as many letters a year as a
    // large office writes; the numbers start again each year, GSIRNO does not.
    const int perYear = std::max(1, documents / 12);
    for (int i = have + 1; i <= documents; ++i) {
        const int n = (i - 1) % perYear + 1;
        const QDate date = QDate(2010 + std::min(11, (i - 1) / perYear), 1, 1).addDays(qint64(n) * 360 / perYear);
        // Three departments in turn; internal and external deliveries alternate.
        ins.bindAll({{"K", base + i}, {"N", n}, {"T", date}, {"B", 1 + i % 3}, {"BN", (n + 2) / 3},
                     {"ZD", i % 2 ? QStringLiteral("D") : QStringLiteral("İ")}, {"Z", QString::number((n + 1) / 2)},
                     {"G", i}, {"KONU", QStringLiteral("Örnek konu %1").arg(i)}});
        ins.execute();
        for (int b = 1; b <= 1 + i % 3; ++b) {
            route.bindAll({{"K", base + i}, {"B", b}});
            route.execute();
        }
    }
    t.executeRaw(QStringLiteral("SET GENERATOR GEN_GIDKAYNO TO %1").arg(base + documents + 1));
    t.commit();
    if (documents > have)
        std::printf("%d outgoing letters written in %.1f s\n", documents - have, clock.elapsed() / 1000.0);
}

void dropNumberingIndexes(const fb::ConnectOptions &options)
{
    fb::Attachment a;
    a.open(options);
    fb::Transaction t(a);
    for (const char *name : {"GIDEN_GIZDER_GSIRNO_DESC", "GIDEN_ZNO_DESC", "GIDEN_BIRKOD_BSIRNO_DESC"})
        t.executeRaw(QStringLiteral("DROP INDEX %1").arg(QLatin1String(name)));
    t.commit();
    std::printf("without the numbering indexes of GIDEN\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Figures appear as they are measured, also when written to a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    const int documents = std::max(1, option(args, "--documents", "100000").toInt());
    const int saves = std::max(3, option(args, "--saves", "50").toInt());
    const int runs = std::max(1, option(args, "--runs", "5").toInt());
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
        if (args.contains("--without-indexes")) {
            if (args.contains("--database")) {
                std::fprintf(stderr, "--without-indexes only on a temporary database\n");
                return 2;
            }
            dropNumberingIndexes(options);
        }
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

    QList<double> openMs, saveMs, saveCpu, bareMs, bareCpu;
    for (int i = 0; i < saves; ++i) {
        QElapsedTimer t;
        t.start();
        OutgoingRecord r(session);
        r.openNew(); // level number shown
        r.setDepartment(1 + i % 3); // department number shown
        openMs << t.nsecsElapsed() / 1e6;
        r.setZDUR(QStringLiteral("İ"));
        r.setValue("KONU", QStringLiteral("Ölçüm"));
        r.routing().routeAll();
        t.restart();
        double cpu = bench::cpuMs();
        if (!r.save(QStringLiteral("26/08/2021"))) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(prompt.report()));
            return 1;
        }
        saveMs << t.nsecsElapsed() / 1e6;
        saveCpu << bench::cpuMs() - cpu;

        // The bare baseline: the same writes with fixed numbers.
        const int key = r.kayno() + 1000000;
        t.restart();
        cpu = bench::cpuMs();
        fb::Transaction bare(session.db.IBDATABASE);
        bare.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO,ZDUR,ZNO,GIZDER,GSIRNO,KONU,CEVDUR,CEVNO,ILGNO) "
                     "VALUES (:K,0,'2021-08-26',1,0,'İ','0','Ö',0,'Ölçüm','H',0,0)", {{"K", key}});
        for (int b = 1; b <= 3; ++b) {
            bare.execute("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,TESADI,TESGOR) VALUES (2,:K,:B,'AD SOYAD','ŞEF')",
                         {{"K", key}, {"B", b}});
        }
        bare.commit();
        bareMs << t.nsecsElapsed() / 1e6;
        bareCpu << bench::cpuMs() - cpu;
    }
    std::printf("%s, %d letters in the register, %d saves\n",
                qPrintable(newdb::hostOf(options.database).isEmpty() ? QStringLiteral("embedded database")
                                                                     : QStringLiteral("server database")),
                documents, saves);
    print("new letter, department chosen", openMs);
    print("save (lock, numbers, checks, row, 3 routing)", saveMs);
    print("bare baseline (row, 3 routing, commit)", bareMs);
    std::printf("ratio save / bare (medians)                    %7.2f   cpu %.2f ms / %.2f ms\n",
                bench::median(saveMs) / bench::median(bareMs), bench::median(saveCpu), bench::median(bareCpu));
    session.db.closeAll();
    try {
        bench::measureListOpening(QStringLiteral("outgoing list"), options.database, lists::outgoingList(), runs);
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.details()));
        return 1;
    }
    return 0;
}
