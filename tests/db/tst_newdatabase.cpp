// A fresh main database, read back from the engine's own metadata and compared
// with the layout written out here by hand, so that a slip in the schema code
// does not simply agree with itself.

#include "db/fb/attachment.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/newdatabase.h"
#include "db/schema.h"
#include "core/sifrele.h"
#include "tempdatabase.h"

#include <QProcess>
#include <QtTest>

using namespace fb;

namespace {

// Table → "COLUMN TYPE[ NN]" entries, and the key.
struct Expected
{
    const char *table;
    const char *columns;
    const char *key;
};

const char *kRegisterCommon =
    "EVSAY VARCHAR(50), EVTAR DATE, ECKOD SMALLINT, KONU VARCHAR(200), BIRKOD SMALLINT, "
    "EKSAY SMALLINT, EK TEXT BLOB, ZDUR VARCHAR(1), ZNO VARCHAR(15), ZTAR DATE, "
    "GIZDER VARCHAR(1), SDP VARCHAR(15), DOSYA VARCHAR(20), GSEKLI VARCHAR(1), "
    "GACIK VARCHAR(40), ETKOD SMALLINT, USR VARCHAR(25), KRMSURE SMALLINT";

const Expected kExpected[] = {
    {"GELEN", "KAYNO INTEGER NN, GELNO INTEGER, GELTAR DATE, KURKOD SMALLINT, "
              "TESADI VARCHAR(20), TESGOR VARCHAR(20), CEVDUR VARCHAR(1), CEVNO INTEGER, "
              "ILGNO INTEGER, BSIRNO INTEGER, GSIRNO INTEGER, BIRIM VARCHAR(50), CEVTAR DATE",
     "KAYNO"},
    {"GIDEN", "KAYNO INTEGER NN, GIDNO INTEGER, GIDTAR DATE, KURKOD SMALLINT, "
              "TESADI VARCHAR(20), TESGOR VARCHAR(20), CEVDUR VARCHAR(1), CEVNO INTEGER, "
              "ILGNO INTEGER, ILGDUR VARCHAR(1), BSIRNO INTEGER, GSIRNO INTEGER, "
              "BIRIM VARCHAR(50), CEVTAR DATE",
     "KAYNO"},
    {"DILEKCE", "KAYNO INTEGER NN, DILNO INTEGER, DILTAR DATE, GELTAR DATE, ADI VARCHAR(20), "
                "SOYADI VARCHAR(20), ADRES VARCHAR(50), TCKNO VARCHAR(15), TEL1 VARCHAR(15), "
                "EMAIL VARCHAR(50), EKOD SMALLINT, TESADI VARCHAR(20), TESGOR VARCHAR(20), "
                "CEVDUR VARCHAR(1), CEVNO INTEGER, BIRIM VARCHAR(50), CEVTAR DATE",
     "KAYNO"},
    {"ARSIV", "KAYNO INTEGER NN, ARSNO INTEGER, ARSTAR DATE, YETADI VARCHAR(20), "
              "YETGOR VARCHAR(20)",
     "KAYNO"},
    {"EVBRM", "TUR SMALLINT NN, EKAYNO INTEGER NN, BKOD SMALLINT NN, TESADI VARCHAR(20), "
              "TESGOR VARCHAR(20), BSIRNO INTEGER, ONAY VARCHAR(1), ONTAR TIMESTAMP, "
              "ONACIK VARCHAR(50), ONUSR VARCHAR(25)",
     "TUR,EKAYNO,BKOD"},
    {"BIRIM", "BKOD SMALLINT NN, BIRIM VARCHAR(80) NN, TUR VARCHAR(1) NN, YETKILI VARCHAR(25), "
              "UNVAN VARCHAR(25), KODU VARCHAR(6), EMAIL VARCHAR(50), ONEK VARCHAR(30), "
              "GTUR VARCHAR(1), TCKNO VARCHAR(11), ADRES VARCHAR(60), TEL1 VARCHAR(15), "
              "TEL2 VARCHAR(15), FAKS VARCHAR(15), ILKOD VARCHAR(2), ILCEKOD VARCHAR(5), "
              "KTKOD SMALLINT",
     "BKOD"},
    {"KURTIP", "KTKOD SMALLINT NN, KURTIP VARCHAR(30)", "KTKOD"},
    {"EVTUR", "ETKOD SMALLINT NN, EVTUR VARCHAR(30)", "ETKOD"},
    {"ECINS", "ECKOD SMALLINT NN, ECINS VARCHAR(50) NN, ECTUR SMALLINT", "ECKOD"},
    {"ECTUR", "ECTUR SMALLINT NN, ETURADI VARCHAR(30) NN", "ECTUR"},
    {"ECTAN", "ECKOD SMALLINT NN, SIRNO SMALLINT NN, TUR VARCHAR(1) NN, ECTAN VARCHAR(30) NN",
     "ECKOD,SIRNO"},
    {"ARSEKBILGI", "ARSKAYNO INTEGER NN, SIRA SMALLINT NN, DEGER VARCHAR(100)", "ARSKAYNO,SIRA"},
    {"SDP", "KOD VARCHAR(15) NN, ACIK VARCHAR(100), TUR VARCHAR(1), KRMSURE SMALLINT", "KOD"},
    {"IL", "ILKOD VARCHAR(2) NN, ILADI VARCHAR(30)", "ILKOD"},
    {"ILCE", "ILKOD VARCHAR(2) NN, ILCEKOD SMALLINT NN, ILCE VARCHAR(30)", "ILCEKOD"},
    {"ORNEK", "NO SMALLINT NN, TUR VARCHAR(1), ACIK VARCHAR(100), ORNEK TEXT BLOB", "NO"},
    {"SABLON", "KAYNO INTEGER NN, ACIK VARCHAR(50), METIN BLOB", "KAYNO"},
    {"PERSONEL", "PKOD INTEGER NN, AKTIF VARCHAR(1), USERHNO SMALLINT, ADI VARCHAR(20), "
                 "SOYADI VARCHAR(20), TCKNO VARCHAR(12), UNVAN VARCHAR(30), EMAIL VARCHAR(50), "
                 "IPNO VARCHAR(15), MACNO VARCHAR(20), BKOD SMALLINT, TEL1 VARCHAR(20), "
                 "TEL2 VARCHAR(20), ADRES VARCHAR(60), FOTO BLOB",
     "PKOD"},
    {"USERS", "USR VARCHAR(10) NN, HNO SMALLINT NN, PSSWD VARCHAR(5) NN, ACIK VARCHAR(30), "
              "ACIK1 VARCHAR(30), OZEL INTEGER",
     "HNO"},
    {"RIGHTS", "HNO SMALLINT NN, KOD SMALLINT NN, G VARCHAR(1) NN, K VARCHAR(1) NN, "
               "D VARCHAR(1) NN, S VARCHAR(1) NN",
     "HNO,KOD"},
    {"TANIM", "KURUM VARCHAR(30), SUBE VARCHAR(30), ILKOD VARCHAR(2), ILCEKOD SMALLINT, "
              "VER VARCHAR(10), UDUR VARCHAR(1), ONIZ VARCHAR(1), IZL VARCHAR(1), "
              "EMAIL VARCHAR(50), LOGO BLOB, BASLIK BLOB, SRVIPNO VARCHAR(25), "
              "SRVPORT VARCHAR(6), MSVER VARCHAR(1), ESDUR VARCHAR(1), TEXTVT VARCHAR(1), "
              "SRVSAKLA VARCHAR(1), TRMSAKLA VARCHAR(1), VTSAKLA VARCHAR(1), ABT SMALLINT, "
              "CHSET VARCHAR(1), ONDUR VARCHAR(1), CEVSURE SMALLINT, CEVYAKIN SMALLINT",
     ""},
};

QSet<QString> split(const QString &list)
{
    QSet<QString> out;
    for (const QString &s : list.split(u',', Qt::SkipEmptyParts))
        out.insert(s.trimmed());
    return out;
}

QMap<QString, QSet<QString>> expectedColumns()
{
    QMap<QString, QSet<QString>> m;
    for (const Expected &e : kExpected)
        m[e.table] = split(e.columns);
    for (const char *reg : {"GELEN", "GIDEN", "DILEKCE"})
        m[reg] += split(kRegisterCommon);
    // The archive has no document date of reply and sending body, but the rest.
    QSet<QString> archive = split(kRegisterCommon);
    m["ARSIV"] += archive;
    m["DILEKCE"].remove("EVTAR DATE");
    m["DILEKCE"].remove("ECKOD SMALLINT");
    for (const char *att : {"GELTEXT", "GIDTEXT", "DILTEXT", "ARSTEXT"}) {
        m[att] = split("KAYNO INTEGER NN, SIRNO SMALLINT NN, TUR VARCHAR(1), ACIK VARCHAR(30), "
                       "METIN BLOB, BELTUR VARCHAR(1), SDP VARCHAR(15), DOSYA VARCHAR(50), "
                       "OCN VARCHAR(30), BELKAYNO INTEGER");
    }
    return m;
}

QString typeText(int type, int subType, const QVariant &length)
{
    switch (type) {
    case 7: return QStringLiteral("SMALLINT");
    case 8: return QStringLiteral("INTEGER");
    case 16: return QStringLiteral("BIGINT");
    case 12: return QStringLiteral("DATE");
    case 35: return QStringLiteral("TIMESTAMP");
    case 37: return QStringLiteral("VARCHAR(%1)").arg(length.toInt());
    case 14: return QStringLiteral("CHAR(%1)").arg(length.toInt());
    case 261: return subType == 1 ? QStringLiteral("TEXT BLOB") : QStringLiteral("BLOB");
    default: return QStringLiteral("TYPE%1").arg(type);
    }
}

QMap<QString, QSet<QString>> actualColumns(Transaction &t)
{
    QMap<QString, QSet<QString>> m;
    const auto rows = t.rows(QStringLiteral(
        "SELECT TRIM(RF.RDB$RELATION_NAME), TRIM(RF.RDB$FIELD_NAME), F.RDB$FIELD_TYPE, "
        "F.RDB$FIELD_SUB_TYPE, F.RDB$CHARACTER_LENGTH, "
        "COALESCE(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0) "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
        "WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0"));
    for (const QVariantList &r : rows) {
        QString entry = r[1].toString() + u' ' + typeText(r[2].toInt(), r[3].toInt(), r[4]);
        if (r[5].toInt())
            entry += QLatin1String(" NN");
        m[r[0].toString()].insert(entry);
    }
    return m;
}

QString keyOf(Transaction &t, const QString &table)
{
    const auto rows = t.rows(QStringLiteral(
        "SELECT TRIM(S.RDB$FIELD_NAME) FROM RDB$RELATION_CONSTRAINTS C "
        "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME "
        "WHERE C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' AND C.RDB$RELATION_NAME = :T "
        "ORDER BY S.RDB$FIELD_POSITION"), {{"T", table}});
    QStringList cols;
    for (const QVariantList &r : rows)
        cols << r[0].toString();
    return cols.join(u',');
}

} // namespace

class TestNewDatabase : public QObject
{
    Q_OBJECT

private slots:
    void mainSchemaHasEveryTableColumnAndKey();
    void yearSchema();
    void generatorsStartAtZero();
    void masterDataLoaded();
    void defaultsOfANewInstallation();
    void searchesAndOrderAreTurkish();
    void createRefusesAnExistingFile();
    void adminToolCreatesAndRefuses();
};

void TestNewDatabase::mainSchemaHasEveryTableColumnAndKey()
{
    TempDatabase db;
    Attachment a;
    db.createMain(a);
    Transaction t(a);
    const auto expected = expectedColumns();
    const auto actual = actualColumns(t);
    QCOMPARE(QSet<QString>(actual.keyBegin(), actual.keyEnd()),
             QSet<QString>(expected.keyBegin(), expected.keyEnd()));
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QSet<QString> missing = it.value() - actual[it.key()];
        const QSet<QString> extra = actual[it.key()] - it.value();
        QVERIFY2(missing.isEmpty() && extra.isEmpty(),
                 qPrintable(QStringLiteral("%1: missing %2; unexpected %3")
                                .arg(it.key(), QStringList(missing.values()).join("; "),
                                     QStringList(extra.values()).join("; "))));
    }
    for (const Expected &e : kExpected)
        QCOMPARE(keyOf(t, e.table), QString::fromLatin1(e.key));
    for (const char *att : {"GELTEXT", "GIDTEXT", "DILTEXT", "ARSTEXT"})
        QCOMPARE(keyOf(t, att), QStringLiteral("KAYNO,SIRNO"));
}

void TestNewDatabase::yearSchema()
{
    TempDatabase db;
    const QString path = db.createYear("2021");
    Attachment a;
    a.open(TempDatabase::options(path, QString()));
    Transaction t(a);
    const auto actual = actualColumns(t);
    const QSet<QString> layout = split("BELKAYNO INTEGER NN, METIN BLOB, OCN VARCHAR(30)");
    QCOMPARE(actual.size(), 4);
    for (const char *table : {"GELTEXT", "GIDTEXT", "DILTEXT", "ARSTEXT"}) {
        QCOMPARE(actual.value(table), layout);
        QCOMPARE(keyOf(t, table), QStringLiteral("BELKAYNO"));
    }
}

void TestNewDatabase::generatorsStartAtZero()
{
    TempDatabase db;
    Attachment a;
    db.createMain(a);
    Transaction t(a);
    QSet<QString> names;
    for (const QVariantList &r : t.rows(
             "SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE COALESCE(RDB$SYSTEM_FLAG,0)=0"))
        names << r[0].toString();
    QCOMPARE(names, split("GEN_GELKAYNO, GEN_GIDKAYNO, GEN_DILKAYNO, GEN_ARSKAYNO, GEN_BELKAYNO, "
                          "GEN_BKOD, GEN_GELNO, GEN_GIDNO, GEN_DILNO, GEN_ARSNO"));
    for (const QString &g : names)
        QCOMPARE(t.value(QStringLiteral("SELECT GEN_ID(%1, 0) FROM RDB$DATABASE").arg(g)).toLongLong(), 0);
}

void TestNewDatabase::masterDataLoaded()
{
    TempDatabase db;
    Attachment a;
    db.createMain(a);
    Transaction t(a);
    QCOMPARE(t.value("SELECT COUNT(*) FROM IL").toInt(), 81);
    QCOMPARE(t.value("SELECT COUNT(*) FROM ILCE").toInt(), 973);
    QCOMPARE(t.value("SELECT COUNT(*) FROM SDP").toInt(), 1110);
    // Leading zeros are part of the codes.
    QCOMPARE(t.value("SELECT ILADI FROM IL WHERE ILKOD='01'").toString(), QStringLiteral("ADANA"));
    QCOMPARE(t.value("SELECT ILADI FROM IL WHERE ILKOD='04'").toString(), QStringLiteral("AĞRI"));
    QCOMPARE(t.value("SELECT ILCE FROM ILCE WHERE ILCEKOD=1757").toString(), QStringLiteral("ALADAĞ"));
    QCOMPARE(t.value("SELECT ACIK FROM SDP WHERE KOD='010.01'").toString(), QStringLiteral("Kanunlar"));
    // Leaf markers as shipped: a code with sub-codes has none.
    QCOMPARE(t.value("SELECT COUNT(*) FROM SDP WHERE TUR='D'").toInt(), 944);
    QVERIFY(t.value("SELECT TUR FROM SDP WHERE KOD='010'").isNull());
    QCOMPARE(t.value("SELECT COUNT(*) FROM SDP S WHERE S.TUR='D' AND EXISTS "
                     "(SELECT 1 FROM SDP C WHERE C.KOD STARTING WITH S.KOD || '.')").toInt(), 0);
    // A description with a comma inside quotes arrived whole.
    QVERIFY(t.value("SELECT COUNT(*) FROM SDP WHERE ACIK CONTAINING ','").toInt() > 0);
}

void TestNewDatabase::defaultsOfANewInstallation()
{
    TempDatabase db;
    Attachment a;
    db.createMain(a);
    Transaction t(a);
    QCOMPARE(t.value("SELECT COUNT(*) FROM TANIM").toInt(), 1);
    QCOMPARE(t.value("SELECT VER FROM TANIM").toString(), QStringLiteral("16.001"));
    QCOMPARE(t.value("SELECT CHSET FROM TANIM").toString(), QStringLiteral("1"));
    Statement u(t, "SELECT USR, HNO, PSSWD FROM USERS");
    u.execute();
    QVERIFY(u.next());
    QCOMPARE(u.value("USR").toString(), QStringLiteral("ZIRVO"));
    QCOMPARE(u.value("HNO").toInt(), 1);
    QCOMPARE(SIFRELE(u'2', u.value("PSSWD").toString()), QString::fromLatin1(newdb::kFirstPassword));
    QVERIFY(!u.next());
    QCOMPARE(t.value("SELECT COUNT(*) FROM RIGHTS WHERE HNO=1 AND G='E' AND K='E' AND D='E' AND S='E'").toInt(),
             newdb::screenCodes().size());
    QCOMPARE(t.value("SELECT COUNT(*) FROM RIGHTS WHERE HNO=1 AND KOD=50").toInt(), 1);
    QCOMPARE(t.value("SELECT LIST(EVTUR, '|') FROM (SELECT EVTUR FROM EVTUR ORDER BY ETKOD)").toString(),
             QStringLiteral("GENEL EVRAK|DİLEKÇE"));
    QCOMPARE(t.value("SELECT LIST(KURTIP, '|') FROM (SELECT KURTIP FROM KURTIP ORDER BY KTKOD)").toString(),
             QStringLiteral("BAKANLIK|GENEL MÜDÜRLÜK|VALİLİK|KAYMAKAMLIK|BELEDİYE|TİCARİ KURUM"));
    QVERIFY(t.value("SELECT COUNT(*) FROM ECTUR").toInt() > 0);
}

void TestNewDatabase::searchesAndOrderAreTurkish()
{
    TempDatabase db;
    Attachment a;
    db.createMain(a);
    Transaction t(a);
    int code = 1;
    for (const char *name : {"Dal", "işçi", "Çay", "Cam", "Işık"})
        t.execute("INSERT INTO BIRIM (BKOD, BIRIM, TUR) VALUES (:K, :B, 'K')", {{"K", code++}, {"B", QString::fromUtf8(name)}});
    QCOMPARE(t.value("SELECT UPPER(BIRIM) FROM BIRIM WHERE BKOD=2").toString(), QStringLiteral("İŞÇİ"));
    QCOMPARE(t.value("SELECT LIST(BIRIM, '|') FROM (SELECT BIRIM FROM BIRIM ORDER BY BIRIM)").toString(),
             QStringLiteral("Cam|Çay|Dal|Işık|işçi"));
    QCOMPARE(t.value("SELECT COUNT(*) FROM BIRIM WHERE BIRIM CONTAINING 'ık'").toInt(), 1);
}

void TestNewDatabase::createRefusesAnExistingFile()
{
    TempDatabase db;
    QFile f(db.path());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a database");
    f.close();
    try {
        newdb::createMain(TempDatabase::options(db.path()));
        QFAIL("created over an existing file");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains("zaten var"), qPrintable(e.message()));
    }
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("not a database"));
}

void TestNewDatabase::adminToolCreatesAndRefuses()
{
    const QString tool = QCoreApplication::applicationDirPath() + "/../../tools/admin/kelma-admin";
    if (!QFile::exists(tool))
        QSKIP("kelma-admin is not built beside the tests");
    TempDatabase db;
    QProcess p;
    p.start(tool, {"create", db.path()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(QFile::exists(db.path()));

    p.start(tool, {"create", db.path()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("zaten var"));

    // While this process holds the file, another process is told so plainly.
    Attachment held;
    held.open(TempDatabase::options(db.path()));
    p.start(tool, {"info", db.path()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    const QString said = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(said.contains("başka bir program tarafından kullanılıyor"), qPrintable(said));
}

QTEST_GUILESS_MAIN(TestNewDatabase)
#include "tst_newdatabase.moc"
