#include "upgrade.h"

#include "schema.h"
#include "core/prompt.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"

namespace {

const QString kFailed = QStringLiteral("Güncelleme İşlemi Yapılamadı. Programı Tekrar çalıştırınız..");
const QString kDataFollows = QStringLiteral("Güncellemesi Başarıyla Yapıldı.\nVeri uyumluluğu Yapılacaktır.");

bool hasTable(fb::Transaction &t, const QString &table)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME=:T"),
                   {{"T", table}}).toInt() > 0;
}

bool hasColumn(fb::Transaction &t, const QString &table, const QString &column)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS "
                                  "WHERE RDB$RELATION_NAME=:T AND RDB$FIELD_NAME=:C"),
                   {{"T", table}, {"C", column}}).toInt() > 0;
}

bool hasGenerator(fb::Transaction &t, const QString &name)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME=:G"),
                   {{"G", name}}).toInt() > 0;
}

void rollbackQuietly(fb::Transaction &t)
{
    try {
        t.rollback();
    } catch (const fb::Error &) {
        // The connection is gone; so is the transaction on the server.
    }
}

} // namespace

/// One DDL statement of a step, kept in parts so that what a step finds
/// already in place can be left out.
struct SchemaUpgrade::Ddl
{
    enum Kind { AlterTable, CreateTable, DropTable };
    Kind kind;
    QString table;
    /// AlterTable: its clauses, without the separating commas.
    /// CreateTable: its lines as written.
    QStringList lines;
};

SchemaUpgrade::SchemaUpgrade(fb::Transaction &main, Prompt &prompt)
    : m_main(main)
    , m_prompt(prompt)
{
}

std::array<QString, 4> SchemaUpgrade::KODCOZ(const QString &text)
{
    std::array<QString, 4> parts;
    qsizetype from = 0;
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = text.indexOf(u'.', from);
        if (dot < 0) {
            parts[i] = text.mid(from);
            return parts;
        }
        parts[i] = text.mid(from, dot - from);
        from = dot + 1;
    }
    parts[3] = text.mid(from);
    return parts;
}

std::optional<int> SchemaUpgrade::versionNumber(const QString &text)
{
    const auto parts = KODCOZ(text);
    const QString joined = parts[0] + parts[1];
    bool ok = false;
    const int number = joined.toInt(&ok);
    // toInt accepts a sign and surrounding blanks; a version has neither.
    if (!ok || joined.isEmpty() || !joined.front().isDigit() || !joined.back().isDigit())
        return std::nullopt;
    return number;
}

SchemaUpgrade::Result SchemaUpgrade::VERKONT()
{
    Result r;
    r.versionText = m_main.value(QStringLiteral("SELECT VER FROM TANIM")).toString();
    r.versionOk = true;
    const std::optional<int> version = versionNumber(r.versionText);
    if (!version) {
        m_prompt.message(QStringLiteral("DİKKAT! Veritabanı Versiyonu Anlaşılamadı: \"%1\"")
                             .arg(r.versionText));
        r.outcome = Outcome::Unreadable;
    } else if (*version == schema::kCurrentVersion) {
        r.outcome = Outcome::Current;
        addMissingTables();
        addIndexesQuietly();
        return r;
    } else if (*version > schema::kCurrentVersion) {
        m_prompt.message(QStringLiteral("DİKKAT! Program Versiyonu Eski Olduğundan Çalışamazsınız.."));
        if (PRGGUNCELLE)
            PRGGUNCELLE();
        r.outcome = Outcome::Refused;
    } else {
        bool done;
        if (*version < 13001)
            done = VER13001();
        else if (*version <= 14000)
            done = VER14001();
        else if (*version <= 15000)
            done = VER15001();
        else
            done = VER16001();
        r.outcome = done ? Outcome::Upgraded : Outcome::Failed;
    }
    r.versionOk = false;
    r.mustEnd = true;
    return r;
}

void SchemaUpgrade::addIndexesQuietly()
{
    // A login that may not alter the schema works on, only slower; the next
    // start or "kelma-admin indexes" adds them.
    try {
        schema::addMissingIndexes(m_main);
    } catch (const fb::Error &) {
        rollbackQuietly(m_main);
    }
}

SchemaUpgrade::Result SchemaUpgrade::upgradeToCurrent()
{
    // Four steps at most lead from any older version to the current one.
    Result r;
    for (int i = 0; i < 5; ++i) {
        r = VERKONT();
        if (r.outcome != Outcome::Upgraded)
            break;
    }
    return r;
}

void SchemaUpgrade::runDdl(const Ddl &d)
{
    QString sql;
    switch (d.kind) {
    case Ddl::AlterTable: {
        QStringList clauses;
        for (const QString &clause : d.lines) {
            const QStringList words = clause.split(u' ', Qt::SkipEmptyParts);
            const QString verb = words.value(0);
            const QString column = words.value(1);
            // Added or dropped before an interruption: already done.
            if (verb == QLatin1String("ADD") && hasColumn(m_main, d.table, column))
                continue;
            if (verb == QLatin1String("DROP") && !hasColumn(m_main, d.table, column))
                continue;
            clauses << clause;
        }
        if (clauses.isEmpty())
            return;
        sql = QStringLiteral("ALTER TABLE %1\n%2").arg(d.table, clauses.join(QLatin1String(",\n")));
        break;
    }
    case Ddl::CreateTable:
        if (hasTable(m_main, d.table))
            return;
        sql = d.lines.join(u'\n');
        break;
    case Ddl::DropTable:
        if (!hasTable(m_main, d.table))
            return;
        sql = QStringLiteral("DROP TABLE %1").arg(d.table);
        break;
    }
    m_main.executeRaw(sql);
}

void SchemaUpgrade::stamp(const QString &version)
{
    m_main.execute(QStringLiteral("UPDATE TANIM SET VER=:V"), {{"V", version}});
}

void SchemaUpgrade::fail(const QString &details)
{
    rollbackQuietly(m_main);
    m_prompt.error(kFailed, details);
}

bool SchemaUpgrade::runStep(const QString &version, const std::vector<Ddl> &ddl,
                            const std::function<void()> &dataWork)
{
    // DDL takes effect at commit, and the data work needs the new columns.
    try {
        for (const Ddl &d : ddl)
            runDdl(d);
        m_main.commitRetaining();
    } catch (const fb::Error &e) {
        fail(e.details());
        return false;
    }
    // The stamp goes with the data work, so that a failure there leaves the
    // step to be done again instead of claiming it.
    try {
        if (dataWork)
            dataWork();
        stamp(version);
        m_main.commitRetaining();
    } catch (const fb::Error &e) {
        fail(e.details());
        return false;
    }
    return true;
}

bool SchemaUpgrade::VER13001()
{
    std::vector<Ddl> ddl = {
        {Ddl::AlterTable, QStringLiteral("TANIM"),
         {QStringLiteral("ADD SRVIPNO VARCHAR(25)"), QStringLiteral("ADD SRVPORT VARCHAR(6)"),
          QStringLiteral("ADD MSVER VARCHAR(1)")}},
    };
    for (const char *table : {"GELEN", "GIDEN", "DILEKCE", "ARSIV"}) {
        ddl.push_back({Ddl::AlterTable, QLatin1String(table),
                       {QStringLiteral("ADD GSEKLI VARCHAR(1)"), QStringLiteral("ADD GACIK VARCHAR(40)")}});
    }
    if (!runStep(QStringLiteral("13.001"), ddl, {}))
        return false;
    m_prompt.message(QStringLiteral("13.001 Güncellemesi Başarıyla Yapıldı."));
    return true;
}

bool SchemaUpgrade::VER14001()
{
    std::vector<Ddl> ddl = {
        {Ddl::AlterTable, QStringLiteral("TANIM"), {QStringLiteral("ADD ESDUR VARCHAR(1)")}},
        {Ddl::AlterTable, QStringLiteral("BIRIM"),
         {QStringLiteral("ALTER BIRIM TYPE VARCHAR(50)"), QStringLiteral("ADD ONEK VARCHAR(30)")}},
        {Ddl::AlterTable, QStringLiteral("GELEN"), {QStringLiteral("ALTER EVSAY TYPE VARCHAR(50)")}},
        {Ddl::AlterTable, QStringLiteral("GIDEN"), {QStringLiteral("ALTER EVSAY TYPE VARCHAR(50)")}},
        {Ddl::AlterTable, QStringLiteral("DILEKCE"), {QStringLiteral("ADD EVSAY VARCHAR(50)")}},
        {Ddl::AlterTable, QStringLiteral("ARSIV"), {QStringLiteral("ALTER EVSAY TYPE VARCHAR(50)")}},
    };
    for (const char *table : {"GELTEXT", "GIDTEXT", "DILTEXT", "ARSTEXT"})
        ddl.push_back({Ddl::AlterTable, QLatin1String(table), {QStringLiteral("ADD DOSYA VARCHAR(50)")}});
    if (!runStep(QStringLiteral("14.001"), ddl, [this] { nameStoredFiles(); }))
        return false;
    m_prompt.message(QStringLiteral("14.001 ") + kDataFollows);
    m_prompt.message(QStringLiteral("İşlem Tamamlandı."));
    m_prompt.message(QStringLiteral("Lütfen KELMA Servis programını güncelleyiniz."));
    return true;
}

void SchemaUpgrade::nameStoredFiles()
{
    static const struct
    {
        const char *table;
        const char *prefix;
    } kTables[] = {{"GELTEXT", "GEL_"}, {"GIDTEXT", "GID_"}, {"DILTEXT", "DIL_"}, {"ARSTEXT", "ARS_"}};
    for (const auto &tab : kTables) {
        const QString table = QLatin1String(tab.table);
        fb::Statement rows(m_main, QStringLiteral("SELECT KAYNO,SIRNO,DOSYA,BELTUR FROM %1").arg(table));
        fb::Statement update(m_main, QStringLiteral("UPDATE %1 SET DOSYA=:X0 WHERE KAYNO=:X1 AND SIRNO=:X2")
                                         .arg(table));
        rows.execute();
        while (rows.next()) {
            const QString kind = rows.value(3).toString();
            QString extension;
            if (kind == QLatin1String("1"))
                extension = QStringLiteral(".JPG");
            else if (kind == QLatin1String("4"))
                extension = QStringLiteral(".PDF");
            else if (kind == QLatin1String("5"))
                extension = QStringLiteral(".DOC");
            else if (kind == QLatin1String("6"))
                extension = QStringLiteral(".XLS");
            else
                continue;
            const int key = rows.value(0).toInt();
            const int number = rows.value(1).toInt();
            update.bind(QStringLiteral("X0"), QLatin1String(tab.prefix) + QString::number(key) + u'_'
                                                  + QString::number(number) + extension);
            update.bind(QStringLiteral("X1"), key);
            update.bind(QStringLiteral("X2"), number);
            update.execute();
        }
    }
}

bool SchemaUpgrade::VER15001()
{
    std::vector<Ddl> ddl = {
        {Ddl::AlterTable, QStringLiteral("BIRIM"),
         {QStringLiteral("ALTER BIRIM  TYPE VARCHAR(80)"), QStringLiteral("ADD GTUR VARCHAR(1)"),
          QStringLiteral("ADD TCKNO VARCHAR(11)")}},
        {Ddl::CreateTable, QStringLiteral("EVBRM"),
         {QStringLiteral("CREATE TABLE EVBRM("), QStringLiteral("TUR SMALLINT NOT NULL,"),
          QStringLiteral("EKAYNO INTEGER NOT NULL,"), QStringLiteral("BKOD SMALLINT NOT NULL,"),
          QStringLiteral("TESADI\tVARCHAR(20),"), QStringLiteral("TESGOR\tVARCHAR(20),"),
          QStringLiteral("BSIRNO INTEGER,"), QStringLiteral("ONAY VARCHAR(1),"),
          QStringLiteral("ONTAR TIMESTAMP,"), QStringLiteral("ONACIK VARCHAR(50),"),
          QStringLiteral("ONUSR VARCHAR(25),"), QStringLiteral("PRIMARY KEY(TUR,EKAYNO,BKOD))")}},
        {Ddl::AlterTable, QStringLiteral("TANIM"),
         {QStringLiteral("ADD TEXTVT VARCHAR(1)"), QStringLiteral("ADD SRVSAKLA VARCHAR(1)"),
          QStringLiteral("ADD TRMSAKLA VARCHAR(1)"), QStringLiteral("ADD VTSAKLA VARCHAR(1)"),
          QStringLiteral("ADD ABT SMALLINT"), QStringLiteral("ADD CHSET VARCHAR(1)"),
          QStringLiteral("ADD ONDUR VARCHAR(1)")}},
        {Ddl::AlterTable, QStringLiteral("TANIM"),
         {QStringLiteral("DROP YERSAK"), QStringLiteral("DROP MEDYER")}},
        {Ddl::CreateTable, QStringLiteral("EVTUR"),
         {QStringLiteral("CREATE TABLE EVTUR("), QStringLiteral("ETKOD SMALLINT NOT NULL,"),
          QStringLiteral("EVTUR VARCHAR(30),"), QStringLiteral("PRIMARY KEY(ETKOD))")}},
    };
    for (const char *table : {"GELEN", "GIDEN", "ARSIV", "DILEKCE"}) {
        ddl.push_back({Ddl::AlterTable, QLatin1String(table),
                       {QStringLiteral("ADD ETKOD SMALLINT"), QStringLiteral("ADD USR VARCHAR(25)")}});
    }
    for (const char *table : {"GELTEXT", "GIDTEXT", "DILTEXT", "ARSTEXT"}) {
        ddl.push_back({Ddl::AlterTable, QLatin1String(table),
                       {QStringLiteral("ADD OCN VARCHAR(30)"), QStringLiteral("ADD BELKAYNO INTEGER")}});
    }
    if (!runStep(QStringLiteral("15.001"), ddl, [this] { carryOverTo15001(); }))
        return false;
    m_prompt.message(QStringLiteral("15.001 ") + kDataFollows);
    return true;
}

void SchemaUpgrade::carryOverTo15001()
{
    m_main.execute(QStringLiteral("UPDATE BIRIM SET GTUR='K'\nWHERE TUR='K'"));
    // The maintenance window's rights completion may have given user 1 this code already.
    if (m_main.value(QStringLiteral("SELECT KOD FROM RIGHTS\nWHERE HNO=1 AND KOD=6")).isNull())
        m_main.execute(QStringLiteral("INSERT INTO RIGHTS(HNO,KOD,G,K,D,S) VALUES(1,6,'E','E','E','E')"));
    {
        fb::Statement types(m_main, QStringLiteral("INSERT INTO EVTUR(ETKOD,EVTUR) VALUES(:X0,:X1)"));
        types.bindAll({{"X0", 1}, {"X1", QStringLiteral("GENEL EVRAK")}});
        types.execute();
        types.bindAll({{"X0", 2}, {"X1", QStringLiteral("DİLEKÇE")}});
        types.execute();
    }
    {
        fb::Statement incoming(m_main, QStringLiteral("SELECT KAYNO,BIRKOD,TESADI,TESGOR,BSIRNO FROM GELEN"));
        fb::Statement route(m_main, QStringLiteral(
            "INSERT INTO EVBRM(TUR,EKAYNO,BKOD,TESADI,TESGOR,BSIRNO,ONAY) "
            "VALUES(:X0,:X1,:X2,:X3,:X4,:X5,:X6)"));
        incoming.execute();
        while (incoming.next()) {
            if (incoming.value(1).toInt() <= 0)
                continue;
            route.bindAll({{"X0", 1}, {"X1", incoming.value(0)}, {"X2", incoming.value(1)},
                           {"X3", incoming.value(2)}, {"X4", incoming.value(3)},
                           {"X5", incoming.value(4)}, {"X6", QStringLiteral("1")}});
            route.execute();
        }
    }
    {
        fb::Statement outgoing(m_main, QStringLiteral("SELECT KAYNO,KURKOD FROM GIDEN"));
        fb::Statement route(m_main, QStringLiteral(
            "INSERT INTO EVBRM(TUR,EKAYNO,BKOD,ONAY) VALUES(:X0,:X1,:X2,:X3)"));
        outgoing.execute();
        while (outgoing.next()) {
            if (outgoing.value(1).toInt() <= 0)
                continue;
            route.bindAll({{"X0", 2}, {"X1", outgoing.value(0)}, {"X2", outgoing.value(1)},
                           {"X3", QStringLiteral("1")}});
            route.execute();
        }
    }
    m_main.execute(QStringLiteral("UPDATE TANIM SET VTSAKLA=:X0, SRVSAKLA=:X1, TRMSAKLA=:X2"),
                   {{"X0", QStringLiteral("E")}, {"X1", QStringLiteral("E")}, {"X2", QStringLiteral("E")}});
    if (!hasGenerator(m_main, QStringLiteral("GEN_BELKAYNO")))
        m_main.executeRaw(QStringLiteral("CREATE GENERATOR \"GEN_BELKAYNO\""));
    numberAttachments();
}

void SchemaUpgrade::numberAttachments()
{
    int counter = 1;
    for (const char *name : {"GELTEXT", "GIDTEXT", "ARSTEXT", "DILTEXT"}) {
        const QString table = QLatin1String(name);
        fb::Statement rows(m_main, QStringLiteral("SELECT KAYNO,SIRNO FROM %1\nORDER BY KAYNO,SIRNO").arg(table));
        fb::Statement update(m_main, QStringLiteral("UPDATE %1 SET BELKAYNO=:X\nWHERE KAYNO=:KN AND SIRNO=:SN")
                                         .arg(table));
        rows.execute();
        while (rows.next()) {
            update.bindAll({{"X", counter}, {"KN", rows.value(0)}, {"SN", rows.value(1)}});
            update.execute();
            ++counter;
        }
    }
    // Transactional in Firebird 3: it is committed with the numbers it follows.
    m_main.executeRaw(QStringLiteral("SET GENERATOR GEN_BELKAYNO TO %1").arg(counter));
}

bool SchemaUpgrade::VER16001()
{
    std::vector<Ddl> ddl;
    for (const char *table : {"GELEN", "GIDEN", "DILEKCE"}) {
        ddl.push_back({Ddl::AlterTable, QLatin1String(table),
                       {QStringLiteral("ADD CEVTAR DATE"), QStringLiteral("ADD KRMSURE SMALLINT")}});
    }
    ddl.push_back({Ddl::AlterTable, QStringLiteral("ARSIV"), {QStringLiteral("ADD KRMSURE SMALLINT")}});
    ddl.push_back({Ddl::AlterTable, QStringLiteral("SDP"), {QStringLiteral("ADD KRMSURE SMALLINT")}});
    ddl.push_back({Ddl::AlterTable, QStringLiteral("BIRIM"),
                   {QStringLiteral("ADD ADRES VARCHAR(60)"), QStringLiteral("ADD TEL1 VARCHAR(15)"),
                    QStringLiteral("ADD TEL2 VARCHAR(15)"), QStringLiteral("ADD FAKS VARCHAR(15)"),
                    QStringLiteral("ADD ILKOD VARCHAR(2)"), QStringLiteral("ADD ILCEKOD VARCHAR(5)"),
                    QStringLiteral("ADD KTKOD SMALLINT")}});
    ddl.push_back({Ddl::CreateTable, QStringLiteral("KURTIP"),
                   {QStringLiteral("CREATE TABLE KURTIP("), QStringLiteral("KTKOD SMALLINT NOT NULL,"),
                    QStringLiteral("KURTIP VARCHAR(30),"), QStringLiteral("PRIMARY KEY(KTKOD))")}});
    // A database that never had the old staff table is no reason to fail.
    ddl.push_back({Ddl::DropTable, QStringLiteral("PERSONEL"), {}});
    ddl.push_back({Ddl::CreateTable, QStringLiteral("PERSONEL"),
                   {QStringLiteral("CREATE TABLE PERSONEL("), QStringLiteral("PKOD INTEGER NOT NULL,"),
                    QStringLiteral("AKTIF VARCHAR(1),"), QStringLiteral("USERHNO SMALLINT,"),
                    QStringLiteral("ADI VARCHAR(20),"), QStringLiteral("SOYADI VARCHAR(20),"),
                    QStringLiteral("TCKNO VARCHAR(12),"), QStringLiteral("UNVAN VARCHAR(30),"),
                    QStringLiteral("EMAIL VARCHAR(50),"), QStringLiteral("IPNO VARCHAR(15),"),
                    QStringLiteral("MACNO VARCHAR(20),"), QStringLiteral("BKOD SMALLINT,"),
                    QStringLiteral("TEL1 VARCHAR(20),"), QStringLiteral("TEL2 VARCHAR(20),"),
                    QStringLiteral("ADRES VARCHAR(60),"),
                    QStringLiteral("FOTO\tBLOB SUB_TYPE 0 SEGMENT SIZE 80,"),
                    QStringLiteral("PRIMARY KEY(PKOD))")}});
    ddl.push_back(archiveAttributesTable());
    ddl.push_back(deadlineSettings());
    if (!runStep(QStringLiteral("16.001"), ddl, [this] { insertBodyTypes(); }))
        return false;
    addIndexesQuietly();
    m_prompt.message(QStringLiteral("16.001 Güncellemesi Başarıyla Yapıldı."));
    return true;
}

SchemaUpgrade::Ddl SchemaUpgrade::archiveAttributesTable()
{
    // Added within 16.001 after databases were stamped with it: older
    // workstations never read it, so it needs no version of its own.
    return {Ddl::CreateTable, QStringLiteral("ARSEKBILGI"),
            {QStringLiteral("CREATE TABLE ARSEKBILGI("), QStringLiteral("ARSKAYNO INTEGER NOT NULL,"),
             QStringLiteral("SIRA SMALLINT NOT NULL,"), QStringLiteral("DEGER VARCHAR(100),"),
             QStringLiteral("PRIMARY KEY(ARSKAYNO,SIRA))")}};
}

SchemaUpgrade::Ddl SchemaUpgrade::deadlineSettings()
{
    // The reply-deadline settings, added within 16.001 like ARSEKBILGI;
    // older workstations read TANIM by name and never see them.
    return {Ddl::AlterTable, QStringLiteral("TANIM"),
            {QStringLiteral("ADD CEVSURE SMALLINT"), QStringLiteral("ADD CEVYAKIN SMALLINT")}};
}

void SchemaUpgrade::addMissingTables()
{
    try {
        runDdl(archiveAttributesTable());
        m_main.commitRetaining();
    } catch (const fb::Error &e) {
        // The program still works; only what needs the table fails, with its message.
        rollbackQuietly(m_main);
        m_prompt.error(QStringLiteral("DİKKAT! Arşiv ek bilgi tablosu oluşturulamadı."), e.details());
    }
    // Without them the deadlines go by their defaults.
    try {
        runDdl(deadlineSettings());
        m_main.commitRetaining();
    } catch (const fb::Error &) {
        rollbackQuietly(m_main);
    }
}

void SchemaUpgrade::insertBodyTypes()
{
    for (const char *values : {"VALUES (1,'BAKANLIK')", "VALUES (2,'GENEL MÜDÜRLÜK')", "VALUES (3,'VALİLİK')",
                               "VALUES (4,'KAYMAKAMLIK')", "VALUES (5,'BELEDİYE')",
                               "VALUES (6,'TİCARİ KURUM')"}) {
        m_main.execute(QStringLiteral("INSERT INTO KURTIP(KTKOD,KURTIP)\n") + QString::fromUtf8(values));
    }
}
