// Time to write the incoming register book to PDF, beside a bare QPdfWriter
// loop that writes the same text at the same places, measured in the same run.
//
//   bench_reports [--database PATH] [--year Y] [--rows N] [--rounds R]
// Without --database a fresh database with N incoming documents (default 5400,
// 200 pages) is made; with it, the book of year Y (default: every year) is read there.

#include "reports/bookquery.h"
#include "reports/engine.h"
#include "reports/registerbooks.h"
#include "tempdatabase.h"

#include "db/fb/statement.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

using namespace reports;

namespace {

long peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// The detail columns of the book, as the layout places them (mm from the margin).
struct Cell { qreal left, width; int column; };
const Cell kCells[] = {{13.1, 8.3, 0}, {22.2, 15.2, 1}, {38.3, 9.2, 2}, {48.8, 15.2, 3}, {65.4, 7.0, 4},
                       {74.1, 55.1, 5}, {130.1, 83.2, 6}, {214.6, 40.4, 7}, {256.4, 6.5, 8}, {263.4, 12.0, 9}};

double bareLoop(RowSource &rows, const QString &file)
{
    QElapsedTimer t;
    t.start();
    QPdfWriter writer(file);
    writer.setResolution(300);
    writer.setPageLayout(registerBook(Book::Incoming).pageLayout());
    QPainter p(&writer);
    const qreal k = 300 / 25.4;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(7);
    QFont title = font;
    title.setPointSizeF(16);
    title.setBold(true);
    int line = 0, page = 1;
    auto header = [&] {
        p.setFont(title);
        p.drawText(QRectF(0, k, 277 * k, 9 * k), Qt::AlignCenter, QStringLiteral("GELEN YAZILAR DEFTERİ"));
        p.setFont(font);
        p.drawText(QRectF(232 * k, 0, 45 * k, 5 * k), Qt::AlignRight, QStringLiteral("Sayfa No : %1").arg(page));
    };
    header();
    rows.rewind();
    QStringList row;
    qreal y = 26;
    while (rows.next(row)) {
        if (y + 6 > 190) {
            writer.newPage();
            ++page;
            header();
            y = 26;
        }
        ++line;
        p.drawText(QRectF(4.6 * k, y * k, 7.2 * k, 6 * k), Qt::AlignRight | Qt::AlignVCenter, QString::number(line));
        for (const Cell &c : kCells)
            p.drawText(QRectF(c.left * k, y * k, c.width * k, 6 * k), Qt::AlignLeft | Qt::AlignVCenter,
                       row.value(c.column));
        y += 6;
    }
    p.end();
    return t.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&](const char *name, const QString &fallback) {
        const qsizetype i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
    };
    QString database = option("--database", {});
    const int year = option("--year", QStringLiteral("0")).toInt();
    const int count = option("--rows", QStringLiteral("5400")).toInt();

    TempDatabase temp;
    fb::Attachment attachment;
    if (database.isEmpty()) {
        temp.createMain(attachment);
        fb::Transaction t(attachment);
        t.execute(QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (1,'YAZI İŞLERİ MÜDÜRLÜĞÜ','B')"));
        t.execute(QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (2,'İLÇE KAYMAKAMLIĞI','K')"));
        fb::Statement ins(t, QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,EVSAY,EVTAR,EKSAY,KONU,CEVDUR) "
                                            "VALUES (:K,:K,:T,2,:S,:T,1,:KONU,'H')"));
        fb::Statement route(t, QStringLiteral("INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,:K,1)"));
        for (int i = 1; i <= count; ++i) {
            ins.bind(QStringLiteral("K"), i);
            ins.bind(QStringLiteral("T"), QDate(2021, 1, 1).addDays(i % 360));
            ins.bind(QStringLiteral("S"), QStringLiteral("B.05.%1").arg(i));
            ins.bind(QStringLiteral("KONU"), QStringLiteral("İmar planı değişikliği hakkında yazı %1").arg(i));
            ins.execute();
            route.bind(QStringLiteral("K"), i);
            route.execute();
        }
        t.commit();
        database = temp.path();
    } else {
        attachment.open(TempDatabase::options(database));
    }

    QTemporaryDir dir;
    BookQuery query(attachment, Book::Incoming, {year, 0, -1});
    // The same rows in memory, so the engine and the bare loop draw exactly the same.
    RowList held(query.columns());
    const QStringList fields = bookFields(Book::Incoming);
    QList<int> at;
    for (const QString &f : fields)
        at << query.columns().indexOf(f);
    RowList rows(fields);
    QStringList row;
    query.rewind();
    int n = 0;
    while (query.next(row)) {
        QStringList picked;
        for (int i : at)
            picked << row.value(i);
        rows.append(picked);
        ++n;
    }

    // Rounds alternate and the best of each is kept: the machine is shared.
    Layout bareLayout = registerBook(Book::Incoming);
    for (Band *band : {&bareLayout.pageHeader, &bareLayout.detail}) {
        std::erase_if(band->elements, [](const Element &e) {
            return e.kind == Element::Kind::HLine || e.kind == Element::Kind::VLine;
        });
    }
    const int rounds = option("--rounds", QStringLiteral("3")).toInt();
    double bare = 1e12, engine = 1e12, engineText = 1e12, withQuery = 1e12;
    long before = peakKb(), growBare = 0, growEngine = 0, growQuery = 0;
    int pages = 0;
    QElapsedTimer t;
    for (int r = 0; r < rounds; ++r) {
        long m = peakKb();
        bare = std::min(bare, bareLoop(rows, dir.filePath(QStringLiteral("bare.pdf"))));
        growBare = std::max(growBare, peakKb() - m);

        m = peakKb();
        t.restart();
        Report report(registerBook(Book::Incoming), &rows);
        writePdf(report, dir.filePath(QStringLiteral("engine.pdf")));
        engine = std::min(engine, double(t.elapsed()));
        growEngine = std::max(growEngine, peakKb() - m);

        // Without the ruled lines, the part the bare loop leaves out.
        t.restart();
        Report textOnly(bareLayout, &rows);
        writePdf(textOnly, dir.filePath(QStringLiteral("textonly.pdf")));
        engineText = std::min(engineText, double(t.elapsed()));

        m = peakKb();
        t.restart();
        Report fromDb(registerBook(Book::Incoming), &query);
        writePdf(fromDb, dir.filePath(QStringLiteral("db.pdf")), [&](int, int total) { pages = total; return true; });
        withQuery = std::min(withQuery, double(t.elapsed()));
        growQuery = std::max(growQuery, peakKb() - m);
    }

    std::printf("incoming register book, %d lines, %d pages (%s)\n", n, pages, qPrintable(database));
    std::printf("%-40s %8.0f ms\n", "bare QPdfWriter loop, same text", bare);
    std::printf("%-40s %8.0f ms   ratio %.2f\n", "engine, rows in memory", engine, engine / bare);
    std::printf("%-40s %8.0f ms   ratio %.2f\n", "engine, rows in memory, without rules", engineText,
                engineText / bare);
    std::printf("%-40s %8.0f ms   ratio %.2f\n", "engine, rows from the list query", withQuery, withQuery / bare);
    std::printf("peak memory %ld kB at start; growth: bare loop +%ld kB, engine +%ld kB, engine from query +%ld kB\n",
                before, growBare, growEngine, growQuery);
    return 0;
}
