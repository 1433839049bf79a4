#pragma once

#include <QString>
#include <QVariant>

/// Checks a value against its column in the schema before anything is written,
/// so that a save is refused with a clear message instead of failing half-way.
namespace fieldcheck {

/// Empty when the value fits the column; otherwise a Turkish message naming the
/// field by its caption (the column name when no caption is given).
QString problem(const QString &table, const QString &column, const QVariant &value,
                const QString &caption = {});

} // namespace fieldcheck
