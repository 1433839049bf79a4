#include "attachment.h"
#include "api_p.h"
#include "win1254.h"

#include <ibase.h>

#include <optional>

namespace fb {

using namespace Firebird;
using namespace detail;

namespace {

QByteArray text(const QString &s)
{
    return win1254::encode(s);
}

IXpbBuilder *makeDpb(Status &st, const ConnectOptions &o)
{
    IXpbBuilder *dpb = util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    if (!o.user.isEmpty())
        dpb->insertString(&st, isc_dpb_user_name, text(o.user).constData());
    if (!o.password.isEmpty())
        dpb->insertString(&st, isc_dpb_password, text(o.password).constData());
    if (!o.charset.isEmpty())
        dpb->insertString(&st, isc_dpb_lc_ctype, text(o.charset).constData());
    if (o.connectTimeout > 0)
        dpb->insertInt(&st, isc_dpb_connect_timeout, o.connectTimeout);
    if (o.dummyPacketInterval > 0)
        dpb->insertInt(&st, isc_dpb_dummy_packet_interval, o.dummyPacketInterval);
    return dpb;
}

} // namespace

Attachment::Attachment()
    : m_state(std::make_shared<AttachmentState>())
{
}

Attachment::~Attachment()
{
    try {
        close(EndAction::Rollback);
    } catch (const Error &) {
        // Nothing sensible can be done about a failed detach while unwinding.
    }
}

void Attachment::open(const ConnectOptions &options)
{
    close();
    const QString what = QStringLiteral("ATTACH ") + options.database;
    guarded(what, [&] {
        Status st;
        IXpbBuilder *dpb = makeDpb(st, options);
        const QByteArray name = text(options.database);
        try {
            m_state->handle = provider()->attachDatabase(&st, name.constData(),
                                                         dpb->getBufferLength(&st),
                                                         dpb->getBuffer(&st));
        } catch (...) {
            dpb->dispose();
            throw;
        }
        dpb->dispose();
    });
    m_state->database = options.database;
    m_state->charset = options.charset;
    m_options = options;
}

void Attachment::create(const ConnectOptions &options, const CreateOptions &create)
{
    close();
    const QString what = QStringLiteral("CREATE DATABASE ") + options.database;
    guarded(what, [&] {
        Status st;
        IXpbBuilder *dpb = makeDpb(st, options);
        try {
            dpb->insertInt(&st, isc_dpb_page_size, create.pageSize);
            dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
            dpb->insertInt(&st, isc_dpb_force_write, create.forcedWrites ? 1 : 0);
            if (!create.defaultCharset.isEmpty())
                dpb->insertString(&st, isc_dpb_set_db_charset,
                                  text(create.defaultCharset).constData());
            const QByteArray name = text(options.database);
            m_state->handle = provider()->createDatabase(&st, name.constData(),
                                                         dpb->getBufferLength(&st),
                                                         dpb->getBuffer(&st));
        } catch (...) {
            dpb->dispose();
            throw;
        }
        dpb->dispose();
    });
    m_state->database = options.database;
    m_state->charset = options.charset;
    m_options = options;
}

void Attachment::close(EndAction pending)
{
    if (!m_state->handle)
        return;
    // Statements and transactions first: the engine refuses to detach under them.
    for (StatementState *s : std::set(m_state->statements))
        s->release();
    m_state->statements.clear();
    std::optional<Error> failure;
    for (TransactionState *t : std::set(m_state->transactions)) {
        if (!t->handle)
            continue;
        if (t->groupEnd) {
            // A two-phase transaction ends as a whole, for both databases.
            try {
                t->groupEnd(pending == EndAction::Commit);
            } catch (const Error &e) {
                if (!failure)
                    failure = e;
            }
            continue;
        }
        try {
            guarded({}, [&] {
                Status st;
                if (pending == EndAction::Commit)
                    t->handle->commit(&st);
                else
                    t->handle->rollback(&st);
            });
        } catch (const Error &e) {
            if (!failure)
                failure = e;
            t->handle->release();
        }
        t->handle = nullptr;
    }
    try {
        guarded(QStringLiteral("DETACH ") + m_state->database, [&] {
            Status st;
            m_state->handle->detach(&st);
        });
    } catch (const Error &e) {
        if (!failure)
            failure = e;
        m_state->handle->release();
    }
    m_state->handle = nullptr;
    if (failure)
        throw *failure;
}

void Attachment::drop()
{
    if (!m_state->handle)
        return;
    for (StatementState *s : std::set(m_state->statements))
        s->release();
    m_state->statements.clear();
    for (TransactionState *t : std::set(m_state->transactions)) {
        if (t->handle && t->groupEnd) {
            try {
                t->groupEnd(false);
            } catch (const Error &) {
            }
        }
        if (t->handle) {
            try {
                Status st;
                t->handle->rollback(&st);
            } catch (const FbException &) {
                t->handle->release();
            }
            t->handle = nullptr;
        }
    }
    guarded(QStringLiteral("DROP DATABASE ") + m_state->database, [&] {
        Status st;
        m_state->handle->dropDatabase(&st);
    });
    m_state->handle = nullptr;
}

void Attachment::abandon()
{
    for (StatementState *s : std::set(m_state->statements))
        s->release();
    m_state->statements.clear();
    for (TransactionState *t : std::set(m_state->transactions)) {
        for (StatementState *s : std::set(t->cursors))
            s->closeCursor();
        t->cursors.clear();
        if (!t->handle)
            continue;
        try {
            Status st;
            t->handle->rollback(&st);
        } catch (const FbException &) {
            t->handle->release();
        }
        t->handle = nullptr;
    }
    if (!m_state->handle)
        return;
    try {
        Status st;
        m_state->handle->detach(&st);
    } catch (const FbException &) {
        m_state->handle->release();
    }
    m_state->handle = nullptr;
}

void Attachment::reconnect()
{
    const ConnectOptions saved = m_options;
    ConnectOptions options = saved;
    // Tried again and again from the one user-interface thread: a host that
    // is gone must not hold it long each time.
    if (options.connectTimeout <= 0 || options.connectTimeout > 3)
        options.connectTimeout = 3;
    abandon();
    open(options);
    m_options = saved;
}

bool Attachment::isOpen() const
{
    return m_state->handle != nullptr;
}

quint64 Attachment::commitCount() const
{
    return m_state->commits;
}

QString Attachment::database() const
{
    return m_state->database;
}

QString Attachment::charset() const
{
    return m_state->charset;
}

} // namespace fb
