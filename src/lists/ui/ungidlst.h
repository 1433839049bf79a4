#pragma once

#include "registerlistform.h"

/// "GİDEN EVRAK  LİSTESİ": the outgoing register's list. Its record screen is
/// the outgoing letter's.
class TFRMGIDLST : public RegisterListForm
{
    Q_OBJECT

public:
    TFRMGIDLST(Session &session, FormRunner &runner, QWidget *parent = nullptr);

protected:
    void openRecord(int kayno) override;
};

/// Shows the outgoing list of `owner` (made on first use, kept for the run so
/// that it keeps its filters) modally in `mode`. `openYear` opens the
/// attachment database of a year.
TFRMGIDLST &showOutgoingList(QWidget &owner, Session &session, FormRunner &runner,
                             lists::RegisterList::Mode mode, std::function<bool(const QString &)> openYear);
