// The report engine on its own: pages, page headers, text kept inside its
// cell, pictures that are no pictures, rich text; read back from the PDF.

#include "pdftext.h"

#include "reports/engine.h"
#include "reports/registerbooks.h"
#include "reports/sheets.h"

#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

using namespace reports;

namespace {

RowList incomingRows(int count, const QString &subject = QStringLiteral("Konu"))
{
    RowList rows(bookFields(Book::Incoming));
    for (int i = 1; i <= count; ++i)
        rows.append({QString::number(100 + i), QStringLiteral("02.03.2021"), QStringLiteral("S-%1").arg(i),
                     QStringLiteral("01.03.2021"), QStringLiteral("1"), QStringLiteral("VALİLİK"), subject,
                     QStringLiteral("YAZI İŞLERİ"), QStringLiteral("E"), QString()});
    return rows;
}

} // namespace

class tst_ReportEngine : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString pdf(const QString &name) { return dir.filePath(name + QStringLiteral(".pdf")); }

private slots:
    void groupsDigits_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("printed");
        QTest::newRow("thousands") << "1234" << "1.234";
        QTest::newRow("millions") << "1234567" << "1.234.567";
        QTest::newRow("small") << "12" << "12";
        QTest::newRow("zero prints nothing") << "0" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("not a number") << "12A" << "12A";
    }
    void groupsDigits()
    {
        QFETCH(QString, number);
        QFETCH(QString, printed);
        QCOMPARE(grouped(number), printed);
    }

    // 27 lines fill a landscape page under the 26 mm header; the closing band then needs a page of its own.
    void pagesRepeatTheHeaderAndNumberThemselves_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::newRow("no rows: the header page") << 0 << 1;
        QTest::newRow("one page") << 26 << 1;
        QTest::newRow("closing band moves on") << 27 << 2;
        QTest::newRow("four pages") << 100 << 4;
    }
    void pagesRepeatTheHeaderAndNumberThemselves()
    {
        QFETCH(int, rows);
        QFETCH(int, pages);
        RowList source = incomingRows(rows);
        Report report(registerBook(Book::Incoming), &source);
        QCOMPARE(report.pageCount(), pages);
        const QString file = pdf(QStringLiteral("pages%1").arg(rows));
        QCOMPARE(writePdf(report, file), Outcome::Done);
        QCOMPARE(pdfPageCount(file), pages);
        const QStringList text = pdfPages(file);
        QCOMPARE(text.size(), pages);
        for (int p = 0; p < pages; ++p) {
            QVERIFY2(text[p].contains(QStringLiteral("GELEN YAZILAR DEFTERİ")), qPrintable(text[p]));
            QVERIFY(text[p].contains(QStringLiteral("GELEN YAZININ")));
            QVERIFY(text[p].contains(QStringLiteral("Sayfa No : %1 / %2").arg(p + 1).arg(pages)));
        }
        // Running numbers go on over the page break: line 28 is the first of page 2.
        if (rows >= 28) {
            QVERIFY(text[1].contains(QStringLiteral("S-28")));
            QVERIFY(!text[0].contains(QStringLiteral("S-28")));
            const QList<PlacedWord> words = pdfWords(file, 2);
            const auto first = std::find_if(words.begin(), words.end(), [](const PlacedWord &w) {
                return w.left > 10 + 4.6 - 0.1 && w.right < 10 + 11.8 + 0.1 && w.word.toInt() > 0;
            });
            QVERIFY(first != words.end());
            QCOMPARE(first->word, QStringLiteral("28"));
        }
    }

    // The subject column is 83.2 mm wide from 130.1 mm; the margin is 10 mm.
    void longTextStaysInsideItsCell()
    {
        const QString subject = QStringLiteral(
            "Belediye meclisinin olağan toplantısında görüşülen imar planı değişikliği hakkında "
            "ilçe kaymakamlığından gelen yazı ile ilgili olarak ayrıca istenen belgelerin tamamlanması "
            "ve sonucun en kısa sürede bildirilmesi rica olunur SONKELİME");
        RowList source = incomingRows(1, subject);
        Report report(registerBook(Book::Incoming), &source);
        const QString file = pdf(QStringLiteral("long"));
        QCOMPARE(writePdf(report, file), Outcome::Done);
        const QString text = pdfPages(file).value(0);
        QVERIFY(text.contains(QStringLiteral("Belediye meclisinin")));
        QVERIFY2(!text.contains(QStringLiteral("SONKELİME")), "the end of an overlong text is cut");
        QVERIFY(text.contains(QStringLiteral("…")));
        const double left = 10 + 130.1, right = 10 + 130.1 + 83.2;
        int seen = 0;
        for (const PlacedWord &w : pdfWords(file, 1)) {
            if (subject.contains(w.word) && w.word.size() > 4 && !QStringLiteral("GELEN YAZILAR DEFTERİ").contains(w.word)) {
                ++seen;
                QVERIFY2(w.left >= left - 0.1 && w.right <= right + 0.1,
                         qPrintable(QStringLiteral("%1 at %2–%3 mm").arg(w.word).arg(w.left).arg(w.right)));
            }
        }
        QVERIFY(seen > 5);
    }

    void logoThatIsNoPictureIsLeftOut()
    {
        RecordSheet sheet;
        sheet.number = QStringLiteral("4711");
        const QImage logo = logoPicture(QByteArray("bu bir resim değil"));
        QVERIFY(logo.isNull());
        Report report(incomingSheet(sheet, logo));
        const QString file = pdf(QStringLiteral("nologo"));
        QCOMPARE(writePdf(report, file), Outcome::Done);
        QVERIFY(pdfPages(file).value(0).contains(QStringLiteral("4711")));
    }

    void cancelledExportLeavesNoFile()
    {
        RowList source = incomingRows(100);
        Report report(registerBook(Book::Incoming), &source);
        const QString file = pdf(QStringLiteral("cancelled"));
        int seen = 0;
        QCOMPARE(writePdf(report, file, [&](int page, int) { seen = page; return page < 2; }), Outcome::Cancelled);
        QCOMPARE(seen, 2);
        QVERIFY(!QFile::exists(file));
    }

    void letterTextsBecomeHtml_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("plain");
        QTest::newRow("rtf with code page and unicode escapes")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1254{\\fonttbl{\\f0 Arial;}}{\\*\\generator W;}"
                          "\\pard\\qc\\b Say\\'fdn \\b0 I\\u351?\\'fdk\\par K\\'fd\\'feer\\par}")
            << QStringLiteral("Sayın Işık\nKışer");
        QTest::newRow("html") << QByteArray("<p>Sayın <b>Işık</b></p>") << QStringLiteral("Sayın Işık");
        QTest::newRow("plain utf-8") << QStringLiteral("Sayın Işık\nKışer").toUtf8() << QStringLiteral("Sayın Işık\nKışer");
        QTest::newRow("plain windows-1254") << QByteArray("Say\xfdn I\xfe\xfdk") << QStringLiteral("Sayın Işık");
    }
    void letterTextsBecomeHtml()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, plain);
        QTextDocument doc;
        doc.setHtml(letterHtml(content));
        QCOMPARE(doc.toPlainText().replace(QChar::LineSeparator, u'\n').trimmed(), plain);
    }

    void longLetterFlowsOverPages()
    {
        QString text;
        for (int i = 1; i <= 120; ++i)
            text += QStringLiteral("Satır %1 ğüşıöç\n").arg(i);
        Report report(letter(letterHtml(text.toUtf8()), QImage()));
        const QString file = pdf(QStringLiteral("letter"));
        QCOMPARE(writePdf(report, file), Outcome::Done);
        const QStringList pages = pdfPages(file);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        const QString all = pages.join(u'\n');
        for (int i : {1, 60, 120})
            QVERIFY2(all.contains(QStringLiteral("Satır %1 ğüşıöç").arg(i)), qPrintable(QString::number(i)));
    }
};

QTEST_MAIN(tst_ReportEngine)
#include "tst_reportengine.moc"
