#include "unbrmekle.h"

#include "core/guarded.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFRMBRMEKLE::TFRMBRMEKLE(Session &session, Routing &routing, QWidget *parent)
    : KelmaForm(session, parent)
    , m_routing(routing)
{
    setWindowTitle(QStringLiteral("BİRİM SEÇİMİ"));
    Label1 = new QLabel(QStringLiteral("Seçmek için Çift Tıklayınız"), this);
    DBGrid1 = new QListWidget(this);
    DBGrid1->setToolTip(QStringLiteral("Seçmek için Çift Tıklayınız"));
    auto *header = new QLabel(QStringLiteral("<b>Birim Adı</b>"), this);
    BitBtn1 = new QPushButton(QStringLiteral("&Tümünü Aktar"), this);
    BitBtn2 = new QPushButton(QStringLiteral("Çı&kış"), this);
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label1);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(420, 420);

    connect(DBGrid1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        choose(DBGrid1->row(item));
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        guarded(m_session, [this] { m_routing.routeAll(); });
        emit routed();
        closeForm(1);
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeForm(0); });
    bindKey(BitBtn2, Qt::Key_Escape);
}

void TFRMBRMEKLE::FormActivate()
{
    guarded(m_session, [this] { refill(); });
    DBGrid1->setFocus();
}

void TFRMBRMEKLE::refill()
{
    m_offered = m_routing.departmentsToOffer();
    DBGrid1->clear();
    for (const Department &d : m_offered)
        DBGrid1->addItem(d.BIRIM);
    if (!m_offered.isEmpty())
        DBGrid1->setCurrentRow(0);
}

void TFRMBRMEKLE::choose(int row)
{
    if (row < 0 || row >= m_offered.size())
        return;
    if (m_routing.route(m_offered[row])) {
        emit routed();
        guarded(m_session, [this] { refill(); });
        DBGrid1->setCurrentRow(qMin(row, DBGrid1->count() - 1));
    }
}
