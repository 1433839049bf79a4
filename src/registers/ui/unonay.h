#pragma once

#include "kit/kelmaform.h"

class QComboBox;
class QLineEdit;
class QPushButton;

/// "EVRAK ONAY İŞLEMLERİ": approval of one routing row. Set `mode` (1 incoming,
/// 2 outgoing), `kayno` and `bkod` before showing; `mode` is 0 after a cancel.
class TFRMONAY : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMONAY(Session &session, QWidget *parent = nullptr);

    int mode = 1;
    int kayno = 0;
    int bkod = 0;

protected:
    void FormActivate() override;

private:
    void save();

    QComboBox *approvedBox; // ComboBox1 "Evet" / "Hayır"
    QLineEdit *approvalTimeEdit; // EditTarih "Tarih / Saat"
    QLineEdit *noteEdit; // EditAcik "Açıklama"
    QLineEdit *userEdit; // EditUser "Kullanıcı"
    QPushButton *saveButton; // BitBtn1 "F5-Kayıt" (the key itself is not bound here)
    QPushButton *cancelButton; // BitBtn2 "F6-Vazgeç"
};
