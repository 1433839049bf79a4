#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

/// A Firebird server of the test's own: its own configuration, security
/// database (SYSDBA / WEXD), lock folder and loopback port, started and
/// stopped by the test. Nothing of the machine's own server is touched.
///
/// The process that uses it must call prepareEnvironment() before its first
/// database call, since the client library reads its configuration once.
class PrivateServer
{
public:
    PrivateServer();
    ~PrivateServer();

    /// Points this process's client library at the private configuration.
    /// Returns an empty text, or why a server cannot be had on this machine.
    QString prepareEnvironment();
    /// Starts the server; returns an empty text or why it failed.
    QString start();
    void stop();
    QString log() const;

    int port() const { return m_port; }
    QString folder() const { return m_dir.path(); }
    /// "127.0.0.1/port:path" for a file in the server's folder.
    QString databaseName(const QString &fileName) const;
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    int m_port = 0;
};
