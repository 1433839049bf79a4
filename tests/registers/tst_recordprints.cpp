// What the record screens print, started as the clerk starts it: the outgoing
// record sheet, the archive letter, the petition's picture and the picture
// viewer's. The printer set-up and the preview are played; what came out is
// read from the PDF (its text, and its pictures by pdfimages), not from pixels.

#include "registers/ui/unarsiv.h"
#include "registers/ui/undilekce.h"
#include "registers/ui/ungelen.h"
#include "registers/ui/ungiden.h"
#include "texts/ui/unresim.h"

#include "storage/ui/documentview.h"

#include "formtest.h"
#include "keptattachments.h"
#include "office.h"
#include "pdftext.h"
#include "scriptedprinting.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

Office office()
{
    return Office({
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (1,'YAZI İŞLERİ','B','AHMET YILMAZ','MÜDÜR','YZ-')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (9,'ANKARA VALİLİĞİ','K')"),
        QStringLiteral("SET GENERATOR GEN_BKOD TO 9")});
}

/// Pictures a PDF file holds, as pdfimages lists them: "width x height" each.
QStringList pdfPictures(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file});
    p.waitForFinished();
    QStringList out;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines.mid(2)) { // two heading lines
        const QStringList f = line.simplified().split(u' ');
        if (f.size() > 4)
            out << f[3] + QStringLiteral(" x ") + f[4];
    }
    return out;
}

QByteArray pngLogo()
{
    QImage logo(30, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "PNG");
    return bytes;
}

/// The screen's reports with the person at the set-up and the preview played.
template <typename Screen>
void play(Screen &screen, ScriptedPrinterSetup &setup, LookingRunner &runner)
{
    screen.reportDesk().setPrinterSetup(&setup);
    screen.reportDesk().setPreviewRunner(&runner);
}

/// A record screen opened in `tag` mode on `kayno`, its reports played.
template <typename Screen>
void open(Screen &screen, int tag, ScriptedPrinterSetup &setup, LookingRunner &runner, int kayno = 0)
{
    screen.tag = tag;
    screen.kayno = kayno;
    showActive(screen);
    play(screen, setup, runner);
}

/// Every text is in what the preview showed.
void expectShown(const LookingRunner &runner, const QStringList &texts)
{
    const QString shown = packed(runner.text);
    for (const QString &t : texts)
        QVERIFY2(shown.contains(packed(t)), qPrintable(t + u'\n' + runner.text));
}

} // namespace

class TestRecordPrints : public QObject
{
    Q_OBJECT

private slots:
    void incomingRecordSheet();
    void outgoingRecordSheet();
    void archiveLetter_data();
    void archiveLetter();
    void petitionPicture();
    void viewerPrintsWithItsOwnReports();
};

void TestRecordPrints::incomingRecordSheet()
{
    Office o = office();
    ScriptedPrinterSetup setup;
    LookingRunner runner;
    TFRMGELEN screen(o.session, o.runner);
    open(screen, 1, setup, runner);
    auto *files = child<QComboBox>(screen, "fileCodeBox");
    files->setCurrentIndex(files->findData("010.01"));
    auto *senders = child<QComboBox>(screen, "senderBox");
    senders->setCurrentIndex(senders->findData(9));
    child<QLineEdit>(screen, "receiverNameEdit")->setText(QStringLiteral("Şükrü Öztürk"));
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Işıklandırma ihalesi"));
    // F7: the set-up cancelled the first time prints nothing; then the sheet is previewed.
    setup.answers = {std::nullopt, o.db.folder() + QStringLiteral("/yazici.pdf")};
    QTest::keyClick(&screen, Qt::Key_F7);
    QCOMPARE(runner.shown, 0);
    QTest::keyClick(&screen, Qt::Key_F7);
    QCOMPARE(runner.shown, 1);
    expectShown(runner, {QStringLiteral("GELEN EVRAK BİLGİLERİ"), QStringLiteral("010 : Mevzuat İşleri / 010.01 : Kanunlar"),
                         QStringLiteral("ANKARA VALİLİĞİ"), QStringLiteral("Şükrü Öztürk"),
                         QStringLiteral("Işıklandırma ihalesi"), QStringLiteral("Hizmete Özel")});
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRecordPrints::outgoingRecordSheet()
{
    Office o = office();
    o.session.general.ONIZ = QStringLiteral("H"); // the sheet is previewed all the same
    ScriptedPrinterSetup setup;
    LookingRunner runner;
    TFRMGIDEN screen(o.session, o.runner);
    open(screen, 1, setup, runner);
    auto *departments = child<QComboBox>(screen, "departmentCombo");
    departments->setCurrentIndex(departments->findData(1));
    child<QLineEdit>(screen, "signerNameEdit")->setText(QStringLiteral("Gülşen Işık"));
    child<QLineEdit>(screen, "addresseeEdit")->setText(QStringLiteral("İmar Müdürlüğü"));
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Çevre düzenlemesi hakkında"));
    QAction *print = screen.findChild<QAction *>(QStringLiteral("printRecordAction"));
    QVERIFY(print);

    // The set-up cancelled before any printer was chosen: nothing at all.
    setup.answers = {std::nullopt, o.db.folder() + QStringLiteral("/yazici.pdf"), std::nullopt};
    print->trigger();
    QCOMPARE(setup.asked, 1);
    QCOMPARE(runner.shown, 0);

    print->trigger();
    QCOMPARE(runner.shown, 1);
    QVERIFY(!runner.maximized);
    expectShown(runner, {QStringLiteral("GİDEN EVRAK BİLGİLERİ"), QStringLiteral("Gönderen Birim"),
                         QStringLiteral("YAZI İŞLERİ"), QStringLiteral("Gülşen Işık"), QStringLiteral("İmar Müdürlüğü"),
                         QStringLiteral("Çevre düzenlemesi hakkında"), QStringLiteral("Posta İle"),
                         QStringLiteral("26/08/2021")});

    // A printer is chosen for the sheet now: a cancelled set-up still previews.
    print->trigger();
    QCOMPARE(runner.shown, 2);
    // The screen is as it was, nothing saved.
    QVERIFY(screen.isVisible());
    QCOMPARE(child<QPlainTextEdit>(screen, "subjectEdit")->toPlainText(), QStringLiteral("Çevre düzenlemesi hakkında"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM GIDEN").toInt(), 0);
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRecordPrints::archiveLetter_data()
{
    QTest::addColumn<QString>("oniz");
    QTest::newRow("preview first") << "E";
    QTest::newRow("straight to the printer") << "H";
}

void TestRecordPrints::archiveLetter()
{
    QFETCH(QString, oniz);
    const bool preview = oniz == QLatin1String("E");
    Office o = office();
    KeptAttachments kept(o.session, o.db);
    o.session.general.ONIZ = oniz;
    o.session.general.LOGO = pngLogo();
    const QString printed = o.db.folder() + QStringLiteral("/mektup.pdf");
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1254 Say\\'fdn \\b Valilik\\b0 , ar\\'feiv dosyas\\'fd ekte "
                           "sunulmu\\'fetur.\\par}";
    ScriptedPrinterSetup setup;
    LookingRunner runner;
    int kayno = 0;
    {
        TFRMARSIV screen(o.session, o.runner);
        open(screen, 1, setup, runner);
        kayno = screen.kayno;
        o.prompt.expectOpenFile(kept.picture(QStringLiteral("kapak.jpg")))
            .expectOpenFile(kept.file(QStringLiteral("yazi.rtf"), rtf));
        child<QPushButton>(screen, "addButton")->click();
        child<QPushButton>(screen, "addButton")->click();
        auto *grid = child<QTableWidget>(screen, "attachmentsGrid");

        // A picture is no letter: said, and no set-up.
        grid->selectRow(0);
        o.prompt.expectMessage(QStringLiteral("Bu Bir Text Belgesi Değildir."));
        child<QPushButton>(screen, "printLetterButton")->click();
        QCOMPARE(setup.asked, 0);

        // The text as chosen in this opening; the set-up cancelled first prints nothing.
        grid->selectRow(1);
        setup.answers = {std::nullopt, printed};
        child<QPushButton>(screen, "printButton")->click(); // the attachment group's "Yazdır"
        QCOMPARE(setup.asked, 1);
        QCOMPARE(runner.shown, 0);
        QVERIFY(!QFile::exists(printed));
        child<QPushButton>(screen, "printLetterButton")->click();
        QCOMPARE(runner.shown, preview ? 1 : 0);
        QCOMPARE(QFile::exists(printed), !preview);
        QVERIFY(o.session.printReturn);
        const QString text = preview ? runner.text : pdfPages(printed).join(u'\n');
        QVERIFY2(packed(text).contains(packed(QStringLiteral("Sayın Valilik, arşiv dosyası ekte sunulmuştur."))),
                 qPrintable(text));
        if (!preview)
            QCOMPARE(pdfPictures(printed), QStringList{QStringLiteral("30 x 20")}); // the logo
        QTest::keyClick(&screen, Qt::Key_F5);
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    }

    // Saved: the letter comes from the yearly database.
    o.session.printReturn = false; // as the list does before it opens a record
    QFile::remove(printed);
    TFRMARSIV screen(o.session, o.runner);
    open(screen, 2, setup, runner, kayno);
    child<QTableWidget>(screen, "attachmentsGrid")->selectRow(1);
    setup.answers = {printed};
    child<QPushButton>(screen, "printLetterButton")->click();
    const QString text = preview ? runner.text : pdfPages(printed).join(u'\n');
    QVERIFY2(packed(text).contains(packed(QStringLiteral("arşiv dosyası ekte sunulmuştur"))), qPrintable(text));
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRecordPrints::petitionPicture()
{
    Office o = office();
    KeptAttachments kept(o.session, o.db);
    o.session.general.ONIZ = QStringLiteral("H"); // the picture is previewed all the same
    ScriptedPrinterSetup setup;
    LookingRunner runner;
    TFRMDILEKCE screen(o.session, o.runner);
    open(screen, 1, setup, runner);

    // Nothing shown yet: nothing to print.
    o.prompt.expectMessage(QStringLiteral("resim belgesi seçiniz"));
    child<QPushButton>(screen, "printButton")->click();
    QCOMPARE(setup.asked, 0);

    o.prompt.expectOpenFile(kept.picture(QStringLiteral("dilekce.jpg")));
    child<QPushButton>(screen, "addButton")->click();
    const QString printed = o.db.folder() + QStringLiteral("/resim.pdf");
    setup.answers = {printed, printed};
    runner.then = [](reports::PreviewDialog &preview) { preview.onPrint(); };
    child<QPushButton>(screen, "printButton")->click();
    QCOMPARE(runner.shown, 1);
    QCOMPARE(runner.pages, 1);
    QVERIFY(runner.maximized);
    QVERIFY(o.session.printReturn);
    QCOMPARE(pdfPictures(printed), QStringList{QStringLiteral("64 x 48")});

    // The picture viewer, opened by a double-click, prints through the same
    // reports: the printer chosen above stays chosen, so a cancel still previews.
    runner.then = nullptr;
    o.runner.then([&](KelmaForm &viewer) {
        QCOMPARE(viewer.windowTitle(), QStringLiteral("RESİM"));
        setup.answers = {std::nullopt};
        child<QPushButton>(viewer, "printButton")->click();
        QTest::mouseClick(child<QPushButton>(viewer, "exitButton"), Qt::LeftButton);
    });
    QTest::mouseDClick(child<QLabel>(*child<DocumentView>(screen, "documentView"), "pictureLabel"), Qt::LeftButton);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QCOMPARE(runner.shown, 2);
    QVERIFY(screen.isVisible());
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestRecordPrints::viewerPrintsWithItsOwnReports()
{
    Office o = office();
    ScriptedPrinterSetup setup;
    LookingRunner runner;
    TFRMRESIM viewer(o.session);
    QImage picture(80, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    viewer.setPicture(picture);
    showActive(viewer);
    play(viewer, setup, runner);
    const QString printed = o.db.folder() + QStringLiteral("/esnek.pdf");
    setup.answers = {printed, printed};
    runner.then = [](reports::PreviewDialog &preview) { preview.onPrint(); };
    QTest::mouseClick(child<QPushButton>(viewer, "stretchButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(viewer, "printButton"), Qt::LeftButton);
    QCOMPARE(runner.shown, 1);
    QCOMPARE(pdfPictures(printed).size(), 1);
    // The picture print is no list print: the viewer does not set the print-return flag.
    QVERIFY(!o.session.printReturn);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

QTEST_MAIN(TestRecordPrints)
#include "tst_recordprints.moc"
