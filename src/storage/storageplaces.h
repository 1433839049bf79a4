#pragma once

#include <QString>

class Session;

namespace storage {

/// The storage settings as they count: an empty value takes its default.
struct StoragePlaces
{
    bool database = true;  ///< VTSAKLA
    bool local = false;    ///< TRMSAKLA
    bool server = false;   ///< SRVSAKLA
    bool yearly = false;   ///< TEXTVT 'A'
    QChar readMode = u'V'; ///< DOSYAOKU: V, S or Y
    QString localFolder;   ///< LOCAL
    qint64 sizeLimit = 100LL * 1024 * 1024; ///< the workstation's BELGESINIR, in bytes

    bool any() const { return database || local || server; }
    static StoragePlaces of(const Session &session);
};

/// The local document folder and its temporary folders (empty names when
/// no folder is set).
class Folders
{
public:
    explicit Folders(QString root) : m_root(std::move(root)) {}
    QString root() const { return m_root; }
    QString temp() const;
    QString tempRead() const;
    /// BEKLEYEN: saved files that have not reached every place they belong yet.
    QString waiting() const;
    QString registerFolder(const QString &subFolder) const;
    /// KLASORKONTROL: the folder, TEMP and TEMPOKU exist and take files;
    /// otherwise returns the message to show.
    QString check() const;

private:
    QString sub(const QString &name) const;
    QString m_root;
};

/// The yearly attachment database of `year` is the open one; opens it when
/// another (or none) is. False, after "DİKKAT! TEXT Veritabanı açılamadı" with
/// the file and what to do, when that fails; the database open before stays
/// open (textYear says which). Does nothing when TEXTVT is not 'A'. The one
/// way the program switches years: start, working year, lists and records.
bool openYearFor(Session &session, int year);

/// Text for a yearly attachment database that did not open: the file, why,
/// and the command that makes a missing one.
QString textDatabaseProblem(const QString &database, bool missing, const QString &error);

} // namespace storage
