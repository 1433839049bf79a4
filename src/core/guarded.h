#pragma once

#include "prompt.h"
#include "session.h"

#include "db/fb/error.h"

/// Runs one action of a screen. A database error stops the action where it
/// failed and is shown with Firebird's own text behind "Ayrıntılar"; the
/// caller leaves the screen as it was. Returns whether the action ran through.
template <class Action>
bool guarded(Session &session, Action &&action)
{
    try {
        action();
        return true;
    } catch (const fb::Error &e) {
        session.prompt().error(QStringLiteral("DİKKAT! Veritabanı hatası: %1").arg(e.message()),
                               e.details());
        return false;
    }
}
