#pragma once

#include <QDate>
#include <QString>

class QSettings;

/// The workstation's own values, kept in its settings store (on Windows the
/// user's registry key Software\ZIRVO\KELMA, elsewhere Qt's settings file of
/// organisation ZIRVO and application KELMA). All values are text.
struct WorkstationSettings
{
    QString year;        ///< YIL: working year, 4 characters
    QString folder;      ///< YOL: database folder on the database host
    QString host;        ///< SRV: database host; empty for a local file
    QString windowState; ///< BFORM: "1" maximized, "2" normal
    QString colour;      ///< RNK: colour letter
    QString localFolder; ///< LOCAL: local document folder
    QString readMode;    ///< DOSYAOKU: "V" database, "S" file server, "Y" local folder
    QString user;        ///< USR: last logged-in user name
    /// DBUSER, DBSIFRE: the office's own database login, set by its IT people
    /// in the store; the program reads them and never writes or shows them.
    QString databaseUser;
    QString databasePassword;
};

/// Where the defaults of a fresh workstation come from.
struct WorkstationDefaults
{
    QDate today;
    QString currentDir; ///< the process's current directory
    QString programDir; ///< the folder of the program file
    QString userDataDir = {}; ///< the user's own data folder for the program
};

namespace workstation {

/// Reads the store; values it lacks (or a store that cannot be read) get the
/// defaults of a fresh workstation.
WorkstationSettings read(QSettings &store, const WorkstationDefaults &defaults);
/// At start: YIL, YOL, SRV, RNK, LOCAL, DOSYAOKU, USR (so a fresh workstation keeps its defaults).
void writeAtStart(QSettings &store, const WorkstationSettings &s);
/// At close: BFORM, YIL, RNK, LOCAL, DOSYAOKU, USR.
void writeAtClose(QSettings &store, const WorkstationSettings &s);

/// Joins a folder and a file name with the separator the folder already uses,
/// so a server's Windows folder keeps its backslashes.
QString joinPath(const QString &folder, const QString &file);
/// "host:folder/KELMA.GDB", or the bare path when the host is empty.
QString mainDatabaseName(const QString &host, const QString &folder);
/// The same for the attachment database of a year: TEXT2021.GDB.
QString textDatabaseName(const QString &host, const QString &folder, const QString &year);

} // namespace workstation
