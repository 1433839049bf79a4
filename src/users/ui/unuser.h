#pragma once

#include "kit/kelmaform.h"
#include "users/useradmin.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

/// "KULLANICI TANIMI": a user's record. Tag 1 before showing for a new user,
/// 2 to change the user numbered `hno`.
class TFRMUSER : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMUSER(Session &session, QWidget *parent = nullptr);

    int hno = 0;

    void BitBtn2Click();
    void BitBtn5Click();

protected:
    void FormActivate() override;

private:
    std::unique_ptr<users::UserRecord> m_record;

    QLineEdit *userNameEdit; // DBEdit1 "Kullanıcı Adı"
    QLineEdit *passwordEdit; // DBEdit2 "Kullanıcı Şifresi"
    QLineEdit *repeatPasswordEdit; // Edit1 "Şifre Tekrarı"
    QLineEdit *fullNameEdit; // DBEdit3 " Adı Soyadı"
    QLineEdit *titleEdit; // DBEdit4 " Görev Ünvanı"
    QComboBox *departmentBox; // ComboBox1 "Kullanacağı Birim"
    QPushButton *saveButton; // BitBtn2 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn5 "F6-İptal"
};
