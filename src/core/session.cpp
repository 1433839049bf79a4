#include "session.h"

#include <QSettings>

Session::Session(Prompt &prompt, Clock &clock, std::function<std::unique_ptr<QSettings>()> openStore)
    : m_prompt(prompt)
    , m_clock(clock)
    , m_openStore(std::move(openStore))
{
}
