#include "error.h"

#include <ibase.h>
#include <iberror.h>

namespace fb {

Error::Error(QString message, long gdsCode, int sqlCode, QString sqlState, QString statement)
    : m_message(std::move(message))
    , m_gdsCode(gdsCode)
    , m_sqlCode(sqlCode)
    , m_sqlState(std::move(sqlState))
    , m_statement(std::move(statement))
{
}

QString Error::details() const
{
    if (m_statement.isEmpty())
        return m_message;
    return m_message + QStringLiteral("\n\n") + m_statement;
}

bool Error::isFileInUse() const
{
    return m_message.contains(QLatin1String("already opened"))
        || m_message.contains(QLatin1String("incompatible with current"));
}

bool Error::isLockConflict() const
{
    return m_gdsCode == isc_deadlock || m_gdsCode == isc_lock_conflict
        || m_gdsCode == isc_update_conflict || m_gdsCode == isc_lock_timeout;
}

bool Error::isConnectionLost() const
{
    static const long lost[] = {isc_network_error, isc_net_read_err, isc_net_write_err,
                                isc_lost_db_connection, isc_conn_lost, isc_att_shutdown,
                                isc_shutdown, isc_bad_db_handle};
    const QList<long> all = m_codes.isEmpty() ? QList<long>{m_gdsCode} : m_codes;
    for (long code : all)
        for (long l : lost)
            if (code == l)
                return true;
    return false;
}

const char *Error::what() const noexcept
{
    m_what = details().toUtf8();
    return m_what.constData();
}

} // namespace fb
