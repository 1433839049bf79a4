// The rules of the definition screens, against real database files.

#include "core/attachmentlimit.h"
#include "definitions/archivekinds.h"
#include "definitions/departments.h"
#include "definitions/documenttypes.h"
#include "definitions/fileplan.h"
#include "definitions/generaldefinitions.h"
#include "definitions/wordsearch.h"

#include "db/fb/error.h"
#include "db/fb/win1254.h"
#include "office.h"

#include <QtTest>

#include <algorithm>

namespace {

QStringList bodyNames(const QList<BodyName> &bodies)
{
    QStringList out;
    for (const BodyName &b : bodies)
        out << b.BIRIM;
    std::sort(out.begin(), out.end());
    return out;
}

QStringList codes(const QList<fileplan::Code> &rows)
{
    QStringList out;
    for (const fileplan::Code &c : rows)
        out << c.KOD;
    return out;
}

/// The same few bodies and file-plan codes on a fresh or an older database.
void fillSearchData(Office &o)
{
    const QStringList bodies = {QStringLiteral("ANKARA VALİLİĞİ"), QStringLiteral("ANKARA BÜYÜKŞEHİR BELEDİYESİ"),
                                QStringLiteral("BÜYÜKŞEHİR SU İDARESİ"), QStringLiteral("büyükşehir itfaiyesi"),
                                QStringLiteral("IĞDIR VALİLİĞİ"), QStringLiteral("İZMİR VALİLİĞİ")};
    for (int i = 0; i < bodies.size(); ++i)
        o.addBody(i + 1, bodies[i]);
    o.addBody(20, QStringLiteral("BÜYÜKŞEHİR DAİRESİ"), QStringLiteral("B"));

    o.exec(QStringLiteral("DELETE FROM SDP"));
    const QList<QPair<QString, QString>> plan = {
        {"115", "İMAR İŞLERİ"},          {"115.01", "Planlama ve Uygulama"},
        {"115.01.02", "Nazım İmar Planı"}, {"115.01.07", "Parselasyon Planı"},
        {"805", "Arşiv Hizmetleri"},      {"805.02.02", "Ayıklama ve İmha"},
        {"010", "Işık ve Isı İşleri"},    {"01", "İki karakterli kod"}};
    for (const auto &p : plan)
        o.exec(QStringLiteral("INSERT INTO SDP (KOD,ACIK) VALUES (:K,:A)"), {{"K", p.first}, {"A", p.second}});
}

QByteArray pngBytes()
{
    // The signature and the start of a header are all the check reads.
    return QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
}

} // namespace

class TestDefinitions : public QObject
{
    Q_OBJECT

private slots:
    void KELIMEBUL_data();
    void KELIMEBUL();
    void bodySearchIsTurkish_data();
    void bodySearchIsTurkish();
    void filePlanSearchIsTurkish_data();
    void filePlanSearchIsTurkish();

    void departmentThenBodyTakeConsecutiveCodes();
    void recordRefusesBadInput_data();
    void recordRefusesBadInput();
    void vanishedRows();
    void identityNumberOfNaturalPersons();
    void identityNumberShape_data();
    void identityNumberShape();
    void deletionGuards_data();
    void deletionGuards();
    void namesCompareInTurkishCapitals();

    void documentTypes();
    void documentTypeInUse();
    void documentTypeTakenElsewhereBeforeClose();
    void archiveKinds();
    void archiveKindIsWrittenWholeOrNotAtAll();

    void filePlanCodeSearch();
    void filePlanShadesAndChoosing();
    void filePlanStartsOn251();
    void leafMarkers();

    void generalDefinitionsSaveEverySetting();
    void generalDefinitionsBadInputStoresNothing_data();
    void generalDefinitionsBadInputStoresNothing();
    void emblem();
    void districts();
};

void TestDefinitions::KELIMEBUL_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lastKeyBlank");
    QTest::addColumn<bool>("keepBlank");
    QTest::addColumn<QString>("word");
    QTest::newRow("two words") << "ANKARA BÜYÜKŞEHİR" << false << false << "BÜYÜKŞEHİR";
    QTest::newRow("blank just typed") << "ANKARA BÜYÜKŞEHİR " << true << false << "BÜYÜKŞEHİR";
    QTest::newRow("one word") << "ANKARA" << false << false << "ANKARA";
    QTest::newRow("one word, blank typed") << "ANKARA " << true << false << "ANKARA";
    QTest::newRow("blank not typed last") << "ANKARA " << false << false << "";
    QTest::newRow("empty") << "" << true << false << "";
    QTest::newRow("file plan keeps the blank") << "IMAR PLAN" << false << true << " PLAN";
    QTest::newRow("file plan, blank typed") << "IMAR PLAN " << true << true << " PLAN";
    QTest::newRow("file plan, one word") << "IMAR " << true << true << "IMAR";
}

void TestDefinitions::KELIMEBUL()
{
    QFETCH(QString, text);
    QFETCH(bool, lastKeyBlank);
    QFETCH(bool, keepBlank);
    QFETCH(QString, word);
    QCOMPARE(wordsearch::KELIMEBUL(text, lastKeyBlank,
                                   keepBlank ? wordsearch::LeadingBlank::Kept : wordsearch::LeadingBlank::Dropped),
             word);
}

void TestDefinitions::bodySearchIsTurkish_data()
{
    QTest::addColumn<bool>("charsetless");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("kelimeAra");
    QTest::addColumn<bool>("lastKeyBlank");
    QTest::addColumn<QStringList>("names");
    for (bool old : {false, true}) {
        const char *db = old ? "older database" : "fresh database";
        QTest::addRow("%s: whole text", db) << old << "ankara büyükşehir" << false << false
                                            << QStringList{"ANKARA BÜYÜKŞEHİR BELEDİYESİ"};
        QTest::addRow("%s: last word", db) << old << "ANKARA BÜYÜKŞEHİR" << true << false
                                           << QStringList{"BÜYÜKŞEHİR SU İDARESİ", "büyükşehir itfaiyesi"};
        QTest::addRow("%s: last word, blank typed", db) << old << "ANKARA BÜYÜKŞEHİR " << true << true
                                                        << QStringList{"BÜYÜKŞEHİR SU İDARESİ", "büyükşehir itfaiyesi"};
        QTest::addRow("%s: dotless ı", db) << old << "ığdır" << false << false << QStringList{"IĞDIR VALİLİĞİ"};
        QTest::addRow("%s: dotted i", db) << old << "izmir" << false << false << QStringList{"İZMİR VALİLİĞİ"};
        QTest::addRow("%s: nothing typed", db) << old << "" << false << false
                                               << QStringList{"ANKARA BÜYÜKŞEHİR BELEDİYESİ", "ANKARA VALİLİĞİ",
                                                              "BÜYÜKŞEHİR SU İDARESİ", "IĞDIR VALİLİĞİ",
                                                              "büyükşehir itfaiyesi", "İZMİR VALİLİĞİ"};
    }
}

void TestDefinitions::bodySearchIsTurkish()
{
    QFETCH(bool, charsetless);
    QFETCH(QString, typed);
    QFETCH(bool, kelimeAra);
    QFETCH(bool, lastKeyBlank);
    QFETCH(QStringList, names);
    Office o(charsetless);
    fillSearchData(o);
    std::sort(names.begin(), names.end());
    QCOMPARE(bodyNames(birim::findBodies(o.session, typed, kelimeAra, lastKeyBlank)), names);
    // The body record's similar names always look for the last word.
    if (kelimeAra) {
        BirimRecord r(o.session, BirimKind::Body);
        QCOMPARE(bodyNames(r.similarNames(typed, lastKeyBlank)), names);
    }
}

void TestDefinitions::filePlanSearchIsTurkish_data()
{
    QTest::addColumn<bool>("charsetless");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("kelimeAra");
    QTest::addColumn<QStringList>("expected");
    for (bool old : {false, true}) {
        const char *db = old ? "older database" : "fresh database";
        QTest::addRow("%s: whole text", db) << old << "imar planı" << false << QStringList{"115.01.02"};
        QTest::addRow("%s: word after a blank", db) << old << "imar plan" << true << QStringList{"115.01.02", "115.01.07"};
        QTest::addRow("%s: ARSIV IMHA", db) << old << "arşiv imha" << true << QStringList{"805.02.02"};
        QTest::addRow("%s: I is not İ", db) << old << "IMHA" << false << QStringList{};
        QTest::addRow("%s: ı", db) << old << "ışık" << false << QStringList{"010"};
        QTest::addRow("%s: i is not ı", db) << old << "işik" << false << QStringList{};
        QTest::addRow("%s: anywhere", db) << old << "imar" << false << QStringList{"115", "115.01.02"};
    }
}

void TestDefinitions::filePlanSearchIsTurkish()
{
    QFETCH(bool, charsetless);
    QFETCH(QString, typed);
    QFETCH(bool, kelimeAra);
    QFETCH(QStringList, expected);
    Office o(charsetless);
    fillSearchData(o);
    fileplan::Search s(o.session);
    s.SORGULA(fileplan::Mode::ByDescription, typed, kelimeAra, false);
    QCOMPARE(codes(s.rows()), expected);
    // By code: a 2-character code is never listed.
    s.SORGULA(fileplan::Mode::ByCode, QString(), false, false);
    QCOMPARE(s.rows().size(), 7);
    s.SORGULA(fileplan::Mode::ByCode, QStringLiteral("115.01 "), false, false);
    QCOMPARE(codes(s.rows()), QStringList({"115.01", "115.01.02", "115.01.07"}));
}

void TestDefinitions::departmentThenBodyTakeConsecutiveCodes()
{
    Office o;
    BirimRecord department(o.session, BirimKind::Department);
    department.openNew();
    department.setValue("BIRIM", QStringLiteral("YAZI İŞLERİ MÜDÜRLÜĞÜ"));
    department.setValue("KODU", QStringLiteral("YİM"));
    QVERIFY2(department.save(), qPrintable(o.prompt.report()));
    BirimRecord body(o.session, BirimKind::Body);
    body.openNew();
    QCOMPARE(body.value("GTUR").toString(), QStringLiteral("K"));
    body.setValue("BIRIM", QStringLiteral("  ANKARA VALİLİĞİ "));
    QVERIFY2(body.save(), qPrintable(o.prompt.report()));

    QVERIFY(department.BKOD() > 0);
    QCOMPARE(body.BKOD(), department.BKOD() + 1);
    // Both committed, each in its own transaction.
    QCOMPARE(o.query("SELECT TUR || '/' || BIRIM FROM BIRIM WHERE BKOD=:K", {{"K", department.BKOD()}}).toString(),
             QStringLiteral("B/YAZI İŞLERİ MÜDÜRLÜĞÜ"));
    QCOMPARE(o.query("SELECT TUR || GTUR || '/' || BIRIM FROM BIRIM WHERE BKOD=:K", {{"K", body.BKOD()}}).toString(),
             QStringLiteral("KK/ANKARA VALİLİĞİ"));

    BirimList list(o.session, BirimKind::Body);
    list.read();
    QCOMPARE(list.rows().rowCount(), 1);
    QCOMPARE(list.rowOf(body.BKOD()), 0);
    QCOMPARE(list.rowOf(department.BKOD()), -1);
    QVERIFY(o.prompt.done());
}

void TestDefinitions::recordRefusesBadInput_data()
{
    QTest::addColumn<bool>("department");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("department without a name") << true << "BIRIM" << "" << "DİKKAT! Birin Adını Girmelisiniz.";
    QTest::newRow("body with a blank name") << false << "BIRIM" << "   " << "DİKKAT! Kurum Adını Girmelisiniz.";
    QTest::newRow("name wider than its column") << false << "BIRIM" << QString(81, u'Ş') << "en fazla 80";
    QTest::newRow("department code too long") << true << "KODU" << "ABCDEFG" << "en fazla 6";
    QTest::newRow("prefix too long") << true << "ONEK" << QString(31, u'x') << "Evrak Sayı Ön Eki";
}

void TestDefinitions::recordRefusesBadInput()
{
    QFETCH(bool, department);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(QString, message);
    Office o;
    const QVariant generator = o.query("SELECT GEN_ID(GEN_BKOD,0) FROM RDB$DATABASE");
    BirimRecord r(o.session, department ? BirimKind::Department : BirimKind::Body);
    r.openNew();
    r.setValue("BIRIM", QStringLiteral("BİR AD"));
    r.setValue(column, value);
    o.prompt.expectMessage(message);
    QVERIFY(!r.save());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(r.focusColumn(), column);
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM").toInt(), 0);
    // No code was spent on a refused save.
    QCOMPARE(o.query("SELECT GEN_ID(GEN_BKOD,0) FROM RDB$DATABASE"), generator);
}

void TestDefinitions::vanishedRows()
{
    Office o;
    o.addBody(5, QStringLiteral("VALİLİK"));
    BirimRecord missing(o.session, BirimKind::Department);
    o.prompt.expectMessage("Dikkat bir hata oluşru...");
    // A body's code does not open as a department.
    QVERIFY(!missing.openExisting(5));

    BirimRecord r(o.session, BirimKind::Body);
    QVERIFY(r.openExisting(5));
    r.setValue("UNVAN", QStringLiteral("VALİ"));
    o.exec("DELETE FROM BIRIM WHERE BKOD=5");
    QVERIFY_THROWS_EXCEPTION(fb::Error, r.save());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM").toInt(), 0);
}

void TestDefinitions::identityNumberOfNaturalPersons()
{
    Office o;
    auto person = [&](const QString &name, const QString &number) {
        auto r = std::make_unique<BirimRecord>(o.session, BirimKind::Body);
        r->openNew();
        r->setValue("GTUR", QStringLiteral("G"));
        r->setValue("BIRIM", name);
        r->setValue("YETKILI", number);
        return r;
    };
    auto first = person(QStringLiteral("AYŞE YILMAZ"), QStringLiteral("10000000146"));
    QVERIFY(first->save());
    auto second = person(QStringLiteral("AYŞE YILMAZ (2)"), QStringLiteral("10000000146 "));
    o.prompt.expectMessage("DİKKAT! TC. Kimlik Numarası Kayıtlıdır..");
    QVERIFY(!second->save());
    QCOMPARE(second->focusColumn(), QStringLiteral("YETKILI"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM").toInt(), 1);

    // The same number on the same body, and on a legal entity's contact, is fine.
    BirimRecord again(o.session, BirimKind::Body);
    QVERIFY(again.openExisting(first->BKOD()));
    again.setValue("EMAIL", QStringLiteral("ayse@example.org"));
    QVERIFY(again.save());
    auto company = person(QStringLiteral("YILMAZ LTD"), QStringLiteral("10000000146"));
    company->setValue("GTUR", QStringLiteral("T"));
    QVERIFY(company->save());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM").toInt(), 2);
}

void TestDefinitions::identityNumberShape_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("refusal");   // empty: not refused outright
    QTest::addColumn<bool>("asked");        // the check digits fail: the user decides
    QTest::addColumn<bool>("answer");
    QTest::newRow("letters") << "abc12345678901" << "11 rakamdan" << false << false;
    QTest::newRow("ten digits") << "1000000014" << "11 rakamdan" << false << false;
    QTest::newRow("digits and a space inside") << "100000 00146" << "11 rakamdan" << false << false;
    QTest::newRow("check digits fail, kept") << "12345678901" << "" << true << true;
    QTest::newRow("check digits fail, corrected") << "12345678901" << "" << true << false;
    QTest::newRow("valid") << "10000000146" << "" << false << false;
}

void TestDefinitions::identityNumberShape()
{
    QFETCH(QString, number);
    QFETCH(QString, refusal);
    QFETCH(bool, asked);
    QFETCH(bool, answer);
    Office o;
    BirimRecord r(o.session, BirimKind::Body);
    r.openNew();
    r.setValue("GTUR", QStringLiteral("G"));
    r.setValue("BIRIM", QStringLiteral("MEHMET KAYA"));
    r.setValue("YETKILI", number);
    if (!refusal.isEmpty())
        o.prompt.expectMessage(refusal);
    if (asked)
        o.prompt.expectQuestion("kontrol haneleri tutmuyor", answer);
    const bool stored = refusal.isEmpty() && (!asked || answer);
    QCOMPARE(r.save(), stored);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(r.focusColumn(), stored ? QString() : QStringLiteral("YETKILI"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM").toInt(), stored ? 1 : 0);
}

void TestDefinitions::deletionGuards_data()
{
    QTest::addColumn<bool>("department");
    QTest::addColumn<QString>("use");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("refusal");
    const QString dept = QStringLiteral("DİKKAT! Bu Birim Kullanılmıştır. Silemezsiniz..");
    const QString body = QStringLiteral("DİKKAT! Bu Kurum Kullanılmıştır. Silemezsiniz..");
    QTest::newRow("unused department") << true << "" << true << "";
    QTest::newRow("answered No") << true << "" << false << "";
    QTest::newRow("department of an incoming document")
        << true << "INSERT INTO GELEN (KAYNO,BIRKOD) VALUES (1,:BK)" << true << dept;
    QTest::newRow("department of an outgoing document")
        << true << "INSERT INTO GIDEN (KAYNO,BIRKOD) VALUES (1,:BK)" << true << dept;
    // Every column that keeps the code guards it: a deleted row would leave
    // the code pointing nowhere.
    QTest::newRow("department only routed to")
        << true << "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,1,:BK)" << true << dept;
    QTest::newRow("department of a user")
        << true << "INSERT INTO USERS (HNO,USR,PSSWD,OZEL) VALUES (9,'AYŞE','x',:BK)" << true << dept;
    QTest::newRow("department of a petition")
        << true << "INSERT INTO DILEKCE (KAYNO,BIRKOD) VALUES (1,:BK)" << true << dept;
    QTest::newRow("department of an archive record")
        << true << "INSERT INTO ARSIV (KAYNO,BIRKOD) VALUES (1,:BK)" << true << dept;
    QTest::newRow("body an outgoing document was routed to")
        << false << "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (2,1,:BK)" << true << body;
    QTest::newRow("body that sent a document")
        << false << "INSERT INTO GELEN (KAYNO,KURKOD) VALUES (1,:BK)" << true << body;
    QTest::newRow("body that received one")
        << false << "INSERT INTO GIDEN (KAYNO,KURKOD) VALUES (1,:BK)" << true << body;
    QTest::newRow("body as department code elsewhere")
        << false << "INSERT INTO GELEN (KAYNO,BIRKOD) VALUES (1,:BK)" << true << "";
}

void TestDefinitions::deletionGuards()
{
    QFETCH(bool, department);
    QFETCH(QString, use);
    QFETCH(bool, yes);
    QFETCH(QString, refusal);
    Office o;
    o.addBody(7, QStringLiteral("İMAR MÜDÜRLÜĞÜ"), department ? QStringLiteral("B") : QStringLiteral("K"));
    if (!use.isEmpty())
        o.exec(use, {{"BK", 7}});
    BirimList list(o.session, department ? BirimKind::Department : BirimKind::Body);
    list.read();
    o.prompt.expectQuestion("DİKKAT! Bu Birim Bilgileri Silinecektir.Onaylıyormusunuz", yes);
    if (!refusal.isEmpty())
        o.prompt.expectMessage(refusal);
    const bool deleted = list.remove(7);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(deleted, yes && refusal.isEmpty());
    // A deletion is committed at once: a later rollback of the shared
    // transaction (a cancelled record screen) cannot bring the row back.
    birim::transaction(o.session, department ? BirimKind::Department : BirimKind::Body).rollbackRetaining();
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM").toInt(), deleted ? 0 : 1);
    QCOMPARE(list.rows().rowCount(), deleted ? 0 : 1);
}

void TestDefinitions::namesCompareInTurkishCapitals()
{
    Office o;
    // Document types: the name in other letters' case is the same type.
    o.exec("INSERT INTO EVTUR (ETKOD,EVTUR) VALUES (3,'İhale Evrakı')");
    DocumentTypes types(o.session);
    types.read();
    const int row = types.append();
    types.rows().setValue(row, "EVTUR", QStringLiteral("İHALE EVRAKI"));
    o.prompt.expectMessage("DİKKAT! Bu Evrak Türü Kayıtlıdır...");
    QVERIFY(!types.writePending());
    // Dotless ı is the small letter of I.
    types.rows().setValue(row, "EVTUR", QStringLiteral("ıslak imza"));
    QVERIFY(types.writePending());
    const int next = types.append();
    types.rows().setValue(next, "EVTUR", QStringLiteral("ISLAK İMZA"));
    o.prompt.expectMessage("DİKKAT! Bu Evrak Türü Kayıtlıdır...");
    QVERIFY(!types.writePending());
    types.cancelPending();
    QVERIFY(types.close());

    // Departments: users pick theirs by name.
    o.addBody(40, QStringLiteral("YAZI İŞLERİ MÜDÜRLÜĞÜ"), QStringLiteral("B"));
    o.addBody(41, QStringLiteral("yazı işleri müdürlüğü"), QStringLiteral("K"));
    BirimRecord department(o.session, BirimKind::Department);
    department.openNew();
    department.setValue("BIRIM", QStringLiteral("Yazı İşleri Müdürlüğü"));
    o.prompt.expectMessage("DİKKAT! Bu Birim Adı Kayıtlıdır..");
    QVERIFY(!department.save());
    QCOMPARE(department.focusColumn(), QStringLiteral("BIRIM"));
    // Its own name again, and a body of the same name, are fine.
    BirimRecord same(o.session, BirimKind::Department);
    QVERIFY(same.openExisting(40));
    same.setValue("UNVAN", QStringLiteral("MÜDÜR"));
    QVERIFY(same.save());
    BirimRecord body(o.session, BirimKind::Body);
    body.openNew();
    body.setValue("BIRIM", QStringLiteral("Yazı İşleri Müdürlüğü"));
    QVERIFY(body.save());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVTUR").toInt(), 4);
    QCOMPARE(o.query("SELECT COUNT(*) FROM BIRIM WHERE TUR='B'").toInt(), 1);
}

void TestDefinitions::documentTypes()
{
    Office o;
    o.exec("DELETE FROM EVTUR");
    DocumentTypes types(o.session);
    types.read();
    QCOMPARE(types.rows().rowCount(), 0);

    int row = types.append();
    types.rows().setValue(row, "EVTUR", QStringLiteral("GENEL EVRAK"));
    QVERIFY(types.writePending());
    QCOMPARE(types.rows().value(row, "ETKOD").toInt(), 1);
    row = types.append();
    types.rows().setValue(row, "EVTUR", QStringLiteral("DİLEKÇE"));
    QVERIFY(types.writePending());
    QCOMPARE(types.rows().value(row, "ETKOD").toInt(), 2);

    // A new row with a name already there stays for correction.
    row = types.append();
    types.rows().setValue(row, "EVTUR", QStringLiteral("DİLEKÇE"));
    o.prompt.expectMessage("DİKKAT! Bu Evrak Türü Kayıtlıdır...");
    QVERIFY(!types.writePending());
    types.rows().setValue(row, "EVTUR", QStringLiteral("GENELGE"));
    QVERIFY(types.writePending());
    QCOMPARE(types.rows().value(row, "ETKOD").toInt(), 3);

    // Renaming onto another type is refused; re-saving under its own name is not.
    types.rows().setValue(0, "EVTUR", QStringLiteral("GENELGE"));
    o.prompt.expectMessage("DİKKAT! Bu Evrak Türü Kayıtlıdır...");
    QVERIFY(!types.writePending());
    types.cancelPending();
    types.rows().setValue(0, "EVTUR", QStringLiteral("GENEL EVRAK"));
    QVERIFY(types.writePending());

    // A name emptied is refused; a new row left empty just goes away.
    types.rows().setValue(1, "EVTUR", QStringLiteral(" "));
    o.prompt.expectMessage("Tür Açıklaması Girmelisiniz");
    QVERIFY(!types.writePending());
    types.cancelPending();
    types.append();
    QVERIFY(types.writePending());
    QCOMPARE(types.rows().rowCount(), 3);
    row = types.append();
    types.rows().setValue(row, "EVTUR", QString(31, u'İ'));
    o.prompt.expectMessage("en fazla 30");
    QVERIFY(!types.writePending());
    types.cancelPending();

    // Written rows reach others when the screen closes.
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVTUR").toInt(), 0);
    QVERIFY(types.close());
    QCOMPARE(o.query("SELECT LIST(ETKOD || '=' || EVTUR, ',') FROM (SELECT * FROM EVTUR ORDER BY ETKOD)").toString(),
             QStringLiteral("1=GENEL EVRAK,2=DİLEKÇE,3=GENELGE"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDefinitions::documentTypeInUse()
{
    Office o;
    o.exec("INSERT INTO GELEN (KAYNO,ETKOD) VALUES (1,2)");
    DocumentTypes types(o.session);
    types.read();
    QCOMPARE(types.rows().value(1, "ETKOD").toInt(), 2);
    o.prompt.expectQuestion("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?", true);
    o.prompt.expectMessage("DİKKAT! Bu Evrak Türü  Kayıtlarda Kullanılmıştır. Silemezsiniz.");
    QVERIFY(!types.remove(1));
    o.prompt.expectQuestion("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?", true);
    QVERIFY(types.remove(0));
    QVERIFY(types.close());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT LIST(ETKOD) FROM EVTUR").toString(), QStringLiteral("2"));
}

void TestDefinitions::documentTypeTakenElsewhereBeforeClose()
{
    Office o;
    o.exec("DELETE FROM EVTUR");
    DocumentTypes types(o.session);
    types.read();
    const int row = types.append();
    types.rows().setValue(row, "EVTUR", QStringLiteral("GENELGE"));
    QVERIFY(types.writePending());
    // Another workstation stores the same name, under the code shown here.
    o.exec("INSERT INTO EVTUR (ETKOD,EVTUR) VALUES (1,'GENELGE')");
    o.prompt.expectMessage("DİKKAT! Bu Evrak Türü Kayıtlıdır...");
    QVERIFY(!types.close());
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVTUR").toInt(), 1);
    // Corrected, it is numbered after the other's code.
    types.rows().setValue(row, "EVTUR", QStringLiteral("GENELGE 2"));
    QVERIFY(types.close());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.query("SELECT LIST(ETKOD || '=' || EVTUR, ',') FROM (SELECT * FROM EVTUR ORDER BY ETKOD)").toString(),
             QStringLiteral("1=GENELGE,2=GENELGE 2"));
}

void TestDefinitions::archiveKinds()
{
    Office o;
    ArchiveKindRecord r(o.session);
    r.openNew();
    QCOMPARE(r.ECKOD(), 1);
    QCOMPARE(r.sections().size(), 5);
    o.prompt.expectMessage("DİKKAT! Açıklama Girmelisiniz.");
    QVERIFY(!r.save());
    QCOMPARE(r.focusColumn(), QStringLiteral("ECINS"));
    r.kind().setValue(0, "ECINS", QStringLiteral("İMAR DOSYASI"));
    r.kind().setValue(0, "ECTUR", r.sections()[2].ECTUR);
    const int ada = r.appendField();
    r.fields().setValue(ada, "ECTAN", QStringLiteral("Ada No"));
    r.fields().setValue(ada, "TUR", QStringLiteral("S"));
    const int parsel = r.appendField();
    QCOMPARE(r.fields().value(parsel, "SIRNO").toInt(), 2);
    o.prompt.expectMessage("Alan Adı girilmelidir");
    QVERIFY(!r.save());
    QCOMPARE(r.focusColumn(), QStringLiteral("FIELDS"));
    r.fields().setValue(parsel, "ECTAN", QStringLiteral("Parsel No"));
    r.fields().setValue(parsel, "SIRNO", 1);
    o.prompt.expectMessage("1 Sıra No birden fazla");
    QVERIFY(!r.save());
    r.fields().setValue(parsel, "SIRNO", 2);
    QVERIFY2(r.save(), qPrintable(o.prompt.report()));

    const QList<archivekinds::Kind> kinds = archivekinds::kinds(o.session.db.IBTransaction1);
    QCOMPARE(kinds.size(), 1);
    QCOMPARE(kinds[0].ETURADI, QStringLiteral("TEKNİK EVRAK"));
    const QList<archivekinds::Field> fields = archivekinds::fields(o.session.db.IBTransaction1, 1);
    QCOMPARE(fields.size(), 2);
    QCOMPARE(fields[0].ECTAN + fields[0].TUR + fields[1].ECTAN + fields[1].TUR, QStringLiteral("Ada NoSParsel NoK"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM ECTAN WHERE ECKOD=1").toInt(), 2);

    // A cancelled new kind leaves nothing, and the next one gets its code again.
    ArchiveKindRecord cancelled(o.session);
    cancelled.openNew();
    QCOMPARE(cancelled.ECKOD(), 2);
    cancelled.kind().setValue(0, "ECINS", QStringLiteral("VAZGEÇİLEN"));
    cancelled.appendField();
    cancelled.cancel();
    ArchiveKindRecord next(o.session);
    next.openNew();
    QCOMPARE(next.ECKOD(), 2);
    QCOMPARE(o.query("SELECT COUNT(*) FROM ECINS").toInt() + o.query("SELECT COUNT(*) FROM ECTAN").toInt(), 3);

    // Changing: a field renamed, one removed.
    ArchiveKindRecord edit(o.session);
    QVERIFY(edit.openExisting(1));
    edit.fields().setValue(0, "ECTAN", QStringLiteral("Ada"));
    edit.fields().remove(1);
    QVERIFY(edit.save());
    QCOMPARE(o.query("SELECT LIST(ECTAN) FROM ECTAN").toString(), QStringLiteral("Ada"));
    ArchiveKindRecord gone(o.session);
    o.prompt.expectMessage("Dikkat bir hata oluşru...");
    QVERIFY(!gone.openExisting(9));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDefinitions::archiveKindIsWrittenWholeOrNotAtAll()
{
    Office o;
    ArchiveKindRecord r(o.session);
    r.openNew();
    r.kind().setValue(0, "ECINS", QStringLiteral("TAPU"));
    r.fields().setValue(r.appendField(), "ECTAN", QStringLiteral("Pafta"));
    // Another workstation takes the same code first: the kind cannot be
    // written, and its fields must not be left behind.
    o.exec("INSERT INTO ECINS (ECKOD,ECINS) VALUES (1,'ÖNCE GELEN')");
    QVERIFY_THROWS_EXCEPTION(fb::Error, r.save());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    o.session.db.IBTransaction1.commitRetaining();
    QCOMPARE(o.query("SELECT COUNT(*) FROM ECTAN").toInt(), 0);
    QCOMPARE(r.fields().rowCount(), 1);
}

void TestDefinitions::filePlanCodeSearch()
{
    Office o;
    fileplan::Search s(o.session);
    s.SORGULA(fileplan::Mode::ByCode, QStringLiteral("01"), false, false);
    QCOMPARE(s.rows().size(), 13);
    for (const fileplan::Code &c : s.rows())
        QVERIFY2(c.KOD.startsWith(QLatin1String("01")), qPrintable(c.KOD));
    s.SORGULA(fileplan::Mode::ByCode, QString(), false, false);
    QCOMPARE(s.rows().size(), 1110);
    QString pattern;
    QCOMPARE(fileplan::Search::sql(fileplan::Mode::ByCode, QStringLiteral("01"), false, false, &pattern),
             QStringLiteral("SELECT KOD,ACIK FROM SDP\nWHERE KOD LIKE '___%'\n AND KOD LIKE :HK\nORDER BY KOD"));
    QCOMPARE(pattern, QStringLiteral("01%"));
    s.SORGULA(fileplan::Mode::ByDescription, QStringLiteral("IMAR PLAN"), true, false);
    QVERIFY(codes(s.rows()).contains(QStringLiteral("602.01")));  // Kalkınma Planı
    QVERIFY(!codes(s.rows()).contains(QStringLiteral("115.01"))); // Planlama ve Uygulama
}

void TestDefinitions::filePlanShadesAndChoosing()
{
    Office o;
    fileplan::Search s(o.session);
    s.SORGULA(fileplan::Mode::ByDescription, QStringLiteral("mevzuat"), false, false);
    QCOMPARE(codes(s.rows()).first(), QStringLiteral("010"));
    QCOMPARE(s.shade(0), fileplan::Shade::HasSubCodes); // although its sub-codes are not listed

    const QSet<QString> parents = fileplan::withSubCodes({"010.01", "010.02.03", "115.01.02"});
    QCOMPARE(parents, QSet<QString>({"010", "010.02", "115", "115.01"}));
    QCOMPARE(fileplan::shade("010", parents), fileplan::Shade::HasSubCodes);
    QCOMPARE(fileplan::shade("000", parents), fileplan::Shade::Main);
    QCOMPARE(fileplan::shade("010.01", parents), fileplan::Shade::Plain);

    o.prompt.expectMessage("DİKKAT! Detay Kod için İşlem Yapmalısınız..");
    QVERIFY(!fileplan::mayChoose(o.session, "010"));
    QVERIFY(fileplan::mayChoose(o.session, "010.01"));
    QVERIFY(fileplan::mayChoose(o.session, "000"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDefinitions::filePlanStartsOn251()
{
    Office o;
    QList<fileplan::Code> mains = fileplan::mainCodes(o.session.db.IBTransaction1);
    QCOMPARE(mains.size(), 183);
    QCOMPARE(fileplan::startRow(mains), 0);
    QCOMPARE(mains[0].KOD, QStringLiteral("000"));
    o.exec("INSERT INTO SDP (KOD,ACIK) VALUES ('251','Ulaşım Hizmetleri')");
    mains = fileplan::mainCodes(o.session.db.IBTransaction1);
    QCOMPARE(mains[fileplan::startRow(mains)].KOD, QStringLiteral("251"));
    QCOMPARE(mains[fileplan::firstDescribedAs(mains, QStringLiteral("Mevzuat"))].KOD, QStringLiteral("010"));
    QCOMPARE(fileplan::firstDescribedAs(mains, QStringLiteral("mevzuat")), -1);
    QCOMPARE(fileplan::startRow({}), -1);
}

void TestDefinitions::leafMarkers()
{
    Office o;
    QMap<QString, QString> shipped;
    for (const QVariantList &r : o.session.db.IBTransaction1.rows("SELECT KOD, TUR FROM SDP"))
        shipped.insert(r[0].toString(), r[1].toString());
    o.exec("UPDATE SDP SET TUR='X'");
    o.exec("INSERT INTO SDP (KOD,ACIK,TUR) VALUES ('99','Kısa','D')");
    o.exec("INSERT INTO SDP (KOD,ACIK) VALUES ('999','Ana')");
    o.exec("INSERT INTO SDP (KOD,ACIK) VALUES ('999.99.99.99.99','On beş')");

    o.prompt.expectMessage("İşlem Tamamlandı..");
    fileplan::markLeaves(o.session);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QMap<QString, QString> marked;
    for (const QVariantList &r : o.session.db.IBTransaction1.rows("SELECT KOD, TUR FROM SDP"))
        marked.insert(r[0].toString(), r[1].toString());
    QCOMPARE(marked.take("99"), QString());
    QCOMPARE(marked.take("999"), QString());
    // A code of full length is a leaf by its length and stays one.
    QCOMPARE(marked.take("999.99.99.99.99"), QStringLiteral("D"));
    QCOMPARE(marked, shipped);
    // A main code with no sub-codes is offered in the registers' lists.
    const QString offered = o.query("SELECT LIST(KOD) FROM (SELECT KOD,ACIK FROM SDP WHERE TUR='D' ORDER BY ACIK)").toString();
    QVERIFY(offered.split(u',').contains(QStringLiteral("000")));
    QVERIFY(!offered.split(u',').contains(QStringLiteral("010")));
}

void TestDefinitions::generalDefinitionsSaveEverySetting()
{
    Office o;
    o.session.workstation.colour = QStringLiteral("X");
    o.session.workstation.readMode = QStringLiteral("V");
    GeneralDefinitions g(o.session);
    GeneralDefinitions::Values v = g.open();
    QCOMPARE(v.KURUM, QStringLiteral("BELEDİYE BAŞKANLIĞI"));
    QCOMPARE(v.year, QStringLiteral("2021"));
    QCOMPARE(v.colour, 4); // an unknown letter shows "...."
    QCOMPARE(v.readMode, 0);
    QCOMPARE(v.MSVER, 0);
    QCOMPARE(v.ABT, 0);

    const QString ankara = g.districts("06").value(3).code;
    v.KURUM = QStringLiteral("ÇANKAYA BELEDİYESİ");
    v.SUBE = QStringLiteral("YAZI İŞLERİ");
    v.ILKOD = QStringLiteral("06");
    v.ILCEKOD = ankara;
    v.ONIZ = 1;
    v.SRVSAKLA = 0;
    v.VTSAKLA = 1;
    v.TRMSAKLA = 0;
    v.MSVER = 3; // the empty item keeps "1"
    v.ESDUR = 2;
    v.ABT = 6;
    v.BASLIK = QStringLiteral("T.C.\nÇANKAYA BELEDİYE BAŞKANLIĞI\nYazı İşleri Müdürlüğü");
    v.SRVIPNO = QStringLiteral("10.0.0.5");
    v.SRVPORT = QStringLiteral("7000");
    v.year = QStringLiteral("2022");
    v.colour = 2;
    v.readMode = 1;
    v.localFolder = QStringLiteral("/srv/evrak");
    v.sizeLimit = QStringLiteral(" 250 ");
    // Screens already open keep the colours they were painted with.
    o.prompt.expectMessage("Yeni form rengi programın bir sonraki açılışında geçerli olacaktır.");
    QVERIFY(g.save(v));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    QCOMPARE(o.query("SELECT KURUM || '|' || SUBE || '|' || ILKOD || '|' || ILCEKOD || '|' || ONIZ || SRVSAKLA || "
                     "VTSAKLA || TRMSAKLA || MSVER || ESDUR || ABT || '|' || SRVIPNO || ':' || SRVPORT FROM TANIM")
                 .toString(),
             QStringLiteral("ÇANKAYA BELEDİYESİ|YAZI İŞLERİ|06|%1|HEHE1B6|10.0.0.5:7000").arg(ankara));
    QCOMPARE(fb::win1254::decode(o.query("SELECT BASLIK FROM TANIM").toByteArray()), v.BASLIK);
    // The workstation's values are the session's now; the store gets them at close.
    QCOMPARE(o.session.workstation.year, QStringLiteral("2022"));
    QCOMPARE(o.session.workstation.colour, QStringLiteral("M"));
    QCOMPARE(o.session.workstation.readMode, QStringLiteral("S"));
    QCOMPARE(o.session.workstation.localFolder, QStringLiteral("/srv/evrak"));
    QCOMPARE(attachmentlimit::mb(o.session), 250);
    QCOMPARE(o.session.store()->value("YIL").toString(), QString());

    GeneralDefinitions again(o.session);
    const GeneralDefinitions::Values back = again.open();
    QCOMPARE(back.BASLIK, v.BASLIK);
    QCOMPARE(back.ILCEKOD.toString(), ankara);
    QCOMPARE(back.MSVER, 0);
    QCOMPARE(back.ABT, 6);
    // "...." clears the colour letter; nothing selected leaves a value alone.
    GeneralDefinitions::Values none = back;
    none.colour = 4;
    none.readMode = -1;
    none.ONIZ = -1;
    none.sizeLimit.clear(); // empty: the default again
    QVERIFY(again.save(none));
    QCOMPARE(attachmentlimit::mb(o.session), 100);
    QCOMPARE(o.session.workstation.colour, QString());
    QCOMPARE(o.session.workstation.readMode, QStringLiteral("S"));
    QCOMPARE(o.query("SELECT ONIZ FROM TANIM").toString(), QStringLiteral("H"));
}

void TestDefinitions::generalDefinitionsBadInputStoresNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("year with a letter") << "year" << "20a1" << "Çalışma Yılı";
    QTest::newRow("year empty") << "year" << "" << "Çalışma Yılı";
    QTest::newRow("year of five digits") << "year" << "20215" << "Çalışma Yılı";
    // The clock says 2021: a year far from it is a typing mistake.
    QTest::newRow("year long past") << "year" << "1234" << "Çalışma Yılı 1990 ile 2022 arasında olmalıdır.";
    QTest::newRow("year two ahead") << "year" << "2023" << "Çalışma Yılı 1990 ile 2022 arasında olmalıdır.";
    QTest::newRow("institution name too long") << "KURUM" << QString(31, u'Ğ') << "Kurum Adı";
    QTest::newRow("port too long") << "SRVPORT" << "1234567" << "Sunucu Portu";
    QTest::newRow("size limit not a number") << "sizeLimit" << "12a" << "Belge Boyut Sınırı";
    QTest::newRow("size limit zero") << "sizeLimit" << "0" << "Belge Boyut Sınırı";
}

void TestDefinitions::generalDefinitionsBadInputStoresNothing()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    Office o;
    GeneralDefinitions g(o.session);
    GeneralDefinitions::Values v = g.open();
    v.SUBE = QStringLiteral("DEĞİŞTİ");
    v.colour = 0;
    (field == "year" ? v.year : field == "KURUM" ? v.KURUM : field == "sizeLimit" ? v.sizeLimit : v.SRVPORT) = value;
    o.prompt.expectMessage(message);
    QVERIFY(!g.save(v));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    o.session.db.IBTransaction1.commitRetaining();
    QCOMPARE(o.query("SELECT SUBE FROM TANIM").toString(), QString());
    QCOMPARE(o.session.workstation.year, QStringLiteral("2021"));
    QCOMPARE(o.session.workstation.colour, QString());
}

void TestDefinitions::emblem()
{
    Office o;
    GeneralDefinitions g(o.session);
    GeneralDefinitions::Values v = g.open();
    QVERIFY(g.logo().isEmpty());
    QTemporaryDir dir;
    const QString text = dir.filePath("amblem.png");
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("bu bir resim değil");
    f.close();
    o.prompt.expectMessage("bir resim değil");
    QVERIFY(!g.addLogo(text));
    o.prompt.expectMessage("okunamadı");
    QVERIFY(!g.addLogo(dir.filePath("yok.bmp")));
    QVERIFY(o.query("SELECT LOGO FROM TANIM").isNull());

    const QString png = dir.filePath("amblem.dat");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(pngBytes());
    f.close();
    QCOMPARE(GeneralDefinitions::pictureFormat(pngBytes()), QStringLiteral("PNG"));
    QCOMPARE(GeneralDefinitions::pictureFormat("BM\x36\x00"), QStringLiteral("BMP"));
    QCOMPARE(GeneralDefinitions::pictureFormat(QByteArray("\0\0\1\0\1\0", 6)), QStringLiteral("ICO"));
    QCOMPARE(GeneralDefinitions::pictureFormat("\xff\xd8\xff\xe0"), QStringLiteral("JPEG"));
    QVERIFY(f.rename(png));
    QVERIFY(g.addLogo(png));
    // Stored at once, whatever happens to the rest of the screen.
    o.session.db.IBTransaction1.rollbackRetaining();
    QCOMPARE(o.query("SELECT LOGO FROM TANIM").toByteArray(), pngBytes());

    g.clearLogo();
    QVERIFY(g.logo().isEmpty());
    QCOMPARE(o.query("SELECT LOGO FROM TANIM").toByteArray(), pngBytes());
    QVERIFY(g.save(v));
    QVERIFY(o.query("SELECT LOGO FROM TANIM").isNull());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDefinitions::districts()
{
    Office o;
    GeneralDefinitions g(o.session);
    const QList<GeneralDefinitions::Place> ankara = g.districts("06");
    QCOMPARE(ankara.size(), o.query("SELECT COUNT(*) FROM ILCE WHERE ILKOD='06'").toInt());
    QVERIFY(ankara.size() > 10);
    QStringList names;
    for (const auto &d : ankara)
        names << d.name;
    QVERIFY(names.contains(QStringLiteral("ÇANKAYA")));
    QVERIFY(!names.contains(QStringLiteral("CEYHAN")));
    o.exec("INSERT INTO IL (ILKOD,ILADI) VALUES ('99','DENEME')");
    QVERIFY(g.districts("99").isEmpty());
    QVERIFY(g.districts(QString()).isEmpty());
    QCOMPARE(g.provinces().size(), 82);
}

QTEST_GUILESS_MAIN(TestDefinitions)
#include "tst_definitions.moc"
