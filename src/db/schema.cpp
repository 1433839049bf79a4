#include "schema.h"

#include <QSet>

#include "db/fb/attachment.h"
#include "db/fb/transaction.h"

namespace schema {

namespace {

constexpr int V13 = 13001;
constexpr int V14 = 14001;
constexpr int V15 = 15001;
constexpr int V16 = 16001;

std::vector<Column> concat(std::initializer_list<std::vector<Column>> parts)
{
    std::vector<Column> out;
    for (const auto &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const std::vector<Column> kDelivery = {
    {"EKSAY", "SMALLINT"},
    {"EK", "BLOB SUB_TYPE TEXT"},
    {"ZDUR", "VARCHAR(1)"},
    {"ZNO", "VARCHAR(15)"},
    {"ZTAR", "DATE"},
    {"GIZDER", "VARCHAR(1)"},
};

const std::vector<Column> kWayAndUser = {
    {"GSEKLI", "VARCHAR(1)", false, V13},
    {"GACIK", "VARCHAR(40)", false, V13},
    {"ETKOD", "SMALLINT", false, V15},
    {"USR", "VARCHAR(25)", false, V15},
};

std::vector<Table> buildMain()
{
    std::vector<Table> t;

    t.push_back({"GELEN", concat({
        {{"KAYNO", "INTEGER", true}, {"GELNO", "INTEGER"}, {"GELTAR", "DATE"}},
        {{"EVSAY", "VARCHAR(30)", false, kAlways, V14}, {"EVSAY", "VARCHAR(50)", false, V14},
         {"EVTAR", "DATE"}, {"ECKOD", "SMALLINT"}, {"KONU", "VARCHAR(200)"},
         {"BIRKOD", "SMALLINT"}, {"KURKOD", "SMALLINT"}},
        kDelivery,
        {{"TESADI", "VARCHAR(20)"}, {"TESGOR", "VARCHAR(20)"}, {"CEVDUR", "VARCHAR(1)"},
         {"CEVNO", "INTEGER"}, {"ILGNO", "INTEGER"}, {"BSIRNO", "INTEGER"},
         {"GSIRNO", "INTEGER"}, {"SDP", "VARCHAR(15)"}, {"DOSYA", "VARCHAR(20)"},
         {"BIRIM", "VARCHAR(50)"}},
        kWayAndUser,
        {{"CEVTAR", "DATE", false, V16}, {"KRMSURE", "SMALLINT", false, V16}},
    }), {"KAYNO"}});

    t.push_back({"GIDEN", concat({
        {{"KAYNO", "INTEGER", true}, {"GIDNO", "INTEGER"}, {"GIDTAR", "DATE"}},
        {{"EVSAY", "VARCHAR(30)", false, kAlways, V14}, {"EVSAY", "VARCHAR(50)", false, V14},
         {"EVTAR", "DATE"}, {"ECKOD", "SMALLINT"}, {"KONU", "VARCHAR(200)"},
         {"BIRKOD", "SMALLINT"}, {"KURKOD", "SMALLINT"}},
        kDelivery,
        {{"TESADI", "VARCHAR(20)"}, {"TESGOR", "VARCHAR(20)"}, {"CEVDUR", "VARCHAR(1)"},
         {"CEVNO", "INTEGER"}, {"ILGNO", "INTEGER"}, {"ILGDUR", "VARCHAR(1)"},
         {"BSIRNO", "INTEGER"}, {"GSIRNO", "INTEGER"}, {"SDP", "VARCHAR(15)"},
         {"DOSYA", "VARCHAR(20)"}, {"BIRIM", "VARCHAR(50)"}},
        kWayAndUser,
        {{"CEVTAR", "DATE", false, V16}, {"KRMSURE", "SMALLINT", false, V16}},
    }), {"KAYNO"}});

    t.push_back({"DILEKCE", concat({
        {{"KAYNO", "INTEGER", true}, {"DILNO", "INTEGER"}, {"DILTAR", "DATE"},
         {"GELTAR", "DATE"}, {"ADI", "VARCHAR(20)"}, {"SOYADI", "VARCHAR(20)"},
         {"ADRES", "VARCHAR(50)"}, {"TCKNO", "VARCHAR(15)"}, {"TEL1", "VARCHAR(15)"},
         {"EMAIL", "VARCHAR(50)"}, {"EKOD", "SMALLINT"}, {"KONU", "VARCHAR(200)"},
         {"BIRKOD", "SMALLINT"}},
        kDelivery,
        {{"TESADI", "VARCHAR(20)"}, {"TESGOR", "VARCHAR(20)"}, {"CEVDUR", "VARCHAR(1)"},
         {"CEVNO", "INTEGER"}, {"SDP", "VARCHAR(15)"}, {"DOSYA", "VARCHAR(20)"},
         {"BIRIM", "VARCHAR(50)"}, {"EVSAY", "VARCHAR(50)", false, V14}},
        kWayAndUser,
        {{"CEVTAR", "DATE", false, V16}, {"KRMSURE", "SMALLINT", false, V16}},
    }), {"KAYNO"}});

    t.push_back({"ARSIV", concat({
        {{"KAYNO", "INTEGER", true}, {"ARSNO", "INTEGER"}, {"ARSTAR", "DATE"}},
        {{"EVSAY", "VARCHAR(30)", false, kAlways, V14}, {"EVSAY", "VARCHAR(50)", false, V14},
         {"EVTAR", "DATE"}, {"ECKOD", "SMALLINT"}, {"KONU", "VARCHAR(200)"},
         {"BIRKOD", "SMALLINT"}},
        kDelivery,
        {{"YETADI", "VARCHAR(20)"}, {"YETGOR", "VARCHAR(20)"}, {"DOSYA", "VARCHAR(20)"},
         {"SDP", "VARCHAR(15)"}},
        kWayAndUser,
        {{"KRMSURE", "SMALLINT", false, V16}},
    }), {"KAYNO"}});

    for (const char *name : {"GELTEXT", "GIDTEXT", "DILTEXT", "ARSTEXT"}) {
        t.push_back({name, {
            {"KAYNO", "INTEGER", true}, {"SIRNO", "SMALLINT", true}, {"TUR", "VARCHAR(1)"},
            {"ACIK", "VARCHAR(30)"}, {"METIN", "BLOB"}, {"BELTUR", "VARCHAR(1)"},
            {"SDP", "VARCHAR(15)"}, {"DOSYA", "VARCHAR(50)", false, V14},
            {"OCN", "VARCHAR(30)", false, V15}, {"BELKAYNO", "INTEGER", false, V15},
        }, {"KAYNO", "SIRNO"}});
    }

    // The values typed into an archive record's additional-information boxes,
    // one row per attribute (SIRA: the attribute's ECTAN.SIRNO).
    t.push_back({"ARSEKBILGI", {{"ARSKAYNO", "INTEGER", true}, {"SIRA", "SMALLINT", true},
                                {"DEGER", "VARCHAR(100)"}},
                 {"ARSKAYNO", "SIRA"}, V16});

    t.push_back({"EVBRM", {
        {"TUR", "SMALLINT", true}, {"EKAYNO", "INTEGER", true}, {"BKOD", "SMALLINT", true},
        {"TESADI", "VARCHAR(20)"}, {"TESGOR", "VARCHAR(20)"}, {"BSIRNO", "INTEGER"},
        {"ONAY", "VARCHAR(1)"}, {"ONTAR", "TIMESTAMP"}, {"ONACIK", "VARCHAR(50)"},
        {"ONUSR", "VARCHAR(25)"},
    }, {"TUR", "EKAYNO", "BKOD"}, V15});

    t.push_back({"BIRIM", {
        {"BKOD", "SMALLINT", true},
        {"BIRIM", "VARCHAR(40)", true, kAlways, V14},
        {"BIRIM", "VARCHAR(50)", true, V14, V15},
        {"BIRIM", "VARCHAR(80)", true, V15},
        {"TUR", "VARCHAR(1)", true}, {"YETKILI", "VARCHAR(25)"}, {"UNVAN", "VARCHAR(25)"},
        {"KODU", "VARCHAR(6)"}, {"EMAIL", "VARCHAR(50)"},
        {"ONEK", "VARCHAR(30)", false, V14},
        {"GTUR", "VARCHAR(1)", false, V15}, {"TCKNO", "VARCHAR(11)", false, V15},
        {"ADRES", "VARCHAR(60)", false, V16}, {"TEL1", "VARCHAR(15)", false, V16},
        {"TEL2", "VARCHAR(15)", false, V16}, {"FAKS", "VARCHAR(15)", false, V16},
        {"ILKOD", "VARCHAR(2)", false, V16}, {"ILCEKOD", "VARCHAR(5)", false, V16},
        {"KTKOD", "SMALLINT", false, V16},
    }, {"BKOD"}});

    t.push_back({"KURTIP", {{"KTKOD", "SMALLINT", true}, {"KURTIP", "VARCHAR(30)"}},
                 {"KTKOD"}, V16});
    t.push_back({"EVTUR", {{"ETKOD", "SMALLINT", true}, {"EVTUR", "VARCHAR(30)"}},
                 {"ETKOD"}, V15});
    t.push_back({"ECINS", {{"ECKOD", "SMALLINT", true}, {"ECINS", "VARCHAR(50)", true},
                           {"ECTUR", "SMALLINT"}}, {"ECKOD"}});
    t.push_back({"ECTUR", {{"ECTUR", "SMALLINT", true}, {"ETURADI", "VARCHAR(30)", true}},
                 {"ECTUR"}});
    t.push_back({"ECTAN", {{"ECKOD", "SMALLINT", true}, {"SIRNO", "SMALLINT", true},
                           {"TUR", "VARCHAR(1)", true}, {"ECTAN", "VARCHAR(30)", true}},
                 {"ECKOD", "SIRNO"}});
    t.push_back({"SDP", {{"KOD", "VARCHAR(15)", true}, {"ACIK", "VARCHAR(100)"},
                         {"TUR", "VARCHAR(1)"}, {"KRMSURE", "SMALLINT", false, V16}},
                 {"KOD"}});
    t.push_back({"IL", {{"ILKOD", "VARCHAR(2)", true}, {"ILADI", "VARCHAR(30)"}}, {"ILKOD"}});
    t.push_back({"ILCE", {{"ILKOD", "VARCHAR(2)", true}, {"ILCEKOD", "SMALLINT", true},
                          {"ILCE", "VARCHAR(30)"}}, {"ILCEKOD"}});
    t.push_back({"ORNEK", {{"NO", "SMALLINT", true}, {"TUR", "VARCHAR(1)"},
                           {"ACIK", "VARCHAR(100)"}, {"ORNEK", "BLOB SUB_TYPE TEXT"}},
                 {"NO"}});
    t.push_back({"SABLON", {{"KAYNO", "INTEGER", true}, {"ACIK", "VARCHAR(50)"},
                            {"METIN", "BLOB"}}, {"KAYNO"}});

    // The staff table of older versions; 16.001 drops it and creates it anew.
    t.push_back({"PERSONEL", {{"PKOD", "INTEGER", true}, {"ADI", "VARCHAR(20)"},
                              {"SOYADI", "VARCHAR(20)"}, {"UNVAN", "VARCHAR(30)"}},
                 {"PKOD"}, kAlways, V16});
    t.push_back({"PERSONEL", {
        {"PKOD", "INTEGER", true}, {"AKTIF", "VARCHAR(1)"}, {"USERHNO", "SMALLINT"},
        {"ADI", "VARCHAR(20)"}, {"SOYADI", "VARCHAR(20)"}, {"TCKNO", "VARCHAR(12)"},
        {"UNVAN", "VARCHAR(30)"}, {"EMAIL", "VARCHAR(50)"}, {"IPNO", "VARCHAR(15)"},
        {"MACNO", "VARCHAR(20)"}, {"BKOD", "SMALLINT"}, {"TEL1", "VARCHAR(20)"},
        {"TEL2", "VARCHAR(20)"}, {"ADRES", "VARCHAR(60)"},
        {"FOTO", "BLOB SUB_TYPE 0 SEGMENT SIZE 80"},
    }, {"PKOD"}, V16});

    t.push_back({"USERS", {{"USR", "VARCHAR(10)", true}, {"HNO", "SMALLINT", true},
                           {"PSSWD", "VARCHAR(5)", true}, {"ACIK", "VARCHAR(30)"},
                           {"ACIK1", "VARCHAR(30)"}, {"OZEL", "INTEGER"}}, {"HNO"}});
    t.push_back({"RIGHTS", {{"HNO", "SMALLINT", true}, {"KOD", "SMALLINT", true},
                            {"G", "VARCHAR(1)", true}, {"K", "VARCHAR(1)", true},
                            {"D", "VARCHAR(1)", true}, {"S", "VARCHAR(1)", true}},
                 {"HNO", "KOD"}});

    t.push_back({"TANIM", {
        {"KURUM", "VARCHAR(30)"}, {"SUBE", "VARCHAR(30)"}, {"ILKOD", "VARCHAR(2)"},
        {"ILCEKOD", "SMALLINT"}, {"VER", "VARCHAR(10)"}, {"UDUR", "VARCHAR(1)"},
        {"ONIZ", "VARCHAR(1)"}, {"IZL", "VARCHAR(1)"}, {"EMAIL", "VARCHAR(50)"},
        {"LOGO", "BLOB"}, {"BASLIK", "BLOB"},
        {"YERSAK", "VARCHAR(1)", false, kAlways, V15},
        {"MEDYER", "VARCHAR(100)", false, kAlways, V15},
        {"SRVIPNO", "VARCHAR(25)", false, V13}, {"SRVPORT", "VARCHAR(6)", false, V13},
        {"MSVER", "VARCHAR(1)", false, V13}, {"ESDUR", "VARCHAR(1)", false, V14},
        {"TEXTVT", "VARCHAR(1)", false, V15}, {"SRVSAKLA", "VARCHAR(1)", false, V15},
        {"TRMSAKLA", "VARCHAR(1)", false, V15}, {"VTSAKLA", "VARCHAR(1)", false, V15},
        {"ABT", "SMALLINT", false, V15}, {"CHSET", "VARCHAR(1)", false, V15},
        {"ONDUR", "VARCHAR(1)", false, V15},
        // Reply deadlines: the legal period of petitions and how many days
        // ahead a deadline counts as near; NULL takes 30 and 3.
        {"CEVSURE", "SMALLINT", false, V16}, {"CEVYAKIN", "SMALLINT", false, V16},
    }, {}});
    return t;
}

} // namespace

const std::vector<Table> &mainTables()
{
    static const std::vector<Table> tables = buildMain();
    return tables;
}

const std::vector<Table> &yearTables()
{
    static const std::vector<Table> tables = [] {
        std::vector<Table> t;
        for (const char *name : {"GELTEXT", "GIDTEXT", "DILTEXT", "ARSTEXT"}) {
            t.push_back({name, {{"BELKAYNO", "INTEGER", true}, {"METIN", "BLOB"},
                                {"OCN", "VARCHAR(30)"}}, {"BELKAYNO"}});
        }
        return t;
    }();
    return tables;
}

const std::vector<Generator> &generators()
{
    static const std::vector<Generator> g = {
        {"GEN_GELKAYNO"}, {"GEN_GIDKAYNO"}, {"GEN_DILKAYNO"}, {"GEN_ARSKAYNO"},
        {"GEN_BELKAYNO", V15}, {"GEN_BKOD"},
        {"GEN_GELNO"}, {"GEN_GIDNO"}, {"GEN_DILNO"}, {"GEN_ARSNO"},
    };
    return g;
}

const std::vector<Index> &indexes()
{
    static const std::vector<Index> i = {
        // The lists are in number order: read along these, a list shows its
        // first rows without sorting the whole period first.
        {"GELEN_GELNO", "GELEN", "GELNO"},
        {"GIDEN_GIDNO", "GIDEN", "GIDNO"},
        {"DILEKCE_DILNO", "DILEKCE", "DILNO"},
        {"ARSIV_ARSNO", "ARSIV", "ARSNO"},
        {"GELEN_GELTAR", "GELEN", "GELTAR"},
        {"GELEN_GELNO_DESC", "GELEN", "GELNO", true},
        // The highest number within one level (GSIRNO) or one department
        // (BSIRNO) is read from the top of its own range, not found by
        // walking past the other levels' or departments' rows.
        {"GELEN_GIZDER_GSIRNO_DESC", "GELEN", "GIZDER, GSIRNO", true},
        // Delivery numbers are text; padded, digits sort as numbers do.
        {"GELEN_ZNO_DESC", "GELEN", "COMPUTED BY (LPAD(ZNO, 15, '0'))", true},
        {"GIDEN_GIDTAR", "GIDEN", "GIDTAR"},
        {"GIDEN_GIDNO_DESC", "GIDEN", "GIDNO", true},
        {"GIDEN_GIZDER_GSIRNO_DESC", "GIDEN", "GIZDER, GSIRNO", true},
        {"GIDEN_ZNO_DESC", "GIDEN", "COMPUTED BY (LPAD(ZNO, 15, '0'))", true},
        {"GIDEN_BIRKOD_BSIRNO_DESC", "GIDEN", "BIRKOD, BSIRNO", true},
        // The lists join each register's answers on ILGNO.
        {"GIDEN_ILGNO", "GIDEN", "ILGNO"},
        {"GELEN_ILGNO", "GELEN", "ILGNO"},
        {"DILEKCE_GELTAR", "DILEKCE", "GELTAR"},
        // The subject search reads petitions in the order of their own date.
        {"DILEKCE_DILTAR", "DILEKCE", "DILTAR"},
        {"DILEKCE_DILNO_DESC", "DILEKCE", "DILNO", true},
        {"ARSIV_ARSTAR", "ARSIV", "ARSTAR"},
        {"ARSIV_ARSNO_DESC", "ARSIV", "ARSNO", true},
        {"EVBRM_BKOD", "EVBRM", "BKOD"},
        // Reply deadlines: only rows still waiting for their reply have a key,
        // so the minute's counts read a handful of index entries.
        {"GELEN_CEVBEKLER", "GELEN", "COMPUTED BY (" KELMA_OPEN_REPLY_KEY ")"},
        {"GIDEN_CEVBEKLER", "GIDEN", "COMPUTED BY (" KELMA_OPEN_REPLY_KEY ")"},
        {"DILEKCE_CEVBEKLER", "DILEKCE", "COMPUTED BY (" KELMA_OPEN_REPLY_KEY ")"},
        {"DILEKCE_SUREBEKLER", "DILEKCE", "COMPUTED BY (" KELMA_OPEN_UNDATED_REPLY_KEY ")"},
    };
    return i;
}

const Table *findTable(const std::vector<Table> &tables, const QString &name)
{
    for (const Table &t : tables) {
        if (name.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

std::vector<Column> columnsAt(const Table &table, int version)
{
    std::vector<Column> out;
    for (const Column &c : table.columns) {
        if (exists(c.since, c.until, version))
            out.push_back(c);
    }
    return out;
}

QString createTableSql(const Table &table, int version)
{
    QStringList parts;
    for (const Column &c : columnsAt(table, version)) {
        QString line = QStringLiteral("\"%1\" %2").arg(QLatin1String(c.name), QLatin1String(c.type));
        if (c.notNull)
            line += QLatin1String(" NOT NULL");
        parts << line;
    }
    if (!table.key.empty()) {
        QStringList key;
        for (const char *k : table.key)
            key << QStringLiteral("\"%1\"").arg(QLatin1String(k));
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(key.join(QLatin1String(", ")));
    }
    return QStringLiteral("CREATE TABLE \"%1\" (\n    %2)")
        .arg(QLatin1String(table.name), parts.join(QLatin1String(",\n    ")));
}

void createMain(fb::Attachment &attachment, int version)
{
    fb::Transaction t(attachment);
    // Columns created afterwards without a collation of their own take this one.
    t.executeRaw(QStringLiteral("ALTER CHARACTER SET WIN1254 SET DEFAULT COLLATION PXW_TURK"));
    t.commit();
    for (const Table &table : mainTables()) {
        if (exists(table.since, table.until, version))
            t.executeRaw(createTableSql(table, version));
    }
    for (const Generator &g : generators()) {
        if (exists(g.since, kForever, version))
            t.executeRaw(QStringLiteral("CREATE GENERATOR %1").arg(QLatin1String(g.name)));
    }
    t.commit();
    // Only a database made at the current version gets them; the tables of
    // older layouts are built for tests of the upgrade, which must not depend on them.
    if (version != kCurrentVersion)
        return;
    for (const Index &i : indexes())
        t.executeRaw(createIndexSql(i));
    t.commit();
}

QString createIndexSql(const Index &i)
{
    const QString columns = QLatin1String(i.columns);
    return QStringLiteral("CREATE %1INDEX %2 ON %3 %4")
        .arg(i.descending ? QStringLiteral("DESCENDING ") : QString(), QLatin1String(i.name),
             QLatin1String(i.table),
             columns.startsWith(QLatin1String("COMPUTED")) ? columns : u'(' + columns + u')');
}

QStringList addMissingIndexes(fb::Transaction &t)
{
    QSet<QString> present;
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES")))
        present.insert(r.value(0).toString().toUpper());
    QStringList added;
    for (const Index &i : indexes()) {
        if (present.contains(QLatin1String(i.name)))
            continue;
        t.executeRaw(createIndexSql(i));
        // Each index on its own: one that fails leaves those before it in place.
        t.commitRetaining();
        added << QLatin1String(i.name);
    }
    return added;
}

QStringList dropRetiredIndexes(fb::Transaction &t)
{
    // Numbering by level reads GELEN_GIZDER_GSIRNO_DESC since it was added.
    static const char *const retired[] = {"GELEN_GSIRNO_DESC"};
    QStringList dropped;
    for (const char *name : retired) {
        const QString index = QLatin1String(name);
        if (t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME=:N"), {{"N", index}}).toInt() == 0)
            continue;
        t.executeRaw(QStringLiteral("DROP INDEX ") + index);
        t.commitRetaining();
        dropped << index;
    }
    return dropped;
}

void createYear(fb::Attachment &attachment)
{
    fb::Transaction t(attachment);
    for (const Table &table : yearTables())
        t.executeRaw(createTableSql(table, kCurrentVersion));
    t.commit();
}

QString versionText(int version)
{
    return QStringLiteral("%1.%2").arg(version / 1000).arg(version % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace schema
