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
    DBEdit2 = new QLineEdit(group);
    DBEdit1 = new QLineEdit(group);
    for (QLineEdit *e : {DBEdit2, DBEdit1}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    Edit2 = passwordBox(group);
    DBEdit3 = passwordBox(group);
    Edit1 = passwordBox(group);
    auto *form = new QFormLayout(group);
    addRow(form, QStringLiteral("Kullanıcı Adı"), DBEdit2);
    addRow(form, QStringLiteral("Açıklama"), DBEdit1);
    addRow(form, QStringLiteral("&Eski Şifre"), Edit2);
    addRow(form, QStringLiteral("&Yeni Şifre"), DBEdit3);
    addRow(form, QStringLiteral("Şifre &Tekrarı"), Edit1);

    const SaveCancel buttons = saveCancelButtons(*this);
    BitBtn2 = buttons.save;
    BitBtn5 = buttons.cancel;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons.row);
    setMinimumWidth(380);

    connect(BitBtn2, &QPushButton::clicked, this, &TFRMPASDEG::BitBtn2Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TFRMPASDEG::BitBtn5Click);
    m_hakver.govern(BitBtn2, {rights::Flag::K, rights::Flag::D});
}

void TFRMPASDEG::FormActivate()
{
    m_change = std::make_unique<users::PasswordChange>(m_session, userName);
    bool found = false;
    guarded(m_session, [&] { found = m_change->open(); });
    DBEdit2->setText(m_change->user().USR);
    DBEdit1->setText(m_change->user().ACIK);
    for (QLineEdit *e : {Edit2, DBEdit3, Edit1})
        e->clear();
    BitBtn2->setEnabled(found);
    if (found)
        m_hakver.apply();
    Edit2->setFocus();
}

void TFRMPASDEG::BitBtn2Click()
{
    auto back = users::PasswordChange::Field::Old;
    if (!guarded(m_session, [&] { back = m_change->save(Edit2->text(), DBEdit3->text(), Edit1->text()); }))
        return;
    if (back == users::PasswordChange::Field::None) {
        closeForm(1);
        return;
    }
    QLineEdit *box = back == users::PasswordChange::Field::Old ? Edit2 : DBEdit3;
    box->setFocus();
    box->selectAll();
}

void TFRMPASDEG::BitBtn5Click()
{
    closeForm(0);
}
