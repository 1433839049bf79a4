// Opening the incoming list on one working year of a register of many years,
// beside a bare read of the same rows by the same statement in the same run.
//
//   bench_lists [--documents N] [--years Y] [--outgoing M] [--runs R]
//               [--cache DIR] [--database PATH]
//
// Without --database it measures two registers of N incoming documents over
// Y years ending in the working year 2021 (defaults 500000 and 25), each with
// 1–3 routing rows and 0–3 attachment rows, and M outgoing letters (default
// 2/5 of N), some answering them: one made at the current version, one made
// at 12.001 and taken through the upgrade steps. --cache keeps both in DIR
// and later runs reuse them. With --database it measures that database
// (embedded path or host:path) as it stands.

#include "lists/incominglist.h"
#include "listopening.h"

#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/upgrade.h"
#include "legacydatabase.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFirstKey = 1000000;
constexpr int kWorkingYear = 2021;

struct Shape
{
    int documents = 500000;
    int years = 25;
    int outgoing = 200000;
};

QDate spread(int i, int count, const Shape &shape)
{
    // Evenly over the years, each year's share evenly over its days.
    const int perYear = std::max(1, count / shape.years);
    const int y = std::min(shape.years - 1, (i - 1) / perYear);
    const int inYear = (i - 1) % perYear;
    return QDate(kWorkingYear - shape.years + 1 + y, 1, 1).addDays(qint64(inYear) * 360 / perYear);
}

/// Routing rows of document i: 1 (six in ten), 2 (three in ten) or 3.
int routingRows(int i)
{
    const int r = i % 10;
    return r < 6 ? 1 : r < 9 ? 2 : 3;
}

/// Writes the register in one transaction through prepared statements.
/// `legacy`: only the columns of 12.001, the department in GELEN.BIRKOD as it
/// was kept then (the upgrade turns it into the first routing row); the other
/// routing rows come with addLaterRouting.
void generate(fb::Attachment &a, const Shape &shape, bool legacy)
{
    QElapsedTimer clock;
    clock.start();
    const double cpu = bench::cpuMs();
    fb::Transaction t(a);
    fb::Statement unit(t, QStringLiteral("INSERT INTO BIRIM (BKOD, TUR, BIRIM) VALUES (:K, :T, :B)"));
    // Clear of the keys the old databases' standard rows use.
    for (int b = 101; b <= 108; ++b) {
        unit.bindAll({{"K", b}, {"T", "B"}, {"B", QStringLiteral("BİRİM %1").arg(b)}});
        unit.execute();
    }
    for (int b = 111; b <= 160; ++b) {
        unit.bindAll({{"K", b}, {"T", "K"}, {"B", QStringLiteral("KURUM %1").arg(b)}});
        unit.execute();
    }

    fb::Statement doc(t, QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, EVTAR, EVSAY, KONU, KURKOD, "
                                        "CEVDUR, GIZDER, ZDUR, ZNO, ILGNO, %1) VALUES (:K, :N, :D, :D, :S, :KONU, "
                                        ":B, :C, 'Ö', 'D', :N, 0, :X)")
                             .arg(legacy ? QStringLiteral("BIRKOD") : QStringLiteral("ETKOD")));
    std::unique_ptr<fb::Statement> route;
    if (!legacy)
        route = std::make_unique<fb::Statement>(
            t, QStringLiteral("INSERT INTO EVBRM (TUR, EKAYNO, BKOD, ONAY) VALUES (1, :K, :B, :O)"));
    fb::Statement text(t, QStringLiteral("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR) VALUES (:K, :N, 'A', '1')"));
    qint64 rows = 108 - 100 + 160 - 110;

    const int perYear = std::max(1, shape.documents / shape.years);
    for (int i = 1; i <= shape.documents; ++i) {
        const int key = kFirstKey + i;
        doc.bindAll({{"K", key}, {"N", (i - 1) % perYear + 1}, {"D", spread(i, shape.documents, shape)},
                     {"S", QStringLiteral("B.14.%1").arg(i)},
                     {"KONU", QStringLiteral("Örnek konu %1: şehir içi ulaşım").arg(i)}, {"B", 111 + i % 50},
                     {"C", i % 3 == 0 ? "E" : "H"}, {"X", legacy ? 101 + i % 8 : 1 + i % 2}});
        doc.execute();
        ++rows;
        if (route) {
            for (int r = 0; r < routingRows(i); ++r) {
                route->bindAll({{"K", key}, {"B", 101 + (i + 3 * r) % 8},
                                {"O", r == 0 && i % 5 != 0 ? QVariant("E") : QVariant()}});
                route->execute();
                ++rows;
            }
        }
        for (int n = 1; n <= (i / 3) % 4; ++n) {
            text.bindAll({{"K", key}, {"N", n}});
            text.execute();
            ++rows;
        }
    }

    // Letters over the same years: half answer an incoming document of about
    // their date, one in ten a petition whose key is an incoming key too.
    fb::Statement letter(t, QStringLiteral("INSERT INTO GIDEN (KAYNO, GIDNO, GIDTAR, BIRKOD, BSIRNO, GIZDER, ZDUR, "
                                           "ZNO, GSIRNO, KONU, CEVDUR, CEVNO, ILGNO, ILGDUR) VALUES (:K, :N, :D, :B, "
                                           ":N, 'Ö', 'D', :N, :J, :KONU, 'H', 0, :I, :R)"));
    const int lettersPerYear = std::max(1, shape.outgoing / shape.years);
    for (int j = 1; j <= shape.outgoing; ++j) {
        const qint64 answered = kFirstKey + qint64(j) * shape.documents / std::max(1, shape.outgoing);
        const bool incoming = j % 2 == 0, petition = j % 10 == 1;
        letter.bindAll({{"K", kFirstKey + j}, {"J", j}, {"N", (j - 1) % lettersPerYear + 1}, {"D", spread(j, shape.outgoing, shape)},
                        {"B", 101 + j % 8}, {"KONU", QStringLiteral("Cevap yazısı %1").arg(j)},
                        {"I", incoming || petition ? QVariant(answered) : QVariant(0)},
                        {"R", incoming ? QVariant("G") : petition ? QVariant("D") : QVariant()}});
        letter.execute();
        ++rows;
    }
    t.commit();
    const double s = clock.elapsed() / 1000.0;
    std::printf("  generated %d documents over %d years and %d letters: %lld rows in %.1f s, cpu %.1f s "
                "(%.0f rows/s)\n",
                shape.documents, shape.years, shape.outgoing, rows, s, (bench::cpuMs() - cpu) / 1000.0,
                rows / std::max(s, 0.001));
}

/// After the upgrade: the second and third routing rows the clerks gave since.
void addLaterRouting(fb::Attachment &a, const Shape &shape)
{
    fb::Transaction t(a);
    fb::Statement route(t, QStringLiteral("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (1, :K, :B)"));
    for (int i = 1; i <= shape.documents; ++i) {
        for (int r = 1; r < routingRows(i); ++r) {
            route.bindAll({{"K", kFirstKey + i}, {"B", 101 + (i + 3 * r) % 8}});
            route.execute();
        }
    }
    t.commit();
}

/// The register of `shape` at `path`, made once: in a temporary folder, then
/// put in place whole, so a run broken off never leaves half a register.
void makeRegister(const QString &path, const Shape &shape, bool upgraded)
{
    if (QFile::exists(path)) {
        std::printf("reusing %s\n", qPrintable(path));
        return;
    }
    std::printf("making %s\n", qPrintable(path));
    TempDatabase db;
    {
        fb::Attachment a;
        if (!upgraded) {
            db.createMain(a);
            generate(a, shape, false);
        } else {
            legacy::create(db, a, 12001);
            generate(a, shape, true);
            QElapsedTimer t;
            t.start();
            ScriptedPrompt quiet;
            {
                fb::Transaction tr(a);
                SchemaUpgrade upgrade(tr, quiet);
                const auto r = upgrade.upgradeToCurrent();
                tr.commit();
                std::printf("  upgraded from 12.001 to %s in %.1f s\n", qPrintable(r.versionText),
                            t.elapsed() / 1000.0);
            }
            addLaterRouting(a, shape);
        }
        a.close();
    }
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    // Moved when the folders share a file system, copied otherwise.
    if (!(QFile::rename(db.path(), part) || QFile::copy(db.path(), part)) || !QFile::rename(part, path))
        throw std::runtime_error("could not keep the register in the cache folder");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Figures appear as they are measured, also when written to a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QStringList args = app.arguments().mid(1);
    Shape shape;
    int runs = 5;
    bool outgoingGiven = false;
    QString database, cache;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--documents"))
            shape.documents = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--years"))
            shape.years = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--outgoing"))
            shape.outgoing = std::max(0, args[i + 1].toInt()), outgoingGiven = true;
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else if (args[i] == QLatin1String("--cache"))
            cache = args[i + 1];
    }
    if (!outgoingGiven)
        shape.outgoing = shape.documents / 5 * 2;
    try {
        if (!database.isEmpty()) {
            bench::measureListOpening(QStringLiteral("database %1").arg(database), database, lists::incomingList(), runs);
            return 0;
        }
        QTemporaryDir scratch;
        if (cache.isEmpty())
            cache = scratch.path();
        else if (!QDir().mkpath(cache))
            throw std::runtime_error("could not make the cache folder");
        const QString name = QStringLiteral("%1/incoming-%2-%3y-%4out-%5.gdb")
                                 .arg(cache).arg(shape.documents).arg(shape.years).arg(shape.outgoing);
        makeRegister(name.arg(QStringLiteral("fresh")), shape, false);
        bench::measureListOpening(QStringLiteral("fresh database (current version)"), name.arg(QStringLiteral("fresh")),
                                  lists::incomingList(), runs);
        makeRegister(name.arg(QStringLiteral("from12")), shape, true);
        bench::measureListOpening(QStringLiteral("database upgraded from 12.001"), name.arg(QStringLiteral("from12")),
                                  lists::incomingList(), runs);
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.details()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
