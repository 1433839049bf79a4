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
    nameEdit = new QLineEdit(Panel1);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    label->setBuddy(nameEdit);
    wordSearchCheck = new QCheckBox(QStringLiteral("Kelime Ara"), Panel1);
    wordSearchCheck->setObjectName(QStringLiteral("wordSearchCheck"));
    search->addWidget(label);
    search->addWidget(nameEdit, 1);
    search->addWidget(wordSearchCheck);

    m_model = new RowsModel({QStringLiteral("Dış Kurum Adı")}, this);
    bodiesGrid = gridparts::grid(this, m_model);
    bodiesGrid->setObjectName(QStringLiteral("bodiesGrid"));
    auto *hint = new QLabel(
        QStringLiteral("Seçmek İçin İlgili Hesap Üzerinde Çift Tıklayınız veya ENTER tuşunu kullanınız:"), this);
    addCodeButton = gridparts::button(this, QStringLiteral("F2-Kod Ekle"));
    addCodeButton->setObjectName(QStringLiteral("addCodeButton"));
    addCodeButton->hide();
    exitButton = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    exitButton->setObjectName(QStringLiteral("exitButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(hint);
    layout->addWidget(bodiesGrid, 1);
    layout->addWidget(gridparts::buttonBar(this, {addCodeButton}, {exitButton}));
    resize(640, 520);

    nameEdit->installEventFilter(this);
    connect(nameEdit, &QLineEdit::textChanged, this, &TFRMKURBUL::SORGULA);
    connect(nameEdit, &QLineEdit::returnPressed, this, &TFRMKURBUL::choose);
    connect(wordSearchCheck, &QCheckBox::toggled, this, &TFRMKURBUL::SORGULA);
    gridparts::onChoose(bodiesGrid, [this] { choose(); });
    connect(exitButton, &QPushButton::clicked, this, &TFRMKURBUL::BitBtn1Click);
    bindKey(exitButton, Qt::Key_Escape);
}

void TFRMKURBUL::FormActivate()
{
    BKOD = 0;
    SORGULA();
    nameEdit->setFocus();
}

void TFRMKURBUL::SORGULA()
{
    guarded(m_session, [this] {
        m_rows = birim::findBodies(m_session, nameEdit->text(), wordSearchCheck->isChecked(), m_lastKeyBlank);
    });
    m_model->reset(int(m_rows.size()), [this](int row, int, int role) {
        return role == Qt::DisplayRole ? QVariant(m_rows[row].BIRIM) : QVariant();
    });
    if (!m_rows.isEmpty())
        bodiesGrid->setCurrentIndex(m_model->index(0, 0));
}

void TFRMKURBUL::choose()
{
    const int row = bodiesGrid->currentIndex().row();
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
    if (watched == nameEdit && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty())
            m_lastKeyBlank = typed == QLatin1String(" ");
    } else if (watched == nameEdit && event->type() == QEvent::FocusIn
               && static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason) {
        SORGULA();
    }
    return KelmaForm::eventFilter(watched, event);
}
