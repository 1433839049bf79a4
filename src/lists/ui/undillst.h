#pragma once

#include "registerlistform.h"

/// "DİLEKÇE  LİSTESİ": the petition register's list, also its register book.
class TFRMDILLST : public RegisterListForm
{
    Q_OBJECT

public:
    TFRMDILLST(Session &session, FormRunner &runner, QWidget *parent = nullptr);

protected:
    void openRecord(int kayno) override;
};

/// Shows the petition list of `owner` (made on first use, kept for the run)
/// modally in `mode`. `openYear` opens the attachment database of a year.
TFRMDILLST &showPetitionList(QWidget &owner, Session &session, FormRunner &runner,
                             lists::RegisterList::Mode mode, std::function<bool(const QString &)> openYear,
                             const QHash<QString, int> &presets = {});
