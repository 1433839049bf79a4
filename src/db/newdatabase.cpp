#include "newdatabase.h"

#include "csv.h"
#include "schema.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "core/sifrele.h"

#include <QFile>
#include <QFileInfo>

namespace newdb {

namespace {

QList<QStringList> readResource(const QString &name)
{
    QFile f(QStringLiteral(":/masterdata/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Ana veri dosyası okunamadı: %1").arg(name));
    QList<QStringList> rows = parseCsv(QString::fromUtf8(f.readAll()));
    if (!rows.isEmpty())
        rows.removeFirst(); // header
    return rows;
}

QVariant orNull(const QString &s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

void refuseExisting(const fb::ConnectOptions &options)
{
    if (hostOf(options.database).isEmpty() && QFileInfo::exists(options.database)) {
        throw fb::Error(QStringLiteral("DİKKAT! %1 zaten var. Var olan veritabanının üzerine "
                                       "yazılmaz; başka bir ad verin ya da eskisini kendiniz "
                                       "taşıyın.").arg(options.database));
    }
}

} // namespace

const QList<int> &screenCodes()
{
    static const QList<int> codes = {1, 2, 3, 4, 5, 6, 11, 12, 13, 14, 15, 16,
                                     21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 50};
    return codes;
}

QString hostOf(const QString &databaseName)
{
    const qsizetype colon = databaseName.indexOf(u':');
    if (colon <= 0)
        return {};
    // "C:\..." or "C:/..." is a drive, not a host.
    if (colon == 1 && databaseName.size() > 2
        && (databaseName[2] == u'\\' || databaseName[2] == u'/'))
        return {};
    return databaseName.left(colon);
}

QString describeOpenError(const QString &databaseName, const QString &engineMessage,
                          bool fileInUse)
{
    if (fileInUse) {
        return QStringLiteral("DİKKAT! %1 başka bir program tarafından kullanılıyor "
                              "(KELMA açık olabilir). Önce o programı kapatın ya da "
                              "veritabanına sunucu üzerinden (sunucu:yol) bağlanın.")
            .arg(databaseName);
    }
    return QStringLiteral("DİKKAT! %1 açılamadı.\n%2").arg(databaseName, engineMessage);
}

void seedMain(fb::Transaction &t, const Progress &progress)
{
    auto step = [&](const QString &s) {
        if (progress)
            progress(s);
    };

    step(QStringLiteral("İller yükleniyor"));
    {
        fb::Statement ins(t, QStringLiteral("INSERT INTO IL (ILKOD, ILADI) VALUES (:K, :A)"));
        for (const QStringList &r : readResource(QStringLiteral("provinces.csv"))) {
            ins.bind(QStringLiteral("K"), r.value(0));
            ins.bind(QStringLiteral("A"), r.value(1));
            ins.execute();
        }
    }
    step(QStringLiteral("İlçeler yükleniyor"));
    {
        fb::Statement ins(t, QStringLiteral(
            "INSERT INTO ILCE (ILKOD, ILCEKOD, ILCE) VALUES (:IL, :K, :A)"));
        for (const QStringList &r : readResource(QStringLiteral("districts.csv"))) {
            ins.bind(QStringLiteral("IL"), r.value(0));
            ins.bind(QStringLiteral("K"), r.value(1).toInt());
            ins.bind(QStringLiteral("A"), r.value(2));
            ins.execute();
        }
    }
    step(QStringLiteral("Standart dosya planı yükleniyor"));
    {
        fb::Statement ins(t, QStringLiteral(
            "INSERT INTO SDP (KOD, ACIK, KRMSURE, TUR) VALUES (:K, :A, :S, :T)"));
        for (const QStringList &r : readResource(QStringLiteral("file_plan.csv"))) {
            ins.bind(QStringLiteral("K"), r.value(0));
            ins.bind(QStringLiteral("A"), r.value(1));
            ins.bind(QStringLiteral("S"), r.value(2).isEmpty() ? QVariant() : QVariant(r.value(2).toInt()));
            ins.bind(QStringLiteral("T"), orNull(r.value(3)));
            ins.execute();
        }
    }

    step(QStringLiteral("Tanımlar yazılıyor"));
    t.execute(QStringLiteral("INSERT INTO EVTUR (ETKOD, EVTUR) VALUES (1, :A)"),
              {{"A", QStringLiteral("GENEL EVRAK")}});
    t.execute(QStringLiteral("INSERT INTO EVTUR (ETKOD, EVTUR) VALUES (2, :A)"),
              {{"A", QStringLiteral("DİLEKÇE")}});
    const QStringList bodyTypes = {
        QStringLiteral("BAKANLIK"), QStringLiteral("GENEL MÜDÜRLÜK"), QStringLiteral("VALİLİK"),
        QStringLiteral("KAYMAKAMLIK"), QStringLiteral("BELEDİYE"), QStringLiteral("TİCARİ KURUM")};
    for (int i = 0; i < bodyTypes.size(); ++i) {
        t.execute(QStringLiteral("INSERT INTO KURTIP (KTKOD, KURTIP) VALUES (:K, :A)"),
                  {{"K", i + 1}, {"A", bodyTypes[i]}});
    }
    const QStringList sections = {
        QStringLiteral("İDARİ EVRAK"), QStringLiteral("MALİ EVRAK"),
        QStringLiteral("TEKNİK EVRAK"), QStringLiteral("HUKUKİ EVRAK"),
        QStringLiteral("PERSONEL EVRAKI")};
    for (int i = 0; i < sections.size(); ++i) {
        t.execute(QStringLiteral("INSERT INTO ECTUR (ECTUR, ETURADI) VALUES (:K, :A)"),
                  {{"K", i + 1}, {"A", sections[i]}});
    }

    t.execute(QStringLiteral(
        "INSERT INTO USERS (USR, HNO, PSSWD, ACIK, ACIK1, OZEL) VALUES (:U, 1, :P, :A, :A1, 0)"),
        {{"U", QString::fromLatin1(kFirstUser)},
         {"P", SIFRELE(u'1', QString::fromLatin1(kFirstPassword))},
         {"A", QStringLiteral("Sistem Yöneticisi")}, {"A1", QStringLiteral("Yönetici")}});
    {
        fb::Statement ins(t, QStringLiteral(
            "INSERT INTO RIGHTS (HNO, KOD, G, K, D, S) VALUES (1, :K, 'E', 'E', 'E', 'E')"));
        for (int code : screenCodes()) {
            ins.bind(QStringLiteral("K"), code);
            ins.execute();
        }
    }

    // A single workstation keeps attachments in the yearly database; the file
    // server and the local folder are switched on by the administrator.
    t.execute(QStringLiteral(
        "INSERT INTO TANIM (KURUM, SUBE, ILKOD, ILCEKOD, VER, UDUR, ONIZ, IZL, EMAIL, "
        "SRVIPNO, SRVPORT, MSVER, ESDUR, TEXTVT, SRVSAKLA, TRMSAKLA, VTSAKLA, ABT, CHSET, ONDUR) "
        "VALUES (:KURUM, '', NULL, NULL, :VER, '1', 'E', 'H', '', "
        "'127.0.0.1', '6569', '1', 'G', 'A', 'H', 'H', 'E', 0, '1', 'E')"),
        {{"KURUM", QStringLiteral("BELEDİYE BAŞKANLIĞI")},
         {"VER", schema::versionText(schema::kCurrentVersion)}});
}

void createMain(const fb::ConnectOptions &options, const fb::CreateOptions &create,
                const Progress &progress)
{
    refuseExisting(options);
    fb::Attachment a;
    if (progress)
        progress(QStringLiteral("Veritabanı dosyası oluşturuluyor"));
    a.create(options, create);
    try {
        if (progress)
            progress(QStringLiteral("Tablolar oluşturuluyor"));
        schema::createMain(a);
        fb::Transaction t(a);
        seedMain(t, progress);
        t.commit();
    } catch (...) {
        // A half-made database must not be mistaken for a usable one.
        try {
            a.drop();
        } catch (const fb::Error &) {
        }
        throw;
    }
    a.close();
}

void createYear(const fb::ConnectOptions &options, const fb::CreateOptions &create)
{
    refuseExisting(options);
    fb::ConnectOptions o = options;
    fb::Attachment a;
    a.create(o, create);
    try {
        schema::createYear(a);
    } catch (...) {
        try {
            a.drop();
        } catch (const fb::Error &) {
        }
        throw;
    }
    a.close();
}

} // namespace newdb
