#pragma once

#include <QString>

#include <chrono>

/// A connected client (POSIX socket). Every wait is bounded by the idle limit
/// and cut short when the server stops. Unlike QTcpSocket it tells a client
/// that closed in order from one whose connection broke, which decides
/// whether a received file may replace the stored one.
class ClientSocket
{
public:
    enum class Status { Ok, Closed, Broken, TimedOut, Stopped };

    /// `transferLimit` bounds the whole connection, however the client paces its bytes.
    ClientSocket(int fd, int stopFd, std::chrono::milliseconds idleLimit,
                 std::chrono::milliseconds transferLimit = std::chrono::hours(24));
    ~ClientSocket();
    ClientSocket(const ClientSocket &) = delete;
    ClientSocket &operator=(const ClientSocket &) = delete;

    /// "address:port" of the client.
    const QString &peer() const { return m_peer; }

    /// Waits for bytes and reads up to `size` of them. Closed: the client
    /// closed in order and everything it sent has been read.
    Status receive(char *buffer, qsizetype size, qsizetype &got);
    Status send(const char *data, qsizetype size);
    Status send(const QByteArray &data) { return send(data.constData(), data.size()); }

    /// Ends our side after a reply and waits a little for the client to
    /// close, so that a reset cannot destroy the reply's last bytes.
    void finish();
    /// Drops the connection with a reset, so that a client still sending
    /// learns that nothing was taken.
    void reset();

private:
    Status wait(short events, std::chrono::milliseconds limit) const;
    bool pastDeadline() const { return std::chrono::steady_clock::now() >= m_deadline; }

    int m_fd;
    int m_stopFd;
    std::chrono::milliseconds m_idleLimit;
    std::chrono::steady_clock::time_point m_deadline;
    QString m_peer;
};

/// The status as the log shows it.
QString describe(ClientSocket::Status status);
