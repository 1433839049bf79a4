#include "unbirbil.h"

#include "kit/gridparts.h"
#include "recordparts.h"

#include "core/session.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRMBIRBIL::TFRMBIRBIL(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , m_record(session, BirimKind::Department)
{
    setWindowTitle(QStringLiteral("BİRİM BİLGİLERİ"));
    auto *Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *form = new QFormLayout(Panel1);
    // The department's short code, with the record number read-only beside it.
    auto *code = new QLineEdit(Panel1);
    code->setMaximumWidth(120);
    // Tab goes from name to name; the short code is for the mouse.
    code->setFocusPolicy(Qt::ClickFocus);
    code->setObjectName(recordparts::boxName(QStringLiteral("KODU")));
    edits.insert(QStringLiteral("KODU"), code);
    recordNumberLabel = new QLabel(Panel1);
    recordNumberLabel->setObjectName(QStringLiteral("recordNumberLabel"));
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(code);
    codeRow->addWidget(recordNumberLabel);
    codeRow->addStretch();
    auto *codeLabel = new QLabel(QStringLiteral(" Birim Kodu"), Panel1);
    codeLabel->setBuddy(code);
    form->addRow(codeLabel, codeRow);
    recordparts::addBox(form, edits, QStringLiteral("BIRIM"), QStringLiteral(" Birim Adı"));
    recordparts::addBox(form, edits, QStringLiteral("YETKILI"), QStringLiteral(" Birim Yetkilisi"));
    recordparts::addBox(form, edits, QStringLiteral("UNVAN"), QStringLiteral(" Ünvanı"));
    recordparts::addBox(form, edits, QStringLiteral("EMAIL"), QStringLiteral(" e-posta adresi"));
    recordparts::addBox(form, edits, QStringLiteral("ONEK"), QStringLiteral(" Evrak Sayı Ön Eki"));

    saveButton = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = gridparts::button(this, QStringLiteral("F6-Vazgeç"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(gridparts::buttonBar(this, {}, {saveButton, cancelButton}));
    setMinimumWidth(520);

    connect(saveButton, &QPushButton::clicked, this, &TFRMBIRBIL::BitBtn1Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMBIRBIL::BitBtn2Click);
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
}

void TFRMBIRBIL::FormActivate()
{
    if (!recordparts::open(this, m_record, BKOD, edits))
        return;
    recordNumberLabel->setText(m_record.mode() == BirimRecord::Edit ? QString::number(m_record.BKOD()) : QString());
    edits.value(QStringLiteral("KODU"))->setFocus();
}

void TFRMBIRBIL::BitBtn1Click()
{
    if (!recordparts::save(m_record, edits))
        return;
    BKOD = m_record.BKOD();
    closeForm(1);
}

void TFRMBIRBIL::BitBtn2Click()
{
    m_record.cancel();
    closeForm(0);
}
