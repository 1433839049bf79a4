#pragma once

#include <QDate>
#include <QString>

/// Today's date as the registers and the main window show it.
struct DateTexts
{
    int day = 0;
    int month = 0;
    int year = 0;
    QString monthName;   ///< "OCAK" … "ARALIK"
    QString weekdayName; ///< "PAZAR" … "CUMARTESİ"

    /// "26-AĞUSTOS(8)-2021": numbers without leading zeros.
    QString dateText() const;
};

/// Splits a date text (dd.MM.yyyy) into its numbers and names. The weekday is
/// always today's, whatever the text says. A text that is no date leaves the
/// numbers 0 and the month name empty.
DateTexts TARIHBUL(const QString &text, const QDate &today);
