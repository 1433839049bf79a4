#pragma once

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/transaction.h"
#include "scriptedprompt.h"
#include "scriptedrunner.h"
#include "tempdatabase.h"

#include <QSettings>
#include <QStringList>

/// A workstation on a fresh KELMA database of its own, in the working year
/// 2021, user ZIRVO logged in without user control: the registers' setting.
/// `seed` runs first on a connection of its own and is committed.
struct Office
{
    TempDatabase db;
    ScriptedPrompt prompt;
    ScriptedRunner runner;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [] { return std::make_unique<QSettings>(); }};

    explicit Office(const QStringList &seed)
    {
        fb::Attachment a;
        db.createMain(a);
        fb::Transaction t(a);
        for (const QString &sql : seed)
            t.executeRaw(sql);
        t.commit();
        a.close();
        session.db.openMain(db.path());
        session.workstation.year = QStringLiteral("2021");
        session.LUSR = QStringLiteral("ZIRVO");
    }

    /// What is committed, read on the session's connection.
    QVariant query(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(session.db.IBDATABASE);
        return t.value(sql, params);
    }
};
