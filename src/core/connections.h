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

    /// IBDATABASE and its long transaction for reading. Read-only: every
    /// write runs in a short transaction of its own on IBDATABASE, so a stray
    /// write through this one fails at once instead of riding along.
    fb::Attachment IBDATABASE;
    fb::Transaction IBTransaction1;
    /// Fresh look-ups.
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

    /// Closes the main database and opens it again under the given name.
    /// Throws fb::Error. Nothing pending is committed by it.
    void openMain(const QString &database, const QString &charset = QStringLiteral("WIN1254"));
    /// Closes both databases; whatever is still pending is rolled back, since
    /// every action has committed its own work. A lost connection is dropped
    /// without a word.
    void closeAll();
};
