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
    hintLabel = new QLabel(QStringLiteral("Seçmek için Çift Tıklayınız"), this);
    hintLabel->setObjectName(QStringLiteral("hintLabel"));
    departmentsList = new QListWidget(this);
    departmentsList->setObjectName(QStringLiteral("departmentsList"));
    departmentsList->setToolTip(QStringLiteral("Seçmek için Çift Tıklayınız"));
    auto *header = new QLabel(QStringLiteral("<b>Birim Adı</b>"), this);
    routeAllButton = new QPushButton(QStringLiteral("&Tümünü Aktar"), this);
    routeAllButton->setObjectName(QStringLiteral("routeAllButton"));
    exitButton = new QPushButton(QStringLiteral("Çı&kış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    routeAllButton->setAutoDefault(false);
    exitButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hintLabel);
    buttons->addStretch();
    buttons->addWidget(routeAllButton);
    buttons->addWidget(exitButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(departmentsList, 1);
    layout->addLayout(buttons);
    resize(420, 420);

    connect(departmentsList, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        choose(departmentsList->row(item));
    });
    connect(routeAllButton, &QPushButton::clicked, this, [this] {
        guarded(m_session, [this] { m_routing.routeAll(); });
        emit routed();
        closeForm(1);
    });
    connect(exitButton, &QPushButton::clicked, this, [this] { closeForm(0); });
    bindKey(exitButton, Qt::Key_Escape);
}

void TFRMBRMEKLE::FormActivate()
{
    guarded(m_session, [this] { refill(); });
    departmentsList->setFocus();
}

void TFRMBRMEKLE::refill()
{
    m_offered = m_routing.departmentsToOffer();
    departmentsList->clear();
    for (const Department &d : m_offered)
        departmentsList->addItem(d.BIRIM);
    if (!m_offered.isEmpty())
        departmentsList->setCurrentRow(0);
}

void TFRMBRMEKLE::choose(int row)
{
    if (row < 0 || row >= m_offered.size())
        return;
    if (m_routing.route(m_offered[row])) {
        emit routed();
        guarded(m_session, [this] { refill(); });
        departmentsList->setCurrentRow(qMin(row, departmentsList->count() - 1));
    }
}
