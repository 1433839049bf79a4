#include "unpasdeg.h"

#include "kit/buttonrow.h"
#include "core/guarded.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *passwordBox(QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setEchoMode(QLineEdit::Password);
    e->setMaxLength(users::kPasswordLength);
    return e;
}

void addRow(QFormLayout *form, const QString &caption, QLineEdit *edit)
{
    auto *label = new QLabel(caption, edit->parentWidget());
    label->setBuddy(edit);
    form->addRow(label, edit);
}

} // namespace

TFRMPASDEG::TFRMPASDEG(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , m_hakver(session, 50)
{
    setWindowTitle(QStringLiteral("ŞİFRE DEĞİŞİKLİĞİ"));
    auto *group = new QGroupBox(this);
    userNameEdit = new QLineEdit(group);
    userNameEdit->setObjectName(QStringLiteral("userNameEdit"));
    descriptionEdit = new QLineEdit(group);
    descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    for (QLineEdit *e : {userNameEdit, descriptionEdit}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    oldPasswordEdit = passwordBox(group);
    oldPasswordEdit->setObjectName(QStringLiteral("oldPasswordEdit"));
    newPasswordEdit = passwordBox(group);
    newPasswordEdit->setObjectName(QStringLiteral("newPasswordEdit"));
    repeatPasswordEdit = passwordBox(group);
    repeatPasswordEdit->setObjectName(QStringLiteral("repeatPasswordEdit"));
    auto *form = new QFormLayout(group);
    addRow(form, QStringLiteral("Kullanıcı Adı"), userNameEdit);
    addRow(form, QStringLiteral("Açıklama"), descriptionEdit);
    addRow(form, QStringLiteral("&Eski Şifre"), oldPasswordEdit);
    addRow(form, QStringLiteral("&Yeni Şifre"), newPasswordEdit);
    addRow(form, QStringLiteral("Şifre &Tekrarı"), repeatPasswordEdit);

    const SaveCancel buttons = saveCancelButtons(*this);
    saveButton = buttons.save;
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = buttons.cancel;
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons.row);
    setMinimumWidth(380);

    connect(saveButton, &QPushButton::clicked, this, &TFRMPASDEG::BitBtn2Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMPASDEG::BitBtn5Click);
    m_hakver.govern(saveButton, {rights::Flag::K, rights::Flag::D});
}

void TFRMPASDEG::FormActivate()
{
    m_change = std::make_unique<users::PasswordChange>(m_session, userName);
    bool found = false;
    guarded(m_session, [&] { found = m_change->open(); });
    userNameEdit->setText(m_change->user().USR);
    descriptionEdit->setText(m_change->user().ACIK);
    for (QLineEdit *e : {oldPasswordEdit, newPasswordEdit, repeatPasswordEdit})
        e->clear();
    saveButton->setEnabled(found);
    if (found)
        m_hakver.apply();
    oldPasswordEdit->setFocus();
}

void TFRMPASDEG::BitBtn2Click()
{
    auto back = users::PasswordChange::Field::Old;
    if (!guarded(m_session, [&] { back = m_change->save(oldPasswordEdit->text(), newPasswordEdit->text(), repeatPasswordEdit->text()); }))
        return;
    if (back == users::PasswordChange::Field::None) {
        closeForm(1);
        return;
    }
    QLineEdit *box = back == users::PasswordChange::Field::Old ? oldPasswordEdit : newPasswordEdit;
    box->setFocus();
    box->selectAll();
}

void TFRMPASDEG::BitBtn5Click()
{
    closeForm(0);
}
