#pragma once

#include "users/rights.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <initializer_list>

class QAction;
class QWidget;
class Session;

/// The rights rule of a governed screen: with user control on, each control
/// the screen names works exactly while its flag is "E" for the screen's code
/// (an empty flag disables); with user control off nothing is touched. Keys
/// bound to a disabled button and shortcuts of a disabled item do nothing.
///
///     HAKVER hakver(session, 22);
///     hakver.govern(newButton, rights::Flag::K).govern(deleteButton, rights::Flag::S);
///     hakver.apply(); // on every activation
class HAKVER
{
public:
    HAKVER(Session &session, int code);

    HAKVER &govern(QWidget *control, rights::Flag flag);
    HAKVER &govern(QAction *item, rights::Flag flag);
    /// Works while any one of the flags is "E".
    HAKVER &govern(QWidget *control, std::initializer_list<rights::Flag> anyOf);

    /// Looks the code up (setting the session's current rights) and enables
    /// or disables the controls. Does nothing while user control is off.
    void apply();

    int code() const { return m_code; }

private:
    struct Rule
    {
        std::function<void(bool)> setEnabled;
        QList<rights::Flag> anyOf;
    };

    Session &m_session;
    int m_code;
    QList<Rule> m_rules;
};
