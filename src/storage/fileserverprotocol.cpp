#include "fileserverprotocol.h"

#include "db/fb/win1254.h"

#include <QStringList>

namespace fileserver {

QByteArray line(const QString &text)
{
    return fb::win1254::encode(text) + "\r\n";
}

QString text(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return fb::win1254::decode(line);
}

QByteArray foundLine(qint64 size)
{
    return "1 " + QByteArray::number(size) + "\r\n";
}

qint64 announcedSize(const QString &foundLine)
{
    const QStringList parts = foundLine.split(QLatin1Char(' '));
    if (parts.size() != 2 || parts[0] != QLatin1String("1"))
        return -1;
    bool ok = false;
    const qint64 size = parts[1].toLongLong(&ok);
    return ok && size >= 0 ? size : -1;
}

} // namespace fileserver
