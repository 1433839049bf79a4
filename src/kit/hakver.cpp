#include "hakver.h"

#include "core/session.h"

#include <QAction>
#include <QWidget>

HAKVER::HAKVER(Session &session, int code)
    : m_session(session)
    , m_code(code)
{
}

HAKVER &HAKVER::govern(QWidget *control, rights::Flag flag)
{
    return govern(control, {flag});
}

HAKVER &HAKVER::govern(QWidget *control, std::initializer_list<rights::Flag> anyOf)
{
    QPointer<QWidget> guard(control);
    m_rules.append({[guard](bool on) { if (guard) guard->setEnabled(on); }, anyOf});
    return *this;
}

HAKVER &HAKVER::govern(QAction *item, rights::Flag flag)
{
    QPointer<QAction> guard(item);
    m_rules.append({[guard](bool on) { if (guard) guard->setEnabled(on); }, {flag}});
    return *this;
}

void HAKVER::apply()
{
    if (!rights::inForce(m_session))
        return;
    rights::HAKBUL(m_session, m_code);
    for (const Rule &rule : std::as_const(m_rules)) {
        bool on = false;
        for (rights::Flag f : rule.anyOf)
            on = on || rights::current(m_session, f) == QLatin1String("E");
        rule.setEnabled(on);
    }
}
