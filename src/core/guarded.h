#pragma once

#include "prompt.h"
#include "session.h"

#include "db/fb/error.h"

/// Runs one action of a screen. A database error stops the action where it
/// failed and is shown with Firebird's own text behind "Ayrıntılar"; the
/// caller leaves the screen as it was. Returns whether the action ran through.
///
/// A lost connection is said once; the program reconnects by itself, and an
/// action that failed before anything of it could be committed runs once more
/// on the new connection (what it had written died with the old one).
template <class Action>
bool guarded(Session &session, Action &&action)
{
    ConnectionWatch &watch = session.db.watch;
    const bool saidBefore = watch.isLost();
    try {
        watch.runOnce([&] { action(); });
        return true;
    } catch (const fb::Error &e) {
        if (e.message() == ConnectionWatch::uncertainMessage()) {
            session.prompt().error(e.message(), e.details());
        } else if (e.isConnectionLost() || watch.isLost()) {
            // While it lasts the status bar says it; one box is enough.
            if (!saidBefore)
                session.prompt().error(ConnectionWatch::lostMessage(), e.details());
        } else {
            session.prompt().error(QStringLiteral("DİKKAT! Veritabanı hatası: %1").arg(e.message()),
                                   e.details());
        }
        return false;
    }
}
