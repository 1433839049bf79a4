#pragma once

#include "kit/kelmaform.h"

class QLineEdit;
class QPushButton;

/// "ŞİFRE": asks the logged-in user for its password before a change to the
/// users. Tag 1 after "Kabul" (or Enter), 0 otherwise; what was typed stays
/// in passwordEdit for the caller.
class TFRMSIFRE : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMSIFRE(Session &session, QWidget *parent = nullptr);

    /// The password as typed.
    QString typed() const;

protected:
    void FormActivate() override;

private:
    QLineEdit *passwordEdit; // Edit1
    QPushButton *acceptButton; // BitBtn1 "Kabul"
    QPushButton *cancelButton; // BitBtn2 "Vazgeç"
};
