#pragma once

#include "transaction.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace fb {

namespace detail {
struct StatementState;
}

/// One SQL statement with named parameters (":KN"), bound by name; a name may
/// occur several times. Text goes in and out as QString (Windows-1254 on the
/// wire), text blobs as QString, binary blobs as QByteArray, DATE as QDate,
/// TIMESTAMP as QDateTime, NULL as a null QVariant.
class Statement
{
public:
    enum Mode { Named, Raw };

    explicit Statement(Transaction &transaction, const QString &sql = {}, Mode mode = Named);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    /// Prepares the statement; the transaction starts if it was not running.
    void prepare(const QString &sql, Mode mode = Named);
    const QString &sql() const { return m_sql; }
    QStringList parameterNames() const;
    /// The engine's access plan of the prepared statement ("PLAN JOIN (...)").
    QString plan() const;

    /// Throws fb::Error when the statement has no parameter of that name.
    void bind(const QString &name, const QVariant &value);
    void bindAll(const Params &params);
    void clearBindings();

    /// Runs it; a statement with a result set is then read with next().
    void execute();
    bool next();
    void close();

    int columnCount() const;
    QString columnName(int index) const;
    int columnIndex(const QString &name) const;
    QVariant value(int index) const;
    QVariant value(const QString &name) const;
    QVariantList row() const { return m_row; }

    qint64 rowsAffected() const { return m_rowsAffected; }

    /// Blob columns come as fb::BlobId, to be streamed with fb::readBlob,
    /// instead of being read whole.
    void setBlobsAsIds(bool on) { m_blobsAsIds = on; }

    /// Splits ":NAME" markers out of a statement. Quoted text and comments are
    /// left alone. Returns the statement with '?' in their place.
    static QString parseNames(const QString &sql, QStringList *names);

private:
    struct Column;
    void readRow();
    QVariant readColumn(const Column &c, const unsigned char *buffer);

    Transaction *m_transaction;
    std::unique_ptr<detail::StatementState> m_state;
    QString m_sql;
    QStringList m_paramNames;
    QVariantList m_paramValues;
    std::vector<Column> m_columns;
    QHash<QString, int> m_columnIndex;
    std::vector<unsigned char> m_outBuffer;
    QVariantList m_row;
    qint64 m_rowsAffected = 0;
    bool m_hasCursor = false;
    bool m_singletonPending = false;
    bool m_blobsAsIds = false;
};

} // namespace fb
