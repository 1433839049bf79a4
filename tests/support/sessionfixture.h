#pragma once

#include "scriptedprompt.h"
#include "tempdatabase.h"

#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/session.h"

#include "db/fb/transaction.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

/// One run's Session on a fresh KELMA database of its own (user ZIRVO with
/// every right, user control on), a scripted person, a fixed clock and a
/// settings store in a temporary folder. The test keeps a second connection
/// of its own: what it reads there is what was committed.
struct SessionFixture
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    TempDatabase db;
    Session session{prompt, clock, [this] {
        return std::make_unique<QSettings>(dir.filePath(QStringLiteral("KELMA.ini")), QSettings::IniFormat);
    }};
    fb::Attachment own;

    SessionFixture()
    {
        db.createMain(own);
        session.db.openMain(db.path());
        session.general = generalsettings::readRow(session.db.IBTransaction1);
    }

    /// Runs one statement on the test's connection and commits it.
    void exec(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(own);
        t.execute(sql, params);
        t.commit();
    }
    /// First column of the first row, as committed.
    QVariant value(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(own);
        const QVariant v = t.value(sql, params);
        t.commit();
        return v;
    }
    /// Every row, as committed.
    QList<QVariantList> rows(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(own);
        const auto r = t.rows(sql, params);
        t.commit();
        return r;
    }
};
