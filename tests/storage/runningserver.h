#pragma once

#include "fileserver.h"
#include "operationlog.h"

#include "core/clock.h"

#include <QIODevice>
#include <QMutex>
#include <QStringList>

#include <chrono>
#include <thread>

/// The server's log lines, kept for the test to read.
class LogLines : public QIODevice
{
public:
    LogLines() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    QStringList lines() const;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    mutable QMutex m_mutex;
    QStringList m_lines;
};

/// kelma-fileserver running in this process on a loopback port of its own.
class RunningServer
{
public:
    explicit RunningServer(const QString &folder, std::chrono::milliseconds idleLimit = std::chrono::seconds(60),
                           int maxClients = 256, const Clock *clock = nullptr);
    /// With options of the test's own; the address and port are the loopback ones.
    RunningServer(const QString &folder, ServerOptions options);
    ~RunningServer();

    bool isRunning() const { return m_thread.joinable(); }
    quint16 port() const { return m_server.port(); }
    QString portText() const { return QString::number(port()); }

    /// Log lines of operations (start and stop notes left out).
    QStringList operations() const;
    /// Waits until `count` operations have been logged; false after ten seconds.
    bool waitForOperations(int count) const;

private:
    SystemClock m_systemClock;
    LogLines m_lines;
    OperationLog m_log;
    FileServer m_server;
    std::thread m_thread;
};
