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
    kindsGrid = gridparts::grid(this, m_kindModel);
    kindsGrid->setObjectName(QStringLiteral("kindsGrid"));
    kindsGrid->horizontalHeader()->resizeSection(0, 320);
    m_fieldModel = new RowsModel({QStringLiteral("Alan Adı"), QStringLiteral("Türü")}, this);
    fieldsGrid = gridparts::grid(this, m_fieldModel);
    fieldsGrid->setObjectName(QStringLiteral("fieldsGrid"));
    fieldsGrid->horizontalHeader()->resizeSection(0, 320);

    addButton = gridparts::button(this, QStringLiteral("F2-Ekle"));
    addButton->setObjectName(QStringLiteral("addButton"));
    changeButton = gridparts::button(this, QStringLiteral("F4-Değiştir"));
    changeButton->setObjectName(QStringLiteral("changeButton"));
    deleteButton = gridparts::button(this, QStringLiteral("F10-Sil"));
    deleteButton->setObjectName(QStringLiteral("deleteButton"));
    exitButton = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    exitButton->setObjectName(QStringLiteral("exitButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gridparts::heading(this, QStringLiteral("EVRAK LİSTESİ")));
    layout->addWidget(kindsGrid, 3);
    layout->addWidget(fieldsGrid, 2);
    layout->addWidget(gridparts::buttonBar(this, {addButton, changeButton, deleteButton}, {exitButton}));
    resize(640, 600);

    connect(kindsGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { kindMoved(current.row()); });
    connect(kindsGrid, &QTableView::doubleClicked, this, &TFRMECTANIM::BitBtn2Click);
    connect(fieldsGrid, &QTableView::doubleClicked, this, &TFRMECTANIM::BitBtn2Click);
    connect(addButton, &QPushButton::clicked, this, &TFRMECTANIM::BitBtn1Click);
    connect(changeButton, &QPushButton::clicked, this, &TFRMECTANIM::BitBtn2Click);
    connect(exitButton, &QPushButton::clicked, this, &TFRMECTANIM::BitBtn4Click);
    bindKey(addButton, Qt::Key_F2);
    bindKey(changeButton, Qt::Key_F4);
    bindKey(deleteButton, Qt::Key_F10);
    bindKey(exitButton, Qt::Key_Escape);
}

void TFRMECTANIM::FormActivate()
{
    readKinds(0);
    kindsGrid->setFocus();
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
        kindsGrid->setCurrentIndex(m_kindModel->index(row, 0));
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
    const int row = kindsGrid->currentIndex().row();
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
