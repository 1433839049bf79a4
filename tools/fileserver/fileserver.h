#pragma once

#include "documentstore.h"
#include "operationlog.h"

#include "storage/fileserverprotocol.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <list>
#include <memory>
#include <thread>

struct ServerOptions
{
    QString folder;
    QString address = QStringLiteral("0.0.0.0");
    quint16 port = fileserver::defaultPort; ///< 0: any free port
    /// A client that lets this pass without a byte is dropped.
    std::chrono::milliseconds idleLimit = std::chrono::seconds(60);
    /// Connections served at once; more are closed at once.
    int maxClients = 256;
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
    void turnAway(int fd);
    void reap(bool all);

    ServerOptions m_options;
    OperationLog &m_log;
    DocumentStore m_store;
    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    quint16 m_port = 0;
    std::list<std::unique_ptr<Worker>> m_workers;
};
