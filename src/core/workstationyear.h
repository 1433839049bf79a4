#pragma once

#include <QDate>
#include <QString>

namespace workstation {

/// The earliest working year accepted; the latest is the year after today's.
constexpr int kFirstWorkingYear = 1990;
/// Whether `year` is four digits between kFirstWorkingYear and next year.
bool isWorkingYear(const QString &year, const QDate &today);

} // namespace workstation
