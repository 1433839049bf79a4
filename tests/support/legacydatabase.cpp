#include "legacydatabase.h"

#include "tempdatabase.h"

#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/schema.h"

#include <QDate>

namespace legacy {

namespace {

QByteArray content(const char *name)
{
    // Recognisable bytes, including ones that are not text in any code page.
    return QByteArray(name) + QByteArray::fromHex("00ff10e2809c") + QByteArray(512, 'x');
}

QString valueText(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("∅");
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromLatin1(v.toByteArray().toHex());
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    return v.toString();
}

bool hasColumnAt(const schema::Table &table, int version, const QString &column)
{
    for (const schema::Column &c : schema::columnsAt(table, version)) {
        if (column == QLatin1String(c.name))
            return true;
    }
    return false;
}

const schema::Table *tableAt(const char *name, int version)
{
    for (const schema::Table &t : schema::mainTables()) {
        if (qstrcmp(t.name, name) == 0 && schema::exists(t.since, t.until, version))
            return &t;
    }
    return nullptr;
}

} // namespace

void insert(fb::Transaction &t, int version, const char *table, const QVariantMap &values)
{
    const schema::Table *layout = tableAt(table, version);
    if (!layout)
        return;
    QStringList columns, markers;
    fb::Params params;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (!hasColumnAt(*layout, version, it.key()))
            continue;
        columns << QStringLiteral("\"%1\"").arg(it.key());
        markers << u':' + it.key();
        params.insert(it.key(), it.value());
    }
    t.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(QLatin1String(table), columns.join(u','), markers.join(u',')),
              params);
}

void seed(fb::Transaction &t, int version, const QString &versionText)
{
    auto put = [&](const char *table, const QVariantMap &values) { insert(t, version, table, values); };
    const bool numbered = version >= 15001; // what 15.001 made of the rows

    put("TANIM", {{"KURUM", "ÇANKAYA BELEDİYE BAŞKANLIĞI"}, {"SUBE", "YAZI İŞLERİ MÜDÜRLÜĞÜ"},
                  {"ILKOD", "06"}, {"ILCEKOD", 1}, {"VER", versionText}, {"UDUR", "1"},
                  {"ONIZ", "E"}, {"IZL", "H"}, {"EMAIL", "yazi@cankaya.bel.tr"},
                  {"YERSAK", "E"}, {"MEDYER", "\\\\SUNUCU\\BELGELER\\ARŞİV"},
                  {"SRVIPNO", "192.168.1.10"}, {"SRVPORT", "6569"}, {"MSVER", "3"}, {"ESDUR", "G"},
                  {"TEXTVT", "H"}, {"SRVSAKLA", "E"}, {"TRMSAKLA", "E"}, {"VTSAKLA", "E"},
                  {"ABT", 0}, {"ONDUR", "E"}});

    put("USERS", {{"USR", "ZIRVO"}, {"HNO", 1}, {"PSSWD", "_VQZ\\"}, {"ACIK", "Sistem Yöneticisi"},
                  {"ACIK1", "Yönetici"}, {"OZEL", 0}});
    put("USERS", {{"USR", "ayşe"}, {"HNO", 2}, {"PSSWD", "ÇĞİŞÜ"}, {"ACIK", "Ayşe Yılmaz"},
                  {"ACIK1", "Şef"}, {"OZEL", 1}});
    put("USERS", {{"USR", "ığdır"}, {"HNO", 3}, {"PSSWD", "ÖÇŞİĞ"}, {"ACIK", "İsmail Güneş"},
                  {"ACIK1", "Memur"}, {"OZEL", 2}});
    QList<int> adminCodes;
    for (int code = 1; code <= 5; ++code)
        adminCodes << code;
    for (int code = 11; code <= 16; ++code)
        adminCodes << code;
    for (int code = 21; code <= 27; ++code)
        adminCodes << code;
    if (numbered)
        adminCodes << 6;
    for (int code : adminCodes)
        put("RIGHTS", {{"HNO", 1}, {"KOD", code}, {"G", "E"}, {"K", "E"}, {"D", "E"}, {"S", "E"}});
    for (int code : {1, 2})
        put("RIGHTS", {{"HNO", 2}, {"KOD", code}, {"G", "E"}, {"K", "E"}, {"D", "H"}, {"S", "H"}});

    put("BIRIM", {{"BKOD", 1}, {"BIRIM", "YAZI İŞLERİ MÜDÜRLÜĞÜ"}, {"TUR", "B"},
                  {"YETKILI", "Gülşen Çiftçi"}, {"UNVAN", "Müdür"}, {"KODU", "YİM"}});
    put("BIRIM", {{"BKOD", 2}, {"BIRIM", "İMAR VE ŞEHİRCİLİK MÜDÜRLÜĞÜ"}, {"TUR", "B"},
                  {"YETKILI", "Oğuz Işık"}, {"UNVAN", "Müdür"}, {"KODU", "İMAR"}});
    put("BIRIM", {{"BKOD", 3}, {"BIRIM", "ÇEVRE VE ŞEHİRCİLİK BAKANLIĞI"}, {"TUR", "K"},
                  {"GTUR", numbered ? QVariant("K") : QVariant()}, {"EMAIL", "bilgi@csb.gov.tr"}});
    put("BIRIM", {{"BKOD", 4}, {"BIRIM", "ANKARA VALİLİĞİ"}, {"TUR", "K"},
                  {"GTUR", numbered ? QVariant("K") : QVariant()}});

    put("GELEN", {{"KAYNO", 10}, {"GELNO", 1}, {"GELTAR", QDate(2012, 3, 5)},
                  {"EVSAY", "B.14.0.İŞL.0.06/2012-145"}, {"EVTAR", QDate(2012, 3, 1)},
                  {"KONU", "Şehir içi ulaşım düzenlemesi hakkında görüş"}, {"BIRKOD", 1},
                  {"KURKOD", 3}, {"ZDUR", "D"}, {"GIZDER", "Ö"}, {"TESADI", "Şükrü Öztürk"},
                  {"TESGOR", "Müdür"}, {"CEVDUR", "H"}, {"BSIRNO", 11}, {"SDP", "010.01"},
                  {"GSEKLI", "P"}, {"ETKOD", 1}, {"USR", "ZIRVO"}});
    put("GELEN", {{"KAYNO", 15}, {"GELNO", 2}, {"GELTAR", QDate(2012, 3, 7)},
                  {"EVSAY", "2012/ÇŞB-77"}, {"KONU", "Iğdır ili ağaçlandırma çalışması"},
                  {"BIRKOD", 2}, {"KURKOD", 4}, {"ZDUR", "İ"}, {"GIZDER", "Ç"},
                  {"TESADI", "İlknur Çağlayan"}, {"TESGOR", "Şef"}, {"BSIRNO", 12}});
    put("GELEN", {{"KAYNO", 20}, {"GELNO", 3}, {"GELTAR", QDate(2012, 4, 2)},
                  {"KONU", "Dağıtımı yapılmamış evrak"}, {"BIRKOD", 0}, {"KURKOD", 3}});

    put("GIDEN", {{"KAYNO", 7}, {"GIDNO", 1}, {"GIDTAR", QDate(2012, 3, 9)},
                  {"KONU", "Görüş yazısı (ğüşıöç ĞÜŞİÖÇ)"}, {"BIRKOD", 1}, {"KURKOD", 3},
                  {"TESADI", "Gülşen Çiftçi"}, {"ILGNO", 10}, {"ILGDUR", "G"}});
    put("GIDEN", {{"KAYNO", 8}, {"GIDNO", 2}, {"GIDTAR", QDate(2012, 3, 12)},
                  {"KONU", "İç genelge"}, {"BIRKOD", 2}, {"KURKOD", 0}});
    put("GIDEN", {{"KAYNO", 9}, {"GIDNO", 3}, {"GIDTAR", QDate(2012, 3, 14)},
                  {"KONU", "Valilik makamına cevap"}, {"BIRKOD", 1}, {"KURKOD", 4}});

    put("DILEKCE", {{"KAYNO", 3}, {"DILNO", 1}, {"DILTAR", QDate(2012, 3, 6)},
                    {"GELTAR", QDate(2012, 3, 6)}, {"ADI", "Ömer"}, {"SOYADI", "Işıkoğlu"},
                    {"ADRES", "Çiçek Sok. No:5 Ümitköy"}, {"TCKNO", "12345678901"},
                    {"KONU", "Kaldırım onarımı isteği"}, {"BIRKOD", 2}});
    put("ARSIV", {{"KAYNO", 4}, {"ARSNO", 1}, {"ARSTAR", QDate(2012, 5, 2)},
                  {"KONU", "Eski imar paftaları"}, {"YETADI", "Gönül Şahin"}, {"BIRKOD", 2}});

    auto attachment = [&](const char *table, const char *prefix, int key, int number,
                          const char *kind, bool withContent, const char *extension, int belkayno,
                          const char *description) {
        put(table, {{"KAYNO", key}, {"SIRNO", number}, {"TUR", number == 1 ? "A" : "E"},
                    {"ACIK", description},
                    {"METIN", withContent ? QVariant(content(description)) : QVariant()},
                    {"BELTUR", kind},
                    {"DOSYA", extension ? QVariant(QStringLiteral("%1%2_%3%4").arg(QLatin1String(prefix))
                                                       .arg(key).arg(number).arg(QLatin1String(extension)))
                                        : QVariant()},
                    {"BELKAYNO", numbered ? QVariant(belkayno) : QVariant()}});
    };
    attachment("GELTEXT", "GEL_", 10, 1, "1", true, ".JPG", 1, "Asıl belge");
    attachment("GELTEXT", "GEL_", 15, 1, "2", false, nullptr, 2, "Ek: çizim");
    attachment("GELTEXT", "GEL_", 15, 2, "4", true, ".PDF", 3, "Ek: şartname");
    attachment("GIDTEXT", "GID_", 7, 1, "5", true, ".DOC", 4, "Yazı");
    attachment("GIDTEXT", "GID_", 9, 1, "6", true, ".XLS", 5, "Dağıtım çizelgesi");
    attachment("ARSTEXT", "ARS_", 4, 1, "3", false, nullptr, 6, "Pafta");

    if (numbered) {
        put("EVBRM", {{"TUR", 1}, {"EKAYNO", 10}, {"BKOD", 1}, {"TESADI", "Şükrü Öztürk"},
                      {"TESGOR", "Müdür"}, {"BSIRNO", 11}, {"ONAY", "1"}});
        put("EVBRM", {{"TUR", 1}, {"EKAYNO", 15}, {"BKOD", 2}, {"TESADI", "İlknur Çağlayan"},
                      {"TESGOR", "Şef"}, {"BSIRNO", 12}, {"ONAY", "1"}});
        put("EVBRM", {{"TUR", 2}, {"EKAYNO", 7}, {"BKOD", 3}, {"ONAY", "1"}});
        put("EVBRM", {{"TUR", 2}, {"EKAYNO", 9}, {"BKOD", 4}, {"ONAY", "1"}});
        put("EVTUR", {{"ETKOD", 1}, {"EVTUR", "GENEL EVRAK"}});
        put("EVTUR", {{"ETKOD", 2}, {"EVTUR", "DİLEKÇE"}});
    }

    put("SDP", {{"KOD", "010"}, {"ACIK", "Genel İşler"}});
    put("SDP", {{"KOD", "010.01"}, {"ACIK", "Yazışmalar, görüşler"}, {"TUR", "D"}});
    put("IL", {{"ILKOD", "06"}, {"ILADI", "ANKARA"}});
    put("IL", {{"ILKOD", "34"}, {"ILADI", "İSTANBUL"}});
    put("ILCE", {{"ILKOD", "06"}, {"ILCEKOD", 1}, {"ILCE", "ÇANKAYA"}});
    put("ECTUR", {{"ECTUR", 1}, {"ETURADI", "İDARİ EVRAK"}});
    put("ECINS", {{"ECKOD", 1}, {"ECINS", "Şartname"}, {"ECTUR", 1}});
    put("ECTAN", {{"ECKOD", 1}, {"SIRNO", 1}, {"TUR", "K"}, {"ECTAN", "İhale no"}});
    put("ORNEK", {{"NO", 1}, {"TUR", "1"}, {"ACIK", "Örnek üst yazı"},
                  {"ORNEK", "Sayın İlgili,\nGereğini rica ederim. Şükrü Öztürk"}});
    put("SABLON", {{"KAYNO", 1}, {"ACIK", "Üst yazı şablonu"}, {"METIN", content("Şablon")}});
    put("PERSONEL", {{"PKOD", 1}, {"ADI", "Mehmet"}, {"SOYADI", "Çağlar"}, {"UNVAN", "Şoför"}});

    const QList<std::pair<const char *, int>> generators = {
        {"GEN_GELKAYNO", 20}, {"GEN_GIDKAYNO", 9}, {"GEN_DILKAYNO", 3}, {"GEN_ARSKAYNO", 4},
        {"GEN_BKOD", 4}, {"GEN_GELNO", 3}, {"GEN_GIDNO", 3}, {"GEN_DILNO", 1}, {"GEN_ARSNO", 1}};
    for (const auto &[name, value] : generators)
        t.executeRaw(QStringLiteral("SET GENERATOR %1 TO %2").arg(QLatin1String(name)).arg(value));
    if (numbered)
        t.executeRaw(QStringLiteral("SET GENERATOR GEN_BELKAYNO TO 7"));
}

void seedBulk(fb::Transaction &t, int incoming, int attachments)
{
    const int firstKey = 1000;
    fb::Statement doc(t, QStringLiteral(
        "INSERT INTO GELEN (KAYNO, GELNO, GELTAR, EVSAY, KONU, BIRKOD, KURKOD, TESADI, TESGOR, BSIRNO) "
        "VALUES (:K, :N, :D, :E, :KONU, :B, 3, :TA, :TG, :BS)"));
    for (int i = 0; i < incoming; ++i) {
        doc.bindAll({{"K", firstKey + i}, {"N", 100 + i}, {"D", QDate(2012, 1, 1).addDays(i % 360)},
                     {"E", QStringLiteral("B.14.0.İŞL/%1").arg(i)},
                     {"KONU", QStringLiteral("Toplu kayıt %1: şehir içi ulaşım, ağaçlandırma, İmar").arg(i)},
                     {"B", i % 3}, {"TA", QStringLiteral("Şükrü Öztürk")}, {"TG", QStringLiteral("Müdür")},
                     {"BS", i}});
        doc.execute();
    }
    fb::Statement att(t, QStringLiteral(
        "INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, ACIK, METIN, BELTUR) VALUES (:K, :S, :T, :A, :M, :B)"));
    const QByteArray bytes = content("Toplu");
    const char *kinds[] = {"1", "4", "5", "6", "2"};
    for (int i = 0; i < attachments; ++i) {
        const int number = i / incoming + 1;
        att.bindAll({{"K", firstKey + i % incoming}, {"S", number}, {"T", number == 1 ? "A" : "E"},
                     {"A", QStringLiteral("Ek belge çizim %1").arg(i)}, {"M", bytes},
                     {"B", QLatin1String(kinds[i % 5])}});
        att.execute();
    }
    t.executeRaw(QStringLiteral("SET GENERATOR GEN_GELKAYNO TO %1").arg(firstKey + incoming - 1));
}

void create(TempDatabase &db, fb::Attachment &attachment, int version, const QString &defaultCharset)
{
    db.createEmpty(attachment, defaultCharset);
    schema::createMain(attachment, version);
    fb::Transaction t(attachment);
    seed(t, version, schema::versionText(version));
    // Marked for a WIN1254 connection as the administrator does when the columns are WIN1254.
    if (version >= 15001 && defaultCharset == QLatin1String("WIN1254"))
        t.execute(QStringLiteral("UPDATE TANIM SET CHSET='1'"));
    t.commit();
}

QList<TextProbe> textProbes()
{
    return {
        {QStringLiteral("SELECT KONU FROM GELEN WHERE KAYNO=10"),
         QStringLiteral("Şehir içi ulaşım düzenlemesi hakkında görüş")},
        {QStringLiteral("SELECT KONU FROM GELEN WHERE KAYNO=15"), QStringLiteral("Iğdır ili ağaçlandırma çalışması")},
        {QStringLiteral("SELECT KONU FROM GIDEN WHERE KAYNO=7"), QStringLiteral("Görüş yazısı (ğüşıöç ĞÜŞİÖÇ)")},
        {QStringLiteral("SELECT SOYADI FROM DILEKCE WHERE KAYNO=3"), QStringLiteral("Işıkoğlu")},
        {QStringLiteral("SELECT BIRIM FROM BIRIM WHERE BKOD=3"), QStringLiteral("ÇEVRE VE ŞEHİRCİLİK BAKANLIĞI")},
        {QStringLiteral("SELECT USR FROM USERS WHERE HNO=3"), QStringLiteral("ığdır")},
        {QStringLiteral("SELECT KURUM FROM TANIM"), QStringLiteral("ÇANKAYA BELEDİYE BAŞKANLIĞI")},
        {QStringLiteral("SELECT ORNEK FROM ORNEK WHERE \"NO\"=1"),
         QStringLiteral("Sayın İlgili,\nGereğini rica ederim. Şükrü Öztürk")},
    };
}

QMap<QString, QStringList> describe(fb::Transaction &t)
{
    QMap<QString, QStringList> out;
    const auto columns = t.rows(QStringLiteral(
        "SELECT TRIM(RF.RDB$RELATION_NAME), TRIM(RF.RDB$FIELD_NAME), F.RDB$FIELD_TYPE, "
        "F.RDB$FIELD_SUB_TYPE, COALESCE(F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_LENGTH), "
        "COALESCE(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0) "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
        "WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0 AND R.RDB$VIEW_BLR IS NULL"));
    for (const QVariantList &r : columns) {
        QString entry = QStringLiteral("%1 type %2.%3 length %4").arg(r[1].toString()).arg(r[2].toInt())
                            .arg(r[3].toInt()).arg(r[4].toInt());
        if (r[5].toInt())
            entry += QLatin1String(" NN");
        out[r[0].toString()] << entry;
    }
    for (auto it = out.begin(); it != out.end(); ++it) {
        QStringList key;
        for (const QVariantList &r : t.rows(QStringLiteral(
                 "SELECT TRIM(S.RDB$FIELD_NAME) FROM RDB$RELATION_CONSTRAINTS C "
                 "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME "
                 "WHERE C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' AND C.RDB$RELATION_NAME = :T "
                 "ORDER BY S.RDB$FIELD_POSITION"), {{"T", it.key()}}))
            key << r[0].toString();
        it.value().sort();
        if (!key.isEmpty())
            it.value() << QStringLiteral("PRIMARY KEY(%1)").arg(key.join(u','));
    }
    // Indexes of our own (not those behind keys), listed with their table.
    for (const QVariantList &r : t.rows(QStringLiteral(
             "SELECT TRIM(I.RDB$RELATION_NAME), TRIM(I.RDB$INDEX_NAME), COALESCE(I.RDB$INDEX_TYPE, 0), "
             "I.RDB$EXPRESSION_SOURCE FROM RDB$INDICES I WHERE COALESCE(I.RDB$SYSTEM_FLAG, 0) = 0 "
             "AND NOT EXISTS (SELECT 1 FROM RDB$RELATION_CONSTRAINTS C WHERE C.RDB$INDEX_NAME = I.RDB$INDEX_NAME)"))) {
        QStringList segments;
        for (const QVariantList &s : t.rows(QStringLiteral(
                 "SELECT TRIM(RDB$FIELD_NAME) FROM RDB$INDEX_SEGMENTS WHERE RDB$INDEX_NAME = :I "
                 "ORDER BY RDB$FIELD_POSITION"), {{"I", r[1]}}))
            segments << s[0].toString();
        const QString on = segments.isEmpty() ? r[3].toString().simplified() : segments.join(u',');
        out[r[0].toString()] << QStringLiteral("INDEX %1 (%2)%3")
                                    .arg(r[1].toString(), on, r[2].toInt() ? QStringLiteral(" DESC") : QString());
    }
    QStringList generators;
    for (const QVariantList &r : t.rows(QStringLiteral(
             "SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0")))
        generators << r[0].toString();
    generators.sort();
    out[QStringLiteral("(generators)")] = generators;
    return out;
}

QMap<QString, QStringList> contents(fb::Transaction &t, int version)
{
    QMap<QString, QStringList> out;
    for (const schema::Table &table : schema::mainTables()) {
        if (!schema::exists(table.since, table.until, version) || qstrcmp(table.name, "PERSONEL") == 0)
            continue;
        const schema::Table *now = tableAt(table.name, schema::kCurrentVersion);
        QStringList columns;
        for (const schema::Column &c : schema::columnsAt(table, version)) {
            const QString name = QLatin1String(c.name);
            if (now && hasColumnAt(*now, schema::kCurrentVersion, name)
                && !(qstrcmp(table.name, "TANIM") == 0 && name == QLatin1String("VER")))
                columns << QStringLiteral("\"%1\"").arg(name);
        }
        QStringList key;
        for (const char *k : table.key)
            key << QStringLiteral("\"%1\"").arg(QLatin1String(k));
        QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u','), QLatin1String(table.name));
        if (!key.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + key.join(u',');
        QStringList rows;
        for (const QVariantList &r : t.rows(sql)) {
            QStringList values;
            for (const QVariant &v : r)
                values << valueText(v);
            rows << values.join(QLatin1String(" | "));
        }
        out[QLatin1String(table.name)] = rows;
    }
    return out;
}

} // namespace legacy
