#pragma once

#include "db/fb/transaction.h"

#include <QList>
#include <QStringList>
#include <QVariant>

/// Rows of one table read into memory, where inserts, edits and deletes are
/// kept until they are applied — as INSERT, UPDATE and DELETE statements keyed
/// by the table's key columns, inside a transaction the caller gives — or
/// dropped. Applying does not forget the edits: only accept(), after the
/// caller's commit succeeded, does; a failed commit leaves everything the user
/// typed in place to be applied again.
class CachedRecords
{
public:
    enum class State { Unchanged, Inserted, Modified, Deleted };

    CachedRecords(QString table, QStringList keyColumns);

    /// Reads the rows of a SELECT over the table; its columns become the record's.
    void select(fb::Transaction &t, const QString &sql, const fb::Params &params = {});
    /// Columns without reading rows (for a screen that only adds).
    void setColumns(const QStringList &columns);
    /// Only these columns are written; others (joined names, computed texts) are
    /// for showing. By default every column is written.
    void setWritable(const QStringList &columns);

    const QString &table() const { return m_table; }
    const QStringList &columns() const { return m_columns; }
    int columnIndex(const QString &column) const;

    /// Rows still visible (deleted ones are not).
    int rowCount() const;
    QVariant value(int row, const QString &column) const;
    void setValue(int row, const QString &column, const QVariant &value);
    State state(int row) const;

    /// A new row; returns its index.
    int append(const QVariantMap &values = {});
    void remove(int row);
    /// The row is gone from the database already: drops it without a pending delete.
    void forget(int row);

    bool isDirty() const;
    /// Writes every pending change in the transaction. Throws fb::Error.
    void apply(fb::Transaction &t);
    /// The changes are in the database now: they become the read state.
    void accept();
    /// Drops every pending change.
    void revert();

private:
    struct Row
    {
        QVariantList values;
        QVariantList original;
        State state = State::Unchanged;
    };
    int storeIndex(int row) const;
    QString quoted(const QString &column) const;
    bool writable(int column) const;
    bool keyChanged(const Row &row) const;

    QString m_table;
    QStringList m_key;
    QStringList m_columns;
    QStringList m_writable;
    QList<Row> m_rows;
};
