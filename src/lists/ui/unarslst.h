#pragma once

#include "registerlistform.h"

/// "ARŞİV BELGELERİ  LİSTESİ": the archive register's list; work mode only.
class TFRMARSIVLST : public RegisterListForm
{
    Q_OBJECT

public:
    TFRMARSIVLST(Session &session, FormRunner &runner, QWidget *parent = nullptr);

protected:
    void FormActivate() override;
    void openRecord(int kayno) override;
};

/// Shows the archive list of `owner` (made on first use, kept for the run)
/// modally. `openYear` opens the attachment database of a year.
TFRMARSIVLST &showArchiveList(QWidget &owner, Session &session, FormRunner &runner,
                              std::function<bool(const QString &)> openYear);
