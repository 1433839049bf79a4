#pragma once

#include "app/prompt.h"
#include "app/session.h"
#include "db/fb/error.h"

namespace definitions {

/// Runs one action of a screen. A database error is shown and the action
/// counts as not done; the caller leaves the screen as it was.
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

} // namespace definitions
