#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Prompt;

/// What the main window shows after a check of the file server.
struct FileServerCheck
{
    bool active = false;       ///< the server answered "TAMAM"
    QString LSRV;              ///< status text of the label LSRV
    QString LSVER;             ///< version text of the label LSVER
    bool updateNeeded = false; ///< the version was not "V2"; the update message was shown
};

/// Outcome of sending the files of TEMP.
struct FileServerSend
{
    QStringList sent;
    /// Names that did not reach the server (already reported to the user):
    /// TEMP holds their only copy outside the database.
    QStringList failed;
};

/// The document file server as the workstation sees it: one TCP connection per
/// operation, blocking the calling thread with explicit time limits, so that a
/// silent server costs the user a few seconds, never the whole window.
class FileServerClient
{
public:
    /// Bytes done of bytes in all (-1 when the server does not say).
    using Progress = std::function<void(qint64 done, qint64 total)>;

    static constexpr int connectTimeoutMs = 1000;
    /// Longest wait for a reply line, or for the next piece of a file in
    /// either direction.
    static constexpr int defaultReplyTimeoutMs = 10000;

    /// LSRV and LSVER before any check.
    static QString uncheckedStatus() { return QStringLiteral("Dosya Sunucusu Aktif Değil."); }
    static QString uncheckedVersion() { return QStringLiteral("V0"); }

    /// `host` is SRVIPNO (empty: this machine), `port` is SRVPORT as text
    /// (empty: 6569).
    FileServerClient(const QString &host, const QString &port, Prompt &prompt, Progress progress = {});

    void setReplyTimeout(int milliseconds) { m_replyTimeoutMs = milliseconds; }

    /// Host ":" port, as the failure message shows it.
    QString address() const;

    /// Asks the server whether it is there and which version it runs.
    /// `shownVersion` is what LSVER shows now; a version line that does not
    /// come leaves it.
    FileServerCheck SRVKONTROL(const QString &shownVersion = uncheckedVersion());

    /// Sends every file of `tempFolder` (hidden ones included, folders not),
    /// each on a connection of its own. An empty folder opens no connection.
    FileServerSend SERVEREGONDER(const QString &tempFolder);
    /// The same for the given files, each under its own name.
    FileServerSend send(const QStringList &paths);

    /// Fetches `name` into `targetFolder` (TEMPOKU), replacing a file of that
    /// name only when the whole file arrived. `ensureFolders` makes sure the
    /// local folders exist and reports its own failure.
    bool SERVERDENAL(const QString &name, const QString &targetFolder,
                     const std::function<bool()> &ensureFolders = {});

private:
    enum class Fetch { Done, NotFound, Failed };
    Fetch fetch(const QString &name, const QString &targetFolder);
    bool sendFile(const QString &path, const QString &name, qint64 &done, qint64 total);
    void report(qint64 done, qint64 total) const;

    QString m_host;
    QString m_portText;
    quint16 m_port = 0; ///< 0 when SRVPORT is not a port number
    Prompt &m_prompt;
    Progress m_progress;
    int m_replyTimeoutMs = defaultReplyTimeoutMs;
};
