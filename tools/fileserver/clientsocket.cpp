#include "clientsocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

QString peerOf(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getpeername(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return QStringLiteral("?");
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return QString::fromLatin1(text) + QLatin1Char(':') + QString::number(ntohs(address.sin_port));
}

} // namespace

ClientSocket::ClientSocket(int fd, int stopFd, milliseconds idleLimit, milliseconds transferLimit)
    : m_fd(fd), m_stopFd(stopFd), m_idleLimit(idleLimit), m_deadline(steady_clock::now() + transferLimit),
      m_peer(peerOf(fd))
{
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
}

ClientSocket::~ClientSocket()
{
    ::close(m_fd);
}

ClientSocket::Status ClientSocket::wait(short events, milliseconds limit) const
{
    const auto deadline = std::min(steady_clock::now() + limit, m_deadline);
    for (;;) {
        pollfd fds[2] = {{m_fd, events, 0}, {m_stopFd, POLLIN, 0}};
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        const int ready = ::poll(fds, 2, static_cast<int>(std::max<milliseconds::rep>(left.count(), 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return Status::Broken;
        if (fds[1].revents)
            return Status::Stopped;
        if (ready == 0)
            return Status::TimedOut;
        return Status::Ok; // readiness, hang-up or error: the next call says which
    }
}

ClientSocket::Status ClientSocket::receive(char *buffer, qsizetype size, qsizetype &got)
{
    got = 0;
    for (;;) {
        if (pastDeadline())
            return Status::TimedOut;
        const ssize_t n = ::recv(m_fd, buffer, static_cast<size_t>(size), 0);
        if (n > 0) {
            got = n;
            return Status::Ok;
        }
        if (n == 0)
            return Status::Closed;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return Status::Broken; // ECONNRESET and the like
        if (const Status status = wait(POLLIN, m_idleLimit); status != Status::Ok)
            return status;
    }
}

ClientSocket::Status ClientSocket::send(const char *data, qsizetype size)
{
    while (size > 0) {
        if (pastDeadline())
            return Status::TimedOut;
        const ssize_t n = ::send(m_fd, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (n > 0) {
            data += n;
            size -= n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return Status::Broken;
        if (const Status status = wait(POLLOUT, m_idleLimit); status != Status::Ok)
            return status;
    }
    return Status::Ok;
}

void ClientSocket::finish()
{
    ::shutdown(m_fd, SHUT_WR);
    const auto deadline = steady_clock::now() + std::min<milliseconds>(m_idleLimit, seconds(5));
    char sink[4096];
    while (steady_clock::now() < deadline) {
        const ssize_t n = ::recv(m_fd, sink, sizeof sink, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return;
        if (n < 0 && wait(POLLIN, duration_cast<milliseconds>(deadline - steady_clock::now())) != Status::Ok)
            return;
    }
}

void ClientSocket::reset()
{
    const linger abortive{1, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
}

QString describe(ClientSocket::Status status)
{
    switch (status) {
    case ClientSocket::Status::Ok: return QStringLiteral("ok");
    case ClientSocket::Status::Closed: return QStringLiteral("closed early");
    case ClientSocket::Status::Broken: return QStringLiteral("broken");
    case ClientSocket::Status::TimedOut: return QStringLiteral("timed out");
    case ClientSocket::Status::Stopped: return QStringLiteral("stopped");
    }
    return {};
}
