#include "unpsswd.h"

#include "kit/buttonrow.h"
#include "core/guarded.h"

#include "users/password.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRMPSSWD::TFRMPSSWD(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , login(session)
{
    setWindowTitle(QStringLiteral("        KULLANICI GİRİŞİ"));
    auto *group = new QGroupBox(this);
    userNameEdit = new QLineEdit(group);
    userNameEdit->setObjectName(QStringLiteral("userNameEdit"));
    userNameEdit->setMaxLength(users::kNameLength);
    passwordEdit = new QLineEdit(group);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setMaxLength(users::kPasswordLength);
    auto *nameLabel = new QLabel(QStringLiteral("&Adı"), group);
    nameLabel->setBuddy(userNameEdit);
    auto *passwordLabel = new QLabel(QStringLiteral("Ş&ifresi"), group);
    passwordLabel->setBuddy(passwordEdit);
    auto *form = new QFormLayout(group);
    form->addRow(nameLabel, userNameEdit);
    form->addRow(passwordLabel, passwordEdit);

    okButton = new QPushButton(QStringLiteral("&Tamam"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    exitButton = new QPushButton(QStringLiteral("Çı&kış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow({okButton, exitButton}));
    setMinimumWidth(340);

    connect(okButton, &QPushButton::clicked, this, &TFRMPSSWD::BitBtn1Click);
    connect(exitButton, &QPushButton::clicked, this, &TFRMPSSWD::BitBtn2Click);
    connect(userNameEdit, &QLineEdit::returnPressed, passwordEdit, qOverload<>(&QWidget::setFocus));
    connect(passwordEdit, &QLineEdit::returnPressed, okButton, &QPushButton::click);
}

void TFRMPSSWD::FormActivate()
{
    login.open();
    passwordEdit->clear();
    if (!m_session.LUSR.isEmpty()) {
        userNameEdit->setText(m_session.LUSR);
        passwordEdit->setFocus();
    } else {
        userNameEdit->setFocus();
    }
}

void TFRMPSSWD::BitBtn1Click()
{
    users::Login::Check check = users::Login::Check::Ok;
    guarded(m_session, [&] { check = login.Tamam(userNameEdit->text(), passwordEdit->text()); });
    if (login.finished()) {
        closeForm(login.result() == users::Login::LoggedIn ? 1 : 0);
        return;
    }
    QLineEdit *back = check == users::Login::Check::UnknownUser ? userNameEdit : passwordEdit;
    back->setFocus();
    back->selectAll();
}

void TFRMPSSWD::BitBtn2Click()
{
    login.Cikis();
    closeForm(0);
}
