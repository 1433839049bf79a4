#include "identitynumber.h"

namespace identitynumber {

namespace {

bool elevenDigits(const QString &text)
{
    if (text.size() != 11)
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

bool isValid(const QString &digits)
{
    if (!elevenDigits(digits) || digits.front() == u'0')
        return false;
    int d[11];
    for (int i = 0; i < 11; ++i)
        d[i] = digits[i].unicode() - u'0';
    const int odd = d[0] + d[2] + d[4] + d[6] + d[8];
    const int even = d[1] + d[3] + d[5] + d[7];
    // The tenth digit: seven times the odd places less the even ones, mod 10
    // (kept non-negative); the eleventh: the sum of the first ten, mod 10.
    const int tenth = ((odd * 7 - even) % 10 + 10) % 10;
    int firstTen = 0;
    for (int i = 0; i < 10; ++i)
        firstTen += d[i];
    return d[9] == tenth && d[10] == firstTen % 10;
}

bool looksMistyped(const QString &text)
{
    return elevenDigits(text) && !isValid(text);
}

bool hasElevenDigits(const QString &text)
{
    return elevenDigits(text);
}

QString shapeRefusal()
{
    return QStringLiteral("DİKKAT! T.C. Kimlik No 11 rakamdan oluşmalıdır.");
}

QString mistypedQuestion(const QString &number)
{
    return QStringLiteral("DİKKAT! T.C.Kimlik No %1 geçerli bir kimlik numarası değil "
                          "(kontrol haneleri tutmuyor). Yine de bu numara ile kaydedilecektir. "
                          "Onaylıyormusunuz.?").arg(number);
}

} // namespace identitynumber
