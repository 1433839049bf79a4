#pragma once

#include "layout.h"

#include <QDate>

namespace reports {

/// The fields of one line of the overdue report, in the order its rows give them.
QStringList overdueFields();

/// "SÜRESİ GEÇEN EVRAKLAR": one line per overdue document or petition under
/// its department, for the head of the office; the institution and the day it
/// was made head the first page, the number of lines closes the report.
Layout overdueReport(const QString &institution, const QDate &today, int lines);

} // namespace reports
