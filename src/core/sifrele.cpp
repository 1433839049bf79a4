#include "sifrele.h"

#include "db/fb/win1254.h"

QString SIFRELE(QChar mode, const QString &text)
{
    if (mode != u'1' && mode != u'2')
        return {};
    const int sign = mode == u'1' ? 1 : -1;
    QString result;
    for (qsizetype i = 0; i < text.size() && result.size() < 10; ++i) {
        const int b = fb::win1254::toByte(text[i].unicode());
        const auto v = static_cast<char16_t>((b + sign * (5 + int(i) + 1)) & 0xFFFF);
        result += QChar(fb::win1254::fromByte(fb::win1254::toByte(v)));
    }
    return result;
}
