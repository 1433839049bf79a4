#pragma once

#include "kit/kelmaform.h"
#include "users/useradmin.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

/// "KULLANICI YETKİLERİ": the four flags of one rights row, `hno` and `kod`
/// set by the users and rights screen before showing.
class TFRMHAKLAR : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMHAKLAR(Session &session, QWidget *parent = nullptr);

    int hno = 0;
    int kod = 0;
    QString userName; ///< shown above the choices

    /// "Giriş Yetkisi", "Kayıt Yetkisi", "Silme Yetkisi", "Değişiklik Yetkisi":
    /// button 0 "Evet", button 1 "Hayır"; none checked for a flag that is neither.
    QButtonGroup *DBRadioGroup1;
    QButtonGroup *DBRadioGroup2;
    QButtonGroup *DBRadioGroup3;
    QButtonGroup *DBRadioGroup4;
    QLabel *LBLBASLIK;
    QPushButton *BitBtn2; ///< F5-Kayıt
    QPushButton *BitBtn5; ///< F6-İptal

    void BitBtn2Click();
    void BitBtn5Click();

protected:
    void FormActivate() override;

private:
    users::RightsRow m_row;
};
