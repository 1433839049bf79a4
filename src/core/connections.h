#pragma once

#include "connectionwatch.h"
#include "db/fb/attachment.h"
#include "db/fb/transaction.h"

#include <QString>

/// The database connections a run shares: the main database with its two
/// transactions, and the attachment database of a year with its own.
class Connections
{
public:
    Connections();

    /// IBDATABASE and its main transaction IBTransaction1 (every write of the screens).
    fb::Attachment IBDATABASE;
    fb::Transaction IBTransaction1;
    /// Look-ups, numbering queries and the external-body screens.
    fb::Transaction IBTransaction2;
    /// The attachment database of a year and its transaction.
    fb::Attachment IBTEXTDB;
    fb::Transaction IBTEXTTrans;

    /// The database user a workstation logs in with; empty parts take the
    /// program's default login.
    struct Credentials
    {
        QString user;
        QString password;
    };
    Credentials credentials;

    /// The login of every connection: the workstation's own user when one is
    /// set, else the default one.
    static fb::ConnectOptions login(const QString &database, const QString &charset,
                                    const Credentials &credentials = {});

    /// Notices lost connections and reconnects; see ConnectionWatch.
    ConnectionWatch watch;
    /// Re-attaches the main database (and the year's, when asked) in place and
    /// starts their transactions again. Throws fb::Error.
    void reconnect(bool text);

    /// Closes the main database (what is pending is committed, as it always was)
    /// and opens it again under the given name. Throws fb::Error.
    void openMain(const QString &database, const QString &charset = QStringLiteral("WIN1254"));
    /// Closes both databases, committing what is pending. A connection that is
    /// already lost has nothing left to commit: it is dropped without a word.
    void closeAll();
};
