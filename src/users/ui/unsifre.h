#pragma once

#include "kit/kelmaform.h"

class QLineEdit;
class QPushButton;

/// "ŞİFRE": asks the logged-in user for its password before a change to the
/// users. Tag 1 after "Kabul" (or Enter), 0 otherwise; what was typed stays
/// in Edit1 for the caller.
class TFRMSIFRE : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMSIFRE(Session &session, QWidget *parent = nullptr);

    QLineEdit *Edit1;
    QPushButton *BitBtn1; ///< Kabul
    QPushButton *BitBtn2; ///< Vazgeç

protected:
    void FormActivate() override;
};
