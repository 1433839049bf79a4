#pragma once

#include "listdescription.h"

#include "db/fb/statement.h"

#include <QHash>
#include <QList>
#include <QVariantList>

#include <functional>
#include <memory>

class Session;

namespace lists {

class RegisterList;

/// One fetched row of a list, by field name.
class RowView
{
public:
    RowView(const RegisterList &list, int row) : m_list(list), m_row(row) {}
    QVariant value(const QString &field) const;
    bool approvalInUse() const;
    Session &session() const;

private:
    const RegisterList &m_list;
    int m_row;
};

/// The list of one register: its filters with what they stand on, the query
/// built from them (SORGULA) and its rows, read in batches so that the first
/// screenful shows before the whole year is read. Reads through a read-only
/// transaction of its own, so no commit elsewhere closes the rows under it.
class RegisterList
{
public:
    enum class Mode { Work, RegisterBook };

    RegisterList(Session &session, ListDescription description);
    ~RegisterList();

    const ListDescription &description() const { return m_d; }
    Session &session() { return m_session; }

    Mode mode = Mode::Work;

    /// The activation: false (and nothing done) when coming back from a print.
    /// Otherwise fills and resets the filters (COMBODOLDUR) and opens the query.
    bool activate();

    // The filters, in the description's order.
    int filterCount() const { return m_d.filters.size(); }
    const QStringList &filterItems(int filter) const { return m_filters[filter].items; }
    int filterIndex(int filter) const { return m_filters[filter].state.index; }
    bool filterEnabled(int filter) const { return m_filters[filter].enabled; }
    int filterCode(int filter) const { return m_filters[filter].state.code; }
    /// The user chose an item: looks its code up and rebuilds the query. A name
    /// that is no longer there puts the filter back on "all" with a message;
    /// false then, and the screen shows the filter's index anew.
    bool choose(int filter, int index);

    void COMBODOLDUR();
    /// Builds the condition line from the filters and opens the query. A
    /// looked-up name that vanished meanwhile falls back to "all" first.
    void SORGULA();
    /// Opens the query again with its current text and parameters.
    void reopen();

    /// The condition line and its parameters as SORGULA last built them.
    const QString &conditionLine() const { return m_conditionLine; }
    const fb::Params &parameters() const { return m_params; }
    QString sql() const;
    /// The engine's plan of the open query.
    QString plan() const;

    // Rows read so far.
    int rowCount() const { return m_rows.size(); }
    bool atEnd() const { return m_atEnd; }
    /// Reads up to `count` more rows; returns how many came.
    int fetch(int count);
    void fetchAll();
    QVariant value(int row, const QString &field) const;
    QVariant display(int row, int column) const;
    /// The row's mark by the columns that mark (0: none).
    int mark(int row) const;
    /// Filter choices to stand on at the next activation, by filter name; the
    /// others take their usual start. Used once.
    QHash<QString, int> presets;
    int kayno(int row) const { return value(row, QStringLiteral("KAYNO")).toInt(); }
    /// Sets the filters so that the record of `kayno` is listed (its year and
    /// month, the others on "all") and reopens. Filters locked by the user's
    /// rights stay: their headings go into `locked`. False (with a message)
    /// when the record is gone.
    bool bringIn(int kayno, QStringList *locked = nullptr);
    /// Row of that KAYNO, reading on until found; -1 when not listed.
    int locate(int kayno);
    int columnIndex(const QString &field) const { return m_fieldIndex.value(field.toUpper(), -1); }

    /// The department whose routing row "Onayla" approves on a row; 0 when none.
    /// A list with a line per routing row approves the row's own. One with a
    /// line per document takes the user's department (-1 when not routed to
    /// it), else the first still waiting, else the first: each in turn.
    int routingToApprove(int row);
    /// Whether the record of a row is still in the register (another
    /// workstation may have deleted it); says so when it is not.
    bool stillThere(int kayno);

    /// F10 on a row: asks, refuses a record in use, deletes it with what
    /// belongs to it in one transaction, resets the number generator and
    /// reopens. Returns the row to stand on afterwards, or -1 when nothing was deleted.
    int remove(int row);

    /// F4: the attachment database of the row's year, when attachments are kept
    /// by year. False when it could not be opened (the record is not opened).
    bool openYearOf(int row);
    /// Opens the attachment database of a year; the main window supplies it.
    std::function<bool(const QString &year)> openYearDatabase;

private:
    struct FilterSlot
    {
        QStringList items;
        FilterState state;
        bool enabled = true;
    };

    bool lookUp(int filter);
    void open();
    void readRow();

    Session &m_session;
    ListDescription m_d;
    QList<FilterSlot> m_filters;
    bool m_firstActivation = true;
    QString m_conditionLine;
    fb::Params m_params;
    fb::Transaction m_read;
    std::unique_ptr<fb::Statement> m_query;
    QList<QVariantList> m_rows;
    QHash<QString, int> m_fieldIndex;
    bool m_atEnd = true;
};

} // namespace lists
