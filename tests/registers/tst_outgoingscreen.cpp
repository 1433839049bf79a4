// The outgoing letter screen driven as a clerk drives it: keys, choice boxes,
// the finders and pickers played through a scripted runner.

#include "registers/ui/recordpicker.h"
#include "registers/ui/unbrmekle.h"
#include "registers/ui/recordwidgets.h"
#include "registers/ui/undilekce.h"
#include "registers/ui/ungiden.h"

#include "definitions/ui/unkurbul.h"
#include "users/rights.h"

#include "formtest.h"
#include "office.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

namespace {

QStringList seed()
{
    return {
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (1,'YAZI İŞLERİ','B','AHMET YILMAZ','MÜDÜR','YZ-')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (2,'İMAR','B','AYŞE KAYA','ŞEF','IM-')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (9,'ANKARA VALİLİĞİ','K')"),
        QStringLiteral("SET GENERATOR GEN_BKOD TO 9"),
        QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR,CEVNO) VALUES (50,3,'2021-05-01',9,'Soru','E',0)"),
        QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU,CEVDUR,CEVNO) VALUES (51,4,'2021-05-02','Bilgi','H',0)"),
        QStringLiteral("INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,ADI,SOYADI,KONU,BIRKOD,CEVDUR,CEVNO) "
                       "VALUES (70,4,'2021-05-02','Ayşe','Çelik','Yol','1','E',0)"),
        QStringLiteral("INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,ADI,SOYADI,KONU,BIRKOD,CEVDUR,CEVNO) "
                       "VALUES (71,5,'2021-05-03','Ali','Işık','Su','2','E',0)")};
}

/// Reference numbers carry the department's sequence unless a test says otherwise.
struct OutgoingOffice : Office
{
    OutgoingOffice() : Office(seed()) { session.general.ESDUR = QStringLiteral("B"); }
};

void run(Office &o, const QString &sql)
{
    fb::Transaction t(o.session.db.IBDATABASE);
    t.execute(sql);
    t.commit();
}

void openScreen(TFRMGIDEN &screen, int tag, int kayno = 0)
{
    screen.tag = tag;
    screen.kayno = kayno;
    showActive(screen);
}

void chooseDepartment(TFRMGIDEN &screen, const QString &name)
{
    auto *combo = child<QComboBox>(screen, "departmentCombo");
    combo->setCurrentIndex(combo->findText(name));
}

QString text(TFRMGIDEN &screen, const char *name)
{
    return child<QLineEdit>(screen, name)->text();
}

QString label(TFRMGIDEN &screen, const char *name)
{
    return child<QLabel>(screen, name)->text();
}

void trigger(TFRMGIDEN &screen, const char *action)
{
    screen.findChild<QAction *>(QString::fromLatin1(action))->trigger();
}

/// "Bul" → "Dilekçe Cevabı", the picker narrowed to the applicant Çelik (petition 70).
void answerPetitionOfCelik(Office &o, TFRMGIDEN &screen)
{
    o.runner.then([](KelmaForm &f) {
        auto &picker = dynamic_cast<TFRMDILBUL &>(f);
        picker.findChild<QLineEdit *>("applicantFilterEdit")->setText(QStringLiteral("Çelik"));
        picker.choose();
    });
    trigger(screen, "petitionReplyAction");
}

} // namespace

class TestOutgoingScreen : public QObject
{
    Q_OBJECT

private slots:
    void letterAnsweringAnIncomingDocument();
    void letterAnsweringAPetition();
    void answerStateAndItsGuard();
    void prefixesFollowTheNumberingSetting_data();
    void prefixesFollowTheNumberingSetting();
    void departmentChangeAsksInEditMode_data();
    void departmentChangeAsksInEditMode();
    void levelChangeInEditModeTakesTheNextNumber_data();
    void levelChangeInEditModeTakesTheNextNumber();
    void addresseeReachesRepliesAndPicker();
    void fieldActionsByKey();
    void cancelWritesNothing();
    void replacingALinkInTheScreen_data();
    void replacingALinkInTheScreen();
    void wrongYearAndCloseRefusal();
    void rights_data();
    void rights();
};

void TestOutgoingScreen::letterAnsweringAnIncomingDocument()
{
    OutgoingOffice o;
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 1);
    QCOMPARE(child<QComboBox>(screen, "deliveryCombo")->currentText(), QStringLiteral("Dış"));
    QCOMPARE(child<QComboBox>(screen, "confidentialityCombo")->currentText(), QStringLiteral("Hizmete Özel"));
    QCOMPARE(child<QComboBox>(screen, "dispatchCombo")->currentText(), QStringLiteral("Posta İle"));
    QCOMPARE(child<QComboBox>(screen, "replyAwaitedCombo")->currentText(), QStringLiteral("Hayır"));
    QVERIFY(!child<QLabel>(screen, "replyDateLabel")->isVisible());
    QCOMPARE(text(screen, "dateEdit"), QStringLiteral("26/08/2021"));
    QVERIFY(child<QComboBox>(screen, "fileCodeCombo")->hasFocus());

    chooseDepartment(screen, QStringLiteral("YAZI İŞLERİ"));
    QCOMPARE(text(screen, "departmentNumberEdit"), QStringLiteral("1"));
    QCOMPARE(text(screen, "signerNameEdit"), QStringLiteral("AHMET YILMAZ"));
    QCOMPARE(text(screen, "signerTitleEdit"), QStringLiteral("MÜDÜR"));
    QCOMPARE(text(screen, "referenceEdit"), QStringLiteral("YZ-1"));

    o.runner.then([](KelmaForm &f) {
        auto &finder = dynamic_cast<TFRMKURBUL &>(f);
        child<QLineEdit>(finder, "nameEdit")->setText(QStringLiteral("ANKARA"));
        finder.SORGULA();
        finder.choose();
    });
    child<QToolButton>(screen, "addRecipientButton")->click();
    auto *recipients = child<QTableWidget>(screen, "recipientsGrid");
    QCOMPARE(recipients->rowCount(), 1);
    QCOMPARE(recipients->item(0, 1)->text(), QStringLiteral("ANKARA VALİLİĞİ"));

    auto *subject = child<QPlainTextEdit>(screen, "subjectEdit");
    subject->setFocus();
    typeText(subject, QStringLiteral("İmar planı hakkında cevap"));

    o.runner.then([](KelmaForm &f) {
        auto &picker = dynamic_cast<TFRMGELBUL &>(f);
        QCOMPARE(picker.rows().size(), 1); // only the one that waits for an answer
        picker.choose();
    });
    trigger(screen, "incomingReplyAction");
    QCOMPARE(label(screen, "relatedKindLabel"), QStringLiteral("Gelen Evr."));
    QCOMPARE(label(screen, "relatedNumberLabel"), QStringLiteral("3"));
    QCOMPARE(label(screen, "relatedSubjectLabel"), QStringLiteral("Soru"));
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), 0);

    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.tag, 1);
    QCOMPARE(o.query("SELECT GIDNO || '|' || BSIRNO || '|' || EVSAY || '|' || ZNO || '|' || TESADI || '|' || "
                     "ILGNO || ILGDUR || '|' || KONU || '|' || USR FROM GIDEN").toString(),
             QStringLiteral("1|1|YZ-1|1|AHMET YILMAZ|50G|İmar planı hakkında cevap|ZIRVO"));
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), screen.kayno);
    QCOMPARE(o.query("SELECT LIST(BKOD) FROM EVBRM WHERE TUR=2 AND EKAYNO=:K", {{"K", screen.kayno}}).toString(),
             QStringLiteral("9"));
}

void TestOutgoingScreen::letterAnsweringAPetition()
{
    OutgoingOffice o;
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 1);
    chooseDepartment(screen, QStringLiteral("İMAR"));
    child<QComboBox>(screen, "deliveryCombo")->setCurrentText(QStringLiteral("İç"));
    o.runner.then([](KelmaForm &f) { child<QPushButton>(f, "routeAllButton")->click(); });
    child<QToolButton>(screen, "addRecipientButton")->click();
    auto *recipients = child<QTableWidget>(screen, "recipientsGrid");
    QCOMPARE(recipients->rowCount(), 2);
    // The names follow the delivery kind: bodies are not departments.
    QCOMPARE(recipients->item(0, 1)->text().isEmpty(), false);

    o.runner.then([](KelmaForm &f) {
        auto &picker = dynamic_cast<TFRMDILBUL &>(f);
        auto *name = picker.findChild<QLineEdit *>("applicantFilterEdit");
        name->setFocus();
        typeText(name, QStringLiteral("ayşe"));
        QCOMPARE(picker.rows().size(), 1);
        picker.choose();
    });
    trigger(screen, "petitionReplyAction");
    QCOMPARE(label(screen, "relatedKindLabel"), QStringLiteral("Dilekçe"));
    QCOMPARE(label(screen, "relatedUnitLabel"), QStringLiteral("YAZI İŞLERİ"));

    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT ILGNO || ILGDUR || ZDUR || EVSAY FROM GIDEN").toString(), QStringLiteral("70DİIM-1"));
    QCOMPARE(o.query("SELECT CEVNO FROM DILEKCE WHERE KAYNO=70").toInt(), screen.kayno);
    QCOMPARE(o.query("SELECT CEVNO FROM DILEKCE WHERE KAYNO=71").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM WHERE TUR=2 AND TESADI IS NOT NULL").toInt(), 2);
}

void TestOutgoingScreen::answerStateAndItsGuard()
{
    OutgoingOffice o;
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,KURKOD,CEVDUR,CEVNO,ZDUR) "
           "VALUES (5,8,'2021-06-01',1,9,'E',0,'D')");
    {
        TFRMGIDEN screen(o.session, o.runner);
        openScreen(screen, 2, 5);
        QCOMPARE(label(screen, "replyStateLabel"), QStringLiteral("Cevap Gelmedi...."));
        QVERIFY(child<QLabel>(screen, "replyDateLabel")->isVisible());
        child<QComboBox>(screen, "replyAwaitedCombo")->setCurrentText(QStringLiteral("Hayır"));
        QVERIFY(!child<QLabel>(screen, "replyDateLabel")->isVisible());
        QTest::keyClick(&screen, Qt::Key_F6);
    }
    // The incoming answer came.
    run(o, "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,ILGNO) VALUES (60,12,'2021-07-01',9,5)");
    run(o, "UPDATE GIDEN SET CEVNO=60 WHERE KAYNO=5");
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 2, 5);
    QCOMPARE(label(screen, "replyStateLabel"), QStringLiteral("Cevap Geldi...."));
    QCOMPARE(label(screen, "replyDetailsLabel"), QStringLiteral("No:12 Tarih:01.07.2021  G.Yer:ANKARA VALİLİĞİ"));
    o.prompt.expectMessage("Cevap verilmiş belgeyiyi değiştiremezsiniz\nÖnce Cevap durumunu kaldırınız.");
    auto *awaited = child<QComboBox>(screen, "replyAwaitedCombo");
    awaited->setCurrentText(QStringLiteral("Hayır"));
    QCOMPARE(awaited->currentText(), QStringLiteral("Evet"));
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT CEVDUR FROM GIDEN WHERE KAYNO=5").toString(), QStringLiteral("E"));
}

void TestOutgoingScreen::prefixesFollowTheNumberingSetting_data()
{
    QTest::addColumn<QString>("esdur");
    QTest::addColumn<QString>("evsay");
    QTest::newRow("by department") << "B" << "YZ-12";
    QTest::newRow("general") << "G" << "YZ-";
    QTest::newRow("none") << "Y" << "YZ-";
}

void TestOutgoingScreen::prefixesFollowTheNumberingSetting()
{
    QFETCH(QString, esdur);
    QFETCH(QString, evsay);
    OutgoingOffice o;
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO) VALUES (-1,1,'2021-02-01',1,11)");
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO) VALUES (-2,9,'2020-02-01',1,40)");
    o.session.general.ESDUR = esdur;
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 1);
    chooseDepartment(screen, QStringLiteral("YAZI İŞLERİ"));
    QCOMPARE(text(screen, "departmentNumberEdit"), QStringLiteral("12"));
    QCOMPARE(text(screen, "referenceEdit"), evsay);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT BSIRNO || ' ' || EVSAY FROM GIDEN WHERE KAYNO=:K", {{"K", screen.kayno}}).toString(),
             "12 " + evsay);
}

void TestOutgoingScreen::departmentChangeAsksInEditMode_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("back");
    QTest::addColumn<QString>("stored");
    // Yes numbers in the new department's series of the year, not after its
    // last number of any year.
    QTest::newRow("yes") << true << false << "2 13 IM-13 AYŞE KAYA";
    QTest::newRow("no") << false << false << "2 4 YZ-4 ESKİ İMZA";
    // Back at its own department the letter keeps its number there.
    QTest::newRow("yes, then back") << true << true << "1 4 YZ-4 AHMET YILMAZ";
}

void TestOutgoingScreen::departmentChangeAsksInEditMode()
{
    QFETCH(bool, yes);
    QFETCH(bool, back);
    QFETCH(QString, stored);
    OutgoingOffice o;
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO,EVSAY,TESADI) "
           "VALUES (5,3,'2021-03-01',1,4,'YZ-4','ESKİ İMZA')");
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO) VALUES (-1,1,'2020-03-01',2,900)");
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,BSIRNO) VALUES (-2,2,'2021-02-01',2,12)");
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 2, 5);
    QCOMPARE(child<QComboBox>(screen, "departmentCombo")->currentText(), QStringLiteral("YAZI İŞLERİ"));
    o.prompt.expectQuestion("DİKKAT! Evrak Sayısı ve Gönderen Bilgileri Değişecektir. Onaylıyormusunuz.?", yes);
    chooseDepartment(screen, QStringLiteral("İMAR"));
    if (back) {
        o.prompt.expectQuestion("DİKKAT! Evrak Sayısı ve Gönderen Bilgileri Değişecektir. Onaylıyormusunuz.?", true);
        chooseDepartment(screen, QStringLiteral("YAZI İŞLERİ"));
    }
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(!screen.isVisible());
    QCOMPARE(o.query("SELECT BIRKOD || ' ' || BSIRNO || ' ' || EVSAY || ' ' || TESADI || ' ' || GIDNO "
                     "FROM GIDEN WHERE KAYNO=5").toString(), stored + " 3");
}

void TestOutgoingScreen::levelChangeInEditModeTakesTheNextNumber_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("stored");
    // Letter 5 is number 2 of "Hizmete Özel"; "Gizli" has reached 2 already.
    QTest::newRow("to another level") << "Gizli" << "G 3";
    QTest::newRow("same level") << "Hizmete Özel" << "Ö 2";
}

void TestOutgoingScreen::levelChangeInEditModeTakesTheNextNumber()
{
    QFETCH(QString, level);
    QFETCH(QString, stored);
    OutgoingOffice o;
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,GIZDER,GSIRNO) VALUES (5,3,'2021-03-01',1,'Ö',2)");
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,GIZDER,GSIRNO) VALUES (-1,1,'2021-02-01',1,'G',1)");
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,GIZDER,GSIRNO) VALUES (-2,2,'2021-02-02',1,'G',2)");
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 2, 5);
    auto *levelCombo = child<QComboBox>(screen, "confidentialityCombo");
    // Away and back: the stored number returns with its level.
    levelCombo->setCurrentText(QStringLiteral("Çok Gizli"));
    levelCombo->setCurrentText(QStringLiteral("Hizmete Özel"));
    QCOMPARE(text(screen, "confidentialityNumberEdit"), QStringLiteral("2"));
    levelCombo->setCurrentText(level);
    // Another workstation gives the new level's next number meanwhile: the save
    // numbers under the lock, after it.
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,GIZDER,GSIRNO) VALUES (-3,4,'2021-02-03',1,'G',3)");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(!screen.isVisible());
    const QString expected = level == QLatin1String("Gizli") ? QStringLiteral("G 4") : stored;
    QCOMPARE(o.query("SELECT GIZDER || ' ' || GSIRNO FROM GIDEN WHERE KAYNO=5").toString(), expected);
    QCOMPARE(o.query("SELECT COUNT(*) FROM GIDEN WHERE GIZDER='G' GROUP BY GSIRNO HAVING COUNT(*)>1").toInt(), 0);
}

void TestOutgoingScreen::addresseeReachesRepliesAndPicker()
{
    OutgoingOffice o;
    run(o, "INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (10,'İZMİR VALİLİĞİ','K')");
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 1);
    chooseDepartment(screen, QStringLiteral("YAZI İŞLERİ"));
    QCOMPARE(child<QComboBox>(screen, "deliveryCombo")->currentText(), QStringLiteral("Dış"));
    for (const QString &body : {QStringLiteral("ANKARA"), QStringLiteral("İZMİR")}) {
        o.runner.then([body](KelmaForm &f) {
            auto &finder = dynamic_cast<TFRMKURBUL &>(f);
            child<QLineEdit>(finder, "nameEdit")->setText(body);
            finder.SORGULA();
            finder.choose();
        });
        child<QToolButton>(screen, "addRecipientButton")->click();
    }
    QCOMPARE(child<QTableWidget>(screen, "recipientsGrid")->rowCount(), 2);
    child<QComboBox>(screen, "replyAwaitedCombo")->setCurrentText(QStringLiteral("Evet"));
    answerPetitionOfCelik(o, screen);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(!screen.isVisible());
    // The first body of the grid is the addressee.
    QCOMPARE(o.query("SELECT KURKOD FROM GIDEN WHERE KAYNO=:K", {{"K", screen.kayno}}).toInt(), 9);

    TFRMDILEKCE petition(o.session, o.runner);
    petition.tag = 2;
    petition.kayno = 70;
    showActive(petition);
    QCOMPARE(child<QLabel>(petition, "answerStateLabel")->text(), QStringLiteral("Cevap Gönderildi...."));
    QVERIFY2(child<QLabel>(petition, "answerDetailsLabel")->text().endsWith(QStringLiteral("G.Yer:ANKARA VALİLİĞİ")),
             qPrintable(child<QLabel>(petition, "answerDetailsLabel")->text()));
    QTest::keyClick(&petition, Qt::Key_F6);

    TFRMGIDBUL picker(o.session);
    showActive(picker);
    child<QComboBox>(picker, "bodyFilterCombo")->setCurrentText(QStringLiteral("ANKARA VALİLİĞİ"));
    QCOMPARE(picker.rows().size(), 1);
    QCOMPARE(picker.rows().first().KAYNO, screen.kayno);
    child<QComboBox>(picker, "bodyFilterCombo")->setCurrentText(QStringLiteral("İZMİR VALİLİĞİ"));
    QCOMPARE(picker.rows().size(), 0);

    // Sent to departments only, it has no addressee body.
    openScreen(screen, 2, screen.kayno);
    o.prompt.expectQuestion("Silinecektir", true).expectQuestion("Silinecektir", true);
    auto *recipients = child<QTableWidget>(screen, "recipientsGrid");
    for (int i = 0; i < 2; ++i) {
        recipients->setCurrentCell(0, 1);
        trigger(screen, "removeRecipientAction");
    }
    QCOMPARE(recipients->rowCount(), 0);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT KURKOD FROM GIDEN WHERE KAYNO=:K", {{"K", screen.kayno}}).toInt(), 0);
}

void TestOutgoingScreen::fieldActionsByKey()
{
    OutgoingOffice o;
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 1);
    chooseDepartment(screen, QStringLiteral("YAZI İŞLERİ"));
    auto *name = child<QLineEdit>(screen, "signerNameEdit");
    QVERIFY2(name->toolTip().contains(QStringLiteral("F2")), qPrintable(name->toolTip()));
    name->setText(QStringLiteral("BAŞKASI"));
    child<QLineEdit>(screen, "signerTitleEdit")->setText(QStringLiteral("VEKİL"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_F2);
    QCOMPARE(name->text(), QStringLiteral("AHMET YILMAZ"));
    QCOMPARE(text(screen, "signerTitleEdit"), QStringLiteral("MÜDÜR"));

    auto *fileCode = child<QComboBox>(screen, "fileCodeCombo");
    fileCode->setCurrentIndex(1);
    auto *subject = child<QPlainTextEdit>(screen, "subjectEdit");
    QVERIFY(subject->toolTip().contains(QStringLiteral("F2")));
    subject->setFocus();
    QTest::keyClick(subject, Qt::Key_F2);
    QVERIFY(!subject->toPlainText().isEmpty());
    QCOMPARE(subject->toPlainText(), label(screen, "fileCodeLabel"));

    child<QComboBox>(screen, "replyAwaitedCombo")->setCurrentText(QStringLiteral("Evet"));
    auto *replyDate = child<QLineEdit>(screen, "replyDateEdit");
    QVERIFY(replyDate->toolTip().contains(QStringLiteral("F2")));
    replyDate->setText(QStringLiteral("01/09/2021"));
    replyDate->setFocus();
    QTest::keyClick(replyDate, Qt::Key_F2);
    QVERIFY(recordwidgets::blankDate(replyDate->text()));
    QTest::keyClick(&screen, Qt::Key_F6);
}

void TestOutgoingScreen::cancelWritesNothing()
{
    OutgoingOffice o;
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 1);
    const int first = screen.kayno;
    chooseDepartment(screen, QStringLiteral("YAZI İŞLERİ"));
    child<QComboBox>(screen, "deliveryCombo")->setCurrentText(QStringLiteral("İç"));
    o.runner.then([](KelmaForm &f) { child<QPushButton>(f, "routeAllButton")->click(); });
    child<QToolButton>(screen, "addRecipientButton")->click();
    o.runner.then([](KelmaForm &f) { dynamic_cast<TFRMGELBUL &>(f).choose(); });
    trigger(screen, "incomingReplyAction");
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.tag, 0);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM GIDEN").toInt(), 0);
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM").toInt(), 0);
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), 0);
    // The key is spent.
    openScreen(screen, 1);
    QCOMPARE(screen.kayno, first + 1);
    QCOMPARE(label(screen, "relatedKindLabel"), QString());
    QCOMPARE(child<QTableWidget>(screen, "recipientsGrid")->rowCount(), 0);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestOutgoingScreen::replacingALinkInTheScreen_data()
{
    QTest::addColumn<QString>("ilgdur");
    QTest::newRow("incoming") << "'G'";
    // Saved before ILGDUR was written: answers to incoming documents too.
    QTest::newRow("no register, NULL") << "NULL";
    QTest::newRow("no register, empty") << "''";
}

void TestOutgoingScreen::replacingALinkInTheScreen()
{
    QFETCH(QString, ilgdur);
    OutgoingOffice o;
    run(o, QStringLiteral("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,ILGNO,ILGDUR,CEVDUR,CEVNO) "
                          "VALUES (5,3,'2021-06-01',1,50,%1,'H',0)").arg(ilgdur));
    run(o, "UPDATE GELEN SET CEVNO=5 WHERE KAYNO=50");
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 2, 5);
    QCOMPARE(label(screen, "relatedKindLabel"), QStringLiteral("Gelen Evr."));
    QCOMPARE(label(screen, "relatedNumberLabel"), QStringLiteral("3"));
    o.prompt.expectQuestion("DİKKAT! Bu Cevap Bilgisi Silinecektir. Onaylıyormusunuz.?", true);
    child<QPushButton>(screen, "removeRelatedButton")->click();
    QCOMPARE(label(screen, "relatedNumberLabel"), QString());
    answerPetitionOfCelik(o, screen);
    QCOMPARE(label(screen, "relatedNumberLabel"), QStringLiteral("4"));
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT ILGNO || ILGDUR FROM GIDEN WHERE KAYNO=5").toString(), QStringLiteral("70D"));
    QCOMPARE(o.query("SELECT CEVNO FROM GELEN WHERE KAYNO=50").toInt(), 0);
    QCOMPARE(o.query("SELECT CEVNO FROM DILEKCE WHERE KAYNO=70").toInt(), 5);
}

void TestOutgoingScreen::wrongYearAndCloseRefusal()
{
    OutgoingOffice o;
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, 1);
    QVERIFY(!screen.close());
    QTest::keyClick(&screen, Qt::Key_Escape);
    QVERIFY(screen.isVisible());
    chooseDepartment(screen, QStringLiteral("YAZI İŞLERİ"));
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Kaybolmamalı"));
    child<QLineEdit>(screen, "dateEdit")->setText(QStringLiteral("02/01/2022"));
    o.prompt.expectMessage("Tarih Çalışma Yılından Farklı Olamaz.");
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(screen.isVisible());
    QVERIFY(child<QLineEdit>(screen, "dateEdit")->hasFocus());
    QCOMPARE(child<QPlainTextEdit>(screen, "subjectEdit")->toPlainText(), QStringLiteral("Kaybolmamalı"));
    QCOMPARE(text(screen, "referenceEdit"), QStringLiteral("YZ-1"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM GIDEN").toInt(), 0);
    child<QLineEdit>(screen, "dateEdit")->setText(QStringLiteral("26/08/2021"));
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(!screen.isVisible());
    QCOMPARE(o.query("SELECT KONU FROM GIDEN").toString(), QStringLiteral("Kaybolmamalı"));
}

void TestOutgoingScreen::rights_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("saveEnabled");
    // User 2 may change outgoing letters but not add them, nor define bodies.
    QTest::newRow("new") << 1 << false;
    QTest::newRow("change") << 2 << true;
}

void TestOutgoingScreen::rights()
{
    QFETCH(int, mode);
    QFETCH(bool, saveEnabled);
    OutgoingOffice o;
    run(o, "INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (2, 2, 'E', 'H', 'E', 'H')");
    run(o, "INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (2, 24, 'H', 'E', 'E', 'E')");
    run(o, "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KONU) VALUES (5, 1, '2021-03-01', 'Eski')");
    o.session.general.UDUR = QStringLiteral("1");
    o.session.userNumber = 2;
    rights::RIGHTSAKTAR(o.session);
    TFRMGIDEN screen(o.session, o.runner);
    openScreen(screen, mode, 5);
    QCOMPARE(child<QPushButton>(screen, "saveButton")->isEnabled(), saveEnabled);
    QVERIFY(!child<QToolButton>(screen, "newBodyButton")->isEnabled());
    QTest::keyClick(&screen, Qt::Key_F5);
    QCOMPARE(screen.isVisible(), !saveEnabled);
    QCOMPARE(o.query("SELECT COUNT(*) FROM GIDEN").toInt(), 1);
}

QTEST_MAIN(TestOutgoingScreen)
#include "tst_outgoingscreen.moc"
