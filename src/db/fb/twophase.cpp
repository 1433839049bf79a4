#include "twophase.h"
#include "api_p.h"
#include "attachment.h"

namespace fb {

using namespace Firebird;
using namespace detail;

TwoPhaseTransaction::TwoPhaseTransaction(Attachment &first, Attachment *second, TransactionOptions options)
    : m_first(std::make_unique<Transaction>(first, options))
{
    if (second && second != &first) {
        m_second = std::make_unique<Transaction>(*second, options);
        attachTo(*m_first);
        attachTo(*m_second);
    }
}

TwoPhaseTransaction::~TwoPhaseTransaction()
{
    try {
        if (isActive())
            rollback();
    } catch (const Error &) {
        // A broken connection: the server rolls back what it holds.
    }
    if (m_second) {
        // Plain parts again, so that their own destructors find nothing shared.
        for (Transaction *t : {m_first.get(), m_second.get()}) {
            t->state()->groupEnd = nullptr;
            t->state()->groupStart = nullptr;
        }
        m_first->state()->handle = nullptr;
        m_second->state()->handle = nullptr;
    }
}

void TwoPhaseTransaction::attachTo(Transaction &part)
{
    part.state()->groupEnd = [this](bool commit) { end(commit); };
    part.state()->groupStart = [this] { start(); };
}

void TwoPhaseTransaction::start()
{
    if (!m_second) {
        m_first->start();
        return;
    }
    auto a = m_first->state();
    auto b = m_second->state();
    if (a->handle)
        return;
    if (!a->attachment->handle || !b->attachment->handle)
        throw Error(QStringLiteral("Veritabanı bağlantısı açık değil."));
    const std::vector<unsigned char> tpb = transactionParameters(m_first->options());
    ITransaction *handle = guarded(QStringLiteral("START TRANSACTION (2PC)"), [&] {
        Status st;
        IDtcStart *builder = master()->getDtc()->startBuilder(&st);
        try {
            builder->addWithTpb(&st, a->attachment->handle, unsigned(tpb.size()), tpb.data());
            builder->addWithTpb(&st, b->attachment->handle, unsigned(tpb.size()), tpb.data());
        } catch (...) {
            builder->dispose();
            throw;
        }
        return builder->start(&st); // disposes of the builder
    });
    a->handle = handle;
    b->handle = handle;
    m_prepared = false;
}

bool TwoPhaseTransaction::isActive() const
{
    return m_first->isActive();
}

void TwoPhaseTransaction::prepare()
{
    if (!m_second || !isActive() || m_prepared)
        return;
    for (Transaction *t : {m_first.get(), m_second.get()}) {
        for (StatementState *s : std::set(t->state()->cursors))
            s->closeCursor();
        t->state()->cursors.clear();
    }
    guarded(QStringLiteral("PREPARE"), [&] {
        Status st;
        m_first->state()->handle->prepare(&st, 0, nullptr);
    });
    m_prepared = true;
}

void TwoPhaseTransaction::commit()
{
    if (!m_second)
        return m_first->commit();
    end(true);
}

void TwoPhaseTransaction::rollback()
{
    if (!m_second)
        return m_first->rollback();
    end(false);
}

void TwoPhaseTransaction::end(bool commit)
{
    ITransaction *handle = m_first->state()->handle;
    if (!handle)
        return;
    if (commit)
        prepare();
    for (Transaction *t : {m_first.get(), m_second.get()}) {
        for (StatementState *s : std::set(t->state()->cursors))
            s->closeCursor();
        t->state()->cursors.clear();
    }
    auto forget = [&] {
        m_first->state()->handle = nullptr;
        m_second->state()->handle = nullptr;
        m_prepared = false;
    };
    try {
        guarded(commit ? QStringLiteral("COMMIT (2PC)") : QStringLiteral("ROLLBACK (2PC)"), [&] {
            Status st;
            if (commit)
                handle->commit(&st);
            else
                handle->rollback(&st);
        });
    } catch (const Error &) {
        if (!commit) {
            handle->release();
            forget();
        }
        // A failed commit leaves the transaction to be rolled back.
        throw;
    }
    forget();
}

} // namespace fb
