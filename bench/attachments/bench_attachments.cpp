// Adds, saves and shows one large PDF through the attachment routines in
// each storage place, beside a bare copy and read-back of the same file
// measured in the same run; the time to the first page of a 20-page PDF
// shown from the database beside opening the file itself; and the extra
// memory of adding and saving a big file.
//
//   bench_attachments [--database PATH] [--mib 20] [--big-mib 200]
//
// PATH is a KELMA main database (embedded path or host:path) used as it is;
// without it a fresh one is made in a temporary folder. Rows are written under
// record keys from 900000000 up and removed again.

#include "runningserver.h"

#include "core/attachmentlimit.h"
#include "core/clock.h"
#include "core/prompt.h"
#include "core/session.h"
#include "core/generalsettings.h"
#include "db/fb/twophase.h"
#include "db/newdatabase.h"
#include "storage/attachments.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class SilentPrompt : public Prompt
{
public:
    void message(const QString &text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    void error(const QString &text, const QString &d) override { message(text + u' ' + d); }
    bool question(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    QString folder(const QString &, const QString &) override { return {}; }
};

/// A PDF of about `mib` MiB: pages of noise, which does not compress.
void noisePdf(const QString &path, int mib)
{
    QPdfWriter w(path);
    w.setResolution(150);
    QPainter p(&w);
    const int pages = std::max(1, mib / 2 + 1); // about 1.8 MiB a page once written
    QImage noise(1200, 1600, QImage::Format_RGB888);
    for (int i = 0; i < pages; ++i) {
        if (i)
            w.newPage();
        for (int y = 0; y < noise.height(); ++y)
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(noise.scanLine(y)), noise.bytesPerLine() / 4);
        p.drawImage(QRect(0, 0, 1200, 1600), noise);
    }
}

void textPdf(const QString &path, int pages)
{
    QPdfWriter w(path);
    QPainter p(&w);
    for (int i = 1; i <= pages; ++i) {
        if (i > 1)
            w.newPage();
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
        for (int line = 0; line < 40; ++line)
            p.drawText(200, 300 + line * 300, QStringLiteral("Sayfa %1, satır %2: İmar planı değişikliği hakkında").arg(i).arg(line));
    }
}

double firstPageMs(const QString &pdf)
{
    QElapsedTimer t;
    t.start();
    QPdfDocument doc;
    doc.load(pdf);
    const QImage page = doc.render(0, QSize(800, 1131));
    if (page.isNull())
        std::fprintf(stderr, "no page rendered\n");
    return t.nsecsElapsed() / 1e6;
}

qint64 peakKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

struct Bench
{
    QTemporaryDir dir;
    SilentPrompt prompt;
    SystemClock clock;
    Session session{prompt, clock, [this] {
        return std::make_unique<QSettings>(dir.filePath(QStringLiteral("KELMA.ini")), QSettings::IniFormat);
    }};
    int nextKayno = 900000000;

    /// Adds `file`, saves, opens again and shows it; milliseconds.
    double round(const QString &file, bool showToo = true)
    {
        const int kayno = nextKayno++;
        QElapsedTimer t;
        t.start();
        storage::RecordAttachments a(session, storage::Register::Incoming);
        a.open(kayno, session.workingYear());
        a.load(1, -1, file);
        {
            fb::TwoPhaseTransaction unit(session.db.IBDATABASE, a.yearDatabase());
            a.apply(unit);
            unit.commit();
        }
        a.saved();
        if (showToo) {
            storage::RecordAttachments b(session, storage::Register::Incoming);
            b.open(kayno, session.workingYear());
            const storage::Shown shown = b.show(0);
            if (shown.path.isEmpty())
                std::fprintf(stderr, "nothing shown\n");
            b.cancel();
        }
        return t.nsecsElapsed() / 1e6;
    }
    void cleanUp()
    {
        fb::TwoPhaseTransaction unit(session.db.IBDATABASE, session.textOpen ? &session.db.IBTEXTDB : nullptr);
        for (int k = 900000000; k < nextKayno; ++k)
            storage::deleteAllAttachments(unit, storage::Register::Incoming, k);
        unit.commit();
    }
};

double bareCopy(const QString &file, const QString &folder)
{
    QElapsedTimer t;
    t.start();
    const QString copy = QDir(folder).filePath(QStringLiteral("kopya.pdf"));
    QFile::remove(copy);
    QFile::copy(file, copy);
    QFile in(copy);
    in.open(QIODevice::ReadOnly);
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    while (in.read(buffer.data(), buffer.size()) > 0) {
    }
    QFile::remove(copy);
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString database;
    int mib = 20, bigMib = 200;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--database")
            database = args[++i];
        else if (args[i] == u"--mib")
            mib = args[++i].toInt();
        else if (args[i] == u"--big-mib")
            bigMib = args[++i].toInt();
    }
    Bench b;
    if (database.isEmpty()) {
        database = b.dir.filePath(QStringLiteral("KELMA.GDB"));
        fb::CreateOptions c;
        c.forcedWrites = false;
        newdb::createMain(Connections::login(database, QStringLiteral("WIN1254")), c);
        newdb::createYear(Connections::login(b.dir.filePath(QStringLiteral("TEXT2021.GDB")), QString()), c);
    }
    b.session.db.openMain(database);
    b.session.general = generalsettings::readRow(b.session.db.IBTransaction1);
    b.session.workstation.year = QStringLiteral("2021");
    b.session.workstation.localFolder = b.dir.filePath(QStringLiteral("EVRAKLAR"));
    b.session.store()->setValue(QStringLiteral("YOL"), QFileInfo(database).path());
    attachmentlimit::setMb(b.session, 4096);

    const QString pdf = b.dir.filePath(QStringLiteral("buyuk.pdf"));
    noisePdf(pdf, mib);
    std::printf("file: %.1f MiB PDF\n", QFileInfo(pdf).size() / 1048576.0);
    const double bare = bareCopy(pdf, b.dir.path());
    std::printf("%-34s %9.1f ms\n", "baseline: copy and read back", bare);

    QTemporaryDir serverFolder;
    RunningServer server(serverFolder.path());
    struct Mode { const char *name; const char *vt, *trm, *srv, *textvt, *read; };
    const Mode modes[] = {
        {"database, in the row (V)", "E", "H", "H", "", "V"},
        {"database, yearly (TEXTVT A, V)", "E", "H", "H", "A", "V"},
        {"local folder (Y)", "H", "E", "H", "", "Y"},
        {"file server (S)", "H", "H", "E", "", "S"},
    };
    for (const Mode &m : modes) {
        auto &g = b.session.general;
        g.VTSAKLA = QString::fromLatin1(m.vt);
        g.TRMSAKLA = QString::fromLatin1(m.trm);
        g.SRVSAKLA = QString::fromLatin1(m.srv);
        g.TEXTVT = QString::fromLatin1(m.textvt);
        g.SRVIPNO = QStringLiteral("127.0.0.1");
        g.SRVPORT = server.portText();
        b.session.workstation.readMode = QString::fromLatin1(m.read);
        if (m.textvt[0] == 'A' && !storage::openYearFor(b.session, 2021)) {
            std::printf("%-34s (no yearly database beside %s)\n", m.name, qPrintable(database));
            continue;
        }
        const double ms = b.round(pdf);
        std::printf("%-34s %9.1f ms   %5.1f x baseline\n", m.name, ms, ms / bare);
    }

    // First page of a 20-page PDF: from the file itself, and shown from the database.
    b.session.general.VTSAKLA = QStringLiteral("E");
    b.session.general.TRMSAKLA = b.session.general.SRVSAKLA = QStringLiteral("H");
    b.session.general.TEXTVT.clear();
    b.session.workstation.readMode = QStringLiteral("V");
    const QString twenty = b.dir.filePath(QStringLiteral("yirmi.pdf"));
    textPdf(twenty, 20);
    firstPageMs(twenty); // the PDF engine starts once per process
    const double direct = firstPageMs(twenty);
    const int kayno = b.nextKayno;
    b.round(twenty, false);
    QElapsedTimer t;
    t.start();
    storage::RecordAttachments a(b.session, storage::Register::Incoming);
    a.open(kayno, 2021);
    const storage::Shown shown = a.show(0);
    const double fromDb = t.nsecsElapsed() / 1e6 + firstPageMs(shown.path);
    a.cancel();
    std::printf("%-34s %9.1f ms\n", "first page, file itself", direct);
    std::printf("%-34s %9.1f ms   %5.1f x\n", "first page, opened from database", fromDb, fromDb / direct);

    // Memory: add and save a big file.
    if (bigMib > 0) {
        const QString big = b.dir.filePath(QStringLiteral("cok-buyuk.pdf"));
        {
            QFile f(big);
            f.open(QIODevice::WriteOnly);
            f.write("%PDF-1.4\n");
            QByteArray block(1024 * 1024, 'x');
            for (int i = 0; i < bigMib; ++i)
                f.write(block);
        }
        resetPeak();
        const qint64 before = peakKiB();
        b.round(big, false);
        const qint64 after = peakKiB();
        std::printf("%-34s %9.1f MiB extra peak memory for a %d MiB file\n", "add and save",
                    (after - before) / 1024.0, bigMib);
    }
    b.cleanUp();
    return 0;
}
