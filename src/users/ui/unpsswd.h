#pragma once

#include "kit/kelmaform.h"
#include "users/login.h"

class QLineEdit;
class QPushButton;

/// The login dialog: user name and password, three wrong attempts allowed.
/// Its result is that of `login`: 1 logged in, 2 abandoned (the run ends).
class TFRMPSSWD : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMPSSWD(Session &session, QWidget *parent = nullptr);

    users::Login login;

    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void FormActivate() override;

private:
    QLineEdit *userNameEdit; // Edit1 "Adı"
    QLineEdit *passwordEdit; // Edit2 "Şifresi"
    QPushButton *okButton; // BitBtn1 "Tamam"
    QPushButton *exitButton; // BitBtn2 "Çıkış"
};
