#include "datetexts.h"

#include <array>

namespace {

const std::array<const char16_t *, 12> kMonths = {
    u"OCAK", u"ŞUBAT", u"MART", u"NİSAN", u"MAYIS", u"HAZİRAN",
    u"TEMMUZ", u"AĞUSTOS", u"EYLÜL", u"EKİM", u"KASIM", u"ARALIK"};

// Sunday first.
const std::array<const char16_t *, 7> kWeekdays = {
    u"PAZAR", u"PAZARTESİ", u"SALI", u"ÇARŞAMBA", u"PERŞEMBE", u"CUMA", u"CUMARTESİ"};

} // namespace

QString DateTexts::dateText() const
{
    return QStringLiteral("%1-%2(%3)-%4").arg(day).arg(monthName).arg(month).arg(year);
}

DateTexts TARIHBUL(const QString &text, const QDate &today)
{
    DateTexts d;
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("d.M.yyyy"));
    if (date.isValid()) {
        d.day = date.day();
        d.month = date.month();
        d.year = date.year();
        d.monthName = QString::fromUtf16(kMonths[d.month - 1]);
    }
    if (today.isValid())
        d.weekdayName = QString::fromUtf16(kWeekdays[today.dayOfWeek() % 7]);
    return d;
}
