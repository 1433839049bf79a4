#pragma once

#include "kit/kelmaform.h"
#include "definitions/departments.h"

#include <QMap>

class QLabel;
class QLineEdit;
class QPushButton;

/// "BİRİM BİLGİLERİ": one department. Tag before: 0 new, 1 change the
/// department BKOD; after: 1 saved (BKOD is the saved one), 0 cancelled.
class TFRMBIRBIL : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMBIRBIL(Session &session, QWidget *parent = nullptr);

    int BKOD = 0;


    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void FormActivate() override;

private:
    BirimRecord m_record;

    QLabel *recordNumberLabel; // LBKOD
    QPushButton *saveButton; // BitBtn1 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn2 "F6-Vazgeç"
    /// The boxes by column: KODU, BIRIM, YETKILI, UNVAN, EMAIL, ONEK.
    QMap<QString, QLineEdit *> edits;
};
