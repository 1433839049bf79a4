#include "unbelge.h"

#include "core/prompt.h"
#include "core/session.h"
#include "storage/attachments.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFRMBELGE::TFRMBELGE(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("BELGELER"));
    resize(640, 420);
    auto *layout = new QVBoxLayout(this);
    auto *list = new QGroupBox(QStringLiteral("BELGE LİSTESİ"), this);
    auto *listLayout = new QHBoxLayout(list);
    documentsGrid = new QTableWidget(0, 4, list);
    documentsGrid->setObjectName(QStringLiteral("documentsGrid"));
    documentsGrid->setHorizontalHeaderLabels({QStringLiteral("Sıra No"), QStringLiteral("Tür"),
                                              QStringLiteral("Açıklama"), QStringLiteral("Dosya")});
    documentsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    documentsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    documentsGrid->verticalHeader()->hide();
    documentsGrid->horizontalHeader()->setStretchLastSection(true);
    pictureLabel = new QLabel(list);
    pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    pictureLabel->setMinimumWidth(160);
    listLayout->addWidget(documentsGrid, 1);
    listLayout->addWidget(pictureLabel);
    layout->addWidget(list, 1);
    auto *buttons = new QHBoxLayout;
    scanButton = new QPushButton(QStringLiteral("Belge &Tara"), this);
    scanButton->setObjectName(QStringLiteral("scanButton"));
    exitButton = new QPushButton(QStringLiteral("F6-Çıkış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    buttons->addWidget(scanButton);
    buttons->addStretch();
    buttons->addWidget(exitButton);
    layout->addLayout(buttons);
    connect(scanButton, &QPushButton::clicked, this,
            [this] { m_session.prompt().message(QStringLiteral("Tarayıcı Bulunamadı.")); });
    connect(exitButton, &QPushButton::clicked, this, [this] { closeForm(1); });
    bindKey(exitButton, QKeySequence(Qt::Key_F6));
}

void TFRMBELGE::FormActivate()
{
    const int n = m_attachments ? m_attachments->rowCount() : 0;
    documentsGrid->setRowCount(n);
    for (int r = 0; r < n; ++r) {
        const QStringList texts = {m_attachments->value(r, "SIRNO").toString(),
                                   storage::shownType(m_attachments->value(r, "BELTUR").toString()),
                                   m_attachments->value(r, "ACIK").toString(),
                                   m_attachments->value(r, "DOSYA").toString()};
        for (int c = 0; c < 4; ++c)
            documentsGrid->setItem(r, c, new QTableWidgetItem(texts[c]));
    }
}
