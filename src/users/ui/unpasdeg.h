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

    QLineEdit *DBEdit2; ///< "Kullanıcı Adı", read-only
    QLineEdit *DBEdit1; ///< "Açıklama", read-only
    QLineEdit *Edit2;   ///< "Eski Şifre"
    QLineEdit *DBEdit3; ///< "Yeni Şifre"
    QLineEdit *Edit1;   ///< "Şifre Tekrarı"
    QPushButton *BitBtn2; ///< F5-Kayıt
    QPushButton *BitBtn5; ///< F6-İptal

    void BitBtn2Click();
    void BitBtn5Click();

protected:
    void FormActivate() override;

private:
    HAKVER m_hakver;
    std::unique_ptr<users::PasswordChange> m_change;
};
