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
    LBKOD = new QLabel(Panel1);
    form->addRow(QStringLiteral(" Kurum Kodu"), LBKOD);
    ComboBox1 = new QComboBox(Panel1);
    for (const Choice &c : birim::kisilik())
        ComboBox1->addItem(c.caption, c.code);
    form->addRow(QStringLiteral(" Kişilik Türü"), ComboBox1);
    QLineEdit *name = recordparts::addBox(form, edits, QStringLiteral("BIRIM"), birim::nameCaption({}));
    LBIRIM = qobject_cast<QLabel *>(form->labelForField(name));
    QLineEdit *person = recordparts::addBox(form, edits, QStringLiteral("YETKILI"), birim::personCaption({}));
    LYETKILI = qobject_cast<QLabel *>(form->labelForField(person));
    recordparts::addBox(form, edits, QStringLiteral("UNVAN"), QStringLiteral(" Ünvanı"));
    recordparts::addBox(form, edits, QStringLiteral("EMAIL"), QStringLiteral(" e-posta Adresi"));

    auto *group = new QGroupBox(QStringLiteral("Benzer Kurum Listesi"), this);
    auto *groupLayout = new QVBoxLayout(group);
    m_model = new RowsModel({QStringLiteral("Dış Kurum Adı")}, this);
    DBGrid1 = gridparts::grid(group, m_model);
    DBGrid1->setFocusPolicy(Qt::ClickFocus);
    groupLayout->addWidget(DBGrid1);

    BitBtn1 = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    BitBtn2 = gridparts::button(this, QStringLiteral("F6-Vazgeç"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(group, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {BitBtn1, BitBtn2}));
    resize(600, 520);

    name->installEventFilter(this);
    connect(name, &QLineEdit::textChanged, this, &TFRMKURBIL::nameChanged);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TFRMKURBIL::kindChanged);
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMKURBIL::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFRMKURBIL::BitBtn2Click);
    bindKey(BitBtn1, Qt::Key_F5);
    bindKey(BitBtn2, Qt::Key_F6);
}

void TFRMKURBIL::FormActivate()
{
    if (!recordparts::open(this, m_record, BKOD, edits))
        return;
    m_lastKeyBlank = false;
    LBKOD->setText(m_record.mode() == BirimRecord::Edit ? QString::number(m_record.BKOD()) : QString());
    const int kind = ComboBox1->findData(m_record.value(QStringLiteral("GTUR")).toString());
    ComboBox1->setCurrentIndex(kind < 0 ? 0 : kind);
    kindChanged();
    nameChanged();
    edits.value(QStringLiteral("BIRIM"))->setFocus();
}

void TFRMKURBIL::kindChanged()
{
    const QString gtur = ComboBox1->currentData().toString();
    LBIRIM->setText(birim::nameCaption(gtur));
    LYETKILI->setText(birim::personCaption(gtur));
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
    m_record.setValue(QStringLiteral("GTUR"), ComboBox1->currentData());
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
