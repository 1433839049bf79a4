#include "workstation.h"
#include "workstationyear.h"

#include <algorithm>

#include <QDir>
#include <QSettings>

namespace workstation {

namespace {

QString text(QSettings &store, const char *key)
{
    return store.value(QLatin1String(key)).toString();
}

QString orDefault(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}

} // namespace

bool isWorkingYear(const QString &year, const QDate &today)
{
    if (year.size() != 4 || !std::all_of(year.cbegin(), year.cend(), [](QChar c) { return c.isDigit(); }))
        return false;
    const int y = year.toInt();
    return y >= kFirstWorkingYear && y <= today.year() + 1;
}

WorkstationSettings read(QSettings &store, const WorkstationDefaults &d)
{
    WorkstationSettings s;
    if (store.status() == QSettings::NoError) {
        s.year = text(store, "YIL").left(4);
        s.folder = text(store, "YOL");
        s.host = text(store, "SRV");
        s.windowState = text(store, "BFORM").left(1);
        s.colour = text(store, "RNK");
        s.localFolder = text(store, "LOCAL");
        s.readMode = text(store, "DOSYAOKU").left(1);
        s.user = text(store, "USR");
        s.databaseUser = text(store, "DBUSER").trimmed();
        s.databasePassword = text(store, "DBSIFRE");
    }
    // An older version wrote any year; one out of range would open a year nobody registers into.
    if (!isWorkingYear(s.year, d.today))
        s.year.clear();
    s.year = orDefault(s.year, QString::number(d.today.year()));
    s.folder = orDefault(s.folder, joinPath(joinPath(d.currentDir, QStringLiteral("DATA")),
                                            QStringLiteral("KELMA")));
    // Documents beside the data of a local database; with a server the data
    // folder is the server's, so the user's own data folder. Never the
    // program's folder, which a user may not write to. Made on first use.
    const QString documentsHome = s.host.isEmpty() ? s.folder
                                  : d.userDataDir.isEmpty() ? d.programDir : d.userDataDir;
    s.localFolder = orDefault(s.localFolder, joinPath(documentsHome, QStringLiteral("EVRAKLAR")));
    s.readMode = orDefault(s.readMode, QStringLiteral("V"));
    s.user = orDefault(s.user, QStringLiteral("ZIRVO"));
    return s;
}

namespace {

// What both the start and the close write.
void writeCommon(QSettings &store, const WorkstationSettings &s)
{
    store.setValue(QStringLiteral("YIL"), s.year);
    store.setValue(QStringLiteral("RNK"), s.colour);
    store.setValue(QStringLiteral("LOCAL"), s.localFolder);
    store.setValue(QStringLiteral("DOSYAOKU"), s.readMode);
    store.setValue(QStringLiteral("USR"), s.user);
}

} // namespace

void writeAtStart(QSettings &store, const WorkstationSettings &s)
{
    writeCommon(store, s);
    store.setValue(QStringLiteral("YOL"), s.folder);
    store.setValue(QStringLiteral("SRV"), s.host);
    store.sync();
}

void writeAtClose(QSettings &store, const WorkstationSettings &s)
{
    writeCommon(store, s);
    store.setValue(QStringLiteral("BFORM"), s.windowState);
    store.sync();
}

QString joinPath(const QString &folder, const QString &file)
{
    if (folder.isEmpty())
        return file;
    const QChar sep = folder.contains(u'\\') && !folder.contains(u'/') ? u'\\' : u'/';
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + file;
    return folder + sep + file;
}

QString mainDatabaseName(const QString &host, const QString &folder)
{
    const QString path = joinPath(folder, QStringLiteral("KELMA.GDB"));
    return host.isEmpty() ? path : host + u':' + path;
}

QString textDatabaseName(const QString &host, const QString &folder, const QString &year)
{
    const QString path = joinPath(folder, QStringLiteral("TEXT%1.GDB").arg(year));
    return host.isEmpty() ? path : host + u':' + path;
}

} // namespace workstation
