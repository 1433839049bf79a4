#pragma once

#include <QByteArray>
#include <QString>

namespace fb {

/// Windows-1254 (Turkish) code page, our own table so that the result does not
/// depend on the ICU build or the locale of the machine.
/// Every byte decodes to one character and encodes back to the same byte;
/// characters the code page lacks encode as '?', its replacement character.
namespace win1254 {

QString decode(const QByteArray &bytes);
QString decode(const char *data, qsizetype size);
QByteArray encode(const QString &text);

/// Byte of one UTF-16 code unit; '?' when the code page lacks it.
unsigned char toByte(char16_t unit);
char16_t fromByte(unsigned char byte);

} // namespace win1254
} // namespace fb
