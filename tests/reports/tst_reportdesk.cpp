// How each report starts: the printer set-up first or not (a cancel before any
// printer was chosen prints nothing), preview or straight printing by ONIZ,
// what the preview shows, and its print and export.

#include "pdftext.h"
#include "scriptedprinting.h"
#include "sessionfixture.h"

#include "reports/ui/previewdialog.h"
#include "reports/ui/reportdesk.h"

#include <QtTest>

using namespace reports;

namespace {

RowList someIncomingRows(int count)
{
    RowList rows(bookFields(Book::Incoming));
    for (int i = 1; i <= count; ++i)
        rows.append({QString::number(i), QStringLiteral("02.03.2021"), {}, {}, {}, QStringLiteral("VALİLİK"),
                     QStringLiteral("Konu%1").arg(i), {}, {}, {}});
    return rows;
}

} // namespace

class tst_ReportDesk : public QObject
{
    Q_OBJECT

    std::unique_ptr<SessionFixture> office;
    std::unique_ptr<ReportDesk> desk;
    ScriptedPrinterSetup setup;
    LookingRunner runner;
    RowList rows = someIncomingRows(40);
    QImage picture;

    QString file(const QString &name) { return office->dir.filePath(name + QStringLiteral(".pdf")); }

    void start(ReportId id)
    {
        switch (id) {
        case ReportId::IncomingBook: desk->printRegisterBook(Book::Incoming, rows); break;
        case ReportId::OutgoingBook: desk->printRegisterBook(Book::Outgoing, rows); break;
        case ReportId::PetitionBook: desk->printRegisterBook(Book::Petition, rows); break;
        case ReportId::IncomingSheet: desk->printIncomingSheet({}); break;
        case ReportId::OutgoingSheet: desk->printOutgoingSheet({}); break;
        case ReportId::Letter: desk->printLetter(QByteArray("Sayın ilgili")); break;
        case ReportId::Picture: desk->printPicture(picture, true, false); break;
        case ReportId::Overdue: QFAIL("the overdue report is tested with the deadlines"); break;
        }
    }

private slots:
    void init()
    {
        office = std::make_unique<SessionFixture>();
        office->session.general.ONIZ = QStringLiteral("E");
        office->session.general.LOGO = QByteArray("no picture at all");
        desk = std::make_unique<ReportDesk>(office->session);
        desk->setPrinterSetup(&setup);
        desk->setPreviewRunner(&runner);
        setup = ScriptedPrinterSetup();
        runner = LookingRunner();
        picture = QImage(40, 60, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
    }
    void cleanup()
    {
        desk.reset();
        QVERIFY2(office->prompt.done(), qPrintable(office->prompt.report()));
        office.reset();
    }

    void cancelledSetUpPrintsNothingUntilAPrinterWasChosen_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("incoming record sheet") << int(ReportId::IncomingSheet);
        QTest::newRow("outgoing record sheet") << int(ReportId::OutgoingSheet);
        QTest::newRow("letter") << int(ReportId::Letter);
        QTest::newRow("picture") << int(ReportId::Picture);
    }
    void cancelledSetUpPrintsNothingUntilAPrinterWasChosen()
    {
        QFETCH(int, id);
        setup.answers = {std::nullopt, file(QStringLiteral("chosen")), std::nullopt};
        start(ReportId(id));
        QCOMPARE(setup.asked, 1);
        QCOMPARE(runner.shown, 0);
        QVERIFY(!office->session.printReturn);

        start(ReportId(id));
        QCOMPARE(runner.shown, 1);
        QCOMPARE(runner.pages, 1);

        // A printer is chosen for this report now: a cancelled set-up still goes on.
        start(ReportId(id));
        QCOMPARE(setup.asked, 3);
        QCOMPARE(runner.shown, 2);
        QVERIFY(!QFile::exists(file(QStringLiteral("chosen"))));
    }

    void previewOrStraightToThePrinter_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("ONIZ");
        QTest::addColumn<bool>("previewed");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("printReturn");
        QTest::newRow("book, preview") << int(ReportId::IncomingBook) << "E" << true << true << true;
        QTest::newRow("book, printer") << int(ReportId::IncomingBook) << "H" << false << false << true;
        QTest::newRow("petition book, empty ONIZ") << int(ReportId::PetitionBook) << "" << false << false << true;
        QTest::newRow("record sheet always previewed") << int(ReportId::IncomingSheet) << "H" << true << false << false;
        QTest::newRow("letter, preview") << int(ReportId::Letter) << "E" << true << true << true;
        QTest::newRow("letter, printer") << int(ReportId::Letter) << "H" << false << false << true;
        QTest::newRow("picture always previewed") << int(ReportId::Picture) << "H" << true << true << false;
    }
    void previewOrStraightToThePrinter()
    {
        QFETCH(int, id);
        QFETCH(QString, ONIZ);
        QFETCH(bool, previewed);
        QFETCH(bool, maximized);
        QFETCH(bool, printReturn);
        office->session.general.ONIZ = ONIZ;
        const QString printed = file(QStringLiteral("printer"));
        if (startRule(ReportId(id)).setUpFirst)
            setup.answers = {printed};
        else // chosen at an earlier print from a preview
            desk->printers().choose(ReportId(id), {{}, printed, 1});
        start(ReportId(id));
        QCOMPARE(runner.shown, previewed ? 1 : 0);
        QCOMPARE(QFile::exists(printed), !previewed);
        QCOMPARE(office->session.printReturn, printReturn);
        if (previewed) {
            QCOMPARE(runner.maximized, maximized);
            QVERIFY(runner.fitsWidth);
        }
        if (ReportId(id) == ReportId::IncomingBook && !previewed) {
            const QStringList pages = pdfPages(printed);
            QCOMPARE(pages.size(), 2);
            QVERIFY(pages[1].contains(QStringLiteral("Konu40")));
        }
    }

    void recordSheetsCarryTheScreensTexts_data()
    {
        QTest::addColumn<bool>("incoming");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("incoming") << true
                                  << QStringList{"GELEN EVRAK BİLGİLERİ", "EVRAK KAYIT BİLGİLERİ", "Verildiği Birim",
                                                 "Teslim Alan Adı Soyadı", "Geldiği Yer", "Geliş Şekli", "Evrak Türü"};
        QTest::newRow("outgoing") << false
                                  << QStringList{"GİDEN EVRAK BİLGİLERİ", "EVRAK KAYIT BİLGİLERİ", "Gönderen Adı Soyadı",
                                                 "Gönderildiği Yer", "Gidiş Şekli"};
    }
    void recordSheetsCarryTheScreensTexts()
    {
        QFETCH(bool, incoming);
        QFETCH(QStringList, labels);
        RecordSheet s;
        s.number = QStringLiteral("4711");
        s.date = QStringLiteral("26.08.2021");
        s.fileHeading = QStringLiteral("010 : GENEL");
        s.fileCode = QStringLiteral("010.01 : MEVZUAT");
        s.department = QStringLiteral("YAZI İŞLERİ");
        s.receiverName = QStringLiteral("Gülşen Işık");
        s.receiverTitle = QStringLiteral("Şef");
        s.handOverKind = QStringLiteral("Dış");
        s.handOverNumber = QStringLiteral("77");
        s.documentType = QStringLiteral("Genelge");
        s.confidentiality = QStringLiteral("Gizli");
        s.body = QStringLiteral("VALİLİK");
        s.documentNumber = QStringLiteral("B.05.ÇĞ");
        s.way = QStringLiteral("e-Posta");
        s.enclosures = QStringLiteral("3");
        s.enclosureText = QStringLiteral("Üç ek dosya");
        s.subject = QStringLiteral("İmar planı değişikliği hakkında");
        setup.answers = {file(QStringLiteral("sheet"))};
        if (incoming)
            desk->printIncomingSheet(s);
        else
            desk->printOutgoingSheet(s);
        QCOMPARE(runner.shown, 1);
        QVERIFY(!runner.maximized);
        const QString text = packed(runner.text);
        QStringList wanted = labels;
        wanted << s.number << s.date << "010 : GENEL / 010.01 : MEVZUAT" << s.department << s.receiverName
               << s.receiverTitle << s.handOverKind << s.handOverNumber << s.confidentiality << s.body
               << s.documentNumber << s.way << s.enclosureText << s.subject;
        if (incoming)
            wanted << s.documentType;
        for (const QString &w : wanted)
            QVERIFY2(text.contains(packed(w)), qPrintable(w + u'\n' + runner.text));
    }

    void previewPrintsExportsAndTurnsPages()
    {
        const QString exported = file(QStringLiteral("exported"));
        const QString printed = file(QStringLiteral("printed"));
        office->prompt.expectSaveFile(exported);
        setup.answers = {std::nullopt, printed};
        runner.then = [&](PreviewDialog &preview) {
            preview.goToPage(preview.pageCount() - 1);
            QCOMPARE(preview.currentPage(), 1);
            preview.onExport();
            preview.onPrint(); // set-up cancelled: nothing
            QVERIFY(!QFile::exists(printed));
            preview.onPrint();
        };
        start(ReportId::IncomingBook);
        QCOMPARE(runner.pages, 2);
        QCOMPARE(pdfPageCount(exported), 2);
        QCOMPARE(pdfPageCount(printed), 2);
        QVERIFY(pdfPages(printed).value(1).contains(QStringLiteral("Sayfa No : 2 / 2")));
    }

    void directExportOfABook()
    {
        const QString target = office->dir.filePath(QStringLiteral("defter"));
        office->prompt.expectSaveFile(target);
        desk->exportRegisterBook(Book::Incoming, rows);
        QCOMPARE(pdfPageCount(target + QStringLiteral(".pdf")), 2);
        QCOMPARE(runner.shown, 0);
    }
};

QTEST_MAIN(tst_ReportDesk)
#include "tst_reportdesk.moc"
