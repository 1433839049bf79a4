#include "cachedrecords.h"

#include "db/fb/error.h"
#include "db/fb/statement.h"

CachedRecords::CachedRecords(QString table, QStringList keyColumns)
    : m_table(std::move(table))
    , m_key(std::move(keyColumns))
{
}

void CachedRecords::select(fb::Transaction &t, const QString &sql, const fb::Params &params)
{
    fb::Statement s(t, sql);
    s.bindAll(params);
    s.execute();
    m_columns.clear();
    for (int i = 0; i < s.columnCount(); ++i)
        m_columns << s.columnName(i);
    m_rows.clear();
    while (s.next()) {
        Row r;
        r.values = s.row();
        r.original = r.values;
        m_rows.append(r);
    }
}

void CachedRecords::setWritable(const QStringList &columns)
{
    m_writable.clear();
    for (const QString &c : columns)
        m_writable << c.toUpper();
}

bool CachedRecords::writable(int column) const
{
    return m_writable.isEmpty() || m_writable.contains(m_columns[column]);
}

void CachedRecords::setColumns(const QStringList &columns)
{
    m_columns.clear();
    for (const QString &c : columns)
        m_columns << c.toUpper();
    m_rows.clear();
}

int CachedRecords::columnIndex(const QString &column) const
{
    return static_cast<int>(m_columns.indexOf(column.toUpper()));
}

int CachedRecords::storeIndex(int row) const
{
    int visible = -1;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].state != State::Deleted && ++visible == row)
            return i;
    }
    throw fb::Error(QStringLiteral("%1: satır yok (%2)").arg(m_table).arg(row));
}

int CachedRecords::rowCount() const
{
    int n = 0;
    for (const Row &r : m_rows)
        n += r.state != State::Deleted;
    return n;
}

QVariant CachedRecords::value(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (c < 0)
        throw fb::Error(QStringLiteral("%1: sütun yok (%2)").arg(m_table, column));
    return m_rows[storeIndex(row)].values.value(c);
}

void CachedRecords::setValue(int row, const QString &column, const QVariant &value)
{
    const int c = columnIndex(column);
    if (c < 0)
        throw fb::Error(QStringLiteral("%1: sütun yok (%2)").arg(m_table, column));
    Row &r = m_rows[storeIndex(row)];
    r.values[c] = value;
    if (r.state == State::Unchanged)
        r.state = State::Modified;
}

CachedRecords::State CachedRecords::state(int row) const
{
    return m_rows[storeIndex(row)].state;
}

int CachedRecords::append(const QVariantMap &values)
{
    Row r;
    r.values = QVariantList(m_columns.size());
    for (auto it = values.begin(); it != values.end(); ++it) {
        const int c = columnIndex(it.key());
        if (c < 0)
            throw fb::Error(QStringLiteral("%1: sütun yok (%2)").arg(m_table, it.key()));
        r.values[c] = it.value();
    }
    r.state = State::Inserted;
    m_rows.append(r);
    return rowCount() - 1;
}

void CachedRecords::remove(int row)
{
    const int i = storeIndex(row);
    if (m_rows[i].state == State::Inserted)
        m_rows.removeAt(i);
    else
        m_rows[i].state = State::Deleted;
}

void CachedRecords::forget(int row)
{
    m_rows.removeAt(storeIndex(row));
}

bool CachedRecords::isDirty() const
{
    for (const Row &r : m_rows) {
        if (r.state != State::Unchanged)
            return true;
    }
    return false;
}

QString CachedRecords::quoted(const QString &column) const
{
    return u'"' + column + u'"';
}

bool CachedRecords::keyChanged(const Row &r) const
{
    for (const QString &k : m_key) {
        const int c = columnIndex(k);
        if (r.values[c] != r.original[c] || r.values[c].isNull() != r.original[c].isNull())
            return true;
    }
    return false;
}

void CachedRecords::apply(fb::Transaction &t)
{
    auto keyWhere = [&](const Row &r, fb::Params &p) {
        QStringList where;
        for (int k = 0; k < m_key.size(); ++k) {
            where << QStringLiteral("%1 = :K%2").arg(quoted(m_key[k])).arg(k);
            p.insert(QStringLiteral("K%1").arg(k), r.original.value(columnIndex(m_key[k])));
        }
        return where.join(QLatin1String(" AND "));
    };
    // Deletes first, so that a row deleted and added again under its key fits.
    // A row whose key was changed goes out and comes back under the new key:
    // two rows swapping their keys would otherwise collide half-way.
    for (const Row &r : m_rows) {
        const bool moved = r.state == State::Modified && keyChanged(r);
        if (r.state != State::Deleted && !moved)
            continue;
        fb::Params p;
        const qint64 n = t.execute(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_table, keyWhere(r, p)), p);
        if (moved && n == 0) {
            throw fb::Error(QStringLiteral("Dikkat bir hata oluştu: kayıt başka bir kullanıcı "
                                           "tarafından silinmiş (%1).").arg(m_table));
        }
    }
    for (const Row &r : m_rows) {
        if (r.state == State::Inserted || (r.state == State::Modified && keyChanged(r))) {
            QStringList cols, marks;
            fb::Params p;
            for (int c = 0; c < m_columns.size(); ++c) {
                if (!writable(c))
                    continue;
                cols << quoted(m_columns[c]);
                marks << QStringLiteral(":C%1").arg(c);
                p.insert(QStringLiteral("C%1").arg(c), r.values[c]);
            }
            t.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(m_table, cols.join(QLatin1String(", ")), marks.join(QLatin1String(", "))),
                      p);
        } else if (r.state == State::Modified) {
            QStringList sets;
            fb::Params p;
            for (int c = 0; c < m_columns.size(); ++c) {
                // Only what changed: another workstation's edit of another column stays.
                if (!writable(c) || (r.values[c] == r.original[c] && r.values[c].isNull() == r.original[c].isNull()))
                    continue;
                sets << QStringLiteral("%1 = :C%2").arg(quoted(m_columns[c])).arg(c);
                p.insert(QStringLiteral("C%1").arg(c), r.values[c]);
            }
            if (sets.isEmpty())
                continue;
            const QString where = keyWhere(r, p);
            const qint64 n = t.execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                           .arg(m_table, sets.join(QLatin1String(", ")), where), p);
            if (n == 0) {
                throw fb::Error(QStringLiteral("Dikkat bir hata oluştu: kayıt başka bir kullanıcı "
                                               "tarafından silinmiş (%1).").arg(m_table));
            }
        }
    }
}

void CachedRecords::accept()
{
    QList<Row> kept;
    for (Row &r : m_rows) {
        if (r.state == State::Deleted)
            continue;
        r.original = r.values;
        r.state = State::Unchanged;
        kept.append(r);
    }
    m_rows = kept;
}

void CachedRecords::revert()
{
    QList<Row> kept;
    for (Row &r : m_rows) {
        if (r.state == State::Inserted)
            continue;
        r.values = r.original;
        r.state = State::Unchanged;
        kept.append(r);
    }
    m_rows = kept;
}
