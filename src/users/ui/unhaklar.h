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

    void BitBtn2Click();
    void BitBtn5Click();

protected:
    void FormActivate() override;

private:
    users::RightsRow m_row;

    QButtonGroup *entryRightChoice; // DBRadioGroup1 "Giriş Yetkisi"
    QButtonGroup *addRightChoice; // DBRadioGroup2 "Kayıt Yetkisi"
    QButtonGroup *deleteRightChoice; // DBRadioGroup3 "Silme Yetkisi"
    QButtonGroup *changeRightChoice; // DBRadioGroup4 "Değişiklik Yetkisi"
    QLabel *titleLabel; // LBLBASLIK
    QLabel *governsLabel; // what the code decides, and that greyed flags do nothing
    QPushButton *saveButton; // BitBtn2 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn5 "F6-İptal"
};
