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
    auto *list = owner.findChild<TFRMGIDLST *>(QString(), Qt::FindDirectChildrenOnly);
    if (!list)
        list = new TFRMGIDLST(session, runner, &owner);
    list->mode = mode;
    list->list().openYearDatabase = std::move(openYear);
    session.printReturn = false;
    runner.run(*list);
    return *list;
}
