// Petition and archive records as the logic keeps them: numbering under the
// lock, the delivery number rule, the identity number warning, input refused
// before anything is written, deletion, and numbers never given twice.

#include "registers/archive.h"
#include "core/identitynumber.h"
#include "registers/petition.h"

#include "db/upgrade.h"

#include "core/clock.h"
#include "core/session.h"
#include "keptattachments.h"
#include "office.h"

#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

Office office()
{
    return Office({
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (1,'YAZI İŞLERİ','B','AHMET YILMAZ','MÜDÜR')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN) VALUES (2,'İMAR','B','AYŞE KAYA','ŞEF')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (10,'VALİLİK','K')"),
        QStringLiteral("INSERT INTO ECINS (ECKOD,ECINS,ECTUR) VALUES (1,'TAPU','1')"),
        QStringLiteral("INSERT INTO ECTAN (ECKOD,SIRNO,TUR,ECTAN) VALUES (1,1,'K','Ada')"),
        QStringLiteral("INSERT INTO ECTAN (ECKOD,SIRNO,TUR,ECTAN) VALUES (1,2,'T','Tescil Tarihi')"),
        QStringLiteral("SET GENERATOR GEN_BKOD TO 10")});
}

/// A second workstation on the same database.
struct Workstation
{
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [] { return std::make_unique<QSettings>(); }};

    explicit Workstation(const QString &path)
    {
        session.db.openMain(path);
        session.workstation.year = QStringLiteral("2021");
        session.LUSR = QStringLiteral("ZIRVO");
    }
};

void insertPetition(Office &o, int kayno, int dilno, const char *geltar, const char *diltar)
{
    fb::Transaction t(o.session.db.IBDATABASE);
    t.execute("INSERT INTO DILEKCE (KAYNO,DILNO,GELTAR,DILTAR,ZDUR,ZNO,CEVDUR,CEVNO) "
              "VALUES (:K,:N,:G,:D,'İ',:Z,'H',0)",
              {{"K", kayno}, {"N", dilno}, {"G", QDate::fromString(geltar, Qt::ISODate)},
               {"D", QDate::fromString(diltar, Qt::ISODate)}, {"Z", QString::number(dilno)}});
    t.commit();
}

} // namespace

class TestPetition : public QObject
{
    Q_OBJECT

private slots:
    void identityNumber_data();
    void identityNumber();
    void roadOfOnePetition();
    void numberingGoesByTheRegistrationDate();
    void deliveryNumberRule_data();
    void deliveryNumberRule();
    void mistypedIdentityNumberAsks_data();
    void mistypedIdentityNumberAsks();
    void badInputWritesNothing_data();
    void badInputWritesNothing();
    void cancelLeavesNoRow();
    void petitionDeletion();
    void archiveAttributesKept();
    void archiveBadInputWritesNothing_data();
    void archiveBadInputWritesNothing();
    void archiveKeepsTheDeletedKindItWasSavedWith();
    void archiveDepartmentAsksInEditMode();
    void archiveDeletion();
    void deletionTakesTheYearlyContents_data();
    void deletionTakesTheYearlyContents();
    void attributeTableMadeWhenMissing();
    void concurrentSavesNeverShareANumber();
};

void TestPetition::identityNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("mistyped");
    QTest::newRow("valid") << "10000000146" << false;
    QTest::newRow("tenth digit wrong") << "10000000156" << true;
    QTest::newRow("eleventh digit wrong") << "10000000147" << true;
    QTest::newRow("leading zero") << "01000000146" << true;
    QTest::newRow("ten digits: a tax number") << "1234567890" << false;
    QTest::newRow("letters") << "1000000014A" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("free text") << "PASAPORT U123" << false;
}

void TestPetition::identityNumber()
{
    QFETCH(QString, typed);
    QFETCH(bool, mistyped);
    QCOMPARE(identitynumber::looksMistyped(typed), mistyped);
}

void TestPetition::roadOfOnePetition()
{
    Office o = office();
    PetitionRecord r(o.session);
    r.openNew();
    const int kayno = r.kayno();
    QVERIFY(kayno > 0);
    QCOMPARE(r.value("ZDUR").toString(), QStringLiteral("İ"));
    QCOMPARE(r.value("DILTAR").toDate(), QDate(2021, 8, 26));
    r.setValue("ADI", QStringLiteral("Şükrü"));
    r.setValue("SOYADI", QStringLiteral("Öztürk"));
    r.setValue("TCKNO", QStringLiteral("10000000146"));
    r.setValue("BIRKOD", 2);
    r.setValue("SDP", QStringLiteral("010.01"));
    r.setValue("KONU", QStringLiteral("Kaldırım onarımı talebi"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM DILEKCE").toInt(), 0);
    QVERIFY2(r.save("26/08/2021"), qPrintable(o.prompt.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT DILNO || '|' || ZNO || '|' || ADI || ' ' || SOYADI || '|' || TCKNO || '|' || BIRKOD "
                     "|| '|' || USR FROM DILEKCE WHERE KAYNO=:K", {{"K", kayno}}).toString(),
             QStringLiteral("1|1|Şükrü Öztürk|10000000146|2|ZIRVO"));
    QCOMPARE(r.CEVAPGETIR().value(0), QStringLiteral("Cevap Gönderilmedi...."));

    // An answer to an incoming document with the same key is no answer to it.
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KURKOD,ILGNO,ILGDUR) VALUES (40,7,'2021-09-01',10,:K,'G')",
                  {{"K", kayno}});
        t.commit();
    }
    QVERIFY(!r.answered());
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KURKOD,ILGNO,ILGDUR) VALUES (41,8,'2021-09-02',10,:K,'D')",
                  {{"K", kayno}});
        t.commit();
    }
    QCOMPARE(r.CEVAPGETIR(), (QStringList{QStringLiteral("Cevap Gönderildi...."),
                                          QStringLiteral("No:8  Tarih:02.09.2021  G.Yer:VALİLİK")}));

    // Saved again: an update, no new number.
    r.setValue("KONU", QStringLiteral("Değişti"));
    QVERIFY(r.save("26/08/2021"));
    QCOMPARE(o.query("SELECT COUNT(*) || '|' || MAX(DILNO) || '|' || MAX(KONU) FROM DILEKCE").toString(),
             QStringLiteral("1|1|Değişti"));
}

void TestPetition::numberingGoesByTheRegistrationDate()
{
    Office o = office();
    // Registered this year though written last December; and one of last year.
    insertPetition(o, 100, 1, "2021-01-04", "2020-12-28");
    insertPetition(o, 101, 7, "2020-11-02", "2020-11-02");
    for (int expected : {2, 3}) {
        PetitionRecord r(o.session);
        r.openNew();
        r.setValue("DILTAR", QDate(2020, 12, 30));
        QVERIFY(r.save("26/08/2021"));
        QCOMPARE(r.value("DILNO").toInt(), expected);
        QCOMPARE(r.value("DILTAR").toDate(), QDate(2020, 12, 30));
    }
    QCOMPARE(o.query("SELECT COUNT(*) FROM (SELECT DILNO FROM DILEKCE WHERE GELTAR>='2021-01-01' "
                     "GROUP BY DILNO HAVING COUNT(*)>1)").toInt(), 0);
}

void TestPetition::deliveryNumberRule_data()
{
    QTest::addColumn<QString>("typedDilno");
    QTest::addColumn<QString>("typedZno");
    QTest::addColumn<QString>("dilno");
    QTest::addColumn<QString>("zno");
    QTest::newRow("both empty") << "" << "" << "4" << "4";
    QTest::newRow("delivery number typed") << "" << "Z-17" << "4" << "Z-17";
    QTest::newRow("petition number typed") << "20" << "" << "20" << "20";
    QTest::newRow("blanks are empty") << "" << "   " << "4" << "4";
}

void TestPetition::deliveryNumberRule()
{
    QFETCH(QString, typedDilno);
    QFETCH(QString, typedZno);
    QFETCH(QString, dilno);
    QFETCH(QString, zno);
    Office o = office();
    insertPetition(o, 100, 3, "2021-02-01", "2021-02-01");
    PetitionRecord r(o.session);
    r.openNew();
    r.setValue("DILNO", typedDilno.isEmpty() ? QVariant() : QVariant(typedDilno.toInt()));
    r.setValue("ZNO", typedZno.isEmpty() ? QVariant() : QVariant(typedZno));
    QVERIFY(r.save("26/08/2021"));
    QCOMPARE(o.query("SELECT DILNO || '|' || ZNO FROM DILEKCE WHERE KAYNO=:K", {{"K", r.kayno()}}).toString(),
             dilno + u'|' + zno);
    // A change leaves both as they stand, even when the delivery number is emptied.
    PetitionRecord edit(o.session);
    QVERIFY(edit.openExisting(r.kayno()));
    edit.setValue("ZNO", QVariant());
    QVERIFY(edit.save("26/08/2021"));
    QCOMPARE(o.query("SELECT DILNO || '|' || COALESCE(ZNO, '-') FROM DILEKCE WHERE KAYNO=:K",
                     {{"K", r.kayno()}}).toString(), dilno + QStringLiteral("|-"));
}

void TestPetition::mistypedIdentityNumberAsks_data()
{
    QTest::addColumn<QString>("tckno");
    QTest::addColumn<QString>("refusal"); // empty: not refused
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("yes");
    const QString shape = QStringLiteral("DİKKAT! T.C. Kimlik No 11 rakamdan oluşmalıdır.");
    QTest::newRow("mistyped, kept") << "12345678901" << "" << true << true;
    QTest::newRow("mistyped, corrected") << "12345678901" << "" << true << false;
    QTest::newRow("valid") << "10000000146" << "" << false << false;
    QTest::newRow("empty") << "" << "" << false << false;
    QTest::newRow("letters before digits") << "abc12345678901" << shape << false << false;
    QTest::newRow("a letter among eleven") << "1000000014A" << shape << false << false;
    QTest::newRow("ten digits") << "1234567890" << shape << false << false;
    QTest::newRow("twelve digits") << "100000001460" << shape << false << false;
    QTest::newRow("free text") << "YK-123 456/789" << shape << false << false;
}

void TestPetition::mistypedIdentityNumberAsks()
{
    QFETCH(QString, tckno);
    QFETCH(QString, refusal);
    QFETCH(bool, asked);
    QFETCH(bool, yes);
    Office o = office();
    PetitionRecord r(o.session);
    r.openNew();
    r.setValue("KONU", QStringLiteral("Yol"));
    r.setValue("TCKNO", tckno);
    if (!refusal.isEmpty())
        o.prompt.expectMessage(refusal);
    if (asked)
        o.prompt.expectQuestion("T.C.Kimlik No " + tckno + " geçerli bir kimlik numarası değil", yes);
    const bool saved = r.save("26/08/2021");
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(saved, refusal.isEmpty() && (!asked || yes));
    QCOMPARE(o.query("SELECT COUNT(*) FROM DILEKCE WHERE KAYNO=:K", {{"K", r.kayno()}}).toInt(), saved ? 1 : 0);
    // Nothing typed is lost.
    QCOMPARE(r.value("TCKNO").toString(), tckno);
    QCOMPARE(r.value("KONU").toString(), QStringLiteral("Yol"));
}

void TestPetition::badInputWritesNothing_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("another year") << "26/08/2020" << "KONU" << QVariant("Konu") << "Tarih Çalışma Yılından Farklı Olamaz.";
    QTest::newRow("no date") << "31/02/2021" << "KONU" << QVariant("Konu") << "Kayıt tarihi geçerli bir tarih değil";
    QTest::newRow("name too long") << "26/08/2021" << "ADI" << QVariant(QString(21, u'Ş')) << "«Adı» en fazla 20 karakter";
    QTest::newRow("identity too long") << "26/08/2021" << "TCKNO" << QVariant(QString(16, u'1')) << "«T.C.Kimlik No» en fazla 15";
    QTest::newRow("department deleted meanwhile") << "26/08/2021" << "BIRKOD" << QVariant(7) << "Seçilen birim artık tanımlı değil";
    QTest::newRow("file code with sub-codes") << "26/08/2021" << "SDP" << QVariant("010") << "dosya planında yok ya da alt kodları var";
}

void TestPetition::badInputWritesNothing()
{
    QFETCH(QString, date);
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    Office o = office();
    PetitionRecord r(o.session);
    r.openNew();
    r.setValue("EVSAY", QStringLiteral("yazılan"));
    r.setValue(column, value);
    o.prompt.expectMessage(message);
    QVERIFY(!r.save(date));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM DILEKCE").toInt(), 0);
    QCOMPARE(r.value(column), value);
    QCOMPARE(r.value("EVSAY").toString(), QStringLiteral("yazılan"));
    QVERIFY(r.value("DILNO").isNull());
    // Corrected, the same record saves.
    r.setValue(column, QVariant());
    QVERIFY2(r.save("26/08/2021"), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM DILEKCE").toInt(), 1);
}

void TestPetition::cancelLeavesNoRow()
{
    Office o = office();
    PetitionRecord p(o.session);
    p.openNew();
    p.setValue("KONU", QStringLiteral("Vazgeçildi"));
    p.cancel();
    ArchiveRecord a(o.session);
    a.openNew();
    a.setKind(1);
    a.setAttributeValue(0, QStringLiteral("112"));
    a.cancel();
    QCOMPARE(o.query("SELECT (SELECT COUNT(*) FROM DILEKCE) + (SELECT COUNT(*) FROM DILTEXT) + "
                     "(SELECT COUNT(*) FROM ARSIV) + (SELECT COUNT(*) FROM ARSTEXT) + "
                     "(SELECT COUNT(*) FROM ARSEKBILGI) FROM RDB$DATABASE").toInt(), 0);
    // The drawn keys stay spent.
    PetitionRecord next(o.session);
    next.openNew();
    QVERIFY(next.kayno() > p.kayno());
}

void TestPetition::petitionDeletion()
{
    Office o = office();
    insertPetition(o, 100, 1, "2021-02-01", "2021-02-01");
    insertPetition(o, 101, 2, "2021-02-02", "2021-02-02");
    insertPetition(o, 102, 3, "2021-02-03", "2021-02-03");
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO DILTEXT (KAYNO,SIRNO,TUR) VALUES (102,1,'A')");
        t.execute("INSERT INTO DILTEXT (KAYNO,SIRNO,TUR) VALUES (101,1,'A')");
        t.execute("INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (3,102,1)");
        t.execute("INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,102,1)");
        t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,ILGNO,ILGDUR) VALUES (40,1,101,'D')");
        t.execute("INSERT INTO GIDEN (KAYNO,GIDNO,ILGNO,ILGDUR) VALUES (41,2,102,'G')");
        t.commit();
    }
    o.prompt.expectQuestion("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?", false);
    QVERIFY(!PetitionRecord::remove(o.session, 102));
    // Answered by an outgoing letter: refused.
    o.prompt.expectQuestion("Bu Kayıt Silinecektir", true).expectMessage("Bu Kayıt Kullanılmıştır. Silemezsiniz");
    QVERIFY(!PetitionRecord::remove(o.session, 101));
    o.prompt.expectQuestion("Bu Kayıt Silinecektir", true);
    QVERIFY(PetitionRecord::remove(o.session, 102));
    o.prompt.expectQuestion("Bu Kayıt Silinecektir", true).expectMessage("bulunamadı");
    QVERIFY(!PetitionRecord::remove(o.session, 102));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT LIST(KAYNO) FROM (SELECT KAYNO FROM DILEKCE ORDER BY KAYNO)").toString(),
             QStringLiteral("100,101"));
    QCOMPARE(o.query("SELECT LIST(KAYNO) FROM DILTEXT").toString(), QStringLiteral("101"));
    // Only the petition's own routing rows go; an incoming document's with the same key stays.
    QCOMPARE(o.query("SELECT LIST(TUR) FROM EVBRM").toString(), QStringLiteral("1"));
    QCOMPARE(o.query("SELECT GEN_ID(GEN_DILNO,0) FROM RDB$DATABASE").toInt(), 2);
}

void TestPetition::archiveAttributesKept()
{
    Office o = office();
    ArchiveRecord r(o.session);
    r.openNew();
    QCOMPARE(r.value("GIZDER").toString(), QStringLiteral("Ö"));
    r.setDepartment({2, QStringLiteral("İMAR"), QStringLiteral("AYŞE KAYA"), QStringLiteral("ŞEF")});
    QCOMPARE(r.value("YETADI").toString(), QStringLiteral("AYŞE KAYA"));
    r.setKind(1);
    QCOMPARE(r.attributes().size(), 2);
    r.setAttributeValue(0, QStringLiteral("Ada 112"));
    r.setAttributeValue(1, QStringLiteral("03/05/1998"));
    QVERIFY2(r.save("26/08/2021"), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT ARSNO FROM ARSIV").toInt(), 1);
    QCOMPARE(o.query("SELECT LIST(SIRA || '=' || DEGER, ';') FROM (SELECT * FROM ARSEKBILGI ORDER BY SIRA)").toString(),
             QStringLiteral("1=Ada 112;2=03/05/1998"));

    ArchiveRecord again(o.session);
    QVERIFY(again.openExisting(r.kayno()));
    QCOMPARE(again.attributes().value(0).value, QStringLiteral("Ada 112"));
    QCOMPARE(again.attributes().value(1).value, QStringLiteral("03/05/1998"));
    // An emptied box leaves no row.
    again.setAttributeValue(0, QString());
    QVERIFY(again.save("26/08/2021"));
    QCOMPARE(o.query("SELECT LIST(SIRA) FROM ARSEKBILGI").toString(), QStringLiteral("2"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetition::archiveBadInputWritesNothing_data()
{
    QTest::addColumn<int>("attribute");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("deleteKind");
    QTest::addColumn<QString>("message");
    QTest::newRow("a date attribute that is no date") << 1 << "31/02/2021" << false << "«Tescil Tarihi» geçerli bir tarih değil";
    QTest::newRow("a date attribute in words") << 1 << "dün" << false << "«Tescil Tarihi» geçerli bir tarih değil";
    QTest::newRow("a value too long") << 0 << QString(101, u'ç') << false << "«Ada» en fazla 100 karakter";
    QTest::newRow("the kind deleted meanwhile") << 0 << "112" << true << "arşiv evrak cinsi artık tanımlı değil";
}

void TestPetition::archiveBadInputWritesNothing()
{
    QFETCH(int, attribute);
    QFETCH(QString, value);
    QFETCH(bool, deleteKind);
    QFETCH(QString, message);
    Office o = office();
    ArchiveRecord r(o.session);
    r.openNew();
    r.setKind(1);
    r.setAttributeValue(attribute, value);
    if (deleteKind) {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("DELETE FROM ECINS WHERE ECKOD=1");
        t.commit();
    }
    o.prompt.expectMessage(message);
    QVERIFY(!r.save("26/08/2021"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT (SELECT COUNT(*) FROM ARSIV) + (SELECT COUNT(*) FROM ARSEKBILGI) FROM RDB$DATABASE").toInt(), 0);
    QCOMPARE(r.attributes().value(attribute).value, value);
    QVERIFY(r.value("ARSNO").isNull());
}

void TestPetition::archiveKeepsTheDeletedKindItWasSavedWith()
{
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO ARSIV (KAYNO,ARSNO,ARSTAR,ECKOD,KONU) VALUES (5,1,'2021-03-01',8,'Eski')");
        t.commit();
    }
    ArchiveRecord r(o.session);
    QVERIFY(r.openExisting(5));
    QVERIFY(r.attributes().isEmpty());
    r.setValue("KONU", QStringLiteral("Yeni"));
    QVERIFY2(r.save("01/03/2021"), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT ECKOD || '|' || KONU FROM ARSIV").toString(), QStringLiteral("8|Yeni"));
    // Chosen again now, it is refused as any kind that is gone.
    r.setKind(2);
    o.prompt.expectMessage("arşiv evrak cinsi artık tanımlı değil");
    QVERIFY(!r.save("01/03/2021"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetition::archiveDepartmentAsksInEditMode()
{
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO ARSIV (KAYNO,ARSNO,ARSTAR,BIRKOD,YETADI,YETGOR) VALUES (5,1,'2021-03-01',1,'ESKİ','ŞEF')");
        t.commit();
    }
    const RegisterDepartment imar{2, QStringLiteral("İMAR"), QStringLiteral("AYŞE KAYA"), QStringLiteral("ŞEF")};
    ArchiveRecord r(o.session);
    QVERIFY(r.openExisting(5));
    o.prompt.expectQuestion("DİKKAT! Birim Yetkilisi Bilgileri Değişecektir. Onaylıyormusunuz.?", false);
    r.setDepartment(imar);
    QCOMPARE(r.value("BIRKOD").toInt(), 2);
    QCOMPARE(r.value("YETADI").toString(), QStringLiteral("ESKİ"));
    o.prompt.expectQuestion("Birim Yetkilisi Bilgileri Değişecektir", true);
    r.setDepartment(imar);
    QCOMPARE(r.value("YETADI").toString(), QStringLiteral("AYŞE KAYA"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestPetition::archiveDeletion()
{
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("INSERT INTO ARSIV (KAYNO,ARSNO,ARSTAR) VALUES (5,1,'2021-03-01')");
        t.execute("INSERT INTO ARSIV (KAYNO,ARSNO,ARSTAR) VALUES (6,2,'2021-03-02')");
        t.execute("INSERT INTO ARSTEXT (KAYNO,SIRNO,TUR) VALUES (6,1,'A')");
        t.execute("INSERT INTO ARSEKBILGI (ARSKAYNO,SIRA,DEGER) VALUES (6,1,'112')");
        t.execute("INSERT INTO ARSEKBILGI (ARSKAYNO,SIRA,DEGER) VALUES (5,1,'7')");
        t.commit();
    }
    o.prompt.expectQuestion("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?", true);
    QVERIFY(ArchiveRecord::remove(o.session, 6));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT (SELECT LIST(KAYNO) FROM ARSIV) || '|' || (SELECT COUNT(*) FROM ARSTEXT) || '|' || "
                     "(SELECT LIST(ARSKAYNO) FROM ARSEKBILGI) FROM RDB$DATABASE").toString(), QStringLiteral("5|0|5"));
    QCOMPARE(o.query("SELECT GEN_ID(GEN_ARSNO,0) FROM RDB$DATABASE").toInt(), 1);
}

void TestPetition::deletionTakesTheYearlyContents_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("dateColumn");
    QTest::addColumn<QString>("attachments");
    QTest::newRow("petition") << "DILEKCE" << "GELTAR" << "DILTEXT"; // by registration, as its list
    QTest::newRow("archive") << "ARSIV" << "ARSTAR" << "ARSTEXT";
}

void TestPetition::deletionTakesTheYearlyContents()
{
    QFETCH(QString, table);
    QFETCH(QString, dateColumn);
    QFETCH(QString, attachments);
    Office o = office();
    KeptAttachments kept(o.session, o.db);
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        for (int k : {7, 8, 9}) {
            t.execute(QStringLiteral("INSERT INTO %1 (KAYNO,%2) VALUES (:K,:D)").arg(table, dateColumn),
                      {{"K", k}, {"D", k == 9 ? QDate(2020, 5, 1) : QDate(2021, 3, 1)}});
        }
        // Record 7 has two contents in the yearly database, record 8 one.
        for (auto [k, sirno, number] : {std::tuple{7, 1, 71}, std::tuple{7, 2, 72}, std::tuple{8, 1, 81}, std::tuple{9, 1, 91}})
            t.execute(QStringLiteral("INSERT INTO %1 (KAYNO,SIRNO,TUR,BELKAYNO) VALUES (:K,:S,'A',:B)").arg(attachments),
                      {{"K", k}, {"S", sirno}, {"B", number}});
        t.commit();
    }
    {
        fb::Attachment year;
        year.open(TempDatabase::options(kept.yearPath, QString()));
        fb::Transaction t(year);
        for (int number : {71, 72, 81})
            t.execute(QStringLiteral("INSERT INTO %1 (BELKAYNO,METIN) VALUES (:B,'içerik')").arg(attachments), {{"B", number}});
        t.commit();
    }
    auto remove = [&](int kayno) {
        return table == u"ARSIV" ? ArchiveRecord::remove(o.session, kayno) : PetitionRecord::remove(o.session, kayno);
    };
    o.prompt.expectQuestion("Bu Kayıt Silinecektir", true);
    QVERIFY(remove(7));
    QCOMPARE(o.query(QStringLiteral("SELECT LIST(KAYNO) FROM (SELECT KAYNO FROM %1 ORDER BY KAYNO)").arg(attachments)).toString(), QStringLiteral("8,9"));
    QCOMPARE(kept.yearly(QStringLiteral("SELECT LIST(BELKAYNO) FROM %1").arg(attachments)).toString(), QStringLiteral("81"));

    // The yearly database of 2020 cannot be opened: the record stays whole rather than half deleted.
    o.prompt.expectQuestion("Bu Kayıt Silinecektir", true).expectMessage("DİKKAT! TEXT Veritabanı açılamadı");
    QVERIFY(!remove(9));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query(QStringLiteral("SELECT LIST(KAYNO) FROM (SELECT KAYNO FROM %1 ORDER BY KAYNO)").arg(table)).toString(), QStringLiteral("8,9"));
    QCOMPARE(o.query(QStringLiteral("SELECT LIST(KAYNO) FROM (SELECT KAYNO FROM %1 ORDER BY KAYNO)").arg(attachments)).toString(), QStringLiteral("8,9"));
}

void TestPetition::attributeTableMadeWhenMissing()
{
    Office o = office();
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.executeRaw("DROP TABLE ARSEKBILGI");
        t.commit();
    }
    fb::Transaction work(o.session.db.IBDATABASE);
    SchemaUpgrade check(work, o.prompt);
    QCOMPARE(check.VERKONT().outcome, SchemaUpgrade::Outcome::Current);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='ARSEKBILGI'").toInt(), 1);
    ArchiveRecord r(o.session);
    r.openNew();
    r.setKind(1);
    r.setAttributeValue(0, QStringLiteral("112"));
    QVERIFY(r.save("26/08/2021"));
    QCOMPARE(o.query("SELECT DEGER FROM ARSEKBILGI").toString(), QStringLiteral("112"));
}

void TestPetition::concurrentSavesNeverShareANumber()
{
    Office o = office();
    constexpr int kWorkstations = 3;
    constexpr int kSaves = 30;
    std::atomic<int> failures{0};
    QList<QThread *> threads;
    for (int w = 0; w < kWorkstations; ++w) {
        threads << QThread::create([&, w] {
            Workstation ws(o.db.path());
            for (int i = 0; i < kSaves; ++i) {
                // Both registers take the one lock; interleaved they must not hold each other up for good.
                if ((i + w) % 2) {
                    PetitionRecord r(ws.session);
                    r.openNew();
                    if (!r.save("26/08/2021"))
                        ++failures;
                } else {
                    ArchiveRecord r(ws.session);
                    r.openNew();
                    r.setKind(1);
                    r.setAttributeValue(0, QString::number(i));
                    if (!r.save("26/08/2021"))
                        ++failures;
                }
            }
            ws.session.db.closeAll();
        });
    }
    for (QThread *t : threads)
        t->start();
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    QCOMPARE(failures.load(), 0);
    const int petitions = o.query("SELECT COUNT(*) FROM DILEKCE").toInt();
    const int archived = o.query("SELECT COUNT(*) FROM ARSIV").toInt();
    QCOMPARE(petitions + archived, kWorkstations * kSaves);
    QCOMPARE(o.query("SELECT COUNT(DISTINCT DILNO) FROM DILEKCE").toInt(), petitions);
    QCOMPARE(o.query("SELECT MAX(DILNO) FROM DILEKCE").toInt(), petitions);
    QCOMPARE(o.query("SELECT COUNT(DISTINCT ZNO) FROM DILEKCE").toInt(), petitions);
    QCOMPARE(o.query("SELECT COUNT(DISTINCT ARSNO) FROM ARSIV").toInt(), archived);
    QCOMPARE(o.query("SELECT MAX(ARSNO) FROM ARSIV").toInt(), archived);
    QCOMPARE(o.query("SELECT COUNT(*) FROM ARSEKBILGI").toInt(), archived);
}

QTEST_GUILESS_MAIN(TestPetition)
#include "tst_petition.moc"
