#include "ungidlst.h"

#include "lists/outgoinglist.h"
#include "core/session.h"
#include "registers/ui/ungiden.h"

TFRMGIDLST::TFRMGIDLST(Session &session, FormRunner &runner, QWidget *parent)
    : RegisterListForm(session, runner, lists::outgoingList(), parent)
{
    setObjectName(QStringLiteral("TFRMGIDLST"));
}

void TFRMGIDLST::openRecord(int kayno)
{
    TFRMGIDEN screen(m_session, m_runner, this);
    screen.tag = kayno > 0 ? 2 : 1;
    screen.kayno = kayno;
    m_runner.run(screen);
}

TFRMGIDLST &showOutgoingList(QWidget &owner, Session &session, FormRunner &runner,
                             lists::RegisterList::Mode mode, std::function<bool(const QString &)> openYear)
{
    return showRegisterList<TFRMGIDLST>(owner, session, runner, mode, std::move(openYear));
}
