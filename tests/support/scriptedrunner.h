#pragma once

#include "kit/kelmaform.h"

#include <QList>
#include <QStringList>

#include <functional>

/// Plays the person at each screen a form opens: the next queued step gets the
/// real form (already activated, as if on screen) and fills fields or presses
/// buttons. A screen nobody expected is closed with tag 0 and recorded.
class ScriptedRunner : public FormRunner
{
public:
    using Step = std::function<void(KelmaForm &)>;

    ScriptedRunner &then(Step step)
    {
        m_steps.append(std::move(step));
        return *this;
    }

    void run(KelmaForm &form) override
    {
        m_shown << form.metaObject()->className();
        form.show();
        if (m_steps.isEmpty()) {
            m_unexpected << form.metaObject()->className();
            form.closeForm(0);
            return;
        }
        m_steps.takeFirst()(form);
        // A step that left the form open is the person walking away: treat as cancel.
        if (form.isVisible())
            form.closeForm(0);
    }

    bool done() const { return m_steps.isEmpty() && m_unexpected.isEmpty(); }
    const QStringList &shown() const { return m_shown; }
    QString report() const
    {
        return QStringLiteral("shown: %1; unexpected: %2; steps left: %3")
            .arg(m_shown.join(u','), m_unexpected.join(u','))
            .arg(m_steps.size());
    }

private:
    QList<Step> m_steps;
    QStringList m_shown;
    QStringList m_unexpected;
};
