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

    QLineEdit *DBEdit1;    ///< "Kullanıcı Adı"
    QLineEdit *DBEdit2;    ///< "Kullanıcı Şifresi"
    QLineEdit *Edit1;      ///< "Şifre Tekrarı"
    QLineEdit *DBEdit3;    ///< " Adı Soyadı"
    QLineEdit *DBEdit4;    ///< " Görev Ünvanı"
    QComboBox *ComboBox1;  ///< "Kullanacağı Birim"
    QPushButton *BitBtn2;  ///< F5-Kayıt
    QPushButton *BitBtn5;  ///< F6-İptal

    void BitBtn2Click();
    void BitBtn5Click();

protected:
    void FormActivate() override;

private:
    std::unique_ptr<users::UserRecord> m_record;
};
