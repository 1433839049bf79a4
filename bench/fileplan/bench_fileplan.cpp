// Prints how long the file-plan dialog takes to open and to draw its code list
// on the full file plan of a fresh database, and, for comparison, what asking
// the database per painted row (one count of sub-codes each) would cost.
//
//   bench_fileplan [runs]     (default 20)

#include "core/clock.h"
#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/statement.h"
#include "db/newdatabase.h"
#include "kit/gridparts.h"
#include "definitions/ui/unsdpbul.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

class SilentPrompt : public Prompt
{
public:
    void message(const QString &) override {}
    void error(const QString &text, const QString &) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool question(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    QString folder(const QString &, const QString &) override { return {}; }
};

struct Stats
{
    double min, median, max;
};

Stats stats(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return {v.first(), v[v.size() / 2], v.last()};
}

void print(const char *what, const QList<double> &values)
{
    const Stats s = stats(values);
    std::printf("%-52s min %8.2f ms   median %8.2f ms   max %8.2f ms\n", what, s.min, s.median, s.max);
}

double since(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = std::max(1, app.arguments().value(1, QStringLiteral("20")).toInt());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KELMA.GDB"));
    fb::ConnectOptions options;
    options.database = path;
    fb::CreateOptions create;
    create.forcedWrites = false;
    newdb::createMain(options, create);

    SilentPrompt prompt;
    SystemClock clock;
    Session session(prompt, clock, [&] {
        return std::make_unique<QSettings>(dir.filePath(QStringLiteral("KELMA.ini")), QSettings::IniFormat);
    });
    session.db.openMain(path);

    QList<double> open, search, page, whole;
    int rows = 0, visible = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        TFRMSDPBUL dialog(session);
        dialog.tag = 1;
        dialog.show();
        // Offscreen windows are not painted on their own: render is the paint.
        QPixmap screen(dialog.size());
        dialog.render(&screen);
        open << since(t);

        // The whole plan in the code list: what emptying the code box does.
        t.restart();
        dialog.findChild<QLineEdit *>(QStringLiteral("codeEdit"))->clear();
        search << since(t);
        QTableView *grid = dialog.findChild<QTableView *>(QStringLiteral("codesGrid"));
        rows = dialog.codeModel()->rowCount();

        QPixmap canvas(grid->viewport()->size());
        t.restart();
        grid->viewport()->render(&canvas);
        page << since(t);
        visible = grid->rowAt(grid->viewport()->height() - 1) - grid->rowAt(0) + 1;

        // Every row drawn once: the list scrolled through page by page.
        t.restart();
        QScrollBar *bar = grid->verticalScrollBar();
        for (int value = bar->minimum(); value <= bar->maximum(); value += std::max(1, bar->pageStep())) {
            bar->setValue(value);
            grid->viewport()->render(&canvas);
        }
        whole << since(t);
        dialog.findChild<QPushButton *>(QStringLiteral("exitButton"))->click();
    }

    // What one repaint of the page would add if each painted row asked the
    // database whether its code has sub-codes (twice per row: two columns).
    QList<double> counting;
    {
        fb::Statement count(session.db.IBTransaction1,
                            QStringLiteral("SELECT COUNT(*) SAY FROM SDP WHERE KOD LIKE :HP"));
        QList<QString> codes;
        for (const QVariantList &r : session.db.IBTransaction1.rows(QStringLiteral("SELECT KOD FROM SDP ORDER BY KOD")))
            codes << r.value(0).toString();
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            for (int row = 0; row < visible; ++row) {
                for (int cell = 0; cell < 2; ++cell) {
                    count.bind(QStringLiteral("HP"), codes[(i * visible + row) % codes.size()] + QStringLiteral(".%"));
                    count.execute();
                    count.next();
                    count.close();
                }
            }
            counting << since(t);
        }
    }

    std::printf("file plan: %d codes listed, %d rows on a page, %d runs\n", rows, visible, runs);
    print("open the dialog (searches, main codes, first paint)", open);
    print("list the whole plan (search and sub-code set)", search);
    print("redraw one page of the code list", page);
    print("draw every row once (scroll through the list)", whole);
    print("per-row count queries for one page (for comparison)", counting);
    session.db.closeAll();
    return 0;
}
