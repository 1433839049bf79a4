#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

namespace fb {

class Attachment;
namespace detail {
struct TransactionState;
}

/// Named parameter values; names match without regard to case.
using Params = QVariantMap;

struct TransactionOptions
{
    enum class Isolation { ReadCommitted, Snapshot, Consistency };
    Isolation isolation = Isolation::ReadCommitted;
    bool readOnly = false;
    bool wait = true;
    /// Seconds a wait may last; 0 waits without limit. Two transactions of one
    /// attachment waiting on each other would otherwise freeze it.
    int lockTimeout = 10;
};

/// A transaction on one attachment. It starts itself when first used, and one
/// still running when the object is destroyed is rolled back.
class Transaction
{
public:
    explicit Transaction(Attachment &attachment, TransactionOptions options = {});
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void start();
    bool isActive() const;

    void commit();
    void rollback();
    /// Keep the transaction's context (and its open result sets).
    void commitRetaining();
    void rollbackRetaining();

    /// Runs one statement; returns the rows it changed.
    qint64 execute(const QString &sql, const Params &params = {});
    /// First column of the first row, or a null QVariant when there is no row.
    QVariant value(const QString &sql, const Params &params = {});
    /// All rows, each as its column values.
    QList<QVariantList> rows(const QString &sql, const Params &params = {});
    /// Runs a statement as it stands, without looking for :names (DDL, PSQL).
    void executeRaw(const QString &sql);

    const TransactionOptions &options() const { return m_options; }
    std::shared_ptr<detail::TransactionState> state() const { return m_state; }

private:
    std::shared_ptr<detail::TransactionState> m_state;
    TransactionOptions m_options;
};

} // namespace fb
