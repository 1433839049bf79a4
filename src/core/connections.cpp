#include "connections.h"

#include "db/fb/error.h"

#include <optional>

namespace {

fb::TransactionOptions readOptions()
{
    fb::TransactionOptions o;
    o.readOnly = true;
    return o;
}

fb::TransactionOptions lookupOptions()
{
    fb::TransactionOptions o;
    // Short waits: a look-up must never hang the one user-interface thread.
    o.lockTimeout = 5;
    return o;
}

} // namespace

Connections::Connections()
    : IBTransaction1(IBDATABASE, readOptions())
    , IBTransaction2(IBDATABASE, lookupOptions())
    , IBTEXTTrans(IBTEXTDB)
    , watch(*this)
{
}

fb::ConnectOptions Connections::login(const QString &database, const QString &charset,
                                      const Credentials &credentials)
{
    fb::ConnectOptions o;
    o.database = database;
    o.user = credentials.user.isEmpty() ? QStringLiteral("SYSDBA") : credentials.user;
    o.password = credentials.user.isEmpty() || credentials.password.isEmpty() ? QStringLiteral("WEXD")
                                                                              : credentials.password;
    o.charset = charset;
    return o;
}

void Connections::reconnect(bool text)
{
    IBDATABASE.reconnect();
    IBTransaction1.start();
    if (text && IBTEXTDB.wasOpened()) {
        IBTEXTDB.reconnect();
        IBTEXTTrans.start();
    }
}

void Connections::openMain(const QString &database, const QString &charset)
{
    IBDATABASE.close(fb::Attachment::EndAction::Rollback);
    IBDATABASE.open(login(database, charset, credentials));
    IBTransaction1.start();
}

void Connections::closeAll()
{
    // Both, whatever happens to the first: a failed detach must not keep the
    // other attached.
    watch.stop();
    std::optional<fb::Error> failure;
    for (fb::Attachment *a : {&IBDATABASE, &IBTEXTDB}) {
        try {
            a->close(fb::Attachment::EndAction::Rollback);
        } catch (const fb::Error &e) {
            if (e.isConnectionLost())
                a->abandon();
            else if (!failure)
                failure = e;
        }
    }
    if (failure)
        throw *failure;
}
