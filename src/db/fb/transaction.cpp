#include "transaction.h"
#include "api_p.h"
#include "attachment.h"
#include "statement.h"

#include <ibase.h>

namespace fb {

using namespace Firebird;
using namespace detail;

namespace {

void closeCursors(TransactionState &t)
{
    for (StatementState *s : std::set(t.cursors))
        s->closeCursor();
    t.cursors.clear();
}

} // namespace

Transaction::Transaction(Attachment &attachment, TransactionOptions options)
    : m_state(std::make_shared<TransactionState>())
    , m_options(options)
{
    m_state->attachment = attachment.state();
    m_state->attachment->transactions.insert(m_state.get());
}

Transaction::~Transaction()
{
    try {
        if (isActive())
            rollback();
    } catch (const Error &) {
        // Destroyed during unwinding or after a broken connection: nothing to save.
    }
    m_state->attachment->transactions.erase(m_state.get());
}

void Transaction::start()
{
    if (m_state->handle)
        return;
    if (!m_state->attachment->handle)
        throw Error(QStringLiteral("Veritabanı bağlantısı açık değil."));
    guarded(QStringLiteral("START TRANSACTION"), [&] {
        Status st;
        IXpbBuilder *tpb = util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        try {
            tpb->insertTag(&st, m_options.readOnly ? isc_tpb_read : isc_tpb_write);
            switch (m_options.isolation) {
            case TransactionOptions::Isolation::ReadCommitted:
                tpb->insertTag(&st, isc_tpb_read_committed);
                tpb->insertTag(&st, isc_tpb_rec_version);
                break;
            case TransactionOptions::Isolation::Snapshot:
                tpb->insertTag(&st, isc_tpb_concurrency);
                break;
            case TransactionOptions::Isolation::Consistency:
                tpb->insertTag(&st, isc_tpb_consistency);
                break;
            }
            if (m_options.wait) {
                tpb->insertTag(&st, isc_tpb_wait);
                if (m_options.lockTimeout > 0)
                    tpb->insertInt(&st, isc_tpb_lock_timeout, m_options.lockTimeout);
            } else {
                tpb->insertTag(&st, isc_tpb_nowait);
            }
            m_state->handle = m_state->attachment->handle->startTransaction(
                &st, tpb->getBufferLength(&st), tpb->getBuffer(&st));
        } catch (...) {
            tpb->dispose();
            throw;
        }
        tpb->dispose();
    });
}

bool Transaction::isActive() const
{
    return m_state->handle != nullptr;
}

void Transaction::commit()
{
    if (!m_state->handle)
        return;
    closeCursors(*m_state);
    guarded(QStringLiteral("COMMIT"), [&] {
        Status st;
        m_state->handle->commit(&st);
    });
    m_state->handle = nullptr;
    ++m_state->attachment->commits;
}

void Transaction::rollback()
{
    if (!m_state->handle)
        return;
    closeCursors(*m_state);
    try {
        guarded(QStringLiteral("ROLLBACK"), [&] {
            Status st;
            m_state->handle->rollback(&st);
        });
    } catch (const Error &) {
        // A transaction whose connection broke is gone on the server anyway.
        m_state->handle->release();
        m_state->handle = nullptr;
        throw;
    }
    m_state->handle = nullptr;
}

void Transaction::commitRetaining()
{
    if (!m_state->handle)
        return;
    guarded(QStringLiteral("COMMIT RETAIN"), [&] {
        Status st;
        m_state->handle->commitRetaining(&st);
    });
    ++m_state->attachment->commits;
}

void Transaction::rollbackRetaining()
{
    if (!m_state->handle)
        return;
    guarded(QStringLiteral("ROLLBACK RETAIN"), [&] {
        Status st;
        m_state->handle->rollbackRetaining(&st);
    });
}

qint64 Transaction::execute(const QString &sql, const Params &params)
{
    Statement s(*this, sql);
    s.bindAll(params);
    s.execute();
    return s.rowsAffected();
}

QVariant Transaction::value(const QString &sql, const Params &params)
{
    Statement s(*this, sql);
    s.bindAll(params);
    s.execute();
    if (!s.next())
        return {};
    return s.value(0);
}

QList<QVariantList> Transaction::rows(const QString &sql, const Params &params)
{
    Statement s(*this, sql);
    s.bindAll(params);
    s.execute();
    QList<QVariantList> out;
    while (s.next())
        out.append(s.row());
    return out;
}

void Transaction::executeRaw(const QString &sql)
{
    Statement s(*this, sql, Statement::Raw);
    s.execute();
}

} // namespace fb
