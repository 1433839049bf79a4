#include "undillst.h"

#include "core/session.h"
#include "lists/petitionlist.h"
#include "registers/ui/undilekce.h"

TFRMDILLST::TFRMDILLST(Session &session, FormRunner &runner, QWidget *parent)
    : RegisterListForm(session, runner, lists::petitionList(), parent)
{
    setObjectName(QStringLiteral("TFRMDILLST"));
}

void TFRMDILLST::openRecord(int kayno)
{
    TFRMDILEKCE screen(m_session, m_runner, this);
    screen.tag = kayno > 0 ? 2 : 1;
    screen.kayno = kayno;
    m_runner.run(screen);
}

TFRMDILLST &showPetitionList(QWidget &owner, Session &session, FormRunner &runner,
                             lists::RegisterList::Mode mode, std::function<bool(const QString &)> openYear,
                             const QHash<QString, int> &presets)
{
    return showRegisterList<TFRMDILLST>(owner, session, runner, mode, std::move(openYear), presets);
}
