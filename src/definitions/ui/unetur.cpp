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
    DBGrid1 = gridparts::grid(this, m_model, true);
    KayitSil = new QAction(QStringLiteral("Kayıt Sil"), DBGrid1);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    DBGrid1->addAction(KayitSil);
    BitBtn1 = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gridparts::heading(this, QStringLiteral("EVRAK TÜRÜ TANIMLARI")));
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {BitBtn1}));
    resize(460, 480);

    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &, const QModelIndex &previous) { rowLeft(previous.row()); });
    gridparts::appendOnDownOrInsert(DBGrid1, [this] { return appendRow(); });
    connect(KayitSil, &QAction::triggered, this, &TFRMETUR::KayitSilClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMETUR::BitBtn1Click);
    bindKey(BitBtn1, Qt::Key_Escape);
}

void TFRMETUR::FormActivate()
{
    guarded(m_session, [this] { m_types.read(); });
    m_model->refresh();
    if (m_model->rowCount() > 0)
        DBGrid1->setCurrentIndex(m_model->index(0, 0));
    DBGrid1->setFocus();
}

void TFRMETUR::rowLeft(int previous)
{
    if (m_moving || previous < 0)
        return;
    const int current = DBGrid1->currentIndex().row();
    const int rowsBefore = m_model->rowCount();
    bool checked = false;
    guarded(m_session, [&] { checked = m_types.writePending(); });
    if (checked) {
        // A new row left empty went away: the rows below moved up one.
        if (m_types.rows().rowCount() < rowsBefore) {
            m_moving = true;
            m_model->refresh();
            const int row = current > previous ? current - 1 : current;
            DBGrid1->setCurrentIndex(m_model->index(qBound(0, row, m_model->rowCount() - 1), 0));
            m_moving = false;
        }
        return;
    }
    // Refused: back to the row, as typed, for correction.
    m_moving = true;
    DBGrid1->setCurrentIndex(m_model->index(previous, 0));
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
    const int row = DBGrid1->currentIndex().row();
    if (row < 0)
        return;
    guarded(m_session, [&] { m_types.remove(row); });
    m_model->refresh();
    if (m_model->rowCount() > 0)
        DBGrid1->setCurrentIndex(m_model->index(qMin(row, m_model->rowCount() - 1), 0));
}

void TFRMETUR::BitBtn1Click()
{
    // Leaving the grid closes an open cell; what it holds goes into the row.
    BitBtn1->setFocus();
    bool closed = false;
    guarded(m_session, [&] { closed = m_types.close(); });
    if (!closed) {
        DBGrid1->setFocus();
        return;
    }
    closeForm(0);
}
