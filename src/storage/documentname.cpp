#include "documentname.h"

#include <QStringList>

namespace documentname {

namespace {

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// Device names Windows opens instead of a file, with or without extension.
bool isDeviceName(const QString &name)
{
    static const QStringList devices = {
        QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL"),
        QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
        QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"),
        QStringLiteral("LPT4"), QStringLiteral("LPT5"), QStringLiteral("LPT6"), QStringLiteral("LPT7"),
        QStringLiteral("LPT8"), QStringLiteral("LPT9")};
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed();
    return devices.contains(stem, Qt::CaseInsensitive);
}

} // namespace

QString problem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("empty name");
    if (name.toUtf8().size() > maxBytes)
        return QStringLiteral("name too long");
    for (const QChar c : name) {
        if (isControl(c))
            return QStringLiteral("control character");
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QStringLiteral("path separator");
        // A drive letter ("C:") or an NTFS stream ("a:b").
        if (c == QLatin1Char(':'))
            return QStringLiteral("drive or stream");
        if (QStringLiteral("<>\"|?*").contains(c))
            return QStringLiteral("reserved character");
    }
    // Covers "." and ".." too; dot names are also where the server keeps
    // transfers in progress.
    if (name.startsWith(QLatin1Char('.')))
        return QStringLiteral("leading dot");
    // Windows drops these silently, so two names would meet in one file.
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("trailing dot or space");
    if (isDeviceName(name))
        return QStringLiteral("device name");
    return {};
}

} // namespace documentname
