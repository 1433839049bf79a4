#pragma once

#include <QString>

class Session;

/// The rules behind the System settings screen, which repairs a broken
/// database location.
namespace systemsettings {

/// STFULL: host:folder/KELMA.GDB, or the folder path alone.
QString fullName(const QString &host, const QString &folder);

/// Checks the location, opens the database there and, when that worked, stores
/// SRV and YOL. Returns the message to show, or an empty text on success.
QString save(Session &session, const QString &host, const QString &folder);

} // namespace systemsettings
