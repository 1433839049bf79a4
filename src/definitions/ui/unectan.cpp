#include "unectan.h"

#include "kit/gridparts.h"
#include "unecbil.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFRMECTANIM::TFRMECTANIM(Session &session, FormRunner &runner, QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
{
    setWindowTitle(QStringLiteral("EVRAK CİNSİ TANIMLARI"));
    m_kindModel = new RowsModel({QStringLiteral("Evrak Cinsi Açıklaması"), QStringLiteral("Bölümü")}, this);
    DBGrid1 = gridparts::grid(this, m_kindModel);
    DBGrid1->horizontalHeader()->resizeSection(0, 320);
    m_fieldModel = new RowsModel({QStringLiteral("Alan Adı"), QStringLiteral("Türü")}, this);
    DBGrid2 = gridparts::grid(this, m_fieldModel);
    DBGrid2->horizontalHeader()->resizeSection(0, 320);

    BitBtn1 = gridparts::button(this, QStringLiteral("F2-Ekle"));
    BitBtn2 = gridparts::button(this, QStringLiteral("F4-Değiştir"));
    BitBtn3 = gridparts::button(this, QStringLiteral("F10-Sil"));
    BitBtn4 = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gridparts::heading(this, QStringLiteral("EVRAK LİSTESİ")));
    layout->addWidget(DBGrid1, 3);
    layout->addWidget(DBGrid2, 2);
    layout->addWidget(gridparts::buttonBar(this, {BitBtn1, BitBtn2, BitBtn3}, {BitBtn4}));
    resize(640, 600);

    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { kindMoved(current.row()); });
    connect(DBGrid1, &QTableView::doubleClicked, this, &TFRMECTANIM::BitBtn2Click);
    connect(DBGrid2, &QTableView::doubleClicked, this, &TFRMECTANIM::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMECTANIM::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFRMECTANIM::BitBtn2Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFRMECTANIM::BitBtn4Click);
    bindKey(BitBtn1, Qt::Key_F2);
    bindKey(BitBtn2, Qt::Key_F4);
    bindKey(BitBtn3, Qt::Key_F10);
    bindKey(BitBtn4, Qt::Key_Escape);
}

void TFRMECTANIM::FormActivate()
{
    readKinds(0);
    DBGrid1->setFocus();
}

void TFRMECTANIM::readKinds(int eckod)
{
    guarded(m_session, [this] { m_kinds = archivekinds::kinds(m_session.db.IBTransaction1); });
    m_kindModel->reset(int(m_kinds.size()), [this](int row, int column, int role) -> QVariant {
        if (role != Qt::DisplayRole)
            return {};
        return column == 0 ? m_kinds[row].ECINS : m_kinds[row].ETURADI;
    });
    int row = 0;
    for (int i = 0; i < m_kinds.size(); ++i) {
        if (m_kinds[i].ECKOD == eckod)
            row = i;
    }
    if (m_kinds.isEmpty())
        kindMoved(-1);
    else
        DBGrid1->setCurrentIndex(m_kindModel->index(row, 0));
}

void TFRMECTANIM::kindMoved(int row)
{
    m_fields.clear();
    if (row >= 0 && row < m_kinds.size()) {
        guarded(m_session, [&] {
            m_fields = archivekinds::fields(m_session.db.IBTransaction1, m_kinds[row].ECKOD);
        });
    }
    m_fieldModel->reset(int(m_fields.size()), [this](int r, int column, int role) -> QVariant {
        if (role != Qt::DisplayRole)
            return {};
        return column == 0 ? m_fields[r].ECTAN : choices::captionOf(archivekinds::fieldTypes(), m_fields[r].TUR);
    });
}

void TFRMECTANIM::BitBtn1Click()
{
    TFRMECBIL record(m_session, this);
    record.tag = ArchiveKindRecord::New;
    m_runner.run(record);
    readKinds(record.tag == 1 ? record.ECKOD : 0);
}

void TFRMECTANIM::BitBtn2Click()
{
    const int row = DBGrid1->currentIndex().row();
    if (row < 0 || row >= m_kinds.size())
        return;
    const int eckod = m_kinds[row].ECKOD;
    TFRMECBIL record(m_session, this);
    record.tag = ArchiveKindRecord::Edit;
    record.ECKOD = eckod;
    m_runner.run(record);
    readKinds(eckod);
}

void TFRMECTANIM::BitBtn4Click()
{
    closeForm(0);
}
