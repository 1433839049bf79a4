#include "fileserver.h"

#include "clientsocket.h"
#include "connection.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

bool parseAllowList(const QString &text, QList<AllowedNetwork> *out, QString *error)
{
    out->clear();
    for (const QString &part : text.split(u',', Qt::SkipEmptyParts)) {
        const QString item = part.trimmed();
        const QStringList pieces = item.split(u'/');
        in_addr address{};
        bool ok = pieces.size() <= 2
                  && ::inet_pton(AF_INET, pieces.first().toLatin1().constData(), &address) == 1;
        int bits = 32;
        if (ok && pieces.size() == 2)
            bits = pieces.at(1).toInt(&ok);
        if (!ok || bits < 0 || bits > 32) {
            if (error)
                *error = QStringLiteral("%1 is not an IPv4 address or network").arg(item);
            return false;
        }
        AllowedNetwork n;
        n.mask = bits == 0 ? 0 : ~quint32(0) << (32 - bits);
        n.address = ntohl(address.s_addr) & n.mask;
        out->append(n);
    }
    if (out->isEmpty()) {
        if (error)
            *error = QStringLiteral("the allow-list names no address");
        return false;
    }
    return true;
}

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
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = ::accept4(m_listener, reinterpret_cast<sockaddr *>(&peer), &length, SOCK_CLOEXEC);
    if (fd < 0) {
        // Out of descriptors the listener stays ready: give connections a moment to end.
        if (errno == EMFILE || errno == ENFILE)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return;
    }
    if (!m_options.allowed.isEmpty()) {
        const quint32 from = ntohl(peer.sin_addr.s_addr);
        const bool allowed = std::any_of(m_options.allowed.cbegin(), m_options.allowed.cend(),
                                         [from](const AllowedNetwork &n) { return n.contains(from); });
        if (!allowed) {
            turnAway(fd, QStringLiteral("not allowed"));
            return;
        }
    }
    reap(false);
    if (std::ssize(m_workers) >= m_options.maxClients) {
        turnAway(fd, QStringLiteral("busy"));
        return;
    }
    auto worker = std::make_unique<Worker>();
    Worker *self = worker.get();
    try {
        worker->thread = std::thread([this, fd, self] {
            ClientSocket socket(fd, m_stopPipe[0], m_options.idleLimit, m_options.transferLimit);
            Connection(socket, m_store, m_log, m_options.maxFileSize).serve();
            self->done = true;
        });
    } catch (const std::system_error &) {
        turnAway(fd, QStringLiteral("busy"));
        return;
    }
    m_workers.push_back(std::move(worker));
}

void FileServer::turnAway(int fd, const QString &why)
{
    ClientSocket refused(fd, m_stopPipe[0], m_options.idleLimit, m_options.transferLimit);
    refused.reset();
    m_log.record({refused.peer(), QStringLiteral("-"), QStringLiteral("-"), 0, why});
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
