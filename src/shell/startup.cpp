#include "startup.h"

#include "core/prompt.h"
#include "core/session.h"

#include "db/fb/error.h"
#include "storage/storageplaces.h"

#include <QFileInfo>
#include <QSettings>

namespace startup {

namespace {

bool hasColumn(fb::Transaction &t, const char *table, const char *column)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS "
                                  "WHERE RDB$RELATION_NAME = :T AND RDB$FIELD_NAME = :C"),
                   {{"T", QLatin1String(table)}, {"C", QLatin1String(column)}}).toInt() > 0;
}

bool hasTable(fb::Transaction &t, const char *table)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :T"),
                   {{"T", QLatin1String(table)}}).toInt() > 0;
}

} // namespace

DatabaseState openMain(Session &s, const QString &database)
{
    Connections &db = s.db;
    db.openMain(database, QStringLiteral("WIN1254"));
    fb::Transaction &t = db.IBTransaction1;
    if (!hasTable(t, "TANIM"))
        return DatabaseState::NotKelma;
    const bool hasRow = t.value(QStringLiteral("SELECT COUNT(*) FROM TANIM")).toInt() > 0;
    // Databases older than the character-set mark have no CHSET column: they
    // are read without one, like those that say anything but "1".
    QVariant chset;
    if (hasRow && hasColumn(t, "TANIM", "CHSET"))
        chset = t.value(QStringLiteral("SELECT CHSET FROM TANIM"));
    if (chset.toString() != QLatin1String("1"))
        db.openMain(database, QString());
    return hasRow ? DatabaseState::Ok : DatabaseState::NoSettingsRow;
}

DatabaseState IBASEAC(Session &s, const WorkstationDefaults &defaults)
{
    s.colours = ColourScheme();
    {
        std::unique_ptr<QSettings> store = s.store();
        s.workstation = workstation::read(*store, defaults);
        s.colours = ColourScheme::forLetter(s.workstation.colour);
        s.LUSR = s.workstation.user;
        s.db.credentials = {s.workstation.databaseUser, s.workstation.databasePassword};
        workstation::writeAtStart(*store, s.workstation);
    }
    s.connectionFailed = false;
    const QString name = workstation::mainDatabaseName(s.workstation.host, s.workstation.folder);
    try {
        const DatabaseState state = openMain(s, name);
        return state;
    } catch (const fb::Error &) {
        s.connectionFailed = true;
        return DatabaseState::ConnectionFailed;
    }
}

DatabaseState begin(Session &s, const WorkstationDefaults &defaults)
{
    const DatabaseState state = IBASEAC(s, defaults);
    if (state == DatabaseState::NotKelma || state == DatabaseState::NoSettingsRow) {
        s.prompt().message(problemText(
            state, workstation::mainDatabaseName(s.workstation.host, s.workstation.folder)));
        try {
            s.db.IBDATABASE.close();
        } catch (const fb::Error &e) {
            // The handles are released even so; the start goes on to the
            // System settings screen like any failed connection.
            s.prompt().error(QStringLiteral("DİKKAT! Veritabanı kapatılırken hata oluştu."), e.details());
        }
        s.connectionFailed = true;
    }
    return state;
}

bool TEXTVTAC(Session &s, const QString &year)
{
    if (storage::openYearFor(s, year.toInt()))
        return true;
    s.activationGuard = true;
    return false;
}

QString problemText(DatabaseState state, const QString &database)
{
    switch (state) {
    case DatabaseState::NotKelma:
        return QStringLiteral("DİKKAT! %1 bir KELMA veritabanı değil (TANIM tablosu yok).\n"
                              "Lütfen veritabanı yolunu düzeltiniz.").arg(database);
    case DatabaseState::NoSettingsRow:
        return QStringLiteral("DİKKAT! %1 veritabanında genel tanımlar (TANIM) kaydı yok.\n"
                              "Lütfen veritabanı yolunu düzeltiniz ya da sistem yöneticinize başvurunuz.").arg(database);
    default:
        return {};
    }
}

} // namespace startup
