// The petition and archive screens driven as a clerk drives them: boxes,
// choice boxes and keys, down to the committed rows.

#include "registers/ui/unarsiv.h"
#include "registers/ui/undilekce.h"

#include "users/rights.h"

#include "formtest.h"
#include "keptattachments.h"
#include "office.h"

#include "storage/ui/attachmentsgroup.h"
#include "storage/ui/documentview.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpServer>
#include <QtTest>

namespace {

Office office()
{
    QStringList seed = {
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (1,'YAZI İŞLERİ','B','AHMET YILMAZ','MÜDÜR')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (2,'İMAR','B','AYŞE KAYA','ŞEF')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (9,'ANKARA VALİLİĞİ','K')"),
        QStringLiteral("SET GENERATOR GEN_BKOD TO 9"),
        QStringLiteral("INSERT INTO ECINS (ECKOD,ECINS,ECTUR) VALUES (3,'İMAR DOSYASI',1)"),
        QStringLiteral("INSERT INTO ECINS (ECKOD,ECINS,ECTUR) VALUES (4,'GENEL YAZI',1)"),
        QStringLiteral("INSERT INTO ECINS (ECKOD,ECINS,ECTUR) VALUES (5,'TAPU',1)"),
        QStringLiteral("INSERT INTO ECTAN (ECKOD,SIRNO,TUR,ECTAN) VALUES (5,1,'K','Parsel')")};
    // Eight attributes written out of order; the second is a date.
    const char *attributes[][3] = {{"8", "K", "Sekizinci"}, {"3", "S", "Ada No"}, {"1", "K", "Mahalle"},
                                   {"2", "T", "Ruhsat Tarihi"}, {"7", "K", "Yedinci"}, {"5", "K", "Malik"},
                                   {"4", "K", "Pafta"}, {"6", "K", "Mimar"}};
    for (auto &a : attributes) {
        seed << QStringLiteral("INSERT INTO ECTAN (ECKOD,SIRNO,TUR,ECTAN) VALUES (3,%1,'%2','%3')")
                    .arg(QLatin1String(a[0]), QLatin1String(a[1]), QString::fromUtf8(a[2]));
    }
    return Office(seed);
}

/// With KELMA_SCREENSHOTS set to a folder, the screen is grabbed there as it stands.
void shoot(QWidget &w, const QString &name)
{
    const QString folder = qEnvironmentVariable("KELMA_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(folder + u'/' + name + QStringLiteral(".png")));
}

QStringList shownCaptions(TFRMARSIV &screen)
{
    QStringList out;
    for (int i = 1; i <= ArchiveRecord::kShownAttributes; ++i) {
        QLabel *l = child<QLabel>(screen, qPrintable(QStringLiteral("attributeLabel%1").arg(i)));
        if (!l->isHidden())
            out << l->text();
    }
    return out;
}

QLineEdit *attributeEdit(TFRMARSIV &screen, int n)
{
    return child<QLineEdit>(screen, qPrintable(QStringLiteral("attributeEdit%1").arg(n)));
}

} // namespace

class TestPetitionScreens : public QObject
{
    Q_OBJECT

private slots:
    void roadOfOnePetition();
    void answerShownOnlyWhenAwaited_data();
    void answerShownOnlyWhenAwaited();
    void refusalsKeepEverythingTyped_data();
    void refusalsKeepEverythingTyped();
    void cancelLeavesNoRows_data();
    void cancelLeavesNoRows();
    void petitionRights_data();
    void petitionRights();
    void petitionFieldActionsByKey();
    void archiveKindOfEightAttributes();
    void archiveDepartmentFillsTheAuthorisedPerson();
    void petitionAttachmentsSavedWithTheRecord();
    void filesTheServerDidNotTakeWait();
    void archiveAttachmentsKeepTheirDescriptions();
};

void TestPetitionScreens::petitionFieldActionsByKey()
{
    Office o = office();
    TFRMDILEKCE screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    child<QComboBox>(screen, "departmentCombo")->setCurrentText(QStringLiteral("İMAR"));
    auto *receiver = child<QLineEdit>(screen, "receiverNameEdit");
    QVERIFY2(receiver->toolTip().contains(QStringLiteral("F2")), qPrintable(receiver->toolTip()));
    receiver->setText(QStringLiteral("BAŞKASI"));
    receiver->setFocus();
    QTest::keyClick(receiver, Qt::Key_F2);
    QCOMPARE(receiver->text(), QStringLiteral("AYŞE KAYA"));
    QCOMPARE(child<QLineEdit>(screen, "receiverTitleEdit")->text(), QStringLiteral("ŞEF"));

    child<QComboBox>(screen, "fileCodeCombo")->setCurrentIndex(1);
    auto *subject = child<QPlainTextEdit>(screen, "subjectEdit");
    QVERIFY(subject->toolTip().contains(QStringLiteral("F2")));
    subject->setFocus();
    QTest::keyClick(subject, Qt::Key_F2);
    QVERIFY(!subject->toPlainText().isEmpty());
    QCOMPARE(subject->toPlainText(), child<QLabel>(screen, "fullCodeLabel")->text());

    child<QComboBox>(screen, "answerAwaitedCombo")->setCurrentText(QStringLiteral("Evet"));
    auto *answerDate = child<QLineEdit>(screen, "answerDateEdit");
    QVERIFY(answerDate->toolTip().contains(QStringLiteral("F2")));
    answerDate->setText(QStringLiteral("01/09/2021"));
    answerDate->setFocus();
    QTest::keyClick(answerDate, Qt::Key_F2);
    QCOMPARE(answerDate->text().trimmed().remove(u'/'), QString());
    QTest::keyClick(&screen, Qt::Key_F6);
}

void TestPetitionScreens::roadOfOnePetition()
{
    Office o = office();
    int kayno = 0;
    {
        TFRMDILEKCE screen(o.session, o.runner);
        screen.tag = 1;
        showActive(screen);
        QCOMPARE(child<QComboBox>(screen, "deliveryKindCombo")->currentText(), QStringLiteral("İç"));
        QCOMPARE(child<QComboBox>(screen, "confidentialityCombo")->currentText(), QStringLiteral("Özel"));
        QCOMPARE(child<QComboBox>(screen, "arrivalCombo")->currentText(), QStringLiteral("Posta İle"));
        QCOMPARE(child<QComboBox>(screen, "answerAwaitedCombo")->currentText(), QStringLiteral("Hayır"));
        QVERIFY(child<QLineEdit>(screen, "answerDateEdit")->isHidden());
        QCOMPARE(child<QLineEdit>(screen, "registerDateEdit")->text(), QStringLiteral("26/08/2021"));
        QCOMPARE(child<QLineEdit>(screen, "petitionDateEdit")->text(), QStringLiteral("26/08/2021"));
        QVERIFY(child<QLabel>(screen, "routingNoteLabel")->text().startsWith(
            QStringLiteral("Bu evrak başka bir kullanıcı veya birime havale edilecekse")));
        QVERIFY(child<QGroupBox>(screen, "attachmentsGroup"));
        QVERIFY(child<QComboBox>(screen, "fileCodeCombo")->hasFocus());

        auto *files = child<QComboBox>(screen, "fileCodeCombo");
        files->setCurrentIndex(files->findData("010.01"));
        QCOMPARE(child<QLabel>(screen, "fullCodeLabel")->text(), QStringLiteral("010.01 : Kanunlar"));
        auto *departments = child<QComboBox>(screen, "departmentCombo");
        departments->setCurrentIndex(departments->findData(2));
        QTest::mouseDClick(child<QLineEdit>(screen, "receiverNameEdit"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(screen, "receiverTitleEdit")->text(), QStringLiteral("ŞEF"));
        child<QLineEdit>(screen, "petitionDateEdit")->setText(QStringLiteral("20/08/2021"));
        auto *first = child<QLineEdit>(screen, "firstNameEdit");
        first->setFocus();
        typeText(first, QStringLiteral("Gülşen"));
        child<QLineEdit>(screen, "surnameEdit")->setText(QStringLiteral("Işık"));
        child<QLineEdit>(screen, "identityEdit")->setText(QStringLiteral("10000000146"));
        child<QLineEdit>(screen, "phoneEdit")->setText(QStringLiteral("0312 555 12 12"));
        child<QLineEdit>(screen, "addressEdit")->setText(QStringLiteral("Çamlık Mah. Öğretmen Sk. 4"));
        child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Sokak aydınlatması talebi"));
        child<QComboBox>(screen, "answerAwaitedCombo")->setCurrentIndex(0);
        QVERIFY(!child<QLineEdit>(screen, "answerDateEdit")->isHidden());
        child<QLineEdit>(screen, "answerDateEdit")->setText(QStringLiteral("10/09/2021"));
        kayno = screen.kayno;

        QTest::keyClick(&screen, Qt::Key_F5);
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QVERIFY(!screen.isVisible());
        QCOMPARE(screen.tag, 1);
    }
    QCOMPARE(o.query("SELECT DILNO || '|' || ZNO || '|' || DILTAR || '|' || ADI || ' ' || SOYADI || '|' || BIRKOD "
                     "|| '|' || TESADI || '|' || CEVDUR || '|' || CEVTAR || '|' || SDP FROM DILEKCE WHERE KAYNO=:K",
                     {{"K", kayno}}).toString(),
             QStringLiteral("1|1|2021-08-20|Gülşen Işık|2|AYŞE KAYA|E|2021-09-10|010.01"));

    // Answered by an outgoing letter to a body.
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KURKOD,ILGNO,ILGDUR) VALUES (40,12,'2021-09-03',9,:K,'D')",
                  {{"K", kayno}});
        t.commit();
    }
    TFRMDILEKCE screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = kayno;
    showActive(screen);
    QCOMPARE(child<QLabel>(screen, "answerStateLabel")->text(), QStringLiteral("Cevap Gönderildi...."));
    QCOMPARE(child<QLabel>(screen, "answerDetailsLabel")->text(),
             QStringLiteral("No:12  Tarih:03.09.2021  G.Yer:ANKARA VALİLİĞİ"));
    QCOMPARE(child<QLineEdit>(screen, "firstNameEdit")->text(), QStringLiteral("Gülşen"));
    o.prompt.expectMessage("Cevap verilmiş belgeyiyi değiştiremezsiniz\nÖnce Cevap durumunu kaldırınız.");
    child<QComboBox>(screen, "answerAwaitedCombo")->setCurrentIndex(1);
    QCOMPARE(child<QComboBox>(screen, "answerAwaitedCombo")->currentText(), QStringLiteral("Evet"));
    QTest::mouseDClick(child<QLineEdit>(screen, "answerDateEdit"), Qt::LeftButton);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COALESCE(CEVTAR, '-') || '|' || CEVDUR || '|' || DILNO FROM DILEKCE").toString(),
             QStringLiteral("-|E|1"));
}

void TestPetitionScreens::answerShownOnlyWhenAwaited_data()
{
    QTest::addColumn<QString>("cevdur");
    QTest::addColumn<bool>("letter");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("state");
    QTest::newRow("awaited, answered") << "E" << true << true << "Cevap Gönderildi....";
    QTest::newRow("awaited, not answered") << "E" << false << true << "Cevap Gönderilmedi....";
    QTest::newRow("not awaited, answered") << "H" << true << false << "";
}

void TestPetitionScreens::answerShownOnlyWhenAwaited()
{
    QFETCH(QString, cevdur);
    QFETCH(bool, letter);
    QFETCH(bool, shown);
    QFETCH(QString, state);
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO DILEKCE (KAYNO,DILNO,GELTAR,CEVDUR,CEVNO) VALUES (5,1,'2021-03-01',:C,0)", {{"C", cevdur}});
        if (letter)
            t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KURKOD,ILGNO,ILGDUR) VALUES (40,3,'2021-03-05',9,5,'D')");
        t.commit();
    }
    TFRMDILEKCE screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = 5;
    showActive(screen);
    QCOMPARE(!child<QLabel>(screen, "answerStateLabel")->isHidden(), shown);
    QCOMPARE(!child<QLineEdit>(screen, "answerDateEdit")->isHidden(), shown);
    QCOMPARE(child<QLabel>(screen, "answerStateLabel")->text(), state);
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetitionScreens::refusalsKeepEverythingTyped_data()
{
    QTest::addColumn<QString>("registerDate");
    QTest::addColumn<QString>("identity");
    QTest::addColumn<bool>("question");
    QTest::addColumn<QString>("text");
    QTest::newRow("another year") << "02/01/2022" << "" << false << "Tarih Çalışma Yılından Farklı Olamaz.";
    QTest::newRow("mistyped identity number, not kept") << "26/08/2021" << "12345678901" << true
                                                        << "geçerli bir kimlik numarası değil";
}

void TestPetitionScreens::refusalsKeepEverythingTyped()
{
    QFETCH(QString, registerDate);
    QFETCH(QString, identity);
    QFETCH(bool, question);
    QFETCH(QString, text);
    Office o = office();
    TFRMDILEKCE screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Kaybolmamalı"));
    child<QLineEdit>(screen, "identityEdit")->setText(identity);
    child<QLineEdit>(screen, "registerDateEdit")->setText(registerDate);
    if (question)
        o.prompt.expectQuestion(text, false);
    else
        o.prompt.expectMessage(text);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(screen.isVisible());
    QCOMPARE(o.query("SELECT COUNT(*) FROM DILEKCE").toInt(), 0);
    QCOMPARE(child<QPlainTextEdit>(screen, "subjectEdit")->toPlainText(), QStringLiteral("Kaybolmamalı"));
    QCOMPARE(child<QLineEdit>(screen, "identityEdit")->text(), identity);
    QCOMPARE(child<QLineEdit>(screen, "registerNumberEdit")->text(), QString());
    if (!question)
        QVERIFY(child<QLineEdit>(screen, "registerDateEdit")->hasFocus());
    // The close box does nothing while the record is open; F6 leaves.
    QVERIFY(!screen.close());
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY(!screen.isVisible());
}

void TestPetitionScreens::cancelLeavesNoRows_data()
{
    QTest::addColumn<bool>("archive");
    QTest::newRow("petition") << false;
    QTest::newRow("archive") << true;
}

void TestPetitionScreens::cancelLeavesNoRows()
{
    QFETCH(bool, archive);
    Office o = office();
    KeptAttachments kept(o.session, o.db, true);
    std::unique_ptr<KelmaForm> screen;
    if (archive) {
        auto *a = new TFRMARSIV(o.session, o.runner);
        screen.reset(a);
        a->tag = 1;
        showActive(*a);
        auto *kinds = child<QComboBox>(*a, "kindCombo");
        kinds->setCurrentIndex(kinds->findData(5));
        attributeEdit(*a, 1)->setText(QStringLiteral("112"));
    } else {
        auto *p = new TFRMDILEKCE(o.session, o.runner);
        screen.reset(p);
        p->tag = 1;
        showActive(*p);
        child<QLineEdit>(*p, "firstNameEdit")->setText(QStringLiteral("Ali"));
    }
    child<QPlainTextEdit>(*screen, "subjectEdit")->setPlainText(QStringLiteral("Vazgeçilecek"));
    o.prompt.expectOpenFile(kept.picture(QStringLiteral("tarama.jpg")));
    child<QPushButton>(*screen, "addButton")->click();
    QCOMPARE(kept.folder(QStringLiteral("TEMP")).size(), 1);
    QVERIFY(!screen->close());
    QTest::keyClick(screen.get(), Qt::Key_F6);
    QVERIFY(!screen->isVisible());
    QCOMPARE(screen->tag, 0);
    QCOMPARE(o.query("SELECT (SELECT COUNT(*) FROM DILEKCE) + (SELECT COUNT(*) FROM DILTEXT) + "
                     "(SELECT COUNT(*) FROM ARSIV) + (SELECT COUNT(*) FROM ARSTEXT) + "
                     "(SELECT COUNT(*) FROM ARSEKBILGI) FROM RDB$DATABASE").toInt(), 0);
    // No contents in the yearly database, no files left behind.
    QCOMPARE(kept.yearly("SELECT (SELECT COUNT(*) FROM DILTEXT) + (SELECT COUNT(*) FROM ARSTEXT) "
                         "FROM RDB$DATABASE").toInt(), 0);
    QVERIFY(kept.folder(QStringLiteral("TEMP")).isEmpty());
    QVERIFY(kept.folder(archive ? QStringLiteral("ARSIV") : QStringLiteral("DILEKCE")).isEmpty());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetitionScreens::petitionRights_data()
{
    QTest::addColumn<QString>("udur");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("saveEnabled");
    // User 2 may change petitions but not add them.
    QTest::newRow("user control on, new") << "1" << 1 << false;
    QTest::newRow("user control on, change") << "1" << 2 << true;
    QTest::newRow("user control off, new") << "0" << 1 << true;
}

void TestPetitionScreens::petitionRights()
{
    QFETCH(QString, udur);
    QFETCH(int, mode);
    QFETCH(bool, saveEnabled);
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (2, 3, 'E', 'H', 'E', 'H')");
        t.execute("INSERT INTO DILEKCE (KAYNO,DILNO,GELTAR,CEVDUR,KONU) VALUES (5, 1, '2021-03-01', 'H', 'Eski')");
        t.commit();
    }
    o.session.general.UDUR = udur;
    o.session.userNumber = 2;
    rights::RIGHTSAKTAR(o.session);
    TFRMDILEKCE screen(o.session, o.runner);
    screen.tag = mode;
    screen.kayno = 5;
    showActive(screen);
    QCOMPARE(child<QPushButton>(screen, "saveButton")->isEnabled(), saveEnabled);
    QTest::keyClick(&screen, Qt::Key_F5);
    QCOMPARE(screen.isVisible(), !saveEnabled);
    QCOMPARE(o.query("SELECT COUNT(*) FROM DILEKCE").toInt(), mode == 1 && saveEnabled ? 2 : 1);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetitionScreens::archiveKindOfEightAttributes()
{
    Office o = office();
    int kayno = 0;
    {
        TFRMARSIV screen(o.session, o.runner);
        screen.tag = 1;
        showActive(screen);
        QVERIFY(shownCaptions(screen).isEmpty());
        QCOMPARE(child<QLineEdit>(screen, "registerDateEdit")->text(), QStringLiteral("26/08/2021"));
        auto *kinds = child<QComboBox>(screen, "kindCombo");
        kinds->setCurrentIndex(kinds->findData(3));
        QCOMPARE(shownCaptions(screen), (QStringList{"Mahalle", "Ruhsat Tarihi", "Ada No", "Pafta", "Malik", "Mimar"}));
        QVERIFY(!attributeEdit(screen, 2)->inputMask().isEmpty());
        QVERIFY(attributeEdit(screen, 3)->inputMask().isEmpty());
        auto *mahalle = attributeEdit(screen, 1);
        mahalle->setFocus();
        typeText(mahalle, QStringLiteral("Çiğdem"));
        attributeEdit(screen, 2)->setText(QStringLiteral("31/02/2020"));
        attributeEdit(screen, 3)->setText(QStringLiteral("112"));
        attributeEdit(screen, 6)->setText(QStringLiteral("Y. Müh. Ş. Güler"));
        child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Yapı ruhsatı dosyası"));
        auto *files = child<QComboBox>(screen, "fileCodeCombo");
        files->setCurrentIndex(files->findData("010.01"));

        o.prompt.expectMessage("«Ruhsat Tarihi» geçerli bir tarih değil");
        QTest::keyClick(&screen, Qt::Key_F5);
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QVERIFY(screen.isVisible());
        QCOMPARE(o.query("SELECT (SELECT COUNT(*) FROM ARSIV) + (SELECT COUNT(*) FROM ARSEKBILGI) FROM RDB$DATABASE").toInt(), 0);
        QCOMPARE(attributeEdit(screen, 1)->text(), QStringLiteral("Çiğdem"));
        QCOMPARE(attributeEdit(screen, 2)->text(), QStringLiteral("31/02/2020"));

        attributeEdit(screen, 2)->setText(QStringLiteral("15/06/2020"));
        kayno = screen.kayno;
        QTest::keyClick(&screen, Qt::Key_F5);
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QVERIFY(!screen.isVisible());
    }
    QCOMPARE(o.query("SELECT ARSNO || '|' || ECKOD || '|' || KONU FROM ARSIV WHERE KAYNO=:K", {{"K", kayno}}).toString(),
             QStringLiteral("1|3|Yapı ruhsatı dosyası"));
    QCOMPARE(o.query("SELECT LIST(SIRA || '=' || DEGER, ';') FROM (SELECT * FROM ARSEKBILGI ORDER BY SIRA)").toString(),
             QStringLiteral("1=Çiğdem;2=15/06/2020;3=112;6=Y. Müh. Ş. Güler"));

    TFRMARSIV screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = kayno;
    showActive(screen);
    QCOMPARE(shownCaptions(screen).size(), 6);
    QCOMPARE(attributeEdit(screen, 1)->text(), QStringLiteral("Çiğdem"));
    QCOMPARE(attributeEdit(screen, 2)->text(), QStringLiteral("15/06/2020"));
    QCOMPARE(attributeEdit(screen, 4)->text(), QString());
    QCOMPARE(attributeEdit(screen, 6)->text(), QStringLiteral("Y. Müh. Ş. Güler"));
    // Another kind: the previous captions and values go before the new ones show.
    auto *kinds = child<QComboBox>(screen, "kindCombo");
    kinds->setCurrentIndex(kinds->findData(5));
    QCOMPARE(shownCaptions(screen), QStringList{"Parsel"});
    QCOMPARE(attributeEdit(screen, 1)->text(), QString());
    QVERIFY(attributeEdit(screen, 2)->isHidden());
    kinds->setCurrentIndex(kinds->findData(4));
    QVERIFY(shownCaptions(screen).isEmpty());
    QTest::keyClick(&screen, Qt::Key_F6);
    QCOMPARE(o.query("SELECT COUNT(*) FROM ARSEKBILGI").toInt(), 4);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetitionScreens::archiveDepartmentFillsTheAuthorisedPerson()
{
    Office o = office();
    TFRMARSIV screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    auto *departments = child<QComboBox>(screen, "departmentCombo");
    departments->setCurrentIndex(departments->findData(1));
    QCOMPARE(child<QLineEdit>(screen, "authorisedNameEdit")->text(), QStringLiteral("AHMET YILMAZ"));
    QCOMPARE(child<QLineEdit>(screen, "authorisedTitleEdit")->text(), QStringLiteral("MÜDÜR"));
    child<QLineEdit>(screen, "authorisedNameEdit")->setText(QStringLiteral("VEKİL"));
    QTest::mouseDClick(child<QLineEdit>(screen, "authorisedTitleEdit"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(screen, "authorisedNameEdit")->text(), QStringLiteral("AHMET YILMAZ"));
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT BIRKOD || '|' || YETADI || '|' || YETGOR FROM ARSIV").toString(),
             QStringLiteral("1|AHMET YILMAZ|MÜDÜR"));
}

void TestPetitionScreens::petitionAttachmentsSavedWithTheRecord()
{
    Office o = office();
    KeptAttachments kept(o.session, o.db, true);
    const QString jpg = kept.picture(QStringLiteral("tarama.jpg"));
    const QByteArray letter = QStringLiteral("Sayın Başkanlık, sokağımızın aydınlatılmasını arz ederim.").toUtf8();
    int kayno = 0;
    {
        TFRMDILEKCE screen(o.session, o.runner);
        screen.tag = 1;
        showActive(screen);
        kayno = screen.kayno;
        child<QLineEdit>(screen, "firstNameEdit")->setText(QStringLiteral("Gülşen"));
        child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Sokak aydınlatması"));
        o.prompt.expectOpenFile(jpg).expectOpenFile(kept.file(QStringLiteral("dilekce.txt"), letter));
        child<QPushButton>(screen, "addButton")->click();
        QVERIFY(!child<DocumentView>(screen, "documentView")->picture().isNull());
        child<QPushButton>(screen, "addButton")->click();
        auto *grid = child<QTableWidget>(screen, "attachmentsGrid");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(kept.folder(QStringLiteral("TEMP")).size(), 2);
        // Nothing of it is written before F5.
        QCOMPARE(o.query("SELECT COUNT(*) FROM DILTEXT").toInt(), 0);
        grid->selectRow(0);
        shoot(screen, QStringLiteral("dilekce"));
        QTest::keyClick(&screen, Qt::Key_F5);
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QCOMPARE(screen.tag, 1);
    }
    const QString jpgName = QStringLiteral("DIL_%1_1.JPG").arg(kayno);
    const QString txtName = QStringLiteral("DIL_%1_2.TXT").arg(kayno);
    QCOMPARE(o.query("SELECT LIST(SIRNO || ':' || TUR || ':' || BELTUR || ':' || DOSYA, ' ') FROM "
                     "(SELECT * FROM DILTEXT WHERE KAYNO=:K ORDER BY SIRNO)", {{"K", kayno}}).toString(),
             QStringLiteral("1:A:1:%1 2:A:8:%2").arg(jpgName, txtName));
    // The contents went into the yearly database in the same unit, under the rows' numbers.
    const int textNumber = o.query("SELECT BELKAYNO FROM DILTEXT WHERE KAYNO=:K AND SIRNO=2", {{"K", kayno}}).toInt();
    QVERIFY(textNumber > 0);
    QCOMPARE(kept.yearly("SELECT METIN FROM DILTEXT WHERE BELKAYNO=:B", {{"B", textNumber}}).toByteArray(), letter);
    QCOMPARE(kept.yearly("SELECT COUNT(*) FROM DILTEXT").toInt(), 2);
    QCOMPARE(kept.folder(QStringLiteral("DILEKCE")), (QStringList{jpgName, txtName}));
    QVERIFY(kept.folder(QStringLiteral("TEMP")).isEmpty());

    // Opened again from the list: the rows, the picture read back from the yearly database.
    TFRMDILEKCE screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = kayno;
    showActive(screen);
    auto *grid = child<QTableWidget>(screen, "attachmentsGrid");
    QCOMPARE(grid->rowCount(), 2);
    grid->selectRow(0);
    QCOMPARE(child<DocumentView>(screen, "documentView")->picture().size(), QSize(64, 48));
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetitionScreens::filesTheServerDidNotTakeWait()
{
    Office o = office();
    QTcpServer gone;
    QVERIFY(gone.listen(QHostAddress::LocalHost));
    const QString port = QString::number(gone.serverPort());
    gone.close(); // nobody answers there
    KeptAttachments kept(o.session, o.db, false, port);
    TFRMDILEKCE screen(o.session, o.runner);
    screen.tag = 1;
    showActive(screen);
    o.prompt.expectOpenFile(kept.file(QStringLiteral("ek.pdf"), "%PDF-1.4 ek"));
    child<QPushButton>(screen, "addButton")->click();
    const QString name = QStringLiteral("DIL_%1_1.PDF").arg(screen.kayno);
    o.prompt.expectMessage(QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.\n") + name)
        .expectQuestion(QStringLiteral("Tekrar gönderilsin mi?"), false);
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    // The record and its attachment are saved; the file waits beside TEMP for another try.
    QCOMPARE(screen.tag, 1);
    QCOMPARE(o.query("SELECT DOSYA FROM DILTEXT").toString(), name);
    QVERIFY(kept.folder(QStringLiteral("TEMP")).isEmpty());
    QVERIFY(kept.folder(QStringLiteral("BEKLEYEN")).contains(name));
}

void TestPetitionScreens::archiveAttachmentsKeepTheirDescriptions()
{
    Office o = office();
    KeptAttachments kept(o.session, o.db);
    int kayno = 0;
    {
        TFRMARSIV screen(o.session, o.runner);
        screen.tag = 1;
        showActive(screen);
        kayno = screen.kayno;
        QVERIFY(child<QPushButton>(screen, "detailButton")->isHidden());
        auto *kinds = child<QComboBox>(screen, "kindCombo");
        kinds->setCurrentIndex(kinds->findData(3));
        attributeEdit(screen, 1)->setText(QStringLiteral("Çiğdem"));
        child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Yapı ruhsatı dosyası"));
        auto *files = child<QComboBox>(screen, "fileCodeCombo");
        files->setCurrentIndex(files->findData("010.01"));
        o.prompt.expectOpenFile(kept.picture(QStringLiteral("ruhsat.jpg")))
            .expectOpenFile(kept.file(QStringLiteral("tapu.pdf"), "%PDF-1.4 tapu"));
        child<QPushButton>(screen, "addButton")->click();
        child<QPushButton>(screen, "addButton")->click();
        auto *grid = child<QTableWidget>(screen, "attachmentsGrid");
        QVERIFY(!grid->isColumnHidden(4));
        grid->item(0, 4)->setText(QStringLiteral("Ruhsat sayfası"));
        grid->item(1, 4)->setText(QStringLiteral("Tapu senedi, çok uzun bir açıklama ki sütuna sığmasın"));
        grid->selectRow(0);
        shoot(screen, QStringLiteral("arsiv"));
        QTest::keyClick(&screen, Qt::Key_F5);
        QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
        QCOMPARE(screen.tag, 1);
    }
    // The description is cut to its column rather than failing the save.
    QCOMPARE(o.query("SELECT LIST(SIRNO || '=' || ACIK, ';') FROM (SELECT * FROM ARSTEXT WHERE KAYNO=:K ORDER BY SIRNO)",
                     {{"K", kayno}}).toString(),
             QStringLiteral("1=Ruhsat sayfası;2=Tapu senedi, çok uzun bir açık"));
    QCOMPARE(kept.yearly("SELECT COUNT(*) FROM ARSTEXT").toInt(), 2);
    QCOMPARE(o.query("SELECT COUNT(*) FROM ARSEKBILGI WHERE ARSKAYNO=:K", {{"K", kayno}}).toInt(), 1);

    TFRMARSIV screen(o.session, o.runner);
    screen.tag = 2;
    screen.kayno = kayno;
    showActive(screen);
    QCOMPARE(child<QTableWidget>(screen, "attachmentsGrid")->item(0, 4)->text(), QStringLiteral("Ruhsat sayfası"));
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

QTEST_MAIN(TestPetitionScreens)
#include "tst_petitionscreens.moc"
