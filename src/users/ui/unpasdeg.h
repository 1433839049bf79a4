#pragma once

#include "kit/hakver.h"

#include "kit/kelmaform.h"
#include "users/password.h"

#include <memory>

class QLineEdit;
class QPushButton;

/// "ŞİFRE DEĞİŞİKLİĞİ": the user changes its own password. `userName` is set
/// by the main window before showing.
class TFRMPASDEG : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMPASDEG(Session &session, QWidget *parent = nullptr);

    QString userName;

    void BitBtn2Click();
    void BitBtn5Click();

protected:
    void FormActivate() override;

private:
    HAKVER m_hakver;
    std::unique_ptr<users::PasswordChange> m_change;

    QLineEdit *userNameEdit; // DBEdit2 "Kullanıcı Adı", read-only
    QLineEdit *descriptionEdit; // DBEdit1 "Açıklama", read-only
    QLineEdit *oldPasswordEdit; // Edit2 "Eski Şifre"
    QLineEdit *newPasswordEdit; // DBEdit3 "Yeni Şifre"
    QLineEdit *repeatPasswordEdit; // Edit1 "Şifre Tekrarı"
    QPushButton *saveButton; // BitBtn2 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn5 "F6-İptal"
};
