#pragma once

#include "db/fb/attachment.h"

#include <QString>

#include <functional>

namespace fb {
class Transaction;
}

/// Preparing the databases an installation starts with. The program itself
/// never creates a database; the administrator's tool does, through this.
namespace newdb {

using Progress = std::function<void(const QString &step)>;

/// The first login of a fresh database. The README tells the administrator.
inline constexpr auto kFirstUser = "ZIRVO";
inline constexpr auto kFirstPassword = "ZIRVO";

/// Every screen code a right can be given on.
const QList<int> &screenCodes();

/// Creates a main database at the current version with its master data and
/// settings. Refuses (fb::Error, Turkish message) when the file already exists.
void createMain(const fb::ConnectOptions &options, const fb::CreateOptions &create = {},
                const Progress &progress = {});
/// Creates the attachment database of a year.
void createYear(const fb::ConnectOptions &options, const fb::CreateOptions &create = {});

/// Master data (provinces, districts, file plan) and the defaults of a new installation.
void seedMain(fb::Transaction &t, const Progress &progress = {});

/// "host:path" → host; empty for a path on this machine (a drive letter is not a host).
QString hostOf(const QString &databaseName);
/// Human-readable Turkish text for a failure to open or create a database file.
QString describeOpenError(const QString &databaseName, const QString &engineMessage,
                          bool fileInUse);

} // namespace newdb
