#pragma once

#include "registerlistform.h"

/// "GELEN EVRAK  LİSTESİ": the incoming register's list. Its record screen is
/// the incoming document's.
class TFRMGELLST : public RegisterListForm
{
    Q_OBJECT

public:
    TFRMGELLST(Session &session, FormRunner &runner, QWidget *parent = nullptr);

protected:
    void openRecord(int kayno) override;
};

/// Shows the incoming list of `owner` (made on first use, kept for the run so
/// that it keeps its filters) modally in `mode`. `openYear` opens the
/// attachment database of a year.
TFRMGELLST &showIncomingList(QWidget &owner, Session &session, FormRunner &runner,
                             lists::RegisterList::Mode mode, std::function<bool(const QString &)> openYear,
                             const QHash<QString, int> &presets = {});
