#pragma once

#include <QIODevice>
#include <QMutex>
#include <QString>

class Clock;

/// One request and how it ended.
struct Operation
{
    QString peer;
    QString command = QStringLiteral("-"); ///< as received, escaped
    QString name = QStringLiteral("-");    ///< as received, escaped
    qint64 bytes = 0;                      ///< file bytes received or sent
    QString result;
};

/// The server's log: one line per operation, written whole from any thread.
/// "2025-03-04 09:15:02.120 10.0.0.7:50412 SEND "GEL_12_1.PDF" 48213 ok"
class OperationLog
{
public:
    OperationLog(QIODevice &out, const Clock &clock) : m_out(out), m_clock(clock) {}

    void record(const Operation &operation);
    /// Start and stop of the server.
    void note(const QString &text);

private:
    void writeLine(const QString &text);

    QIODevice &m_out;
    const Clock &m_clock;
    QMutex m_mutex;
};
