// The incoming document screen driven as a clerk drives it: keys, choice boxes
// and the department selection played through a scripted runner.

#include "registers/ui/unbrmekle.h"
#include "registers/ui/ungelen.h"

#include "definitions/ui/unkurbil.h"
#include "definitions/ui/unkurbul.h"
#include "definitions/ui/unsdpbul.h"
#include "users/rights.h"

#include "core/clock.h"
#include "core/session.h"
#include "formtest.h"
#include "office.h"
#include "scriptedprompt.h"
#include "scriptedrunner.h"
#include "tempdatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

Office office()
{
    return Office({
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (1,'YAZI İŞLERİ','B','ALİ VELİ','ŞEF')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (2,'İMAR','B','ALİ VELİ','ŞEF')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (9,'ANKARA VALİLİĞİ','K')"),
        QStringLiteral("SET GENERATOR GEN_BKOD TO 9")});
}

} // namespace

class TestIncomingScreen : public QObject
{
    Q_OBJECT

private slots:
    void roadOfOneDocument();
    void changeAndCancel();
    void anotherYearKeepsTheScreenOpen();
    void closeRefusedUntilSaveOrCancel();
    void findersFillTheCodes();
    void newBodyKeepsWhatWasTyped();
    void unknownCodedValuesAreKept();
    void missingRecordClosesARealRun();
    void restoredWindowIsNoNewOpening();
    void rights_data();
    void rights();
};

void TestIncomingScreen::roadOfOneDocument()
{
    Office o = office();
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    QCOMPARE(child<QComboBox>(screen, "handoverKindBox")->currentText(), QStringLiteral("Dış"));
    QCOMPARE(child<QComboBox>(screen, "secrecyBox")->currentText(), QStringLiteral("Hizmete Özel"));
    QCOMPARE(child<QComboBox>(screen, "arrivalBox")->currentText(), QStringLiteral("Posta İle"));
    QCOMPARE(child<QComboBox>(screen, "answerExpectedBox")->currentText(), QStringLiteral("Hayır"));
    QCOMPARE(child<QLineEdit>(screen, "registerDateEdit")->text(), QStringLiteral("26/08/2021"));
    QVERIFY(child<QComboBox>(screen, "fileCodeBox")->hasFocus());

    child<QComboBox>(screen, "fileCodeBox")->setCurrentIndex(child<QComboBox>(screen, "fileCodeBox")->findData("010.01"));
    QCOMPARE(child<QLabel>(screen, "fullFileCodeLabel")->text(), QStringLiteral("010.01 : Kanunlar"));
    child<QComboBox>(screen, "senderBox")->setCurrentIndex(child<QComboBox>(screen, "senderBox")->findData(9));
    child<QPlainTextEdit>(screen, "subjectEdit")->setFocus();
    typeText(child<QPlainTextEdit>(screen, "subjectEdit"), QStringLiteral("Işıklandırma ihalesi hk."));
    child<QLineEdit>(screen, "documentNumberEdit")->setText(QStringLiteral("E-123"));

    o.runner.then([](KelmaForm &f) { child<QPushButton>(f, "routeAllButton")->click(); });
    child<QToolButton>(screen, "chooseDepartmentsButton")->click();
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QCOMPARE(child<QTableWidget>(screen, "routingGrid")->rowCount(), 2);
    QCOMPARE(child<QLineEdit>(screen, "receiverNameEdit")->text(), QStringLiteral("ALİ VELİ"));
    child<QTableWidget>(screen, "routingGrid")->setCurrentCell(1, 1);
    child<QLineEdit>(screen, "receiverNameEdit")->selectAll();
    child<QLineEdit>(screen, "receiverNameEdit")->setFocus();
    typeText(child<QLineEdit>(screen, "receiverNameEdit"), QStringLiteral("AYŞE"));

    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.tag, 1);
    QCOMPARE(o.query("SELECT GELNO || '|' || ZNO || '|' || SDP || '|' || KURKOD || '|' || KONU FROM GELEN").toString(),
             QStringLiteral("1|1|010.01|9|Işıklandırma ihalesi hk."));
    QCOMPARE(o.query("SELECT LIST(TESADI, ',') FROM (SELECT TESADI FROM EVBRM ORDER BY TESADI)").toString(),
             QStringLiteral("ALİ VELİ,AYŞE"));
}

void TestIncomingScreen::changeAndCancel()
{
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,ZDUR,ZNO,GIZDER,GSEKLI,CEVDUR,KONU) "
                  "VALUES (5, 12, '2021-03-01', 'İ', '4', 'G', 'E', 'H', 'Eski konu')");
        t.execute("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,TESADI) VALUES (1, 5, 2, 'ALİ')");
        t.commit();
    }
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = 5;
    showActive(screen);
    QCOMPARE(child<QLineEdit>(screen, "registerNumberEdit")->text(), QStringLiteral("12"));
    QCOMPARE(child<QComboBox>(screen, "handoverKindBox")->currentText(), QStringLiteral("İç"));
    QCOMPARE(child<QComboBox>(screen, "secrecyBox")->currentText(), QStringLiteral("Gizli"));
    QCOMPARE(child<QComboBox>(screen, "arrivalBox")->currentText(), QStringLiteral("Elden"));
    QCOMPARE(child<QTableWidget>(screen, "routingGrid")->rowCount(), 1);
    QCOMPARE(child<QTableWidget>(screen, "routingGrid")->item(0, 1)->text(), QStringLiteral("İMAR"));
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Yeni konu"));
    o.prompt.expectQuestion("Bu Birim Silinecektir", true);
    screen.removeDepartment();
    QCOMPARE(child<QTableWidget>(screen, "routingGrid")->rowCount(), 0);
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.tag, 0);
    QCOMPARE(o.query("SELECT KONU FROM GELEN WHERE KAYNO=5").toString(), QStringLiteral("Eski konu"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 1);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestIncomingScreen::anotherYearKeepsTheScreenOpen()
{
    Office o = office();
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Kaybolmamalı"));
    child<QLineEdit>(screen, "registerDateEdit")->setText(QStringLiteral("02/01/2022"));
    o.prompt.expectMessage("Tarih Çalışma Yılından Farklı Olamaz.");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(screen.isVisible());
    QVERIFY(child<QLineEdit>(screen, "registerDateEdit")->hasFocus());
    QCOMPARE(child<QPlainTextEdit>(screen, "subjectEdit")->toPlainText(), QStringLiteral("Kaybolmamalı"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), 0);

    child<QLineEdit>(screen, "documentDateEdit")->setText(QStringLiteral("31/02/2021"));
    child<QLineEdit>(screen, "registerDateEdit")->setText(QStringLiteral("26/08/2021"));
    o.prompt.expectMessage("«Evrak Tarihi» geçerli bir tarih değil");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(screen.isVisible());
}

void TestIncomingScreen::closeRefusedUntilSaveOrCancel()
{
    Office o = office();
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    QVERIFY(!screen.close());
    QTest::keyClick(&screen, Qt::Key_Escape);
    QVERIFY(screen.isVisible());
    child<QPushButton>(screen, "saveButton")->setEnabled(false); // as the rights leave it for a user without the add right
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(screen.isVisible());
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), 0);
    QVERIFY(o.prompt.done());
}

void TestIncomingScreen::findersFillTheCodes()
{
    Office o = office();
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    o.runner.then([](KelmaForm &f) {
        auto &finder = dynamic_cast<TFRMSDPBUL &>(f);
        child<QLineEdit>(finder, "codeEdit")->setText(QStringLiteral("010.02"));
        finder.SORGULA();
        finder.choose();
    });
    child<QToolButton>(screen, "findFileCodeButton")->click();
    QCOMPARE(child<QComboBox>(screen, "fileCodeBox")->currentData().toString(), QStringLiteral("010.02"));
    QCOMPARE(child<QLabel>(screen, "fullFileCodeLabel")->text(), QStringLiteral("010.02 : Tüzükler"));
    o.runner.then([](KelmaForm &f) {
        auto &finder = dynamic_cast<TFRMKURBUL &>(f);
        child<QLineEdit>(finder, "nameEdit")->setText(QStringLiteral("ANKARA"));
        finder.SORGULA();
        finder.choose();
    });
    child<QToolButton>(screen, "findSenderButton")->click();
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QCOMPARE(child<QComboBox>(screen, "senderBox")->currentText(), QStringLiteral("ANKARA VALİLİĞİ"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestIncomingScreen::newBodyKeepsWhatWasTyped()
{
    Office o = office();
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Yazılan konu"));
    child<QLineEdit>(screen, "documentNumberEdit")->setText(QStringLiteral("E-9"));
    child<QComboBox>(screen, "handoverKindBox")->setCurrentIndex(0); // İç
    o.runner.then([](KelmaForm &f) {
        auto &body = dynamic_cast<TFRMKURBIL &>(f);
        child<QLineEdit>(body, "nameEdit")->setText(QStringLiteral("ÇORUM VALİLİĞİ"));
        child<QPushButton>(body, "saveButton")->click();
    });
    screen.addNewBody();
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QVERIFY2(o.prompt.transcript().isEmpty(), qPrintable(o.prompt.report()));
    QCOMPARE(child<QComboBox>(screen, "senderBox")->currentText(), QStringLiteral("ÇORUM VALİLİĞİ"));
    QCOMPARE(child<QPlainTextEdit>(screen, "subjectEdit")->toPlainText(), QStringLiteral("Yazılan konu"));
    QCOMPARE(child<QLineEdit>(screen, "documentNumberEdit")->text(), QStringLiteral("E-9"));
    QCOMPARE(child<QComboBox>(screen, "handoverKindBox")->currentText(), QStringLiteral("İç"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestIncomingScreen::unknownCodedValuesAreKept()
{
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,ZDUR,GSEKLI,CEVDUR,KONU) "
                  "VALUES (5, 1, '2021-03-01', NULL, 'X', NULL, 'Eski')");
        t.commit();
    }
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = 5;
    showActive(screen);
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Yeni"));
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COALESCE(ZDUR,'-') || GSEKLI || COALESCE(CEVDUR,'-') || KONU FROM GELEN").toString(),
             QStringLiteral("-X-Yeni"));
}

void TestIncomingScreen::missingRecordClosesARealRun()
{
    Office o = office();
    o.prompt.expectMessage("bulunamadı");
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = 999;
    bool stuck = false;
    // Should the run hang, end it so that the test fails instead of waiting.
    QTimer::singleShot(5000, &screen, [&] {
        stuck = true;
        screen.show();
        screen.done(0);
    });
    FormRunner real;
    real.run(screen);
    QVERIFY(!stuck);
    QCOMPARE(screen.tag, 0);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestIncomingScreen::restoredWindowIsNoNewOpening()
{
    Office o = office();
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    const int kayno = screen.kayno;
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Yazılan"));
    screen.showMinimized();
    QTest::qWait(50);
    screen.showNormal();
    QTest::qWait(50);
    QCOMPARE(screen.kayno, kayno);
    QCOMPARE(child<QPlainTextEdit>(screen, "subjectEdit")->toPlainText(), QStringLiteral("Yazılan"));
}

void TestIncomingScreen::rights_data()
{
    QTest::addColumn<QString>("udur");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("saveEnabled");
    QTest::addColumn<bool>("bodyFinderEnabled");
    // User 2 may change incoming documents but not add them, and may not look bodies up.
    QTest::newRow("user control on, new") << "1" << 1 << false << false;
    QTest::newRow("user control on, change") << "1" << 2 << true << false;
    QTest::newRow("user control off, new") << "0" << 1 << true << true;
}

void TestIncomingScreen::rights()
{
    QFETCH(QString, udur);
    QFETCH(int, mode);
    QFETCH(bool, saveEnabled);
    QFETCH(bool, bodyFinderEnabled);
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (2, 1, 'E', 'H', 'E', 'H')");
        t.execute("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (2, 24, 'H', 'E', 'H', 'H')");
        t.execute("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU) VALUES (5, 1, '2021-03-01', 'Eski')");
        t.commit();
    }
    o.session.general.UDUR = udur;
    o.session.userNumber = 2;
    rights::RIGHTSAKTAR(o.session);
    TFRMGELEN screen(o.session, o.runner);
    screen.tag = mode;
    screen.kayno = 5;
    showActive(screen);
    QCOMPARE(child<QPushButton>(screen, "saveButton")->isEnabled(), saveEnabled);
    QCOMPARE(child<QToolButton>(screen, "findSenderButton")->isEnabled(), bodyFinderEnabled);
    QTest::keyClick(&screen, Qt::Key_F5);
    QCOMPARE(screen.isVisible(), !saveEnabled);
    QCOMPARE(o.query("SELECT COUNT(*) FROM GELEN").toInt(), mode == 1 && saveEnabled ? 2 : 1);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

QTEST_MAIN(TestIncomingScreen)
#include "tst_incomingscreen.moc"
