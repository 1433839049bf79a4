#include "unarslst.h"

#include "core/session.h"
#include "lists/archivelist.h"
#include "registers/ui/unarsiv.h"

TFRMARSIVLST::TFRMARSIVLST(Session &session, FormRunner &runner, QWidget *parent)
    : RegisterListForm(session, runner, lists::archiveList(), parent)
{
    setObjectName(QStringLiteral("TFRMARSIVLST"));
}

void TFRMARSIVLST::FormActivate()
{
    mode = lists::RegisterList::Mode::Work; // it has no register book
    // It prints nothing, so another list's print mark must not keep it stale.
    const bool printReturn = m_session.printReturn;
    m_session.printReturn = false;
    RegisterListForm::FormActivate();
    m_session.printReturn = printReturn;
}

void TFRMARSIVLST::openRecord(int kayno)
{
    TFRMARSIV screen(m_session, m_runner, this);
    screen.tag = kayno > 0 ? 2 : 1;
    screen.kayno = kayno;
    m_runner.run(screen);
}

TFRMARSIVLST &showArchiveList(QWidget &owner, Session &session, FormRunner &runner,
                              std::function<bool(const QString &)> openYear)
{
    return showRegisterList<TFRMARSIVLST>(owner, session, runner, lists::RegisterList::Mode::Work, std::move(openYear));
}
