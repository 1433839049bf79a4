#include "runningserver.h"

#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QThread>

QStringList LogLines::lines() const
{
    QMutexLocker lock(&m_mutex);
    return m_lines;
}

qint64 LogLines::writeData(const char *data, qint64 size)
{
    QMutexLocker lock(&m_mutex);
    m_lines << QString::fromUtf8(data, size).chopped(1);
    return size;
}

RunningServer::RunningServer(const QString &folder, std::chrono::milliseconds idleLimit, int maxClients,
                             const Clock *clock)
    : m_log(m_lines, clock ? *clock : m_systemClock),
      m_server([&] {
          ServerOptions o;
          o.folder = folder;
          o.address = QStringLiteral("127.0.0.1");
          o.port = 0;
          o.idleLimit = idleLimit;
          o.maxClients = maxClients;
          return o;
      }(), m_log)
{
    QString error;
    if (m_server.start(&error))
        m_thread = std::thread([this] { m_server.run(); });
    else
        qWarning("server did not start: %s", qPrintable(error));
}

namespace {

ServerOptions onLoopback(const QString &folder, ServerOptions options)
{
    options.folder = folder;
    options.address = QStringLiteral("127.0.0.1");
    options.port = 0;
    return options;
}

} // namespace

RunningServer::RunningServer(const QString &folder, ServerOptions options)
    : m_log(m_lines, m_systemClock), m_server(onLoopback(folder, std::move(options)), m_log)
{
    QString error;
    if (m_server.start(&error))
        m_thread = std::thread([this] { m_server.run(); });
    else
        qWarning("server did not start: %s", qPrintable(error));
}

RunningServer::~RunningServer()
{
    m_server.stop();
    if (m_thread.joinable())
        m_thread.join();
}

QStringList RunningServer::operations() const
{
    QStringList lines = m_lines.lines();
    lines.removeIf([](const QString &line) { return line.contains(QLatin1String(" listening on ")) || line.endsWith(QLatin1String(" stopped")); });
    return lines;
}

bool RunningServer::waitForOperations(int count) const
{
    QDeadlineTimer deadline(10000);
    while (operations().size() < count) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}
