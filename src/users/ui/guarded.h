#pragma once

#include "app/prompt.h"
#include "app/session.h"

#include "db/fb/error.h"

/// Runs one action of a screen. A database error stops the action where it
/// failed and is shown; the screen stays as it was. Returns whether it ran through.
template <typename Action>
bool guarded(Session &session, Action &&action)
{
    try {
        action();
        return true;
    } catch (const fb::Error &e) {
        session.prompt().error(e.message(), e.details());
        return false;
    }
}
