// Word-processor and spreadsheet files shown through LibreOffice: the
// conversion of a real file by the installed soffice, seen in the attachment
// group. Skips, saying why, where LibreOffice is not installed.

#include "formtest.h"
#include "sessionfixture.h"

#include "storage/ui/attachmentsgroup.h"
#include "storage/ui/documentview.h"

#include <QBuffer>
#include <QDir>
#include <QPdfDocument>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace storage;

namespace {

/// The smallest workbook a spreadsheet program writes: one sheet, one column of texts.
QByteArray spreadsheet(const QStringList &cells)
{
    QString rows;
    for (int r = 0; r < cells.size(); ++r)
        rows += QStringLiteral("<row r=\"%1\"><c r=\"A%1\" t=\"inlineStr\"><is><t>%2</t></is></c></row>")
                    .arg(r + 1)
                    .arg(cells[r].toHtmlEscaped());
    const QList<QPair<QString, QString>> parts = {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
         "</Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
         "</Relationships>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
         "<sheets><sheet name=\"Gider\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "</Relationships>"},
        {"xl/worksheets/sheet1.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
         "<sheetData>" + rows + "</sheetData></worksheet>"},
    };
    QBuffer buffer;
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        return {};
    for (const auto &[name, text] : parts) {
        QuaZipFile part(&zip);
        if (!part.open(QIODevice::WriteOnly, QuaZipNewInfo(name)))
            return {};
        part.write(text.toUtf8());
        part.close();
    }
    zip.close();
    return buffer.data();
}

} // namespace

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void officeFileIsShownAsPdf_data();
    void officeFileIsShownAsPdf();
};

void TestConversion::officeFileIsShownAsPdf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QString>("type");

    // A petition as a clerk would have typed it; named .doc, it is rich text inside.
    QTest::newRow("word processor") << "dilekce.doc"
        << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 DejaVu Sans;}}\\fs32 "
                      "Say\\u305?n Belediye Ba\\u351?kanl\\u305?\\u287?\\u305?na\\par\\par\\fs24 "
                      "Mahallemizdeki sokak lambalar\\u305? yanmamaktad\\u305?r.\\par "
                      "Gere\\u287?inin yap\\u305?lmas\\u305?n\\u305? arz ederim.\\par}")
        << "Belediye Başkanlığına" << "Word";
    // A cost table from an office's spreadsheet program; Writer alone cannot
    // open it, LibreOffice Calc must be installed as well.
    QTest::newRow("spreadsheet") << "gider.xlsx" << spreadsheet({"Kalem", "Sokak lambası onarımı"})
        << "Sokak lambası onarımı" << "Excel";
}

void TestConversion::officeFileIsShownAsPdf()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, shownText);
    QFETCH(QString, type);
    if (DocumentView::converter().isEmpty())
        QSKIP("LibreOffice (soffice) is not installed: conversions cannot be shown here");
    SessionFixture f;
    f.session.workstation.year = QStringLiteral("2021");
    f.session.workstation.localFolder = f.dir.filePath(QStringLiteral("EVRAKLAR"));
    f.session.workstation.readMode = QStringLiteral("V");
    f.session.general.VTSAKLA = QStringLiteral("E");
    f.session.general.TRMSAKLA = f.session.general.SRVSAKLA = QStringLiteral("H");
    f.session.general.TEXTVT.clear();
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *group = new AttachmentsGroup(f.session, Register::Incoming, &host);
    layout->addWidget(group);
    host.resize(900, 560);
    QVERIFY(group->open(1234, 2021));
    showActive(host);

    const QString path = f.dir.filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    DocumentView *view = group->view();
    QSignalSpy converted(view, &DocumentView::converted);
    f.prompt.expectOpenFile(path);
    QTest::mouseClick(group->addButton(), Qt::LeftButton);
    // The window stays usable while LibreOffice works: a moving bar, not a frozen screen.
    QCOMPARE(view->page(), DocumentView::Page::Working);
    QVERIFY2(converted.wait(180000), "LibreOffice did not finish within three minutes");
    QVERIFY2(!converted.first().first().toString().isEmpty(), "LibreOffice could not convert the file");
    QCOMPARE(view->page(), DocumentView::Page::Pdf);
    QVERIFY(view->pdf()->pageCount() >= 1);
    QVERIFY2(view->pdf()->getAllText(0).text().contains(shownText), qPrintable(view->pdf()->getAllText(0).text()));
    QCOMPARE(group->grid()->item(0, 1)->text(), type);

    if (const QString folder = qEnvironmentVariable("KELMA_SCREENSHOTS"); !folder.isEmpty() && type == QLatin1String("Word")) {
        QTest::qWait(1500); // pages are rendered in the background
        host.grab().save(QDir(folder).filePath(QStringLiteral("viewer-converted.png")));
    }

    // Shown again in the same opening, it comes from the converted copy at once.
    group->view()->clear();
    group->showSelected();
    QCOMPARE(view->page(), DocumentView::Page::Pdf);
    QCOMPARE(converted.size(), 1);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"
