#include "systemsettings.h"

#include "session.h"
#include "startup.h"
#include "workstation.h"

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
        // A file that opens but is not usable must not be stored as the location.
        if (startup::openMain(s, name) != startup::DatabaseState::Ok) {
            s.db.IBDATABASE.close();
            return QStringLiteral("Veritabanı Tanımlarında Hata Var");
        }
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
