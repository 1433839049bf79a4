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

namespace detail {

std::vector<unsigned char> transactionParameters(const TransactionOptions &o)
{
    std::vector<unsigned char> out{isc_tpb_version3};
    out.push_back(o.readOnly ? isc_tpb_read : isc_tpb_write);
    switch (o.isolation) {
    case TransactionOptions::Isolation::ReadCommitted:
        out.push_back(isc_tpb_read_committed);
        out.push_back(isc_tpb_rec_version);
        break;
    case TransactionOptions::Isolation::Snapshot:
        out.push_back(isc_tpb_concurrency);
        break;
    case TransactionOptions::Isolation::Consistency:
        out.push_back(isc_tpb_consistency);
        break;
    }
    if (o.wait) {
        out.push_back(isc_tpb_wait);
        if (o.lockTimeout > 0) {
            out.push_back(isc_tpb_lock_timeout);
            out.push_back(4);
            const quint32 v = static_cast<quint32>(o.lockTimeout);
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
        }
    } else {
        out.push_back(isc_tpb_nowait);
    }
    return out;
}

} // namespace detail

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
    if (m_state->groupStart)
        return m_state->groupStart();
    if (!m_state->attachment->handle)
        throw Error(QStringLiteral("Veritabanı bağlantısı açık değil."));
    const std::vector<unsigned char> tpb = transactionParameters(m_options);
    guarded(QStringLiteral("START TRANSACTION"), [&] {
        Status st;
        m_state->handle = m_state->attachment->handle->startTransaction(
            &st, static_cast<unsigned>(tpb.size()), tpb.data());
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
    if (m_state->groupEnd)
        return m_state->groupEnd(true);
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
    if (m_state->groupEnd)
        return m_state->groupEnd(false);
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
    if (m_state->groupEnd)
        throw Error(QStringLiteral("İki veritabanlı işlem bütün olarak bitirilir."));
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
    if (m_state->groupEnd)
        throw Error(QStringLiteral("İki veritabanlı işlem bütün olarak bitirilir."));
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
