// The definition screens driven as a clerk would, against real database files.

#include "core/attachmentlimit.h"
#include "definitions/ui/definitionsmenu.h"
#include "kit/gridparts.h"
#include "definitions/ui/unbirbil.h"
#include "definitions/ui/unbirlst.h"
#include "definitions/ui/unecbil.h"
#include "definitions/ui/unectan.h"
#include "definitions/ui/unetur.h"
#include "definitions/ui/ungentan.h"
#include "definitions/ui/unkurbil.h"
#include "definitions/ui/unkurbul.h"
#include "definitions/ui/unsdpbul.h"

#include "formtest.h"
#include "office.h"
#include "scriptedrunner.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

QStringList column(const QAbstractItemModel *model, int col = 0)
{
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r)
        out << model->index(r, col).data().toString();
    return out;
}

int indexOfText(const QComboBox *box, const QString &text)
{
    return box->findText(text);
}

} // namespace

class TestDefinitionScreens : public QObject
{
    Q_OBJECT

private slots:
    void generalDefinitionsShowsTheProvincesDistricts();
    void generalDefinitionsSaveReachesTheWorkstation();
    void emblemStaysWhenTheRestIsCancelled();

    void filePlanDialog();
    void filePlanDescriptionSearchTypesTurkishCapitals();

    void bodyFinder();
    void bodyRecordListsSimilarNamesAndFollowsItsKind();
    void departmentListAddsChangesAndDeletes();
    void recordOfAVanishedRowCloses();

    void documentTypesGrid();
    void refusedRowKeepsTheHighlight();
    void archiveKindScreens();
};

void TestDefinitionScreens::generalDefinitionsShowsTheProvincesDistricts()
{
    Office o;
    o.exec("UPDATE TANIM SET ILKOD='06', ILCEKOD=(SELECT MIN(ILCEKOD) FROM ILCE WHERE ILKOD='06'), SRVSAKLA='E'");
    o.exec("INSERT INTO IL (ILKOD,ILADI) VALUES ('99','İLÇESİZ')");
    const int ankaraDistricts = o.query("SELECT COUNT(*) FROM ILCE WHERE ILKOD='06'").toInt();
    TFRMGENTAN screen(o.session);
    showActive(screen);
    QCOMPARE(child<QComboBox>(screen, "provinceBox")->currentText(), QStringLiteral("ANKARA"));
    QCOMPARE(child<QComboBox>(screen, "districtBox")->count(), ankaraDistricts);
    QCOMPARE(child<QComboBox>(screen, "districtBox")->currentData().toInt(),
             o.query("SELECT MIN(ILCEKOD) FROM ILCE WHERE ILKOD='06'").toInt());
    QVERIFY(child<QGroupBox>(screen, "serverGroup")->isEnabled());
    child<QComboBox>(screen, "keepOnServerBox")->setCurrentIndex(indexOfText(child<QComboBox>(screen, "keepOnServerBox"), "Hayır"));
    QVERIFY(!child<QGroupBox>(screen, "serverGroup")->isEnabled());
    QVERIFY(!child<QLineEdit>(screen, "fileServerEdit")->isEnabled());
    QVERIFY(!child<QLineEdit>(screen, "serverPortEdit")->isEnabled());

    // The user picks a province without districts: nothing to choose, none stored.
    child<QComboBox>(screen, "provinceBox")->setFocus();
    QTest::keyClick(child<QComboBox>(screen, "provinceBox"), Qt::Key_End);
    QCOMPARE(child<QComboBox>(screen, "provinceBox")->currentText(), QStringLiteral("İLÇESİZ"));
    QCOMPARE(child<QComboBox>(screen, "districtBox")->count(), 0);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(screen.tag, 1);
    QCOMPARE(o.query("SELECT ILKOD || '/' || COALESCE(ILCEKOD, 0) || SRVSAKLA FROM TANIM").toString(),
             QStringLiteral("99/0H"));
}

void TestDefinitionScreens::generalDefinitionsSaveReachesTheWorkstation()
{
    Office o;
    o.session.workstation.colour = QStringLiteral("Y");
    ScriptedRunner runner;
    runner.then([&](KelmaForm &form) {
        auto &screen = static_cast<TFRMGENTAN &>(form);
        showActive(screen);
        QCOMPARE(child<QLineEdit>(screen, "yearEdit")->text(), QStringLiteral("2021"));
        QCOMPARE(child<QComboBox>(screen, "colourBox")->currentText(), QStringLiteral("Yeşil"));
        child<QLineEdit>(screen, "yearEdit")->selectAll();
        QTest::keyClicks(child<QLineEdit>(screen, "yearEdit"), "2022");
        child<QComboBox>(screen, "colourBox")->setCurrentIndex(indexOfText(child<QComboBox>(screen, "colourBox"), "...."));
        child<QComboBox>(screen, "readingModeBox")->setCurrentIndex(indexOfText(child<QComboBox>(screen, "readingModeBox"), "Yerel (Terminal)"));
        child<QLineEdit>(screen, "localFolderEdit")->setText(QStringLiteral("/evrak/yerel"));
        QCOMPARE(child<QLineEdit>(screen, "sizeLimitEdit")->text(), QStringLiteral("100"));
        child<QLineEdit>(screen, "sizeLimitEdit")->setText(QStringLiteral("250"));
        child<QComboBox>(screen, "documentKindBox")->setCurrentIndex(indexOfText(child<QComboBox>(screen, "documentKindBox"), "Acrobat (PDF)"));
        child<QLineEdit>(screen, "institutionEdit")->setText(QStringLiteral("ÇANKAYA BELEDİYESİ"));
        o.prompt.expectMessage("Yeni form rengi programın bir sonraki açılışında geçerli olacaktır.");
        QTest::keyClick(&screen, Qt::Key_F5);
    });
    QCOMPARE(definitions::showGenelTanimlar(o.session, runner, nullptr), 1);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    // What the main window takes after tag 1.
    QCOMPARE(o.session.workstation.year, QStringLiteral("2022"));
    QCOMPARE(o.session.workstation.colour, QString());
    QCOMPARE(o.session.workstation.readMode, QStringLiteral("Y"));
    QCOMPARE(o.session.workstation.localFolder, QStringLiteral("/evrak/yerel"));
    QCOMPARE(attachmentlimit::mb(o.session), 250);
    QCOMPARE(o.query("SELECT KURUM || ABT FROM TANIM").toString(), QStringLiteral("ÇANKAYA BELEDİYESİ2"));

    // A cancelled screen changes nothing.
    runner.then([&](KelmaForm &form) {
        auto &screen = static_cast<TFRMGENTAN &>(form);
        showActive(screen);
        child<QLineEdit>(screen, "yearEdit")->setText(QStringLiteral("2030"));
        QTest::keyClick(&screen, Qt::Key_F6);
    });
    QCOMPARE(definitions::showGenelTanimlar(o.session, runner, nullptr), 0);
    QCOMPARE(o.session.workstation.year, QStringLiteral("2022"));
}

void TestDefinitionScreens::emblemStaysWhenTheRestIsCancelled()
{
    Office o;
    QTemporaryDir dir;
    const QString picture = dir.filePath("amblem.png");
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(picture));
    const QString notPicture = dir.filePath("amblem.bmp");
    QFile f(notPicture);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("düz metin");
    f.close();

    TFRMGENTAN screen(o.session);
    showActive(screen);
    child<QLineEdit>(screen, "institutionEdit")->setText(QStringLiteral("VAZGEÇİLECEK AD"));
    o.prompt.expectOpenFile(notPicture);
    o.prompt.expectMessage("bir resim değil");
    child<QPushButton>(screen, "addEmblemButton")->click();
    QVERIFY(child<QLabel>(screen, "emblemImage")->pixmap().isNull());
    o.prompt.expectOpenFile(picture);
    child<QPushButton>(screen, "addEmblemButton")->click();
    QVERIFY(!child<QLabel>(screen, "emblemImage")->pixmap().isNull());
    QTest::keyClick(&screen, Qt::Key_F6);
    QCOMPARE(screen.tag, 0);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    QFile stored(picture);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(o.query("SELECT LOGO FROM TANIM").toByteArray(), stored.readAll());
    QCOMPARE(o.query("SELECT KURUM FROM TANIM").toString(), QStringLiteral("BELEDİYE BAŞKANLIĞI"));

    // "Sil" goes with the next save.
    TFRMGENTAN again(o.session);
    showActive(again);
    QVERIFY(!child<QLabel>(again, "emblemImage")->pixmap().isNull());
    child<QPushButton>(again, "removeEmblemButton")->click();
    QVERIFY(!o.query("SELECT LOGO FROM TANIM").isNull());
    QTest::keyClick(&again, Qt::Key_F5);
    QVERIFY(o.query("SELECT LOGO FROM TANIM").isNull());
}

void TestDefinitionScreens::filePlanDialog()
{
    Office o;
    TFRMSDPBUL dialog(o.session);
    dialog.tag = 1;
    showActive(dialog);
    // No 251 in the shipped plan: the first main code.
    QCOMPARE(child<QTableView>(dialog, "mainCodesGrid")->currentIndex().data().toString(), QStringLiteral("000"));
    QCOMPARE(child<QLineEdit>(dialog, "codeEdit")->text(), QStringLiteral("000"));
    QCOMPARE(column(dialog.codeModel()), QStringList{"000"});
    QCOMPARE(dialog.codeModel()->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0x80, 0, 0));

    child<QLineEdit>(dialog, "codeEdit")->setFocus(Qt::TabFocusReason);
    child<QLineEdit>(dialog, "codeEdit")->clear();
    QTest::keyClicks(child<QLineEdit>(dialog, "codeEdit"), "01");
    const QStringList codes = column(dialog.codeModel());
    QCOMPARE(codes.size(), 13);
    QCOMPARE(codes.first(), QStringLiteral("010"));
    // 010 has sub-codes (red), 010.01 does not (the grid's own colour).
    QCOMPARE(dialog.codeModel()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QVERIFY(!dialog.codeModel()->index(1, 0).data(Qt::ForegroundRole).isValid());

    o.prompt.expectMessage("DİKKAT! Detay Kod için İşlem Yapmalısınız..");
    QTest::keyClick(child<QLineEdit>(dialog, "codeEdit"), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    // The main-code list follows a description typed above it.
    QTest::keyClicks(child<QLineEdit>(dialog, "moveToDescriptionEdit"), "Mevzuat");
    QCOMPARE(child<QTableView>(dialog, "mainCodesGrid")->currentIndex().data().toString(), QStringLiteral("010"));
    QCOMPARE(child<QLineEdit>(dialog, "codeEdit")->text(), QStringLiteral("010"));

    o.prompt.expectMessage("İşlem Tamamlandı..");
    child<QAction>(dialog, "mainCodeCheckAction")->trigger();
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    child<QTableView>(dialog, "codesGrid")->setFocus();
    child<QTableView>(dialog, "codesGrid")->setCurrentIndex(dialog.codeModel()->index(1, 0));
    QTest::keyClick(child<QTableView>(dialog, "codesGrid"), Qt::Key_Return);
    QCOMPARE(dialog.tag, 1);
    QCOMPARE(dialog.KOD, QStringLiteral("010.01"));
    QVERIFY(!dialog.isVisible());

    // Escape leaves with nothing chosen.
    TFRMSDPBUL again(o.session);
    again.tag = 1;
    showActive(again);
    QTest::keyClick(&again, Qt::Key_Escape);
    QCOMPARE(again.tag, 0);
    QVERIFY(again.KOD.isEmpty());
    QVERIFY(!again.isVisible());
}

void TestDefinitionScreens::filePlanDescriptionSearchTypesTurkishCapitals()
{
    Office o;
    TFRMSDPBUL dialog(o.session);
    showActive(dialog);
    child<QLineEdit>(dialog, "descriptionEdit")->setFocus(Qt::TabFocusReason);
    QVERIFY(child<QLineEdit>(dialog, "codeEdit")->text().isEmpty());
    typeText(child<QLineEdit>(dialog, "descriptionEdit"), "imar planı");
    QCOMPARE(child<QLineEdit>(dialog, "descriptionEdit")->text(), QStringLiteral("İMAR PLANI"));
    QCOMPARE(column(dialog.codeModel()),
             QStringList({"115.01.02", "115.01.03", "115.01.04", "115.01.05", "115.01.06"}));
    // Word search: the last word, with its blank, anywhere; a blank just typed does not count.
    child<QCheckBox>(dialog, "wordSearchCheck")->setChecked(true);
    QTest::keyClick(child<QLineEdit>(dialog, "descriptionEdit"), Qt::Key_Backspace);
    typeText(child<QLineEdit>(dialog, "descriptionEdit"), " ");
    QCOMPARE(child<QLineEdit>(dialog, "descriptionEdit")->text(), QStringLiteral("İMAR PLAN "));
    const QStringList words = column(dialog.codeModel());
    QVERIFY(words.contains(QStringLiteral("602.01")));     // Kalkınma Planı
    QVERIFY(!words.contains(QStringLiteral("115.01")));    // Planlama ve Uygulama
    QVERIFY(words.contains(QStringLiteral("115.01.07")));  // Parselasyon Planı
    // Entering the code box goes back to codes.
    child<QLineEdit>(dialog, "codeEdit")->setFocus(Qt::TabFocusReason);
    QVERIFY(child<QLineEdit>(dialog, "descriptionEdit")->text().isEmpty());
    QCOMPARE(dialog.codeModel()->rowCount(), 1110);
}

void TestDefinitionScreens::bodyFinder()
{
    Office o;
    const QStringList bodies = {"ANKARA VALİLİĞİ", "ANKARA BÜYÜKŞEHİR BELEDİYESİ", "BÜYÜKŞEHİR SU İDARESİ",
                                "BÜYÜKŞEHİR İTFAİYESİ"};
    for (int i = 0; i < bodies.size(); ++i)
        o.addBody(i + 1, bodies[i]);
    TFRMKURBUL finder(o.session);
    finder.tag = 1;
    showActive(finder);
    QCOMPARE(finder.rows().size(), 4);
    QVERIFY(!child<QPushButton>(finder, "addCodeButton")->isVisible());
    typeText(child<QLineEdit>(finder, "nameEdit"), "ankara büyükşehir");
    QCOMPARE(column(child<QTableView>(finder, "bodiesGrid")->model()), QStringList{"ANKARA BÜYÜKŞEHİR BELEDİYESİ"});
    child<QCheckBox>(finder, "wordSearchCheck")->setChecked(true);
    QCOMPARE(column(child<QTableView>(finder, "bodiesGrid")->model()), QStringList({"BÜYÜKŞEHİR İTFAİYESİ", "BÜYÜKŞEHİR SU İDARESİ"}));
    typeText(child<QLineEdit>(finder, "nameEdit"), " ");
    QCOMPARE(column(child<QTableView>(finder, "bodiesGrid")->model()), QStringList({"BÜYÜKŞEHİR İTFAİYESİ", "BÜYÜKŞEHİR SU İDARESİ"}));
    QTest::keyClick(child<QLineEdit>(finder, "nameEdit"), Qt::Key_Return);
    QCOMPARE(finder.tag, 1);
    QCOMPARE(finder.BKOD, 4);

    TFRMKURBUL again(o.session);
    again.tag = 1;
    showActive(again);
    QTest::keyClick(&again, Qt::Key_Escape);
    QCOMPARE(again.tag, 0);
    QVERIFY(!again.isVisible());
}

void TestDefinitionScreens::bodyRecordListsSimilarNamesAndFollowsItsKind()
{
    Office o;
    // Above the generator, as the register screens' own bodies would be.
    o.addBody(101, "BÜYÜKŞEHİR SU İDARESİ");
    o.addBody(102, "ANKARA VALİLİĞİ");
    TFRMKURBIL record(o.session);
    record.tag = 0; // as the register screens open it
    showActive(record);
    QCOMPARE(child<QComboBox>(record, "personKindBox")->currentText(), QStringLiteral("Kamu"));
    QCOMPARE(child<QLabel>(record, "nameCaptionLabel")->text(), QStringLiteral(" Kurum Adı"));
    QLineEdit *name = child<QLineEdit>(record, "nameEdit");
    typeText(name, "ankara büyükşehir ");
    QCOMPARE(record.similar().size(), 1);
    QCOMPARE(record.similar().first().BIRIM, QStringLiteral("BÜYÜKŞEHİR SU İDARESİ"));

    child<QComboBox>(record, "personKindBox")->setCurrentIndex(2);
    QCOMPARE(child<QLabel>(record, "nameCaptionLabel")->text(), QStringLiteral(" Kişi Adı Soyadı"));
    QCOMPARE(child<QLabel>(record, "contactCaptionLabel")->text(), QStringLiteral(" T.C. Kimlik No"));
    child<QComboBox>(record, "personKindBox")->setCurrentIndex(1);
    QCOMPARE(child<QLabel>(record, "nameCaptionLabel")->text(), QStringLiteral(" Firma Adı"));
    QCOMPARE(child<QLabel>(record, "contactCaptionLabel")->text(), QStringLiteral(" Yetkili Adı Soyadı"));

    name->clear();
    o.prompt.expectMessage("DİKKAT! Kurum Adını Girmelisiniz.");
    QTest::keyClick(&record, Qt::Key_F5);
    QVERIFY(record.isVisible());
    QCOMPARE(QApplication::focusWidget(), name);
    typeText(name, "ÖZ İNŞAAT LTD");
    QTest::keyClick(&record, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(record.tag, 1);
    QVERIFY(record.BKOD > 0);
    QCOMPARE(o.query("SELECT GTUR || BIRIM FROM BIRIM WHERE BKOD=:K", {{"K", record.BKOD}}).toString(),
             QStringLiteral("TÖZ İNŞAAT LTD"));
}

void TestDefinitionScreens::departmentListAddsChangesAndDeletes()
{
    Office o;
    ScriptedRunner runner;
    int added = 0;
    runner.then([&](KelmaForm &form) {
        auto &list = static_cast<TFRMBIRLST &>(form);
        showActive(list);
        QCOMPARE(list.windowTitle(), QStringLiteral("BİRİM TANIMLARI"));
        QCOMPARE(child<QTableView>(list, "listGrid")->model()->rowCount(), 0);
        QTest::keyClick(&list, Qt::Key_F2); // the record below
        QCOMPARE(column(child<QTableView>(list, "listGrid")->model(), 1), QStringList{"YAZI İŞLERİ"});
        added = list.currentBKOD();
        showActive(list);
        QTest::keyClick(&list, Qt::Key_F4); // changed below
        QCOMPARE(child<QTableView>(list, "listGrid")->currentIndex().data().toString(), QStringLiteral("YİM"));
        QCOMPARE(column(child<QTableView>(list, "listGrid")->model(), 2), QStringList{"AHMET YILMAZ"});
        // The keys work as their buttons say.
        o.prompt.expectQuestion("Silinecektir", true);
        QTest::keyClick(&list, Qt::Key_F10);
        QCOMPARE(child<QTableView>(list, "listGrid")->model()->rowCount(), 0);
        showActive(list);
        QTest::keyClick(&list, Qt::Key_Escape);
    });
    runner.then([&](KelmaForm &form) {
        auto &record = static_cast<TFRMBIRBIL &>(form);
        QCOMPARE(record.tag, 0);
        child<QLineEdit>(record, "nameEdit")->setText(QStringLiteral("YAZI İŞLERİ"));
        child<QPushButton>(record, "saveButton")->click();
    });
    runner.then([&](KelmaForm &form) {
        auto &record = static_cast<TFRMBIRBIL &>(form);
        QCOMPARE(record.tag, 1);
        QCOMPARE(record.BKOD, added);
        QCOMPARE(child<QLineEdit>(record, "nameEdit")->text(), QStringLiteral("YAZI İŞLERİ"));
        // The short code is skipped by Tab.
        QCOMPARE(child<QLineEdit>(record, "shortCodeEdit")->focusPolicy(), Qt::ClickFocus);
        child<QLineEdit>(record, "shortCodeEdit")->setText(QStringLiteral("YİM"));
        child<QLineEdit>(record, "contactEdit")->setText(QStringLiteral("AHMET YILMAZ"));
        child<QPushButton>(record, "saveButton")->click();
    });
    definitions::showBirimTanimlari(o.session, runner, nullptr);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(runner.shown(), QStringList({"TFRMBIRLST", "TFRMBIRBIL", "TFRMBIRBIL"}));
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM").toInt(), 0);
}

void TestDefinitionScreens::recordOfAVanishedRowCloses()
{
    Office o;
    o.addBody(3, "SİLİNECEK KURUM");
    ScriptedRunner runner;
    runner.then([&](KelmaForm &form) {
        auto &list = static_cast<TFRMKURLST &>(form);
        showActive(list);
        QCOMPARE(column(child<QTableView>(list, "listGrid")->model(), 1), QStringList{"SİLİNECEK KURUM"});
        o.exec("DELETE FROM BIRIM WHERE BKOD=3");
        o.prompt.expectMessage("Dikkat bir hata oluşru...");
        child<QPushButton>(list, "changeButton")->click();
        QCOMPARE(child<QTableView>(list, "listGrid")->model()->rowCount(), 0);
        child<QPushButton>(list, "exitButton")->click();
    });
    runner.then([&](KelmaForm &form) {
        QTRY_VERIFY(!form.isVisible());
        QCOMPARE(form.tag, 0);
    });
    definitions::showKurumTanimlari(o.session, runner, nullptr);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDefinitionScreens::documentTypesGrid()
{
    Office o;
    TFRMETUR screen(o.session);
    showActive(screen);
    QAbstractItemModel *model = child<QTableView>(screen, "typesGrid")->model();
    QCOMPARE(column(model), QStringList({"GENEL EVRAK", "DİLEKÇE"}));

    // A row renamed onto another's name cannot be left.
    child<QTableView>(screen, "typesGrid")->setCurrentIndex(model->index(1, 0));
    model->setData(model->index(1, 0), QStringLiteral("GENEL EVRAK"));
    o.prompt.expectMessage("DİKKAT! Bu Evrak Türü Kayıtlıdır...");
    child<QTableView>(screen, "typesGrid")->setCurrentIndex(model->index(0, 0));
    QCOMPARE(child<QTableView>(screen, "typesGrid")->currentIndex().row(), 1);
    model->setData(model->index(1, 0), QStringLiteral("DİLEKÇE"));
    child<QTableView>(screen, "typesGrid")->setCurrentIndex(model->index(0, 0));
    QCOMPARE(child<QTableView>(screen, "typesGrid")->currentIndex().row(), 0);

    // Down on the last row opens a new one; left empty it goes away.
    child<QTableView>(screen, "typesGrid")->setCurrentIndex(model->index(1, 0));
    QTest::keyClick(child<QTableView>(screen, "typesGrid"), Qt::Key_Down);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(child<QTableView>(screen, "typesGrid")->currentIndex().row(), 2);
    child<QTableView>(screen, "typesGrid")->setCurrentIndex(model->index(0, 0));
    QCOMPARE(model->rowCount(), 2);
    child<QTableView>(screen, "typesGrid")->setCurrentIndex(model->index(1, 0));
    QTest::keyClick(child<QTableView>(screen, "typesGrid"), Qt::Key_Insert);
    model->setData(model->index(2, 0), QStringLiteral("GENELGE"));
    QTest::keyClick(&screen, Qt::Key_Escape);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(!screen.isVisible());
    QCOMPARE(o.query("SELECT LIST(ETKOD || EVTUR) FROM (SELECT * FROM EVTUR ORDER BY ETKOD)").toString(),
             QStringLiteral("1GENEL EVRAK,2DİLEKÇE,3GENELGE"));
}

void TestDefinitionScreens::refusedRowKeepsTheHighlight()
{
    Office o;
    TFRMETUR screen(o.session);
    showActive(screen);
    auto *grid = child<QTableView>(screen, "typesGrid");
    QAbstractItemModel *model = grid->model();
    grid->setCurrentIndex(model->index(1, 0));
    model->setData(model->index(1, 0), QString(31, u'Ş'));

    // The clerk clicks the row above: refused, and both the typing and the
    // highlight stay on the row to correct.
    o.prompt.expectMessage("en fazla 30");
    const QPoint above = grid->visualRect(model->index(0, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, above);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCoreApplication::processEvents();
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(grid->selectionModel()->selectedRows().first().row(), 1);

    // Corrected, the click goes through.
    model->setData(model->index(1, 0), QStringLiteral("DİLEKÇELER"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, above);
    QCoreApplication::processEvents();
    QCOMPARE(grid->currentIndex().row(), 0);
    QCOMPARE(grid->selectionModel()->selectedRows().first().row(), 0);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDefinitionScreens::archiveKindScreens()
{
    Office o;
    ScriptedRunner runner;
    runner.then([&](KelmaForm &form) {
        auto &list = static_cast<TFRMECTANIM &>(form);
        showActive(list);
        QCOMPARE(list.kinds().size(), 0);
        QTest::keyClick(&list, Qt::Key_F2);
        QCOMPARE(column(child<QTableView>(list, "kindsGrid")->model()), QStringList{"İMAR DOSYASI"});
        QCOMPARE(column(child<QTableView>(list, "kindsGrid")->model(), 1), QStringList{"TEKNİK EVRAK"});
        QCOMPARE(column(child<QTableView>(list, "fieldsGrid")->model()), QStringList({"Ada No", "Tarihi"}));
        QCOMPARE(column(child<QTableView>(list, "fieldsGrid")->model(), 1), QStringList({"Sayısal", "Tarih"}));
        showActive(list);
        QTest::keyClick(&list, Qt::Key_F4);
        QCOMPARE(column(child<QTableView>(list, "kindsGrid")->model()), QStringList{"İMAR DOSYASI"});
        showActive(list);
        QTest::keyClick(&list, Qt::Key_Escape);
    });
    runner.then([&](KelmaForm &form) {
        // A screen opened from another is played with its buttons.
        auto &record = static_cast<TFRMECBIL &>(form);
        QCOMPARE(child<QLabel>(record, "codeLabel")->text(), QStringLiteral("1"));
        o.prompt.expectMessage("DİKKAT! Açıklama Girmelisiniz.");
        child<QPushButton>(record, "saveButton")->click();
        QVERIFY(record.isVisible());
        QCOMPARE(record.focusWidget(), child<QLineEdit>(record, "descriptionEdit"));
        child<QLineEdit>(record, "descriptionEdit")->setText(QStringLiteral("İMAR DOSYASI"));
        child<QComboBox>(record, "sectionBox")->setCurrentIndex(child<QComboBox>(record, "sectionBox")->findText(QStringLiteral("TEKNİK EVRAK")));
        QAbstractItemModel *fields = child<QTableView>(record, "fieldsGrid")->model();
        child<QAction>(record, "addFieldAction")->trigger();
        fields->setData(fields->index(0, 2), QStringLiteral("Ada No"));
        fields->setData(fields->index(0, 1), QStringLiteral("S"));
        child<QTableView>(record, "fieldsGrid")->setFocus();
        QTest::keyClick(child<QTableView>(record, "fieldsGrid"), Qt::Key_Down);
        fields->setData(fields->index(1, 2), QStringLiteral("Tarihi"));
        fields->setData(fields->index(1, 1), QStringLiteral("T"));
        QCOMPARE(fields->index(1, 0).data().toInt(), 2);
        QCOMPARE(fields->index(1, 1).data().toString(), QStringLiteral("Tarih"));
        child<QPushButton>(record, "saveButton")->click();
    });
    runner.then([&](KelmaForm &form) {
        auto &record = static_cast<TFRMECBIL &>(form);
        QCOMPARE(record.ECKOD, 1);
        QCOMPARE(child<QLineEdit>(record, "descriptionEdit")->text(), QStringLiteral("İMAR DOSYASI"));
        child<QLineEdit>(record, "descriptionEdit")->setText(QStringLiteral("VAZGEÇİLEN AD"));
        child<QPushButton>(record, "cancelButton")->click();
    });
    definitions::showEvrakCinsiTanimlari(o.session, runner, nullptr);
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT ECINS FROM ECINS").toString(), QStringLiteral("İMAR DOSYASI"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM ECTAN").toInt(), 2);
}

QTEST_MAIN(TestDefinitionScreens)
#include "tst_definitionscreens.moc"
