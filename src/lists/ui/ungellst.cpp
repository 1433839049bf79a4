#include "ungellst.h"

#include "lists/incominglist.h"
#include "core/session.h"
#include "registers/ui/ungelen.h"

TFRMGELLST::TFRMGELLST(Session &session, FormRunner &runner, QWidget *parent)
    : RegisterListForm(session, runner, lists::incomingList(), parent)
{
    setObjectName(QStringLiteral("TFRMGELLST"));
}

void TFRMGELLST::openRecord(int kayno)
{
    TFRMGELEN screen(m_session, m_runner, this);
    screen.tag = kayno > 0 ? 2 : 1;
    screen.kayno = kayno;
    m_runner.run(screen);
}

TFRMGELLST &showIncomingList(QWidget &owner, Session &session, FormRunner &runner,
                             lists::RegisterList::Mode mode, std::function<bool(const QString &)> openYear,
                             const QHash<QString, int> &presets)
{
    return showRegisterList<TFRMGELLST>(owner, session, runner, mode, std::move(openYear), presets);
}
