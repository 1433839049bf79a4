#include "turkish.h"

namespace turkish {

QChar BuyukHarf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
        return u == u'i' ? QChar(u'İ') : QChar(char16_t(u - 0x20));
    switch (u) {
    case u'ı': return QChar(u'I');
    case u'ç': return QChar(u'Ç');
    case u'ö': return QChar(u'Ö');
    case u'ü': return QChar(u'Ü');
    case u'ğ': return QChar(u'Ğ');
    case u'ş': return QChar(u'Ş');
    default: return c;
    }
}

QString upper(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        c = BuyukHarf(c);
    return out;
}

} // namespace turkish
