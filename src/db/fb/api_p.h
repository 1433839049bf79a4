#pragma once

// Private to the adapter: the only place that sees the Firebird headers.

#include "error.h"
#include "transaction.h"

#include <firebird/Interface.h>

#include <QString>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace fb::detail {

Firebird::IMaster *master();
Firebird::IUtil *util();
Firebird::IProvider *provider();

/// A throwing status that is disposed of when it goes out of scope.
class Status
{
public:
    Status();
    ~Status();
    Status(const Status &) = delete;
    Status &operator=(const Status &) = delete;
    Firebird::ThrowStatusWrapper *operator&() { return &m_wrapper; }

private:
    Firebird::ThrowStatusWrapper m_wrapper;
};

[[noreturn]] void rethrow(const Firebird::FbException &e, const QString &sql = {});

/// Runs f, turning Firebird's exception into ours.
template<class F>
auto guarded(const QString &sql, F &&f) -> decltype(f())
{
    try {
        return f();
    } catch (const Firebird::FbException &e) {
        rethrow(e, sql);
    }
}

struct StatementState;
struct TransactionState;

struct AttachmentState
{
    Firebird::IAttachment *handle = nullptr;
    QString database;
    QString charset;
    std::set<TransactionState *> transactions;
    std::set<StatementState *> statements;
    /// Commits that went through, so a caller can tell whether work of its
    /// own may already be in the database.
    quint64 commits = 0;
};

struct TransactionState
{
    std::shared_ptr<AttachmentState> attachment;
    Firebird::ITransaction *handle = nullptr;
    std::set<StatementState *> cursors;
    /// Set when the handle is shared with a two-phase transaction: ending it
    /// (true commit, false rollback) ends every part together.
    std::function<void(bool)> groupEnd;
    std::function<void()> groupStart;
};

/// The transaction parameter block for the options.
std::vector<unsigned char> transactionParameters(const fb::TransactionOptions &options);

struct StatementState
{
    Firebird::IStatement *statement = nullptr;
    Firebird::IResultSet *cursor = nullptr;
    Firebird::IMessageMetadata *outMeta = nullptr;
    TransactionState *cursorTransaction = nullptr;

    void closeCursor();
    void release();
};

} // namespace fb::detail
