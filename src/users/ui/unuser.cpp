#include "unuser.h"

#include "kit/buttonrow.h"
#include "core/guarded.h"

#include "users/password.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRMUSER::TFRMUSER(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("KULLANICI TANIMI"));
    auto *group = new QGroupBox(this);
    auto *form = new QFormLayout(group);
    auto row = [&](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, group);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    userNameEdit = new QLineEdit(group);
    userNameEdit->setObjectName(QStringLiteral("userNameEdit"));
    userNameEdit->setMaxLength(users::kNameLength);
    passwordEdit = new QLineEdit(group);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    repeatPasswordEdit = new QLineEdit(group);
    repeatPasswordEdit->setObjectName(QStringLiteral("repeatPasswordEdit"));
    for (QLineEdit *e : {passwordEdit, repeatPasswordEdit}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(users::kPasswordLength);
    }
    fullNameEdit = new QLineEdit(group);
    fullNameEdit->setObjectName(QStringLiteral("fullNameEdit"));
    titleEdit = new QLineEdit(group);
    titleEdit->setObjectName(QStringLiteral("titleEdit"));
    for (QLineEdit *e : {fullNameEdit, titleEdit})
        e->setMaxLength(30);
    departmentBox = new QComboBox(group);
    departmentBox->setObjectName(QStringLiteral("departmentBox"));
    row(QStringLiteral("Kullanıcı &Adı"), userNameEdit);
    row(QStringLiteral("Kullanıcı &Şifresi"), passwordEdit);
    row(QStringLiteral("Şifre &Tekrarı"), repeatPasswordEdit);
    row(QStringLiteral(" Adı S&oyadı"), fullNameEdit);
    row(QStringLiteral(" &Görev Ünvanı"), titleEdit);
    row(QStringLiteral("Kullanacağı &Birim"), departmentBox);

    const SaveCancel buttons = saveCancelButtons(*this);
    saveButton = buttons.save;
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = buttons.cancel;
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons.row);
    setMinimumWidth(420);

    connect(saveButton, &QPushButton::clicked, this, &TFRMUSER::BitBtn2Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMUSER::BitBtn5Click);
}

void TFRMUSER::FormActivate()
{
    const auto mode = tag == users::UserRecord::Change ? users::UserRecord::Change : users::UserRecord::New;
    m_record = std::make_unique<users::UserRecord>(m_session, mode, hno);
    bool ready = false;
    guarded(m_session, [&] { ready = m_record->open(); });
    const users::UserRow &u = m_record->row();
    userNameEdit->setText(u.USR);
    userNameEdit->setReadOnly(!m_record->nameEditable());
    passwordEdit->setText(u.PSSWD);
    repeatPasswordEdit->clear();
    fullNameEdit->setText(u.ACIK);
    titleEdit->setText(u.ACIK1);
    departmentBox->clear();
    departmentBox->addItem(QStringLiteral("TÜMÜ"));
    for (const auto &d : m_record->departments())
        departmentBox->addItem(d.BIRIM);
    departmentBox->setCurrentIndex(m_record->departmentIndex() + 1);
    saveButton->setEnabled(ready);
    if (mode == users::UserRecord::New)
        fullNameEdit->setFocus();
    else
        passwordEdit->setFocus();
}

void TFRMUSER::BitBtn2Click()
{
    users::UserRow values;
    values.USR = userNameEdit->text();
    values.PSSWD = passwordEdit->text();
    values.ACIK = fullNameEdit->text();
    values.ACIK1 = titleEdit->text();
    const int chosen = departmentBox->currentIndex() - 1;
    values.OZEL = chosen >= 0 ? m_record->departments().value(chosen).BKOD : 0;
    auto back = users::UserRecord::Field::Name;
    if (!guarded(m_session, [&] { back = m_record->save(values, repeatPasswordEdit->text()); }))
        return;
    if (back == users::UserRecord::Field::None) {
        hno = m_record->row().HNO;
        closeForm(1);
        return;
    }
    QLineEdit *box = back == users::UserRecord::Field::Name ? userNameEdit : passwordEdit;
    box->setFocus();
    box->selectAll();
}

void TFRMUSER::BitBtn5Click()
{
    closeForm(0);
}
