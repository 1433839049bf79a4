#include "unetur.h"

#include "kit/gridparts.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFRMETUR::TFRMETUR(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , m_types(session)
{
    setWindowTitle(QStringLiteral("EVRAKLAR"));
    m_model = new RecordsModel(m_types.rows(), {{QStringLiteral("EVTUR"), QStringLiteral("Tür Açıklaması")}}, this);
    typesGrid = gridparts::grid(this, m_model, true);
    typesGrid->setObjectName(QStringLiteral("typesGrid"));
    deleteRowAction = new QAction(QStringLiteral("Kayıt Sil"), typesGrid);
    deleteRowAction->setObjectName(QStringLiteral("deleteRowAction"));
    typesGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    typesGrid->addAction(deleteRowAction);
    exitButton = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    exitButton->setObjectName(QStringLiteral("exitButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gridparts::heading(this, QStringLiteral("EVRAK TÜRÜ TANIMLARI")));
    layout->addWidget(typesGrid, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {exitButton}));
    resize(460, 480);

    connect(typesGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &, const QModelIndex &previous) { rowLeft(previous.row()); });
    gridparts::appendOnDownOrInsert(typesGrid, [this] { return appendRow(); });
    connect(deleteRowAction, &QAction::triggered, this, &TFRMETUR::KayitSilClick);
    connect(exitButton, &QPushButton::clicked, this, &TFRMETUR::BitBtn1Click);
    bindKey(exitButton, Qt::Key_Escape);
}

void TFRMETUR::FormActivate()
{
    guarded(m_session, [this] { m_types.read(); });
    m_model->refresh();
    if (m_model->rowCount() > 0)
        typesGrid->setCurrentIndex(m_model->index(0, 0));
    typesGrid->setFocus();
}

void TFRMETUR::rowLeft(int previous)
{
    if (m_moving || previous < 0)
        return;
    const int current = typesGrid->currentIndex().row();
    const int rowsBefore = m_model->rowCount();
    bool checked = false;
    guarded(m_session, [&] { checked = m_types.writePending(); });
    if (checked) {
        // A new row left empty went away: the rows below moved up one.
        if (m_types.rows().rowCount() < rowsBefore) {
            m_moving = true;
            m_model->refresh();
            const int row = current > previous ? current - 1 : current;
            typesGrid->setCurrentIndex(m_model->index(qBound(0, row, m_model->rowCount() - 1), 0));
            m_moving = false;
        }
        return;
    }
    // Refused: back to the row, as typed, for correction; the highlight
    // goes with it, so what the clerk sees is where the typing goes.
    m_moving = true;
    gridparts::holdRow(typesGrid, previous, [this](bool moving) { m_moving = moving; });
    m_moving = false;
}

int TFRMETUR::appendRow()
{
    bool checked = false;
    guarded(m_session, [&] { checked = m_types.writePending(); });
    if (!checked)
        return -1;
    const int row = m_types.append();
    m_model->refresh();
    return row;
}

void TFRMETUR::KayitSilClick()
{
    const int row = typesGrid->currentIndex().row();
    if (row < 0)
        return;
    guarded(m_session, [&] { m_types.remove(row); });
    m_model->refresh();
    if (m_model->rowCount() > 0)
        typesGrid->setCurrentIndex(m_model->index(qMin(row, m_model->rowCount() - 1), 0));
}

void TFRMETUR::BitBtn1Click()
{
    // Leaving the grid closes an open cell; what it holds goes into the row.
    exitButton->setFocus();
    bool closed = false;
    guarded(m_session, [&] { closed = m_types.close(); });
    if (!closed) {
        typesGrid->setFocus();
        return;
    }
    closeForm(0);
}
