#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QSettings;
class QTcpSocket;

/// Release notes from the version service, and a program update that starts
/// nothing it has not verified.
namespace update {

/// Names this product to the version service.
inline const QString kProduct = QStringLiteral("VOM");
inline constexpr quint16 kServicePort = 1965;

/// Where the version service is: the workstation setting VERSRV, "host" or
/// "host:port". Empty (the default) means no service is configured.
struct ServiceAddress
{
    QString host;
    quint16 port = kServicePort;
    bool configured() const { return !host.isEmpty(); }
    static ServiceAddress parse(const QString &text);
};
ServiceAddress serviceAddress(QSettings &store);

/// What the service says of the newest release: its version, where the
/// package is and the SHA-256 it must have.
struct Release
{
    QString version;
    QUrl url;
    QByteArray sha256; ///< 64 lower-case hex digits
};
/// Reads "SURUM v", "ADRES url", "SHA256 hex" lines; nothing when one is
/// missing or malformed (a release that cannot be checked is no release).
std::optional<Release> parseRelease(const QStringList &lines);

/// "21.001" < "21.002"; versions that are not numbers compare as text.
bool newer(const QString &candidate, const QString &running);

/// One exchange of the line protocol: four lines out (command, empty line,
/// product, version), lines in until "@". Never blocks: lines arrive as
/// signals, a silent service runs into the time limit, and what arrived
/// before a failure is kept.
class ServiceExchange : public QObject
{
    Q_OBJECT

public:
    explicit ServiceExchange(QObject *parent = nullptr);
    ~ServiceExchange() override;

    /// Milliseconds the service may stay silent (connecting or between lines).
    void setTimeout(int ms) { m_timeoutMs = ms; }

    /// "VER": the notes of releases newer than `version`.
    void requestNotes(const ServiceAddress &address, const QString &version);
    /// "PKG": the newest release (see Release).
    void requestRelease(const ServiceAddress &address, const QString &version);
    void cancel();

    const QStringList &lines() const { return m_lines; }
    bool running() const { return m_running; }

signals:
    void lineReceived(const QString &line);
    /// complete: "@" was read. error: a Turkish text when not complete.
    void finished(bool complete, const QString &error);

private:
    void start(const ServiceAddress &address, const QString &command, const QString &version);
    void readLines();
    void finish(bool complete, const QString &error);

    QTcpSocket *m_socket = nullptr;
    QTimer m_timer;
    QByteArray m_pending;
    QStringList m_lines;
    QString m_where;
    int m_timeoutMs = 10000;
    bool m_running = false;
};

/// Fetches a release into a private file of its own folder under `tempFolder`,
/// hashing while it writes. It succeeds only when the whole file arrived and
/// its SHA-256 is the one the service named; otherwise the file is deleted.
class Download : public QObject
{
    Q_OBJECT

public:
    Download(const Release &release, const QString &tempFolder, QObject *parent = nullptr);
    ~Download() override;

    void start();
    void cancel();
    /// The verified file, once finished(true).
    QString file() const { return m_ok ? m_path : QString(); }

signals:
    void progress(qint64 received, qint64 total);
    void finished(bool ok, const QString &error);

private:
    void fail(const QString &error);

    Release m_release;
    QString m_tempFolder;
    QString m_folder;
    QString m_path;
    QFile m_file;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_received = 0;
    bool m_ok = false;
    bool m_done = false;
};

/// The command that installs a downloaded package: the workstation setting
/// KURULUM (program and arguments, "{}" standing for the file), by default the
/// system's package installer through pkexec.
struct Installer
{
    QString program;
    QStringList arguments;
    QStringList argumentsFor(const QString &file) const;
};
Installer installer(QSettings &store);

} // namespace update
