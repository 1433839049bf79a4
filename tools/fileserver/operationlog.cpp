#include "operationlog.h"

#include "core/clock.h"

#include <QFileDevice>
#include <QMutexLocker>

void OperationLog::record(const Operation &operation)
{
    const QString name = operation.name == QLatin1String("-")
                             ? operation.name
                             : QLatin1Char('"') + operation.name + QLatin1Char('"');
    writeLine(QStringList{operation.peer, operation.command, name, QString::number(operation.bytes),
                          operation.result}
                  .join(QLatin1Char(' ')));
}

void OperationLog::note(const QString &text)
{
    writeLine(text);
}

void OperationLog::writeLine(const QString &text)
{
    const QByteArray line =
        (m_clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QLatin1Char(' ') + text + QLatin1Char('\n'))
            .toUtf8();
    QMutexLocker lock(&m_mutex);
    m_out.write(line);
    if (auto *file = qobject_cast<QFileDevice *>(&m_out))
        file->flush();
}
