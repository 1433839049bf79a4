#include "formtest.h"
#include "scriptedrunner.h"
#include "sessionfixture.h"
#include "testfiles.h"

#include "db/fb/twophase.h"
#include "registers/incoming.h"
#include "storage/ui/attachmentsgroup.h"
#include "storage/ui/documentview.h"
#include "texts/ui/unbelge.h"
#include "texts/ui/unresim.h"

#include <QDir>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

using namespace storage;

namespace {

/// A record screen cut down to its attachment group, as a screen embeds it.
struct Screen : SessionFixture
{
    QString local = dir.filePath(QStringLiteral("EVRAKLAR"));
    ScriptedRunner runner;
    QWidget host;
    AttachmentsGroup *group;
    TFRMRESIM resim{session};
    TFRMBELGE belge{session};

    explicit Screen(Register kind = Register::Incoming)
    {
        session.workstation.year = QStringLiteral("2021");
        session.workstation.localFolder = local;
        session.workstation.readMode = QStringLiteral("V");
        session.general.VTSAKLA = QStringLiteral("E");
        session.general.TRMSAKLA = session.general.SRVSAKLA = QStringLiteral("H");
        session.general.TEXTVT.clear();
        auto *layout = new QVBoxLayout(&host);
        group = new AttachmentsGroup(session, kind, &host);
        layout->addWidget(group);
        host.resize(900, 560);
        // What the record screen wires: the two windows, run through its runner.
        group->openPicture = [this](const QImage &picture) {
            resim.setPicture(picture);
            runner.run(resim);
        };
        group->openDetails = [this] {
            belge.setAttachments(&group->attachments());
            runner.run(belge);
        };
    }
    QString file(const QString &name, const QByteArray &bytes = {})
    {
        const QString path = dir.filePath(name);
        if (!bytes.isNull())
            writeFile(path, bytes);
        return path;
    }
    void add(const QString &path)
    {
        prompt.expectOpenFile(path);
        QTest::mouseClick(group->addButton(), Qt::LeftButton);
    }
    void screenshot(const char *name)
    {
        const QString folder = qEnvironmentVariable("KELMA_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QTest::qWait(1500); // PDF pages are rendered in the background
        host.grab().save(QDir(folder).filePath(QString::fromLatin1(name)));
    }
};

QString pdfWithPages(const QString &path, int pages)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    QPainter p(&writer);
    for (int i = 1; i <= pages; ++i) {
        if (i > 1)
            writer.newPage();
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 28));
        p.drawText(QRect(40, 60, 500, 80), QStringLiteral("Sayfa %1 — İmar planı").arg(i));
        p.drawRect(40, 160, 480, 300);
    }
    return path;
}

QString picture(const QString &path)
{
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(QColor(230, 236, 245));
    QPainter p(&image);
    p.setPen(QPen(Qt::darkBlue, 6));
    p.drawEllipse(QRect(60, 40, 520, 320));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 26));
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Taranmış sayfa"));
    p.end();
    image.save(path, "JPEG");
    return path;
}

} // namespace

class TestAttachmentScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("KELMA_SOFFICE", "/nonexistent/soffice"); }
    void groupAddsShowsAndDeletes();
    void picturesZoomAndFit();
    void windowsOpenFromTheGroup();
    void withAnIncomingRecord();
    void archiveDescriptionFollowsTheChangeRight_data();
    void archiveDescriptionFollowsTheChangeRight();
};

void TestAttachmentScreens::groupAddsShowsAndDeletes()
{
    Screen s;
    QVERIFY(s.group->open(1234, 2021));
    showActive(s.host);
    QTableWidget *grid = s.group->grid();
    DocumentView *view = s.group->view();

    s.add(picture(s.file("scan.jpg")));
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("JPG"));
    QCOMPARE(view->page(), DocumentView::Page::Picture);
    s.screenshot("viewer-picture.png");

    s.add(pdfWithPages(s.file("rapor.pdf"), 3));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("PDF"));
    QCOMPARE(view->page(), DocumentView::Page::Pdf);
    QCOMPARE(view->pdf()->pageCount(), 3);
    s.screenshot("viewer-pdf.png");

    // A PDF named .doc is shown as what it is.
    s.add(pdfWithPages(s.file("yanlis.doc"), 1));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("Word"));
    QCOMPARE(view->page(), DocumentView::Page::Pdf);

    // Rich text with no LibreOffice: offered to the system's application.
    s.add(s.file("not.rtf", "{\\rtf1\\ansi Merhaba}"));
    QCOMPARE(view->page(), DocumentView::Page::Empty);
    QVERIFY(child<QPushButton>(*view, "openOutsideButton")->isVisibleTo(view));

    s.add(s.file("duz.txt", "düz metin"));
    QCOMPARE(view->page(), DocumentView::Page::Empty); // plain text is not shown

    // Delete on the grid, after the question.
    grid->setFocus();
    grid->selectRow(4);
    s.prompt.expectQuestion(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?"), true);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(s.group->attachments().nextSirno(), 5);

    s.prompt.expectMessage(QStringLiteral("Bu Bir Text Belgesi Değildir."));
    QTest::mouseClick(child<QPushButton>(*s.group, "printButton"), Qt::LeftButton);
    QVERIFY2(s.prompt.done(), qPrintable(s.prompt.report()));
    // The keyboard's print on the grid is the button's.
    s.prompt.expectMessage(QStringLiteral("Bu Bir Text Belgesi Değildir."));
    QTest::keyClick(grid, Qt::Key_P, Qt::ControlModifier);
    QVERIFY2(s.prompt.done(), qPrintable(s.prompt.report()));

    // Rights: a screen without the change right cannot replace a content.
    s.group->setRights(true, false, false);
    grid->selectRow(0);
    s.group->change();
    QVERIFY2(s.prompt.done(), qPrintable(s.prompt.report()));
}

void TestAttachmentScreens::archiveDescriptionFollowsTheChangeRight_data()
{
    QTest::addColumn<bool>("mayChange");
    QTest::newRow("with the change right") << true;
    QTest::newRow("without it") << false;
}

void TestAttachmentScreens::archiveDescriptionFollowsTheChangeRight()
{
    QFETCH(bool, mayChange);
    Screen s(Register::Archive);
    s.exec("INSERT INTO ARSTEXT (KAYNO, SIRNO, TUR, BELTUR, ACIK) VALUES (7, 1, 'A', '8', 'eski')");
    s.group->setRights(true, mayChange, true);
    QVERIFY(s.group->open(7, 2021));
    showActive(s.host);
    auto *grid = child<QTableWidget>(*s.group, "attachmentsGrid");
    grid->setFocus();
    grid->setCurrentCell(0, 4);
    QTest::keyClick(grid, Qt::Key_F2);
    if (QWidget *editor = QApplication::focusWidget(); editor && editor != grid) {
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("yeni"));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Programs that set the cell anyway (paste, a delegate) are held back too.
    grid->item(0, 4)->setText(QStringLiteral("yeni"));
    QCOMPARE(s.group->attachments().value(0, "ACIK").toString(), mayChange ? QStringLiteral("yeni") : QStringLiteral("eski"));
    QCOMPARE(s.group->attachments().isDirty(), mayChange);
}

void TestAttachmentScreens::picturesZoomAndFit()
{
    Screen s;
    QVERIFY(s.group->open(1, 2021));
    showActive(s.host);
    s.add(picture(s.file("scan.jpg")));
    DocumentView *view = s.group->view();
    auto *label = child<QLabel>(*view, "pictureLabel");
    const QSize fitted = label->size();
    QVERIFY(fitted.width() <= view->width());
    QTest::mouseClick(child<QToolButton>(*view, "zoomInButton"), Qt::LeftButton);
    QVERIFY(label->width() > fitted.width());
    QVERIFY(!child<QToolButton>(*view, "fitButton")->isChecked());
    QTest::mouseClick(child<QToolButton>(*view, "fitButton"), Qt::LeftButton);
    QCOMPARE(label->size(), fitted);
}

void TestAttachmentScreens::windowsOpenFromTheGroup()
{
    Screen s;
    QVERIFY(s.group->open(1, 2021));
    showActive(s.host);
    s.add(picture(s.file("scan.jpg")));
    QSize shown;
    s.runner.then([&](KelmaForm &f) {
        QCOMPARE(f.windowTitle(), QStringLiteral("RESİM"));
        auto *stretch = child<QPushButton>(f, "stretchButton");
        QTest::mouseClick(stretch, Qt::LeftButton);
        QVERIFY(static_cast<TFRMRESIM &>(f).stretched());
        shown = child<QLabel>(f, "pictureLabel")->pixmap().size();
        QTest::mouseClick(child<QPushButton>(f, "exitButton"), Qt::LeftButton);
    });
    QTest::mouseDClick(child<QLabel>(*s.group->view(), "pictureLabel"), Qt::LeftButton);
    QVERIFY(!shown.isEmpty());
    // Enter on the picture's row is the keyboard's double-click.
    s.runner.then([&](KelmaForm &f) { QCOMPARE(f.windowTitle(), QStringLiteral("RESİM")); });
    QTest::keyClick(s.group->grid(), Qt::Key_Return);
    QVERIFY2(s.runner.done(), qPrintable(s.runner.report()));

    s.runner.then([&](KelmaForm &f) {
        QCOMPARE(f.windowTitle(), QStringLiteral("BELGELER"));
        auto *grid = child<QTableWidget>(f, "documentsGrid");
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 3)->text(), QStringLiteral("GEL_1_1.JPG"));
        s.prompt.expectMessage(QStringLiteral("Tarayıcı Bulunamadı."));
        QTest::mouseClick(child<QPushButton>(f, "scanButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(f, "exitButton"), Qt::LeftButton);
        QVERIFY(!f.isVisible());
    });
    QTest::mouseClick(child<QPushButton>(*s.group, "detailButton"), Qt::LeftButton);
    QVERIFY2(s.runner.done(), qPrintable(s.runner.report()));
    QVERIFY2(s.prompt.done(), qPrintable(s.prompt.report()));
}

void TestAttachmentScreens::withAnIncomingRecord()
{
    Screen s;
    IncomingRecord record(s.session);
    record.openNew();
    QVERIFY(s.group->open(record.kayno(), s.session.workingYear()));
    s.add(pdfWithPages(s.file("gelen.pdf"), 2));
    QVERIFY2(record.save(QStringLiteral("26/08/2021")), qPrintable(s.prompt.report()));
    {
        fb::TwoPhaseTransaction unit(s.session.db.IBDATABASE, s.group->attachments().yearDatabase());
        s.group->attachments().apply(unit);
        unit.commit();
    }
    s.group->saved();
    QCOMPARE(s.value("SELECT DOSYA FROM GELTEXT WHERE KAYNO=:K", {{"K", record.kayno()}}).toString(),
             QStringLiteral("GEL_%1_1.PDF").arg(record.kayno()));
    QVERIFY(s.value("SELECT OCTET_LENGTH(METIN) FROM GELTEXT WHERE KAYNO=:K", {{"K", record.kayno()}}).toInt() > 100);
    QVERIFY2(s.prompt.done(), qPrintable(s.prompt.report()));
}

QTEST_MAIN(TestAttachmentScreens)
#include "tst_attachmentscreens.moc"
