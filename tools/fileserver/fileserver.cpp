#include "fileserver.h"

#include "clientsocket.h"
#include "connection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

FileServer::FileServer(ServerOptions options, OperationLog &log)
    : m_options(std::move(options)), m_log(log), m_store(m_options.folder)
{
    if (::pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_stopPipe[0] = m_stopPipe[1] = -1;
}

FileServer::~FileServer()
{
    stop();
    reap(true);
    for (const int fd : {m_listener, m_stopPipe[0], m_stopPipe[1]}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool FileServer::start(QString *error)
{
    if (m_stopPipe[0] < 0) {
        *error = QStringLiteral("cannot create a pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!m_store.prepare(error))
        return false;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_options.port);
    if (::inet_pton(AF_INET, m_options.address.toLatin1().constData(), &address.sin_addr) != 1) {
        *error = QStringLiteral("%1 is not an IPv4 address").arg(m_options.address);
        return false;
    }
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (m_listener < 0 || ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listener, SOMAXCONN) != 0) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(m_options.address)
                     .arg(m_options.port)
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_log.note(QStringLiteral("listening on %1:%2, folder %3").arg(m_options.address).arg(m_port).arg(m_store.folder()));
    return true;
}

void FileServer::run()
{
    for (;;) {
        pollfd fds[2] = {{m_listener, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            m_log.note(QStringLiteral("poll failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
            break;
        }
        if (fds[1].revents)
            break;
        if (fds[0].revents)
            accept();
    }
    ::close(m_listener);
    m_listener = -1;
    reap(true);
    m_log.note(QStringLiteral("stopped"));
}

void FileServer::stop()
{
    if (m_stopPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_stopPipe[1], &byte, 1);
    }
}

void FileServer::accept()
{
    const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        // Out of descriptors the listener stays ready: give connections a moment to end.
        if (errno == EMFILE || errno == ENFILE)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return;
    }
    reap(false);
    if (std::ssize(m_workers) >= m_options.maxClients) {
        turnAway(fd);
        return;
    }
    auto worker = std::make_unique<Worker>();
    Worker *self = worker.get();
    try {
        worker->thread = std::thread([this, fd, self] {
            ClientSocket socket(fd, m_stopPipe[0], m_options.idleLimit);
            Connection(socket, m_store, m_log).serve();
            self->done = true;
        });
    } catch (const std::system_error &) {
        turnAway(fd);
        return;
    }
    m_workers.push_back(std::move(worker));
}

void FileServer::turnAway(int fd)
{
    ClientSocket refused(fd, m_stopPipe[0], m_options.idleLimit);
    refused.reset();
    m_log.record({refused.peer(), QStringLiteral("-"), QStringLiteral("-"), 0, QStringLiteral("busy")});
}

void FileServer::reap(bool all)
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (all || (*it)->done) {
            (*it)->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}
