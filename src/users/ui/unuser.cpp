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
    DBEdit1 = new QLineEdit(group);
    DBEdit1->setMaxLength(users::kNameLength);
    DBEdit2 = new QLineEdit(group);
    Edit1 = new QLineEdit(group);
    for (QLineEdit *e : {DBEdit2, Edit1}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(users::kPasswordLength);
    }
    DBEdit3 = new QLineEdit(group);
    DBEdit4 = new QLineEdit(group);
    for (QLineEdit *e : {DBEdit3, DBEdit4})
        e->setMaxLength(30);
    ComboBox1 = new QComboBox(group);
    row(QStringLiteral("Kullanıcı &Adı"), DBEdit1);
    row(QStringLiteral("Kullanıcı &Şifresi"), DBEdit2);
    row(QStringLiteral("Şifre &Tekrarı"), Edit1);
    row(QStringLiteral(" Adı S&oyadı"), DBEdit3);
    row(QStringLiteral(" &Görev Ünvanı"), DBEdit4);
    row(QStringLiteral("Kullanacağı &Birim"), ComboBox1);

    const SaveCancel buttons = saveCancelButtons(*this);
    BitBtn2 = buttons.save;
    BitBtn5 = buttons.cancel;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons.row);
    setMinimumWidth(420);

    connect(BitBtn2, &QPushButton::clicked, this, &TFRMUSER::BitBtn2Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TFRMUSER::BitBtn5Click);
}

void TFRMUSER::FormActivate()
{
    const auto mode = tag == users::UserRecord::Change ? users::UserRecord::Change : users::UserRecord::New;
    m_record = std::make_unique<users::UserRecord>(m_session, mode, hno);
    bool ready = false;
    guarded(m_session, [&] { ready = m_record->open(); });
    const users::UserRow &u = m_record->row();
    DBEdit1->setText(u.USR);
    DBEdit1->setReadOnly(!m_record->nameEditable());
    DBEdit2->setText(u.PSSWD);
    Edit1->clear();
    DBEdit3->setText(u.ACIK);
    DBEdit4->setText(u.ACIK1);
    ComboBox1->clear();
    ComboBox1->addItem(QStringLiteral("TÜMÜ"));
    for (const auto &d : m_record->departments())
        ComboBox1->addItem(d.BIRIM);
    ComboBox1->setCurrentIndex(m_record->departmentIndex() + 1);
    BitBtn2->setEnabled(ready);
    if (mode == users::UserRecord::New)
        DBEdit3->setFocus();
    else
        DBEdit2->setFocus();
}

void TFRMUSER::BitBtn2Click()
{
    users::UserRow values;
    values.USR = DBEdit1->text();
    values.PSSWD = DBEdit2->text();
    values.ACIK = DBEdit3->text();
    values.ACIK1 = DBEdit4->text();
    const int chosen = ComboBox1->currentIndex() - 1;
    values.OZEL = chosen >= 0 ? m_record->departments().value(chosen).BKOD : 0;
    auto back = users::UserRecord::Field::Name;
    if (!guarded(m_session, [&] { back = m_record->save(values, Edit1->text()); }))
        return;
    if (back == users::UserRecord::Field::None) {
        hno = m_record->row().HNO;
        closeForm(1);
        return;
    }
    QLineEdit *box = back == users::UserRecord::Field::Name ? DBEdit1 : DBEdit2;
    box->setFocus();
    box->selectAll();
}

void TFRMUSER::BitBtn5Click()
{
    closeForm(0);
}
