// Word-processor files shown through LibreOffice: the conversion of a real
// file by the installed soffice, seen in the attachment group. Skips, saying
// why, where LibreOffice is not installed.

#include "formtest.h"
#include "sessionfixture.h"

#include "storage/ui/attachmentsgroup.h"
#include "storage/ui/documentview.h"

#include <QDir>
#include <QPdfDocument>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

using namespace storage;

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void wordProcessorFileIsShownAsPdf();
};

void TestConversion::wordProcessorFileIsShownAsPdf()
{
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

    // A petition as a clerk would have typed it; named .doc, it is rich text inside.
    const QString path = f.dir.filePath(QStringLiteral("dilekce.doc"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 DejaVu Sans;}}\\fs32 "
               "Say\\u305?n Belediye Ba\\u351?kanl\\u305?\\u287?\\u305?na\\par\\par\\fs24 "
               "Mahallemizdeki sokak lambalar\\u305? yanmamaktad\\u305?r.\\par "
               "Gere\\u287?inin yap\\u305?lmas\\u305?n\\u305? arz ederim.\\par}");
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
    QVERIFY(view->pdf()->getAllText(0).text().contains(QStringLiteral("Belediye Başkanlığına")));
    QCOMPARE(group->grid()->item(0, 1)->text(), QStringLiteral("Word"));

    if (const QString folder = qEnvironmentVariable("KELMA_SCREENSHOTS"); !folder.isEmpty()) {
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
