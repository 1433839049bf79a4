#include "unonay.h"

#include "registers/approval.h"

#include "core/guarded.h"
#include "core/session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRMONAY::TFRMONAY(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("EVRAK ONAY İŞLEMLERİ"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->addItems({QStringLiteral("Evet"), QStringLiteral("Hayır")});
    EditTarih = new QLineEdit(this);
    EditTarih->setReadOnly(true);
    EditAcik = new QLineEdit(this);
    EditAcik->setMaxLength(50);
    EditUser = new QLineEdit(this);
    EditUser->setReadOnly(true);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Onay"), ComboBox1);
    form->addRow(QStringLiteral("Tarih / Saat"), EditTarih);
    form->addRow(QStringLiteral("&Açıklama"), EditAcik);
    form->addRow(QStringLiteral("Kullanıcı"), EditUser);

    BitBtn1 = new QPushButton(QStringLiteral("F5-Kayıt"), this);
    BitBtn2 = new QPushButton(QStringLiteral("F6-Vazgeç"), this);
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(BitBtn1, &QPushButton::clicked, this, &TFRMONAY::save);
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        mode = 0;
        closeForm(0);
    });
    bindKey(BitBtn2, Qt::Key_F6);
}

void TFRMONAY::FormActivate()
{
    Approval a(m_session, mode, kayno, bkod);
    bool found = false;
    guarded(m_session, [&] { found = a.load(); });
    if (!found) {
        m_session.prompt().message(QStringLiteral(
            "DİKKAT! Bu havale kaydı bulunamadı; başka bir kullanıcı silmiş olabilir."));
        BitBtn1->hide();
        EditAcik->setReadOnly(true);
        ComboBox1->setEnabled(false);
        return;
    }
    setWindowTitle(a.caption());
    ComboBox1->setCurrentIndex(0);
    EditTarih->setText(a.timeText());
    EditAcik->setText(a.note());
    EditAcik->setReadOnly(a.approved());
    EditUser->setText(a.user());
    ComboBox1->setEnabled(!a.approved());
    BitBtn1->setVisible(!a.approved());
    (a.approved() ? static_cast<QWidget *>(BitBtn2) : ComboBox1)->setFocus();
}

void TFRMONAY::save()
{
    Approval a(m_session, mode, kayno, bkod);
    if (a.save(ComboBox1->currentIndex() == 0, EditAcik->text()))
        closeForm(1);
}
