// The version check and the upgrade steps, run start by start on databases as
// older versions left them, and compared with a database made new.

#include "db/fb/attachment.h"
#include "db/fb/error.h"
#include "db/fb/transaction.h"
#include "db/schema.h"
#include "db/upgrade.h"

#include "legacydatabase.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using Outcome = SchemaUpgrade::Outcome;

Q_DECLARE_METATYPE(Outcome)

namespace {

const QString kFailed = QStringLiteral("error: Güncelleme İşlemi Yapılamadı. Programı Tekrar çalıştırınız..");

/// What the person saw at each step's start.
QStringList stepMessages(int version)
{
    const QString dataFollows = QStringLiteral(" Güncellemesi Başarıyla Yapıldı.\nVeri uyumluluğu Yapılacaktır.");
    switch (version) {
    case 13001: return {"message: 13.001 Güncellemesi Başarıyla Yapıldı."};
    case 14001: return {"message: 14.001" + dataFollows, "message: İşlem Tamamlandı.",
                        "message: Lütfen KELMA Servis programını güncelleyiniz."};
    case 15001: return {"message: 15.001" + dataFollows};
    case 16001: return {"message: 16.001 Güncellemesi Başarıyla Yapıldı."};
    }
    return {};
}

int nextStep(int version)
{
    for (int step : {13001, 14001, 15001, 16001}) {
        if (version < step)
            return step;
    }
    return 0;
}

struct Start
{
    SchemaUpgrade::Result result;
    QStringList transcript;
    bool updateOffered = false;
};

/// One start of the program: attach, check the version, and close the
/// connection, which commits what is left.
Start start(const QString &path, const QString &charset)
{
    fb::Attachment a;
    a.open(TempDatabase::options(path, charset));
    fb::Transaction main(a);
    ScriptedPrompt prompt;
    SchemaUpgrade upgrade(main, prompt);
    Start s;
    upgrade.PRGGUNCELLE = [&] { s.updateOffered = true; };
    s.result = upgrade.VERKONT();
    a.close(fb::Attachment::EndAction::Commit);
    s.transcript = prompt.transcript();
    return s;
}

/// Creates a database as `version` left it, closed again; returns its rows.
QMap<QString, QStringList> createLegacy(TempDatabase &db, int version,
                                        const QString &charset = QStringLiteral("WIN1254"))
{
    fb::Attachment a;
    legacy::create(db, a, version, charset);
    fb::Transaction t(a);
    return legacy::contents(t, version);
}

QVariant value(const QString &path, const QString &sql)
{
    fb::Attachment a;
    a.open(TempDatabase::options(path));
    fb::Transaction t(a);
    return t.value(sql);
}

void execute(const QString &path, const QStringList &statements)
{
    fb::Attachment a;
    a.open(TempDatabase::options(path));
    fb::Transaction t(a);
    for (const QString &sql : statements) {
        t.executeRaw(sql);
        t.commit();
    }
}

QMap<QString, QStringList> describe(const QString &path)
{
    fb::Attachment a;
    a.open(TempDatabase::options(path));
    fb::Transaction t(a);
    return legacy::describe(t);
}

/// The schema of a database made new at a version.
QMap<QString, QStringList> freshSchema(int version)
{
    TempDatabase db;
    fb::Attachment a;
    db.createEmpty(a);
    schema::createMain(a, version);
    fb::Transaction t(a);
    return legacy::describe(t);
}

QString diff(const QMap<QString, QStringList> &actual, const QMap<QString, QStringList> &expected)
{
    QStringList out;
    QSet<QString> tables(actual.keyBegin(), actual.keyEnd());
    tables.unite(QSet<QString>(expected.keyBegin(), expected.keyEnd()));
    for (const QString &table : tables) {
        const QStringList al = actual.value(table), el = expected.value(table);
        const QSet<QString> a(al.begin(), al.end()), e(el.begin(), el.end());
        if (a != e) {
            out << QStringLiteral("%1: missing [%2] unexpected [%3]")
                       .arg(table, QStringList((e - a).values()).join("; "),
                            QStringList((a - e).values()).join("; "));
        }
    }
    return out.join('\n');
}

QStringList rows(fb::Transaction &t, const QString &sql)
{
    QStringList out;
    for (const QVariantList &r : t.rows(sql)) {
        QStringList values;
        for (const QVariant &v : r)
            values << (v.isNull() ? QStringLiteral("∅") : v.toString());
        out << values.join(u'|');
    }
    return out;
}

/// What the four steps made of the standard rows.
void checkCarriedOver(const QString &path)
{
    fb::Attachment a;
    a.open(TempDatabase::options(path));
    fb::Transaction t(a);
    QCOMPARE(t.value("SELECT VER FROM TANIM").toString(), QStringLiteral("16.001"));

    QCOMPARE(rows(t, "SELECT 'G',KAYNO,SIRNO,BELKAYNO,DOSYA FROM GELTEXT UNION ALL "
                     "SELECT 'D',KAYNO,SIRNO,BELKAYNO,DOSYA FROM GIDTEXT UNION ALL "
                     "SELECT 'A',KAYNO,SIRNO,BELKAYNO,DOSYA FROM ARSTEXT ORDER BY 4"),
             QStringList({"G|10|1|1|GEL_10_1.JPG", "G|15|1|2|∅", "G|15|2|3|GEL_15_2.PDF",
                          "D|7|1|4|GID_7_1.DOC", "D|9|1|5|GID_9_1.XLS", "A|4|1|6|∅"}));
    QCOMPARE(t.value("SELECT GEN_ID(GEN_BELKAYNO,0) FROM RDB$DATABASE").toInt(), 7);

    QCOMPARE(rows(t, "SELECT TUR,EKAYNO,BKOD,TESADI,TESGOR,BSIRNO,ONAY FROM EVBRM ORDER BY TUR,EKAYNO,BKOD"),
             QStringList({"1|10|1|Şükrü Öztürk|Müdür|11|1", "1|15|2|İlknur Çağlayan|Şef|12|1",
                          "2|7|3|∅|∅|∅|1", "2|9|4|∅|∅|∅|1"}));
    QCOMPARE(rows(t, "SELECT KTKOD,KURTIP FROM KURTIP ORDER BY KTKOD"),
             QStringList({"1|BAKANLIK", "2|GENEL MÜDÜRLÜK", "3|VALİLİK", "4|KAYMAKAMLIK", "5|BELEDİYE",
                          "6|TİCARİ KURUM"}));
    QCOMPARE(rows(t, "SELECT ETKOD,EVTUR FROM EVTUR ORDER BY ETKOD"),
             QStringList({"1|GENEL EVRAK", "2|DİLEKÇE"}));
    QCOMPARE(rows(t, "SELECT COUNT(*) FROM RIGHTS WHERE HNO=1 AND KOD=6"), QStringList({"1"}));
    QCOMPARE(rows(t, "SELECT BKOD,GTUR FROM BIRIM ORDER BY BKOD"),
             QStringList({"1|∅", "2|∅", "3|K", "4|K"}));
    QCOMPARE(rows(t, "SELECT VTSAKLA,SRVSAKLA,TRMSAKLA FROM TANIM"), QStringList({"E|E|E"}));
    QCOMPARE(t.value("SELECT COUNT(*) FROM PERSONEL").toInt(), 0);

    for (const legacy::TextProbe &p : legacy::textProbes()) {
        QCOMPARE(t.value(p.sql).toString(), p.text);
        // One byte a letter: stored as Windows-1254, not as UTF-8.
        const QString length = QString(p.sql).replace(QRegularExpression("SELECT (\\w+)"),
                                                      "SELECT OCTET_LENGTH(\\1)");
        QCOMPARE(t.value(length).toInt(), p.text.size());
    }
}

/// Every row and value the database had before upgrading from `version` is still there.
void checkNothingLost(const QString &path, int version, const QMap<QString, QStringList> &before)
{
    fb::Attachment a;
    a.open(TempDatabase::options(path));
    fb::Transaction t(a);
    auto after = legacy::contents(t, version);
    if (version < 15001) // 15.001 gives user 1 the approval right
        QVERIFY(after["RIGHTS"].removeOne("1 | 6 | E | E | E | E"));
    for (auto it = before.begin(); it != before.end(); ++it) {
        QVERIFY2(after.value(it.key()) == it.value(),
                 qPrintable(QStringLiteral("%1 before:\n%2\nafter:\n%3")
                                .arg(it.key(), it.value().join('\n'), after.value(it.key()).join('\n'))));
    }
}

void checkSchemaIsCurrent(const QString &path)
{
    static const auto current = freshSchema(schema::kCurrentVersion);
    const QString d = diff(describe(path), current);
    QVERIFY2(d.isEmpty(), qPrintable(d));
}

} // namespace

class TestUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void kodcoz_data();
    void kodcoz();
    void versionCheck_data();
    void versionCheck();
    void startByStartToCurrent_data();
    void startByStartToCurrent();
    void failingDdlLeavesTheVersion_data();
    void failingDdlLeavesTheVersion();
    void failingDataWorkIsDoneAgain_data();
    void failingDataWorkIsDoneAgain();
    void whatIsAlreadyThereIsNoFailure_data();
    void whatIsAlreadyThereIsNoFailure();
    void adminTool();
};

void TestUpgrade::kodcoz_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<int>("number"); // -1: not a version

    QTest::newRow("15.001") << "15.001" << QStringList{"15", "001", "", ""} << 15001;
    QTest::newRow("13.5") << "13.5" << QStringList{"13", "5", "", ""} << 135;
    QTest::newRow("17.000") << "17.000" << QStringList{"17", "000", "", ""} << 17000;
    QTest::newRow("no dot") << "16" << QStringList{"16", "", "", ""} << 16;
    QTest::newRow("five parts") << "1.2.3.4.5" << QStringList{"1", "2", "3", "4.5"} << 12;
    QTest::newRow("empty") << "" << QStringList{"", "", "", ""} << -1;
    QTest::newRow("letters") << "12.x" << QStringList{"12", "x", "", ""} << -1;
    QTest::newRow("sign") << "-1.001" << QStringList{"-1", "001", "", ""} << -1;
    QTest::newRow("blank") << " 16.001" << QStringList{" 16", "001", "", ""} << -1;
}

void TestUpgrade::kodcoz()
{
    QFETCH(QString, text);
    QFETCH(QStringList, parts);
    QFETCH(int, number);
    const auto got = SchemaUpgrade::KODCOZ(text);
    QCOMPARE(QStringList(got.begin(), got.end()), parts);
    QCOMPARE(SchemaUpgrade::versionNumber(text).value_or(-1), number);
}

void TestUpgrade::versionCheck_data()
{
    QTest::addColumn<QString>("ver");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("verAfter");

    const QString refusal = "message: DİKKAT! Program Versiyonu Eski Olduğundan Çalışamazsınız..";
    QTest::newRow("current") << "16.001" << Outcome::Current << QStringList() << "16.001";
    QTest::newRow("13.5 is below 13001") << "13.5" << Outcome::Upgraded << stepMessages(13001) << "13.001";
    QTest::newRow("17.000") << "17.000" << Outcome::Refused << QStringList{refusal} << "17.000";
    QTest::newRow("16.002") << "16.002" << Outcome::Refused << QStringList{refusal} << "16.002";
    QTest::newRow("empty") << "" << Outcome::Unreadable
                           << QStringList{"message: DİKKAT! Veritabanı Versiyonu Anlaşılamadı: \"\""} << "";
    QTest::newRow("letters") << "on iki" << Outcome::Unreadable
                             << QStringList{"message: DİKKAT! Veritabanı Versiyonu Anlaşılamadı: \"on iki\""}
                             << "on iki";
}

void TestUpgrade::versionCheck()
{
    QFETCH(QString, ver);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, shown);
    QFETCH(QString, verAfter);

    TempDatabase db;
    {
        fb::Attachment a;
        legacy::create(db, a, 12001);
        fb::Transaction t(a);
        t.execute("UPDATE TANIM SET VER=:V", {{"V", ver}});
        t.commit();
    }
    const Start s = start(db.path(), {});
    QCOMPARE(s.result.outcome, outcome);
    QCOMPARE(s.result.versionText, ver);
    const bool current = outcome == Outcome::Current;
    QCOMPARE(s.result.versionOk, current);
    QCOMPARE(s.result.mustEnd, !current);
    QCOMPARE(s.transcript, shown);
    QCOMPARE(s.updateOffered, outcome == Outcome::Refused);
    QCOMPARE(value(db.path(), "SELECT VER FROM TANIM").toString(), verAfter);
}

void TestUpgrade::startByStartToCurrent_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("columns");    // default character set of the database
    QTest::addColumn<QString>("connection"); // lc_ctype; empty: none

    // Before 15.001 there is no CHSET to say WIN1254, so the program connects without one.
    QTest::newRow("12.x") << 12001 << "WIN1254" << "";
    QTest::newRow("12.x, columns without character set") << 12001 << "NONE" << "";
    QTest::newRow("13.001") << 13001 << "WIN1254" << "";
    QTest::newRow("14.001") << 14001 << "WIN1254" << "";
    QTest::newRow("14.001 without character set, WIN1254 connection") << 14001 << "NONE" << "WIN1254";
    QTest::newRow("15.001") << 15001 << "WIN1254" << "WIN1254";
}

void TestUpgrade::startByStartToCurrent()
{
    QFETCH(int, version);
    QFETCH(QString, columns);
    QFETCH(QString, connection);

    TempDatabase db;
    const auto before = createLegacy(db, version, columns);

    for (int step = nextStep(version); step; step = nextStep(step)) {
        const Start s = start(db.path(), connection);
        QCOMPARE(s.result.outcome, Outcome::Upgraded);
        QVERIFY(s.result.mustEnd);
        QVERIFY(!s.result.versionOk);
        QCOMPARE(s.transcript, stepMessages(step));
        QCOMPARE(value(db.path(), "SELECT VER FROM TANIM").toString(), schema::versionText(step));
    }
    const Start last = start(db.path(), connection);
    QCOMPARE(last.result.outcome, Outcome::Current);
    QVERIFY(last.result.versionOk);
    QVERIFY(!last.result.mustEnd);
    QCOMPARE(last.transcript, QStringList());

    checkSchemaIsCurrent(db.path());
    checkCarriedOver(db.path());
    QCOMPARE(value(db.path(), "SELECT G||K||D||S FROM RIGHTS WHERE HNO=1 AND KOD=6").toString(),
             QStringLiteral("EEEE"));
    checkNothingLost(db.path(), version, before);
}

void TestUpgrade::failingDdlLeavesTheVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("breakIt");
    QTest::addColumn<QStringList>("repair");

    const schema::Table *archive = schema::findTable(schema::mainTables(), "ARSIV");
    // The last statement fails: every earlier one must be undone with it.
    QTest::newRow("13.001, archive table missing")
        << 12001 << QStringList{"DROP TABLE ARSIV"} << QStringList{schema::createTableSql(*archive, 12001)};
    QTest::newRow("14.001, department names already wider")
        << 13001 << QStringList{"ALTER TABLE BIRIM ALTER BIRIM TYPE VARCHAR(60)"} << QStringList();
    QTest::newRow("15.001, a view reads TANIM.YERSAK")
        << 14001 << QStringList{"CREATE VIEW V_YER AS SELECT YERSAK FROM TANIM"} << QStringList{"DROP VIEW V_YER"};
    QTest::newRow("16.001, a view reads the old staff table")
        << 15001 << QStringList{"CREATE VIEW V_PER AS SELECT ADI FROM PERSONEL"} << QStringList{"DROP VIEW V_PER"};
}

void TestUpgrade::failingDdlLeavesTheVersion()
{
    QFETCH(int, version);
    QFETCH(QStringList, breakIt);
    QFETCH(QStringList, repair);

    TempDatabase db;
    createLegacy(db, version);
    execute(db.path(), breakIt);
    const auto schemaBefore = describe(db.path());

    const Start failed = start(db.path(), {});
    QCOMPARE(failed.result.outcome, Outcome::Failed);
    QVERIFY(failed.result.mustEnd);
    QVERIFY(!failed.result.versionOk);
    QCOMPARE(failed.transcript.size(), 1);
    QVERIFY2(failed.transcript.first().startsWith(kFailed), qPrintable(failed.transcript.first()));
    QCOMPARE(value(db.path(), "SELECT VER FROM TANIM").toString(), schema::versionText(version));
    const QString d = diff(describe(db.path()), schemaBefore);
    QVERIFY2(d.isEmpty(), qPrintable("the step left DDL behind:\n" + d));

    if (repair.isEmpty())
        return;
    // The next start tries the same step again.
    execute(db.path(), repair);
    const Start again = start(db.path(), {});
    QCOMPARE(again.result.outcome, Outcome::Upgraded);
    QCOMPARE(again.transcript, stepMessages(nextStep(version)));
}

void TestUpgrade::failingDataWorkIsDoneAgain_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("notDone"); // counts what the data work would have written

    QTest::newRow("14.001 stored file names")
        << 13001 << "SELECT COUNT(*) FROM GELTEXT WHERE DOSYA IS NOT NULL";
    QTest::newRow("15.001 routing rows, types, right, attachment numbers")
        << 14001
        << "SELECT (SELECT COUNT(*) FROM EVBRM) + (SELECT COUNT(*) FROM EVTUR) "
           "+ (SELECT COUNT(*) FROM RIGHTS WHERE HNO=1 AND KOD=6) "
           "+ (SELECT COUNT(*) FROM GELTEXT WHERE BELKAYNO IS NOT NULL) "
           "+ (SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME='GEN_BELKAYNO') FROM RDB$DATABASE";
}

void TestUpgrade::failingDataWorkIsDoneAgain()
{
    QFETCH(int, version);
    QFETCH(QString, notDone);

    TempDatabase db;
    const auto before = createLegacy(db, version);
    // Attachment rows that cannot be changed stop the data work half way.
    execute(db.path(), {"CREATE EXCEPTION E_KILITLI 'Ek kayıtları kilitli'",
                        "CREATE TRIGGER T_KILITLI FOR GELTEXT BEFORE UPDATE AS BEGIN EXCEPTION E_KILITLI; END"});

    const Start failed = start(db.path(), {});
    QCOMPARE(failed.result.outcome, Outcome::Failed);
    QCOMPARE(failed.transcript.size(), 1);
    QVERIFY2(failed.transcript.first().startsWith(kFailed), qPrintable(failed.transcript.first()));
    QVERIFY(failed.transcript.first().contains("Ek kayıtları kilitli"));
    QCOMPARE(value(db.path(), "SELECT VER FROM TANIM").toString(), schema::versionText(version));
    QCOMPARE(value(db.path(), notDone).toInt(), 0);

    execute(db.path(), {"DROP TRIGGER T_KILITLI"});
    for (int step = nextStep(version); step; step = nextStep(step)) {
        const Start s = start(db.path(), {});
        QCOMPARE(s.result.outcome, Outcome::Upgraded);
        QCOMPARE(s.transcript, stepMessages(step));
    }
    checkSchemaIsCurrent(db.path());
    checkCarriedOver(db.path());
    checkNothingLost(db.path(), version, before);
}

void TestUpgrade::whatIsAlreadyThereIsNoFailure_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("prepare");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");

    QTest::newRow("13.001 run again after an interruption")
        << 12001 << QStringList{"ALTER TABLE TANIM ADD SRVIPNO VARCHAR(25)", "ALTER TABLE GELEN ADD GSEKLI VARCHAR(1)",
                                "ALTER TABLE ARSIV ADD GSEKLI VARCHAR(1), ADD GACIK VARCHAR(40)"}
        << "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$FIELD_NAME IN ('GSEKLI','GACIK')" << "8";
    // The maintenance window gives user 1 the codes 1 to 6; an existing row is kept as it is.
    QTest::newRow("15.001 with the right (1,6) already there")
        << 14001 << QStringList{"INSERT INTO RIGHTS(HNO,KOD,G,K,D,S) VALUES(1,6,'E','H','H','H')"}
        << "SELECT G||K||D||S FROM RIGHTS WHERE HNO=1 AND KOD=6" << "EHHH";
    QTest::newRow("16.001 without an old staff table")
        << 15001 << QStringList{"DROP TABLE PERSONEL"}
        << "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='PERSONEL'" << "15";
}

void TestUpgrade::whatIsAlreadyThereIsNoFailure()
{
    QFETCH(int, version);
    QFETCH(QStringList, prepare);
    QFETCH(QString, sql);
    QFETCH(QString, expected);

    TempDatabase db;
    createLegacy(db, version);
    execute(db.path(), prepare);
    for (int step = nextStep(version); step; step = nextStep(step)) {
        const Start s = start(db.path(), {});
        QCOMPARE(s.result.outcome, Outcome::Upgraded);
        QCOMPARE(s.transcript, stepMessages(step));
    }
    QCOMPARE(value(db.path(), sql).toString(), expected);
    checkSchemaIsCurrent(db.path());
    checkCarriedOver(db.path());
}

void TestUpgrade::adminTool()
{
    const QString tool = QCoreApplication::applicationDirPath() + "/../../tools/admin/kelma-admin";
    if (!QFile::exists(tool))
        QSKIP("kelma-admin is not built beside the tests");
    auto run = [&](const QStringList &args, int expectedExit) {
        QProcess p;
        p.start(tool, args);
        if (!p.waitForFinished(120000))
            return QStringLiteral("timed out");
        const QString said = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        if (p.exitCode() != expectedExit)
            return QStringLiteral("exit %1: %2").arg(p.exitCode()).arg(said);
        return said;
    };

    TempDatabase db;
    createLegacy(db, 12001);
    QString said = run({"upgrade", db.path()}, 0);
    QVERIFY2(said.contains("13.001 Güncellemesi Başarıyla Yapıldı."), qPrintable(said));
    QCOMPARE(value(db.path(), "SELECT VER FROM TANIM").toString(), QStringLiteral("13.001"));

    said = run({"upgrade", db.path(), "--all"}, 0);
    for (const char *step : {"14.001", "15.001", "16.001"})
        QVERIFY2(said.contains(QString::fromLatin1(step) + " Güncellemesi Başarıyla Yapıldı."), qPrintable(said));
    QVERIFY2(said.indexOf("14.001") < said.indexOf("15.001") && said.indexOf("15.001") < said.indexOf("16.001"),
             qPrintable(said));
    QVERIFY2(said.contains("Veritabanı güncel: 16.001"), qPrintable(said));
    checkCarriedOver(db.path());

    said = run({"upgrade", db.path(), "--all"}, 0);
    QCOMPARE(said.trimmed(), QStringLiteral("Veritabanı güncel: 16.001"));

    // A database at 16.001 that lacks some indexes (made before they were chosen)
    // and keeps one that an earlier version made and nothing reads any more.
    execute(db.path(), {"DROP INDEX GIDEN_ZNO_DESC", "DROP INDEX GIDEN_BIRKOD_BSIRNO_DESC", "DROP INDEX GELEN_ILGNO",
                        "CREATE DESCENDING INDEX GELEN_GSIRNO_DESC ON GELEN (GSIRNO)"});
    said = run({"indexes", db.path()}, 0);
    QCOMPARE(said.split('\n', Qt::SkipEmptyParts),
             QStringList({"Eklendi: GIDEN_ZNO_DESC", "Eklendi: GIDEN_BIRKOD_BSIRNO_DESC", "Eklendi: GELEN_ILGNO",
                          "Kaldırıldı: GELEN_GSIRNO_DESC"}));
    checkSchemaIsCurrent(db.path());
    said = run({"indexes", db.path()}, 0);
    QCOMPARE(said.trimmed(), QStringLiteral("Eksik indeks yok."));

    execute(db.path(), {"UPDATE TANIM SET VER='17.000'"});
    said = run({"upgrade", db.path()}, 1);
    QVERIFY2(said.contains("Program Versiyonu Eski"), qPrintable(said));

    TempDatabase broken;
    createLegacy(broken, 14001);
    execute(broken.path(), {"CREATE VIEW V_YER AS SELECT YERSAK FROM TANIM"});
    said = run({"upgrade", broken.path(), "--all"}, 1);
    QVERIFY2(said.contains("Güncelleme İşlemi Yapılamadı") && said.contains("V_YER"), qPrintable(said));
    QCOMPARE(value(broken.path(), "SELECT VER FROM TANIM").toString(), QStringLiteral("14.001"));
}

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
