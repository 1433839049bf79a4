#include "scriptedserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

using namespace std::chrono;

namespace {

// Waits for bytes up to a generous limit; 0 when the peer closed or went silent.
qsizetype readSome(int fd, char *buffer, qsizetype size)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0)
        return 0;
    const ssize_t n = ::recv(fd, buffer, static_cast<size_t>(size), 0);
    return n > 0 ? n : 0;
}

} // namespace

ScriptedServer::ScriptedServer(QList<Answer> script) : m_script(std::move(script))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(m_listener, 64);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

ScriptedServer::~ScriptedServer()
{
    m_stopping = true;
    m_thread.join();
    ::close(m_listener);
}

QByteArray ScriptedServer::received(int index)
{
    std::unique_lock lock(m_mutex);
    m_served.wait_for(lock, seconds(10), [&] { return m_received.size() > index; });
    return m_received.value(index);
}

void ScriptedServer::serve()
{
    while (!m_stopping) {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const int fd = ::accept(m_listener, nullptr, nullptr);
        if (fd < 0)
            continue;
        const int index = m_accepted++;
        QByteArray received;
        if (index < m_script.size())
            answer(fd, m_script[index], received);
        ::close(fd);
        std::lock_guard lock(m_mutex);
        m_received << received;
        m_served.notify_all();
    }
}

void ScriptedServer::answer(int fd, const Answer &answer, QByteArray &received)
{
    char buffer[65536];
    if (answer.linesBeforeReply < 0) {
        while (const qsizetype n = readSome(fd, buffer, sizeof buffer))
            received.append(buffer, n);
        ::send(fd, answer.reply.constData(), static_cast<size_t>(answer.reply.size()), MSG_NOSIGNAL);
        return;
    }
    while (received.count('\n') < answer.linesBeforeReply) {
        const qsizetype n = readSome(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        received.append(buffer, n);
    }
    if (!answer.reply.isEmpty())
        ::send(fd, answer.reply.constData(), static_cast<size_t>(answer.reply.size()), MSG_NOSIGNAL);
    if (answer.closeAfterReply)
        return;
    while (const qsizetype n = readSome(fd, buffer, sizeof buffer))
        received.append(buffer, n);
}
