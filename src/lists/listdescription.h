#pragma once

#include "reports/registerbooks.h"
#include "storage/registerkind.h"

#include <optional>

#include "db/fb/transaction.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class Session;

namespace lists {

class RowView;

/// One condition of the list query's condition line, with what it binds.
struct Condition
{
    QString sql;
    fb::Params params;
};

/// What a filter's combo stands on when the condition line is built.
struct FilterState
{
    int index = 0;
    QString text;
    int code = -1; ///< looked-up code; -1 while on "all"
};

/// One drop-down filter of a list. Index 0 is always "all" and adds no condition.
struct Filter
{
    enum Kind {
        Lookup, ///< names from the database, a code looked up by the chosen name
        Fixed,  ///< a fixed set of items
        Year,   ///< "all", the working year, the other years with rows
        Month,  ///< "Tümü", the twelve months; today's month on the first activation
    };
    Kind kind = Fixed;
    QString name;    ///< object name of its combo
    QString heading; ///< caption above it
    QStringList items; ///< Fixed and Month: every item, "all" first
    QString allItem;   ///< Lookup and Year: the "all" entry
    QString itemsSql;  ///< Lookup: the names, in the order shown
    QString lookupSql; ///< Lookup: one parameter, the chosen name; selects the code
    /// Lookup: a user bound to a department sees only it, chosen and locked;
    /// the statement selects that department's name from its :BK.
    QString boundItemsSql;
    /// Year: the register's table and date column, for the years offered.
    QString table, dateField;
    /// Built only for an index other than 0.
    std::function<Condition(const FilterState &)> condition;
    /// In place of `condition` when the filter follows today and the settings.
    std::function<Condition(const FilterState &, Session &)> conditionIn;
    /// Month: the same rows when a year is chosen too, written as a date
    /// range so that the date index serves it.
    std::function<Condition(const FilterState &, int year)> conditionWithinYear;
};

/// A grid column: a field of the query, or a value worked out from the row.
struct Column
{
    QString caption;
    QString field;
    int width = 60;
    std::function<QVariant(const RowView &)> compute;
    /// How the row is to be marked, by what this column shows (0 none);
    /// the first column that marks decides.
    std::function<int(const RowView &)> mark = {};
};

/// Everything that makes one register's list: its query, its grid, its
/// filters and what its actions do. The machinery (RegisterList, the generic
/// screen) does the rest.
struct ListDescription
{
    QString caption;
    int screenCode = 0;          ///< rights of new, change, delete
    QString registerSelector;    ///< handed to the subject search
    int approvalMode = 0;        ///< "Onayla": 1 incoming, 2 outgoing, 0 none
    bool inertApproval = false;  ///< an "Onayla" item that does nothing
    QString table;               ///< the register's table (alias G1 in the query)
    QString dateField;           ///< registration date: year of the attachment database
    QString numberField;         ///< register number, reset after a delete
    QString numberGenerator;
    /// The query up to its condition line, each line as the statement has it.
    QStringList queryLines;
    QString orderBy;
    QList<Column> columns;
    QList<Filter> filters;
    /// Counts rows that keep the record from being deleted; binds :ILG (KAYNO).
    QString deleteGuardSql;
    /// Deletes the record with everything that belongs to it in `work`;
    /// returns the rows of the register deleted (0 when it was gone already).
    std::function<qint64(Session &, fb::Transaction &work, int kayno)> deleteRecord;
    /// The register whose attachment rows, with their contents in the yearly
    /// database, go with a deleted record in the same two-phase unit.
    std::optional<storage::Register> attachments;
    /// The register book "F7-Yazdır" prints, when the register has one.
    std::optional<reports::Book> book;
    /// When set, deletes in place of the above: the register's own delete,
    /// which asks, numbers and reports itself; true when deleted.
    std::function<bool(Session &, int kayno)> removeRecord;
    /// "Onayla" works only on a row whose BKOD names a routing row.
    bool approvalNeedsRouting = false;
};

// Building blocks that the registers' descriptions share.

/// A combo of names whose code is bound to the one parameter of `conditionSql`.
Filter lookupFilter(const QString &name, const QString &heading, const QString &allItem,
                    const QString &itemsSql, const QString &lookupSql, const QString &conditionSql);
/// The department filter, locked on the user's department when the user has one.
Filter departmentFilter(const QString &name, const QString &heading, const QString &conditionSql);
/// Item i (1…) adds conditions[i-1], which binds nothing.
Filter choiceFilter(const QString &name, const QString &heading, const QStringList &items,
                    const QStringList &conditions);
/// The first letter of the chosen item is bound to the one parameter of `conditionSql`.
Filter letterFilter(const QString &name, const QString &heading, const QStringList &items,
                    const QString &conditionSql);
/// `dateColumn` (qualified) within the chosen year, as a date range so that
/// its index serves.
Filter yearFilter(const QString &name, const QString &table, const QString &dateField,
                  const QString &dateColumn);
Filter monthFilter(const QString &name, const QString &dateColumn);

/// "Gizlilik Derecesi" and "Zimmet" on the register's own columns.
Filter confidentialityFilter(const QString &conditionSql);
Filter deliveryFilter(const QString &conditionSql);

/// "Evrak Tar./No": the document's date as dd.MM.yyyy, a blank, its number.
Column tarnoColumn();
/// "On": "X" for a routing row not approved, only while approval is in use.
Column approvalColumn();
Column fieldColumn(const QString &caption, const QString &field, int width = 60);

} // namespace lists
