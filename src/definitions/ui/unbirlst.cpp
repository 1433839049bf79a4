#include "unbirlst.h"

#include "kit/gridparts.h"
#include "unbirbil.h"
#include "unkurbil.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

BirimListForm::BirimListForm(Session &session, FormRunner &runner, BirimKind kind, const QString &caption,
                             const QString &heading, QList<Column> columns, QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
    , m_list(session, kind)
    , m_columns(std::move(columns))
{
    setWindowTitle(caption);
    QLabel *title = gridparts::heading(this, heading);
    QStringList headers;
    for (const Column &c : m_columns)
        headers << c.header;
    m_model = new RowsModel(headers, this);
    listGrid = gridparts::grid(this, m_model);
    listGrid->setObjectName(QStringLiteral("listGrid"));
    listGrid->horizontalHeader()->resizeSection(1, 280);

    addButton = gridparts::button(this, QStringLiteral("F2-Ekle"));
    addButton->setObjectName(QStringLiteral("addButton"));
    changeButton = gridparts::button(this, QStringLiteral("F4-Değiştir"));
    changeButton->setObjectName(QStringLiteral("changeButton"));
    deleteButton = gridparts::button(this, QStringLiteral("F10-Sil"));
    deleteButton->setObjectName(QStringLiteral("deleteButton"));
    exitButton = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    exitButton->setObjectName(QStringLiteral("exitButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(listGrid, 1);
    layout->addWidget(gridparts::buttonBar(this, {addButton, changeButton, deleteButton}, {exitButton}));
    resize(820, 560);

    connect(addButton, &QPushButton::clicked, this, &BirimListForm::BitBtn1Click);
    connect(changeButton, &QPushButton::clicked, this, &BirimListForm::BitBtn2Click);
    connect(deleteButton, &QPushButton::clicked, this, &BirimListForm::BitBtn3Click);
    connect(exitButton, &QPushButton::clicked, this, &BirimListForm::BitBtn4Click);
    connect(listGrid, &QTableView::doubleClicked, this, &BirimListForm::BitBtn2Click);
    // The buttons say F2 and F10: the keys work as they say.
    bindKey(addButton, Qt::Key_F2);
    bindKey(changeButton, Qt::Key_F4);
    bindKey(deleteButton, Qt::Key_F10);
    bindKey(exitButton, Qt::Key_Escape);
}

void BirimListForm::FormActivate()
{
    readAndSelect(0);
    listGrid->setFocus();
}

void BirimListForm::readAndSelect(int bkod)
{
    guarded(m_session, [this] { m_list.read(); });
    m_model->reset(m_list.rows().rowCount(), [this](int row, int column, int role) -> QVariant {
        if (role != Qt::DisplayRole)
            return {};
        const QString &name = m_columns[column].column;
        return cellText(name, m_list.rows().value(row, name));
    });
    const int row = m_list.rowOf(bkod);
    if (m_list.rows().rowCount() > 0)
        listGrid->setCurrentIndex(m_model->index(row < 0 ? 0 : row, 0));
}

QString BirimListForm::cellText(const QString &, const QVariant &value) const
{
    return value.toString();
}

int BirimListForm::currentBKOD() const
{
    const int row = listGrid->currentIndex().row();
    return row < 0 || row >= m_list.rows().rowCount() ? 0 : m_list.rows().value(row, QStringLiteral("BKOD")).toInt();
}

void BirimListForm::BitBtn1Click()
{
    readAndSelect(runRecord(0, 0));
}

void BirimListForm::BitBtn2Click()
{
    if (m_list.rows().rowCount() == 0)
        return;
    const int bkod = currentBKOD();
    runRecord(1, bkod);
    readAndSelect(bkod);
}

void BirimListForm::BitBtn3Click()
{
    if (m_list.rows().rowCount() == 0)
        return;
    const int row = listGrid->currentIndex().row();
    bool deleted = false;
    guarded(m_session, [&] { deleted = m_list.remove(currentBKOD()); });
    if (deleted)
        readAndSelect(m_list.rows().rowCount() > 0
                          ? m_list.rows().value(qMin(row, m_list.rows().rowCount() - 1), QStringLiteral("BKOD")).toInt()
                          : 0);
}

void BirimListForm::BitBtn4Click()
{
    closeForm(0);
}

TFRMBIRLST::TFRMBIRLST(Session &session, FormRunner &runner, QWidget *parent)
    : BirimListForm(session, runner, BirimKind::Department, QStringLiteral("BİRİM TANIMLARI"),
                    QStringLiteral("BİRİM LİSTESİ"),
                    {{QStringLiteral("Kodu"), QStringLiteral("KODU")},
                     {QStringLiteral("Birim Adı"), QStringLiteral("BIRIM")},
                     {QStringLiteral("Birim Yetkilisi"), QStringLiteral("YETKILI")},
                     {QStringLiteral("Ünvanı"), QStringLiteral("UNVAN")}},
                    parent)
{
}

int TFRMBIRLST::runRecord(int mode, int bkod)
{
    return runRecordScreen<TFRMBIRBIL>(mode, bkod);
}

TFRMKURLST::TFRMKURLST(Session &session, FormRunner &runner, QWidget *parent)
    : BirimListForm(session, runner, BirimKind::Body, QStringLiteral("KURUM TANIMLARI"),
                    QStringLiteral("KURUM LİSTESİ"),
                    {{QStringLiteral("Kişilik"), QStringLiteral("GTUR")},
                     {QStringLiteral("Dış Kurum Adı"), QStringLiteral("BIRIM")},
                     {QStringLiteral("Yetkili Adı/TC.K. No"), QStringLiteral("YETKILI")},
                     {QStringLiteral("Ünvanı"), QStringLiteral("UNVAN")}},
                    parent)
{
}

int TFRMKURLST::runRecord(int mode, int bkod)
{
    return runRecordScreen<TFRMKURBIL>(mode, bkod);
}

QString TFRMKURLST::cellText(const QString &column, const QVariant &value) const
{
    if (column == QLatin1String("GTUR"))
        return choices::captionOf(birim::kisilik(), value.toString());
    return value.toString();
}
