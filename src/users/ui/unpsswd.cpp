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
    Edit1 = new QLineEdit(group);
    Edit1->setMaxLength(users::kNameLength);
    Edit2 = new QLineEdit(group);
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setMaxLength(users::kPasswordLength);
    auto *nameLabel = new QLabel(QStringLiteral("&Adı"), group);
    nameLabel->setBuddy(Edit1);
    auto *passwordLabel = new QLabel(QStringLiteral("Ş&ifresi"), group);
    passwordLabel->setBuddy(Edit2);
    auto *form = new QFormLayout(group);
    form->addRow(nameLabel, Edit1);
    form->addRow(passwordLabel, Edit2);

    BitBtn1 = new QPushButton(QStringLiteral("&Tamam"), this);
    BitBtn2 = new QPushButton(QStringLiteral("Çı&kış"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow({BitBtn1, BitBtn2}));
    setMinimumWidth(340);

    connect(BitBtn1, &QPushButton::clicked, this, &TFRMPSSWD::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFRMPSSWD::BitBtn2Click);
    connect(Edit1, &QLineEdit::returnPressed, Edit2, qOverload<>(&QWidget::setFocus));
    connect(Edit2, &QLineEdit::returnPressed, BitBtn1, &QPushButton::click);
}

void TFRMPSSWD::FormActivate()
{
    login.open();
    Edit2->clear();
    if (!m_session.LUSR.isEmpty()) {
        Edit1->setText(m_session.LUSR);
        Edit2->setFocus();
    } else {
        Edit1->setFocus();
    }
}

void TFRMPSSWD::BitBtn1Click()
{
    users::Login::Check check = users::Login::Check::Ok;
    guarded(m_session, [&] { check = login.Tamam(Edit1->text(), Edit2->text()); });
    if (login.finished()) {
        closeForm(login.result() == users::Login::LoggedIn ? 1 : 0);
        return;
    }
    QLineEdit *back = check == users::Login::Check::UnknownUser ? Edit1 : Edit2;
    back->setFocus();
    back->selectAll();
}

void TFRMPSSWD::BitBtn2Click()
{
    login.Cikis();
    closeForm(0);
}
