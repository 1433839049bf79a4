#include "unkurbil.h"

#include "kit/gridparts.h"
#include "recordparts.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFRMKURBIL::TFRMKURBIL(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , m_record(session, BirimKind::Body)
{
    setWindowTitle(QStringLiteral("KURUM BİLGİLERİ"));
    auto *Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *form = new QFormLayout(Panel1);
    codeLabel = new QLabel(Panel1);
    codeLabel->setObjectName(QStringLiteral("codeLabel"));
    form->addRow(QStringLiteral(" Kurum Kodu"), codeLabel);
    personKindBox = new QComboBox(Panel1);
    personKindBox->setObjectName(QStringLiteral("personKindBox"));
    for (const Choice &c : birim::kisilik())
        personKindBox->addItem(c.caption, c.code);
    form->addRow(QStringLiteral(" Kişilik Türü"), personKindBox);
    QLineEdit *name = recordparts::addBox(form, edits, QStringLiteral("BIRIM"), birim::nameCaption({}));
    nameCaptionLabel = qobject_cast<QLabel *>(form->labelForField(name));
    nameCaptionLabel->setObjectName(QStringLiteral("nameCaptionLabel"));
    QLineEdit *person = recordparts::addBox(form, edits, QStringLiteral("YETKILI"), birim::personCaption({}));
    contactCaptionLabel = qobject_cast<QLabel *>(form->labelForField(person));
    contactCaptionLabel->setObjectName(QStringLiteral("contactCaptionLabel"));
    recordparts::addBox(form, edits, QStringLiteral("UNVAN"), QStringLiteral(" Ünvanı"));
    recordparts::addBox(form, edits, QStringLiteral("EMAIL"), QStringLiteral(" e-posta Adresi"));

    auto *group = new QGroupBox(QStringLiteral("Benzer Kurum Listesi"), this);
    auto *groupLayout = new QVBoxLayout(group);
    m_model = new RowsModel({QStringLiteral("Dış Kurum Adı")}, this);
    similarGrid = gridparts::grid(group, m_model);
    similarGrid->setObjectName(QStringLiteral("similarGrid"));
    similarGrid->setFocusPolicy(Qt::ClickFocus);
    groupLayout->addWidget(similarGrid);

    saveButton = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = gridparts::button(this, QStringLiteral("F6-Vazgeç"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(group, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {saveButton, cancelButton}));
    resize(600, 520);

    name->installEventFilter(this);
    connect(name, &QLineEdit::textChanged, this, &TFRMKURBIL::nameChanged);
    connect(personKindBox, &QComboBox::currentIndexChanged, this, &TFRMKURBIL::kindChanged);
    connect(saveButton, &QPushButton::clicked, this, &TFRMKURBIL::BitBtn1Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMKURBIL::BitBtn2Click);
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
}

void TFRMKURBIL::FormActivate()
{
    if (!recordparts::open(this, m_record, BKOD, edits))
        return;
    m_lastKeyBlank = false;
    codeLabel->setText(m_record.mode() == BirimRecord::Edit ? QString::number(m_record.BKOD()) : QString());
    const int kind = personKindBox->findData(m_record.value(QStringLiteral("GTUR")).toString());
    personKindBox->setCurrentIndex(kind < 0 ? 0 : kind);
    kindChanged();
    nameChanged();
    edits.value(QStringLiteral("BIRIM"))->setFocus();
}

void TFRMKURBIL::kindChanged()
{
    const QString gtur = personKindBox->currentData().toString();
    nameCaptionLabel->setText(birim::nameCaption(gtur));
    contactCaptionLabel->setText(birim::personCaption(gtur));
}

void TFRMKURBIL::nameChanged()
{
    guarded(m_session, [this] {
        m_similar = m_record.similarNames(edits.value(QStringLiteral("BIRIM"))->text(), m_lastKeyBlank);
    });
    m_model->reset(int(m_similar.size()), [this](int row, int, int role) {
        return role == Qt::DisplayRole ? QVariant(m_similar[row].BIRIM) : QVariant();
    });
}

bool TFRMKURBIL::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty())
            m_lastKeyBlank = typed == QLatin1String(" ");
    }
    return KelmaForm::eventFilter(watched, event);
}

void TFRMKURBIL::BitBtn1Click()
{
    m_record.setValue(QStringLiteral("GTUR"), personKindBox->currentData());
    if (!recordparts::save(m_record, edits))
        return;
    BKOD = m_record.BKOD();
    closeForm(1);
}

void TFRMKURBIL::BitBtn2Click()
{
    m_record.cancel();
    closeForm(0);
}
