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
    approvedBox = new QComboBox(this);
    approvedBox->setObjectName(QStringLiteral("approvedBox"));
    approvedBox->addItems({QStringLiteral("Evet"), QStringLiteral("Hayır")});
    approvalTimeEdit = new QLineEdit(this);
    approvalTimeEdit->setObjectName(QStringLiteral("approvalTimeEdit"));
    approvalTimeEdit->setReadOnly(true);
    noteEdit = new QLineEdit(this);
    noteEdit->setObjectName(QStringLiteral("noteEdit"));
    noteEdit->setMaxLength(50);
    userEdit = new QLineEdit(this);
    userEdit->setObjectName(QStringLiteral("userEdit"));
    userEdit->setReadOnly(true);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Onay"), approvedBox);
    form->addRow(QStringLiteral("Tarih / Saat"), approvalTimeEdit);
    form->addRow(QStringLiteral("&Açıklama"), noteEdit);
    form->addRow(QStringLiteral("Kullanıcı"), userEdit);

    saveButton = new QPushButton(QStringLiteral("F5-Kayıt"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = new QPushButton(QStringLiteral("F6-Vazgeç"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    saveButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(saveButton, &QPushButton::clicked, this, &TFRMONAY::save);
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        mode = 0;
        closeForm(0);
    });
    // The button says F5: the key saves too (and does nothing while it is hidden).
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
}

void TFRMONAY::FormActivate()
{
    Approval a(m_session, mode, kayno, bkod);
    bool found = false;
    guarded(m_session, [&] { found = a.load(); });
    if (!found) {
        m_session.prompt().message(QStringLiteral(
            "DİKKAT! Bu havale kaydı bulunamadı; başka bir kullanıcı silmiş olabilir."));
        saveButton->hide();
        noteEdit->setReadOnly(true);
        approvedBox->setEnabled(false);
        return;
    }
    setWindowTitle(a.caption());
    approvedBox->setCurrentIndex(0);
    approvalTimeEdit->setText(a.timeText());
    noteEdit->setText(a.note());
    noteEdit->setReadOnly(a.approved());
    userEdit->setText(a.user());
    approvedBox->setEnabled(!a.approved());
    saveButton->setVisible(!a.approved());
    (a.approved() ? static_cast<QWidget *>(cancelButton) : approvedBox)->setFocus();
}

void TFRMONAY::save()
{
    Approval a(m_session, mode, kayno, bkod);
    if (a.save(approvedBox->currentIndex() == 0, noteEdit->text()))
        closeForm(1);
}
