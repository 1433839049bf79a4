#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

/// A stand-in file server on a loopback port that answers each connection
/// from a script, so that the client can be shown replies the real server
/// never gives. Connections beyond the script are closed at once.
class ScriptedServer
{
public:
    struct Answer
    {
        /// Request lines to wait for before replying; -1: reply once the
        /// client has ended its side (as the server confirms a stored file).
        int linesBeforeReply = 1;
        QByteArray reply;
        /// Close right after the reply; otherwise read on until the client closes.
        bool closeAfterReply = true;
    };

    explicit ScriptedServer(QList<Answer> script = {});
    ~ScriptedServer();

    quint16 port() const { return m_port; }
    /// Connections accepted so far.
    int connections() const { return m_accepted; }
    /// Everything connection `index` sent, once it has been served.
    QByteArray received(int index);

private:
    void serve();
    void answer(int fd, const Answer &answer, QByteArray &received);

    QList<Answer> m_script;
    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<int> m_accepted = 0;
    std::atomic<bool> m_stopping = false;
    std::mutex m_mutex;
    std::condition_variable m_served;
    QList<QByteArray> m_received;
    std::thread m_thread;
};
