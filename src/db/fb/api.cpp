#include "api_p.h"
#include "win1254.h"

#include <ibase.h>

namespace fb::detail {

using namespace Firebird;

IMaster *master()
{
    static IMaster *m = fb_get_master_interface();
    return m;
}

IUtil *util()
{
    static IUtil *u = master()->getUtilInterface();
    return u;
}

IProvider *provider()
{
    static IProvider *p = master()->getDispatcher();
    return p;
}

Status::Status()
    : m_wrapper(master()->getStatus())
{
}

Status::~Status()
{
    m_wrapper.dispose();
}

void rethrow(const FbException &e, const QString &sql)
{
    IStatus *status = e.getStatus();
    char buffer[2048];
    util()->formatStatus(buffer, sizeof buffer, status);
    // Server messages may carry Turkish names in the connection's code page.
    QString message = win1254::decode(QByteArray(buffer)).trimmed();

    const intptr_t *vector = status->getErrors();
    long gds = 0;
    if (vector && vector[0] == isc_arg_gds)
        gds = static_cast<long>(vector[1]);
    // The legacy helpers want ISC_STATUS; on our platforms it has the same width.
    static_assert(sizeof(ISC_STATUS) == sizeof(intptr_t));
    const auto *legacy = reinterpret_cast<const ISC_STATUS *>(vector);
    const int sqlCode = vector ? static_cast<int>(isc_sqlcode(legacy)) : 0;
    char state[6] = {};
    if (vector)
        fb_sqlstate(state, legacy);
    Error error(message, gds, sqlCode, QString::fromLatin1(state), sql);
    QList<long> codes;
    // Pairs of argument type and value; only the gds codes matter here.
    for (const intptr_t *v = vector; v && *v != isc_arg_end; v += 2) {
        if (*v == isc_arg_gds)
            codes.append(static_cast<long>(v[1]));
        else if (*v == isc_arg_cstring)
            ++v; // length, then pointer
    }
    error.setCodes(codes);
    throw error;
}

void StatementState::closeCursor()
{
    if (!cursor)
        return;
    try {
        Status st;
        cursor->close(&st);
    } catch (const FbException &) {
        // The transaction may already be gone; the handle is freed below.
        cursor->release();
    }
    cursor = nullptr;
    if (cursorTransaction)
        cursorTransaction->cursors.erase(this);
    cursorTransaction = nullptr;
}

void StatementState::release()
{
    closeCursor();
    if (outMeta) {
        outMeta->release();
        outMeta = nullptr;
    }
    if (statement) {
        try {
            Status st;
            statement->free(&st);
        } catch (const FbException &) {
            statement->release();
        }
        statement = nullptr;
    }
}

} // namespace fb::detail
