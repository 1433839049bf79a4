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
    edits.insert(QStringLiteral("KODU"), code);
    LBKOD = new QLabel(Panel1);
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(code);
    codeRow->addWidget(LBKOD);
    codeRow->addStretch();
    auto *codeLabel = new QLabel(QStringLiteral(" Birim Kodu"), Panel1);
    codeLabel->setBuddy(code);
    form->addRow(codeLabel, codeRow);
    recordparts::addBox(form, edits, QStringLiteral("BIRIM"), QStringLiteral(" Birim Adı"));
    recordparts::addBox(form, edits, QStringLiteral("YETKILI"), QStringLiteral(" Birim Yetkilisi"));
    recordparts::addBox(form, edits, QStringLiteral("UNVAN"), QStringLiteral(" Ünvanı"));
    recordparts::addBox(form, edits, QStringLiteral("EMAIL"), QStringLiteral(" e-posta adresi"));
    recordparts::addBox(form, edits, QStringLiteral("ONEK"), QStringLiteral(" Evrak Sayı Ön Eki"));

    BitBtn1 = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    BitBtn2 = gridparts::button(this, QStringLiteral("F6-Vazgeç"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(gridparts::buttonBar(this, {}, {BitBtn1, BitBtn2}));
    setMinimumWidth(520);

    connect(BitBtn1, &QPushButton::clicked, this, &TFRMBIRBIL::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFRMBIRBIL::BitBtn2Click);
    bindKey(BitBtn1, Qt::Key_F5);
    bindKey(BitBtn2, Qt::Key_F6);
}

void TFRMBIRBIL::FormActivate()
{
    if (!recordparts::open(this, m_record, BKOD, edits))
        return;
    LBKOD->setText(m_record.mode() == BirimRecord::Edit ? QString::number(m_record.BKOD()) : QString());
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
