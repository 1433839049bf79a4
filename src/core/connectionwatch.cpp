#include "connectionwatch.h"

#include "connections.h"

#include "db/fb/error.h"

ConnectionWatch::ConnectionWatch(Connections &db)
    : m_db(db)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ConnectionWatch::retry);
}

QString ConnectionWatch::lostMessage()
{
    return QStringLiteral("DİKKAT! Veritabanı sunucusuyla bağlantı koptu.\n"
                          "Program kendiliğinden yeniden bağlanacak; ekrandaki bilgileriniz duruyor.\n"
                          "Bağlantı gelince işleminizi tekrarlayınız.");
}

QString ConnectionWatch::uncertainMessage()
{
    return QStringLiteral("DİKKAT! Kayıt onaylanırken veritabanı bağlantısı koptu.\n"
                          "Kaydın yapılıp yapılmadığını kontrol ediniz.");
}

bool ConnectionWatch::notice(const fb::Error &error)
{
    if (!error.isConnectionLost())
        return false;
    if (!m_lost) {
        // Which attachments come back is fixed now; a failed attempt closes them.
        m_reopenText = m_db.IBTEXTDB.isOpen();
        m_db.IBDATABASE.abandon();
        m_db.IBTEXTDB.abandon();
        m_attempt = 0;
        setLost(true);
        m_timer.start(delay(1));
    }
    return true;
}

int ConnectionWatch::delay(int attempt)
{
    // 0.5 s, 1 s, 2 s, 4 s, 8 s, then every 15 s.
    if (attempt <= 0)
        return 0;
    if (attempt > 5)
        return 15000;
    return 500 << (attempt - 1);
}

bool ConnectionWatch::reconnectNow()
{
    if (!m_lost)
        return true;
    ++m_attempt;
    try {
        m_db.reconnect(m_reopenText);
    } catch (const fb::Error &) {
        emit statusChanged(statusText());
        if (!m_timer.isActive())
            m_timer.start(delay(m_attempt + 1));
        return false;
    }
    m_timer.stop();
    setLost(false);
    emit reconnected();
    return true;
}

void ConnectionWatch::stop()
{
    m_timer.stop();
    m_lost = false;
}

void ConnectionWatch::retry()
{
    reconnectNow();
}

QString ConnectionWatch::statusText() const
{
    if (!m_lost)
        return {};
    if (m_attempt == 0)
        return QStringLiteral("Veritabanı bağlantısı koptu; yeniden bağlanılıyor…");
    return QStringLiteral("Veritabanı bağlantısı yok; yeniden bağlanılıyor (%1. deneme)…").arg(m_attempt + 1);
}

void ConnectionWatch::setLost(bool lost)
{
    m_lost = lost;
    emit statusChanged(statusText());
}

void ConnectionWatch::runOnce(const std::function<void()> &work, const std::function<bool()> &saved)
{
    if (m_lost && !reconnectNow())
        throw fb::Error(lostMessage());
    for (int attempt = 0;; ++attempt) {
        const quint64 before = m_db.IBDATABASE.commitCount() + m_db.IBTEXTDB.commitCount();
        try {
            work();
            return;
        } catch (const fb::Error &e) {
            if (!notice(e) || attempt > 0)
                throw;
            const bool atCommit = e.statement().startsWith(QLatin1String("COMMIT"));
            const bool committed = m_db.IBDATABASE.commitCount() + m_db.IBTEXTDB.commitCount() != before;
            if (!reconnectNow())
                throw;
            if (committed)
                throw fb::Error(uncertainMessage(), e.gdsCode(), e.sqlCode(), e.sqlState(), e.statement());
            if (atCommit) {
                if (!saved)
                    throw fb::Error(uncertainMessage(), e.gdsCode(), e.sqlCode(), e.sqlState(), e.statement());
                if (saved())
                    return;
            }
        }
    }
}
