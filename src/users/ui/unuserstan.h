#pragma once

#include "kit/hakver.h"

#include "kit/kelmaform.h"
#include "users/useradmin.h"

class FormRunner;
class QAction;
class QLabel;
class QPushButton;
class QTableWidget;

/// "KULLANICI VE YETKİ TANIMLARI": the users on the left, the selected user's
/// rights on the right. Opens the user record, the rights record and the
/// password prompt through the runner.
class TFRMUSERSTAN : public KelmaForm
{
    Q_OBJECT

public:
    TFRMUSERSTAN(Session &session, FormRunner &runner, QWidget *parent = nullptr);

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void DBGrid2DblClick();
    void ifre1Click();

    /// The user selected on the left, if any.
    const users::UserRow *selectedUser() const;
    /// Selects the user of that name; false when there is none.
    bool selectUser(const QString &name);

protected:
    void FormActivate() override;

private:
    void readUsers(int keepHno);
    void readRights(int keepKod);
    bool confirmed();

    FormRunner &m_runner;
    users::UserAdmin m_admin;
    HAKVER m_hakver;
    QString m_addRight;
    QList<users::UserRow> m_users;
    QList<users::RightsRow> m_rights;

    QTableWidget *usersGrid; // DBGrid1 "KULLANICI LİSTESİ"
    QTableWidget *rightsGrid; // DBGrid2 "YETKİLER"
    QLabel *hintLabel; // Label1 the hint about double-clicking
    QLabel *legendLabel; // what a greyed flag means
    QPushButton *newUserButton; // BitBtn1 "F2-Yeni Kullanıcı"
    QPushButton *changeButton; // BitBtn2 "F4-Değiştir"
    QPushButton *deleteUserButton; // BitBtn3 "F10-Kullanıcı Sil"
    QPushButton *exitButton; // BitBtn4 "ESC-Çıkış"
    QAction *passwordAction; // ifre1 hidden "Şifre", Ctrl+Alt+S
};
