#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class Connections;

namespace fb {
class Error;
}

/// Notices that the database connection is lost and reconnects in place,
/// trying again with growing pauses until the server answers. The main
/// window shows statusChanged's text.
class ConnectionWatch : public QObject
{
    Q_OBJECT

public:
    explicit ConnectionWatch(Connections &db);

    /// Said once when the connection is lost.
    static QString lostMessage();
    /// Said when it was lost while a commit was on its way.
    static QString uncertainMessage();

    /// Looks at a failed statement's error. True when it tells of a lost
    /// connection; the first such error starts the reconnecting.
    bool notice(const fb::Error &error);
    bool isLost() const { return m_lost; }
    /// One attempt now; true when connected (again).
    bool reconnectNow();

    /// No more attempts (the run ends).
    void stop();

    /// Pause before the given attempt (1, 2, …), in milliseconds.
    static int delay(int attempt);
    int attempts() const { return m_attempt; }
    /// What the status bar shows; empty while connected.
    QString statusText() const;

    /// Runs one unit of work. When the connection was lost before the work
    /// could have committed anything, reconnects and runs it once more; when
    /// it was lost during a commit, `saved` (given a fresh transaction after
    /// the reconnect) tells whether it went through, and without it the error
    /// stands. Throws the last error.
    void runOnce(const std::function<void()> &work, const std::function<bool()> &saved = {});

Q_SIGNALS:
    void statusChanged(const QString &text);
    void reconnected();

private:
    void retry();
    void setLost(bool lost);

    Connections &m_db;
    bool m_lost = false;
    bool m_reopenText = false;
    int m_attempt = 0;
    QTimer m_timer;
};
