#pragma once

#include "documentstore.h"
#include "operationlog.h"

#include "storage/fileserverprotocol.h"

#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <list>
#include <memory>
#include <thread>

/// An IPv4 network (address and prefix length) that may connect.
struct AllowedNetwork
{
    quint32 address = 0; ///< host order, already masked
    quint32 mask = 0;
    bool contains(quint32 hostOrder) const { return (hostOrder & mask) == address; }
};

/// "10.0.0.0/8,192.168.1.5": networks and single addresses, comma-separated.
/// Returns false with a reason for anything that is not one.
bool parseAllowList(const QString &text, QList<AllowedNetwork> *out, QString *error);

struct ServerOptions
{
    QString folder;
    QString address = QStringLiteral("0.0.0.0");
    quint16 port = fileserver::defaultPort; ///< 0: any free port
    /// A client that lets this pass without a byte is dropped.
    std::chrono::milliseconds idleLimit = std::chrono::seconds(60);
    /// Connections served at once; more are closed at once.
    int maxClients = 256;
    /// Who may connect; empty lets every address in.
    QList<AllowedNetwork> allowed;
    /// A file sent that grows beyond this is refused, the stored one kept.
    qint64 maxFileSize = qint64(256) * 1024 * 1024;
    /// The longest a whole connection may last, however busy the client keeps it.
    std::chrono::milliseconds transferLimit = std::chrono::minutes(10);
};

/// The document file server: accepts connections and serves each on a thread
/// of its own with blocking I/O, so a slow or silent client holds only its
/// own thread.
class FileServer
{
public:
    FileServer(ServerOptions options, OperationLog &log);
    ~FileServer();
    FileServer(const FileServer &) = delete;
    FileServer &operator=(const FileServer &) = delete;

    /// Checks the folder and starts listening.
    bool start(QString *error);
    /// The port listened on.
    quint16 port() const { return m_port; }

    /// Serves until stop(); returns when every connection has ended.
    /// Transfers still running are dropped, leaving their stored files as
    /// they were.
    void run();
    /// Safe from a signal handler and from any thread.
    void stop();

private:
    struct Worker
    {
        std::thread thread;
        std::atomic<bool> done = false;
    };
    void accept();
    /// Closes a connection that cannot be served now.
    void turnAway(int fd, const QString &why);
    void reap(bool all);

    ServerOptions m_options;
    OperationLog &m_log;
    DocumentStore m_store;
    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    quint16 m_port = 0;
    std::list<std::unique_ptr<Worker>> m_workers;
};
