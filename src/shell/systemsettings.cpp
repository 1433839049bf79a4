#include "systemsettings.h"

#include "core/session.h"
#include "startup.h"
#include "core/workstation.h"

#include "db/fb/error.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace systemsettings {

QString fullName(const QString &host, const QString &folder)
{
    return workstation::mainDatabaseName(host, folder);
}

QString save(Session &s, const QString &host, const QString &folder)
{
    const QString name = fullName(host, folder);
    if (host.isEmpty()) {
        if (!QDir(folder).exists())
            return QStringLiteral("DİKKAT! Veritabanı Yolu Bulunamadı..!");
        if (!QFileInfo::exists(name))
            return QStringLiteral("DİKKAT! Veritabanı Dosyası Bulunamadı..!");
    }
    try {
        // Tried on a connection of its own first, so that a wrong place never
        // costs the run the database it is working on.
        fb::Attachment probe;
        probe.open(Connections::login(name, QStringLiteral("WIN1254"), s.db.credentials));
        fb::Transaction t(probe);
        const bool kelma = t.value(QStringLiteral(
            "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='TANIM'")).toInt() > 0
            && t.value(QStringLiteral("SELECT COUNT(*) FROM TANIM")).toInt() > 0;
        t.rollback();
        probe.close();
        if (!kelma)
            return QStringLiteral("Veritabanı Tanımlarında Hata Var");
        if (startup::openMain(s, name) != startup::DatabaseState::Ok)
            return QStringLiteral("Veritabanı Tanımlarında Hata Var");
    } catch (const fb::Error &) {
        return QStringLiteral("Veritabanı Tanımlarında Hata Var");
    }
    std::unique_ptr<QSettings> store = s.store();
    store->setValue(QStringLiteral("SRV"), host);
    store->setValue(QStringLiteral("YOL"), folder);
    store->sync();
    // The attachment databases live beside the main one: follow the new place.
    s.workstation.host = host;
    s.workstation.folder = folder;
    s.connectionFailed = false;
    return {};
}

} // namespace systemsettings
