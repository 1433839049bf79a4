#pragma once

#include <QList>
#include <QString>

#include <exception>

namespace fb {

/// The one error type of the adapter: Firebird's message and codes, plus the
/// statement that failed, so that a report names what was being done.
class Error : public std::exception
{
public:
    Error(QString message, long gdsCode = 0, int sqlCode = 0, QString sqlState = {},
          QString statement = {});

    const QString &message() const { return m_message; }
    long gdsCode() const { return m_gdsCode; }
    int sqlCode() const { return m_sqlCode; }
    const QString &sqlState() const { return m_sqlState; }
    const QString &statement() const { return m_statement; }
    void setStatement(const QString &sql) { m_statement = sql; }

    /// The message, then the statement when there is one.
    QString details() const;

    /// Is this the engine telling us that another process holds the file?
    bool isFileInUse() const;
    /// Lock conflict or deadlock: another transaction holds the row.
    bool isLockConflict() const;
    /// The attachment is dead: network failure, server gone, connection shut
    /// down. It never recovers; only a new attach helps.
    bool isConnectionLost() const;

    /// Every error code of the status vector, the first one first.
    const QList<long> &codes() const { return m_codes; }
    void setCodes(QList<long> codes) { m_codes = std::move(codes); }

    const char *what() const noexcept override;

private:
    QString m_message;
    long m_gdsCode;
    int m_sqlCode;
    QString m_sqlState;
    QString m_statement;
    QList<long> m_codes;
    mutable QByteArray m_what;
};

} // namespace fb
