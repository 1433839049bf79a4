#include "unsifre.h"

#include "kit/buttonrow.h"

#include "users/password.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRMSIFRE::TFRMSIFRE(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("ŞİFRE"));
    passwordEdit = new QLineEdit(this);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setMaxLength(users::kPasswordLength);
    auto *label = new QLabel(QStringLiteral("Ş&ifre"), this);
    label->setBuddy(passwordEdit);
    auto *form = new QFormLayout;
    form->addRow(label, passwordEdit);

    acceptButton = new QPushButton(QStringLiteral("&Kabul"), this);
    acceptButton->setObjectName(QStringLiteral("acceptButton"));
    cancelButton = new QPushButton(QStringLiteral("&Vazgeç"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({acceptButton, cancelButton}));
    setMinimumWidth(280);

    connect(acceptButton, &QPushButton::clicked, this, [this] { closeForm(1); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { closeForm(0); });
    connect(passwordEdit, &QLineEdit::returnPressed, acceptButton, &QPushButton::click);
    bindKey(cancelButton, Qt::Key_Escape);
}

void TFRMSIFRE::FormActivate()
{
    tag = 0;
    passwordEdit->clear();
    passwordEdit->setFocus();
}

QString TFRMSIFRE::typed() const
{
    return passwordEdit->text();
}
