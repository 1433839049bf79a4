#include "unkurbul.h"

#include "kit/gridparts.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFRMKURBUL::TFRMKURBUL(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("EVRAK DIŞ KURUMLAR LİSTESİ"));
    auto *Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *search = new QHBoxLayout(Panel1);
    auto *label = new QLabel(QStringLiteral(" Kurum Adı"), Panel1);
    Edit1 = new QLineEdit(Panel1);
    label->setBuddy(Edit1);
    CheckBox1 = new QCheckBox(QStringLiteral("Kelime Ara"), Panel1);
    search->addWidget(label);
    search->addWidget(Edit1, 1);
    search->addWidget(CheckBox1);

    m_model = new RowsModel({QStringLiteral("Dış Kurum Adı")}, this);
    DBGrid1 = gridparts::grid(this, m_model);
    auto *hint = new QLabel(
        QStringLiteral("Seçmek İçin İlgili Hesap Üzerinde Çift Tıklayınız veya ENTER tuşunu kullanınız:"), this);
    BitBtn2 = gridparts::button(this, QStringLiteral("F2-Kod Ekle"));
    BitBtn2->hide();
    BitBtn1 = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(hint);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(gridparts::buttonBar(this, {BitBtn2}, {BitBtn1}));
    resize(640, 520);

    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::textChanged, this, &TFRMKURBUL::SORGULA);
    connect(Edit1, &QLineEdit::returnPressed, this, &TFRMKURBUL::choose);
    connect(CheckBox1, &QCheckBox::toggled, this, &TFRMKURBUL::SORGULA);
    gridparts::onChoose(DBGrid1, [this] { choose(); });
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMKURBUL::BitBtn1Click);
    bindKey(BitBtn1, Qt::Key_Escape);
}

void TFRMKURBUL::FormActivate()
{
    BKOD = 0;
    SORGULA();
    Edit1->setFocus();
}

void TFRMKURBUL::SORGULA()
{
    guarded(m_session, [this] {
        m_rows = birim::findBodies(m_session, Edit1->text(), CheckBox1->isChecked(), m_lastKeyBlank);
    });
    m_model->reset(int(m_rows.size()), [this](int row, int, int role) {
        return role == Qt::DisplayRole ? QVariant(m_rows[row].BIRIM) : QVariant();
    });
    if (!m_rows.isEmpty())
        DBGrid1->setCurrentIndex(m_model->index(0, 0));
}

void TFRMKURBUL::choose()
{
    const int row = DBGrid1->currentIndex().row();
    if (row < 0 || row >= m_rows.size() || m_rows[row].BKOD == 0)
        return;
    BKOD = m_rows[row].BKOD;
    closeForm(1);
}

void TFRMKURBUL::BitBtn1Click()
{
    closeForm(0);
}

bool TFRMKURBUL::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty())
            m_lastKeyBlank = typed == QLatin1String(" ");
    } else if (watched == Edit1 && event->type() == QEvent::FocusIn
               && static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason) {
        SORGULA();
    }
    return KelmaForm::eventFilter(watched, event);
}
