#pragma once

#include "transaction.h"

#include <memory>

namespace fb {

class Attachment;

/// One transaction over two databases, committed by two-phase commit: both
/// parts become permanent, or neither does. Each part is used like any
/// transaction on its own attachment; committing or rolling back either part
/// ends the whole. One still running when destroyed is rolled back, also after
/// prepare(). With no second database it is a plain transaction on the first.
class TwoPhaseTransaction
{
public:
    TwoPhaseTransaction(Attachment &first, Attachment *second, TransactionOptions options = {});
    ~TwoPhaseTransaction();
    TwoPhaseTransaction(const TwoPhaseTransaction &) = delete;
    TwoPhaseTransaction &operator=(const TwoPhaseTransaction &) = delete;

    /// Starts both parts together; later use starts it too.
    void start();
    bool isActive() const;
    bool isTwoPhase() const { return m_second != nullptr; }

    Transaction &first() { return *m_first; }
    /// The part on the second database; the first one when there is none.
    Transaction &second() { return m_second ? *m_second : *m_first; }

    /// Phase one: both databases promise to commit. commit() does it when it
    /// was not called.
    void prepare();
    void commit();
    void rollback();

private:
    void end(bool commit);
    void attachTo(Transaction &part);

    std::unique_ptr<Transaction> m_first;
    std::unique_ptr<Transaction> m_second;
    bool m_prepared = false;
};

} // namespace fb
