#include "checks.h"

#include "db/fb/attachment.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"

#include <QDate>

#include <vector>

ConsistencyChecks::ConsistencyChecks(fb::Attachment &main, Log log, Progress progress)
    : m_main(main)
    , m_log(std::move(log))
    , m_progress(std::move(progress))
{
}

void ConsistencyChecks::repairGenerators()
{
    // A vector, not an initializer_list: the lists must outlive this statement.
    struct Repair
    {
        const char *generator;
        std::vector<const char *> highest;
    };
    static const std::vector<Repair> kGenerators = {
        {"GEN_ARSKAYNO", {"SELECT MAX(KAYNO) YNO FROM ARSIV"}},
        {"GEN_GELKAYNO", {"SELECT MAX(KAYNO) YNO FROM GELEN"}},
        {"GEN_GIDKAYNO", {"SELECT MAX(KAYNO) YNO FROM GIDEN"}},
        {"GEN_DILKAYNO", {"SELECT MAX(KAYNO) YNO FROM DILEKCE"}},
        {"GEN_BKOD", {"SELECT MAX(BKOD) YNO FROM BIRIM"}},
        {"GEN_BELKAYNO", {"SELECT MAX(BELKAYNO) YNO FROM GELTEXT", "SELECT MAX(BELKAYNO) YNO FROM GIDTEXT",
                          "SELECT MAX(BELKAYNO) YNO FROM DILTEXT", "SELECT MAX(BELKAYNO) YNO FROM ARSTEXT"}},
    };
    fb::Transaction work(m_main);
    for (const auto &g : kGenerators) {
        const QString name = QLatin1String(g.generator);
        qint64 highest = 0; // an empty table counts as 0
        for (const char *sql : g.highest)
            highest = std::max(highest, work.value(QLatin1String(sql)).toLongLong());
        const qint64 current = work.value(
            QStringLiteral("SELECT GEN_ID(%1,0) FROM RDB$DATABASE").arg(name)).toLongLong();
        if (highest <= current) {
            m_log(QStringLiteral("%1 %2 (en yüksek kayıt %3): değiştirilmedi.").arg(name).arg(current).arg(highest));
            continue;
        }
        // An increment rather than SET GENERATOR: it takes effect at once, and a
        // key drawn meanwhile by another workstation cannot make it go back.
        const qint64 now = work.value(QStringLiteral("SELECT GEN_ID(%1,%2) FROM RDB$DATABASE")
                                          .arg(name).arg(highest - current)).toLongLong();
        m_log(QStringLiteral("%1 %2 → %3 olarak düzeltildi.").arg(name).arg(current).arg(now));
    }
    work.commit();
    m_log(QStringLiteral("Generatör Kontrol&Düzeltme İşlemi Sona Erdi.."));
}

void ConsistencyChecks::completeRights()
{
    m_log(QStringLiteral("İşlem uzun sürebilir, Lütfen Bekleyiniz... "));
    fb::Transaction work(m_main);
    fb::Statement insert(work, QStringLiteral("INSERT INTO RIGHTS(HNO,KOD,G,K,D,S)\n"
                                              "VALUES(:X0,:X1,:X2,:X3,:X4,:X5)"));
    const QString yes = QStringLiteral("E");
    const QString no = QStringLiteral("H");
    {
        fb::Statement find(work, QStringLiteral("SELECT KOD FROM RIGHTS\nWHERE HNO=1 AND KOD=:KD"));
        QList<int> codes;
        for (const auto &[from, to] : {std::pair{1, 6}, {11, 16}, {21, 30}}) {
            for (int code = from; code <= to; ++code)
                codes << code;
        }
        for (int code : codes) {
            find.bind(QStringLiteral("KD"), code);
            find.execute();
            if (find.next())
                continue;
            insert.bindAll({{"X0", 1}, {"X1", code}, {"X2", yes}, {"X3", yes}, {"X4", yes}, {"X5", yes}});
            insert.execute();
        }
    }

    QList<int> adminCodes;
    for (const QVariantList &row : work.rows(QStringLiteral(
             "SELECT HNO,KOD FROM RIGHTS\nWHERE HNO=1 AND KOD BETWEEN 1 AND 100\nORDER BY HNO,KOD")))
        adminCodes << row.value(1).toInt();
    QList<int> users;
    for (const QVariantList &row : work.rows(QStringLiteral("SELECT HNO FROM USERS WHERE HNO>1 ORDER BY HNO ")))
        users << row.value(0).toInt();

    fb::Statement find(work, QStringLiteral("SELECT KOD FROM RIGHTS WHERE HNO=:HN AND KOD=:KD"));
    const int total = static_cast<int>(adminCodes.size());
    if (m_progress)
        m_progress(0, total);
    for (int i = 0; i < total; ++i) {
        for (int user : users) {
            find.bindAll({{"HN", user}, {"KD", adminCodes[i]}});
            find.execute();
            if (find.next())
                continue;
            insert.bindAll({{"X0", user}, {"X1", adminCodes[i]}, {"X2", yes}, {"X3", no}, {"X4", yes}, {"X5", no}});
            insert.execute();
        }
        if (m_progress)
            m_progress(i + 1, total);
    }
    work.commit();
    m_log(QStringLiteral("Kullancı Hakları Kontrol Edildi."));
}

void ConsistencyChecks::reportEmptyAttachments()
{
    static const struct
    {
        const char *attachments;
        const char *registerTable;
        const char *date;
        const char *number;
        const char *suffix;
    } kRegisters[] = {
        {"GELTEXT", "GELEN", "GELTAR", "GELNO", " Sıra Nolu Gelen Evrak Belgesi Boş"},
        {"GIDTEXT", "GIDEN", "GIDTAR", "GIDNO", " Sıra Nolu Giden Evrak Belgesi Boş"},
        {"DILTEXT", "DILEKCE", "GELTAR", "DILNO", " Sıra Nolu Dilekçe Belgesi Boş"},
        {"ARSTEXT", "ARSIV", "ARSTAR", "ARSNO", " Sıra Nolu Arşiv Belgesi Boş"},
    };
    m_log(QStringLiteral("Kontrol İşlemi Başladı.."));
    fb::TransactionOptions readOnly;
    readOnly.readOnly = true;
    fb::Transaction read(m_main, readOnly);
    for (const auto &r : kRegisters) {
        // KAYNO is in both tables: the attachment row's is meant.
        const QString sql = QStringLiteral("SELECT GT.KAYNO,%1,%2,SIRNO FROM %3 GT\n"
                                           "LEFT JOIN %4 G ON G.KAYNO=GT.KAYNO\n"
                                           "WHERE METIN IS NULL\n"
                                           "ORDER BY GT.KAYNO,GT.SIRNO")
                                .arg(QLatin1String(r.date), QLatin1String(r.number),
                                     QLatin1String(r.attachments), QLatin1String(r.registerTable));
        fb::Statement rows(read, sql);
        rows.execute();
        while (rows.next()) {
            const QDate date = rows.value(1).toDate();
            const QVariant number = rows.value(2);
            m_log(date.toString(QStringLiteral("dd.MM.yyyy")) + u'/'
                  + (number.isNull() ? QString() : number.toString()) + QStringLiteral(" Tarih ve ")
                  + rows.value(3).toString() + QString::fromUtf8(r.suffix));
        }
    }
    m_log(QStringLiteral("Belge Kontrolleri Sona Erdi.."));
}
