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
    Edit1 = new QLineEdit(this);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setMaxLength(users::kPasswordLength);
    auto *label = new QLabel(QStringLiteral("Ş&ifre"), this);
    label->setBuddy(Edit1);
    auto *form = new QFormLayout;
    form->addRow(label, Edit1);

    BitBtn1 = new QPushButton(QStringLiteral("&Kabul"), this);
    BitBtn2 = new QPushButton(QStringLiteral("&Vazgeç"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow({BitBtn1, BitBtn2}));
    setMinimumWidth(280);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { closeForm(1); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeForm(0); });
    connect(Edit1, &QLineEdit::returnPressed, BitBtn1, &QPushButton::click);
    bindKey(BitBtn2, Qt::Key_Escape);
}

void TFRMSIFRE::FormActivate()
{
    tag = 0;
    Edit1->clear();
    Edit1->setFocus();
}
