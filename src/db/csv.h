#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// Comma-separated values as the master data files are written: UTF-8, one
/// record per line, quotes only where a value needs them, "" inside quotes.
QList<QStringList> parseCsv(const QString &text);
