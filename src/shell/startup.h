#pragma once

#include "core/workstation.h"

#include <QString>

class Session;

/// Opening the databases at start and when the working year changes.
namespace startup {

/// What opening the main database found.
enum class DatabaseState {
    Ok,
    ConnectionFailed, ///< no database there, host unreachable: the System settings screen repairs it
    NotKelma,         ///< it opened, but holds no settings table: not a KELMA database
    NoSettingsRow,    ///< the settings table is empty
};

/// Reads the workstation's settings (defaults for what is missing), computes the
/// colour scheme, writes the settings back, and opens the main database: first
/// with the WIN1254 character set, again without one when the database is not
/// marked as WIN1254 (CHSET not "1").
DatabaseState IBASEAC(Session &session, const WorkstationDefaults &defaults);

/// IBASEAC, and when what it opened is not a usable KELMA database: says so,
/// naming the file, and leaves the database closed with the connection-failed
/// flag set, so that the System settings screen lets the user point elsewhere.
DatabaseState begin(Session &session, const WorkstationDefaults &defaults);

/// Opens the main database under a name, with the character set rule above.
/// Throws fb::Error when it cannot be opened at all.
DatabaseState openMain(Session &session, const QString &database);

/// Opens the attachment database of a year (storage::openYearFor); on failure
/// it has said so and the one open before, if any, stays open. The main
/// database is not affected.
bool TEXTVTAC(Session &session, const QString &year);

/// Text for a database that opened but is not usable, naming the file.
QString problemText(DatabaseState state, const QString &database);

} // namespace startup
