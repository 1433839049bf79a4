#include "admin.h"

#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/newdatabase.h"

int createMainCommand(AdminContext &c)
{
    if (c.args.size() != 1) {
        c.err << "Kullanım: kelma-admin create VERİTABANI\n";
        return 2;
    }
    const QString db = c.args.first();
    newdb::createMain(c.connect(db), {}, [&](const QString &step) {
        c.out << step << "...\n";
        c.out.flush();
    });
    c.out << db << " oluşturuldu. İlk giriş: kullanıcı " << newdb::kFirstUser << ", şifre "
          << newdb::kFirstPassword << "\n";
    return 0;
}

int createYearCommand(AdminContext &c)
{
    if (c.args.size() != 1) {
        c.err << "Kullanım: kelma-admin create-year VERİTABANI\n";
        return 2;
    }
    const QString db = c.args.first();
    // Yearly databases are opened without a character set; their text is bytes.
    newdb::createYear(c.connect(db, QString()));
    c.out << db << " oluşturuldu.\n";
    return 0;
}

int infoCommand(AdminContext &c)
{
    if (c.args.size() != 1) {
        c.err << "Kullanım: kelma-admin info VERİTABANI\n";
        return 2;
    }
    fb::Attachment a;
    if (!c.open(a, c.args.first()))
        return 1;
    fb::Transaction t(a, {fb::TransactionOptions::Isolation::Snapshot, true});
    const QVariant version = t.value(QStringLiteral("SELECT FIRST 1 VER FROM TANIM"));
    c.out << "Sürüm: " << version.toString() << "\n";
    for (const char *table : {"GELEN", "GIDEN", "DILEKCE", "ARSIV", "BIRIM", "USERS", "SDP"}) {
        const QVariant n = t.value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
        c.out << table << ": " << n.toLongLong() << "\n";
    }
    return 0;
}
