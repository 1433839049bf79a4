#include "registerlistform.h"

#include "lists/ui/unkonuara.h"
#include "reports/ui/reportdesk.h"

#include "core/guarded.h"
#include "core/session.h"
#include "kit/gridparts.h"
#include "lists/deadlines.h"
#include "registers/ui/unonay.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

/// Rows read before the grid is first shown, and per pass in the background.
constexpr int kFirstRows = 100;
constexpr int kBatch = 1000;

/// Paints a row past its reply deadline red and one near it amber, the
/// selected row included, so that neither hides in a long list.
class DeadlineShading : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        switch (deadlines::Mark(index.data(lists::ListModel::MarkRole).toInt())) {
        case deadlines::Mark::Overdue:
            option->backgroundBrush = QColor(0xf4, 0xb6, 0xb6);
            option->palette.setColor(QPalette::Text, QColor(0x80, 0x00, 0x00));
            option->palette.setColor(QPalette::Highlight, QColor(0xb0, 0x20, 0x20));
            break;
        case deadlines::Mark::Near:
            option->backgroundBrush = QColor(0xfa, 0xe3, 0xa0);
            option->palette.setColor(QPalette::Highlight, QColor(0xa0, 0x70, 0x00));
            break;
        default:
            break;
        }
    }
};

} // namespace

RegisterListForm::RegisterListForm(Session &session, FormRunner &runner, lists::ListDescription description,
                                   QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
    , m_list(session, std::move(description))
    , m_model(m_list)
    , m_rights(session, m_list.description().screenCode)
    , m_approvalRights(session, 6)
{
    setWindowTitle(m_list.description().caption);
    resize(1180, 650);
    auto *layout = new QVBoxLayout(this);

    auto *filters = new QGroupBox(QStringLiteral("Filtre Seçeneekleri"), this);
    filters->setObjectName(QStringLiteral("filterPanel"));
    buildFilters(filters);
    layout->addWidget(filters);

    auto *current = new QHBoxLayout;
    subjectEdit = new QLineEdit(this); // DBEdit1
    subjectEdit->setObjectName(QStringLiteral("subjectEdit"));
    subjectEdit->setReadOnly(true);
    kaynoEdit = new QLineEdit(this); // DBEdit2
    kaynoEdit->setObjectName(QStringLiteral("kaynoEdit"));
    kaynoEdit->setReadOnly(true);
    kaynoEdit->setMaximumWidth(90);
    current->addWidget(subjectEdit, 1);
    current->addWidget(kaynoEdit);
    layout->addLayout(current);

    listGrid = gridparts::grid(this, &m_model);
    listGrid->setObjectName(QStringLiteral("listGrid"));
    listGrid->setItemDelegate(new DeadlineShading(listGrid));
    for (int c = 0; c < m_list.description().columns.size(); ++c)
        listGrid->setColumnWidth(c, m_list.description().columns[c].width);
    layout->addWidget(listGrid, 1);
    connect(listGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &RegisterListForm::currentChanged);
    connect(listGrid, &QTableView::doubleClicked, this, [this] {
        if (changeButton->isVisible() && changeButton->isEnabled())
            SpeedButton2Click();
    });

    gridMenu = new QMenu(this);
    approveAction = gridMenu->addAction(QStringLiteral("Onayla"));
    approveAction->setObjectName(QStringLiteral("approveAction"));
    connect(approveAction, &QAction::triggered, this, &RegisterListForm::Onayla1Click);
    connect(listGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { gridMenu->popup(listGrid->viewport()->mapToGlobal(at)); });

    buildButtons();
    layout->addWidget(gridparts::buttonBar(this, {newButton, changeButton, deleteButton, searchButton, printButton},
                                           {exitButton}));

    m_rights.govern(newButton, rights::Flag::K)
        .govern(changeButton, rights::Flag::D)
        .govern(deleteButton, rights::Flag::S);
    m_approvalRights.govern(approveAction, rights::Flag::K);

    m_reader.setInterval(0);
    connect(&m_reader, &QTimer::timeout, this, &RegisterListForm::readSome);
}

RegisterListForm::~RegisterListForm() = default;

void RegisterListForm::buildFilters(QWidget *panel)
{
    auto *grid = new QGridLayout(panel);
    const QList<lists::Filter> &filters = m_list.description().filters;
    for (int i = 0; i < filters.size(); ++i) {
        auto *label = new QLabel(filters[i].heading, panel);
        auto *combo = new QComboBox(panel);
        combo->setObjectName(filters[i].name);
        combo->setMinimumWidth(filters[i].kind == lists::Filter::Lookup ? 170 : 90);
        label->setBuddy(combo);
        grid->addWidget(label, 0, i);
        grid->addWidget(combo, 1, i);
        connect(combo, &QComboBox::activated, this, [this, i](int index) { filterChosen(i, index); });
        filterCombos << combo;
    }
}

void RegisterListForm::buildButtons()
{
    const auto make = [this](QPushButton *&b, const char *name, const QString &text) {
        b = gridparts::button(this, text);
        b->setObjectName(QLatin1String(name));
    };
    make(newButton, "newButton", QStringLiteral("F2-Yeni Evrak"));
    make(changeButton, "changeButton", QStringLiteral("F4-Değiş"));
    make(deleteButton, "deleteButton", QStringLiteral("F10-Sil"));
    make(searchButton, "searchButton", QStringLiteral("F3-Konu Ara"));
    make(printButton, "printButton", QStringLiteral("F7-Yazdır"));
    make(exitButton, "exitButton", QStringLiteral("ESC-Çıkış"));
    connect(newButton, &QPushButton::clicked, this, &RegisterListForm::SpeedButton1Click);
    connect(changeButton, &QPushButton::clicked, this, &RegisterListForm::SpeedButton2Click);
    connect(deleteButton, &QPushButton::clicked, this, &RegisterListForm::SpeedButton3Click);
    connect(searchButton, &QPushButton::clicked, this, &RegisterListForm::SpeedButton4Click);
    connect(exitButton, &QPushButton::clicked, this, &RegisterListForm::SpeedButton5Click);
    connect(printButton, &QPushButton::clicked, this, &RegisterListForm::SpeedButton6Click);
    bindKey(newButton, QKeySequence(Qt::Key_F2));
    bindKey(changeButton, QKeySequence(Qt::Key_F4));
    bindKey(deleteButton, QKeySequence(Qt::Key_F10));
    bindKey(searchButton, QKeySequence(Qt::Key_F3));
    bindKey(printButton, QKeySequence(Qt::Key_F7));
    bindKey(exitButton, QKeySequence(Qt::Key_Escape));
}

void RegisterListForm::FormActivate()
{
    Session &s = m_session;
    // Back from a print preview: filters and rows stay as they were.
    if (s.printReturn)
        return;
    const bool work = mode == lists::RegisterList::Mode::Work;
    m_list.mode = mode;
    for (QPushButton *b : {newButton, changeButton, deleteButton, searchButton})
        b->setVisible(work);
    printButton->setVisible(!work);

    m_rights.apply();
    m_approvalRights.apply();
    const lists::ListDescription &d = m_list.description();
    const bool approval = s.general.ONDUR == QLatin1String("E") && (d.approvalMode != 0 || d.inertApproval);
    listGrid->setContextMenuPolicy(approval ? Qt::CustomContextMenu : Qt::NoContextMenu);
    approveAction->setVisible(approval);
    m_approvalAllowed = approveAction->isEnabled();
    mayClose = false;

    guarded(s, [this] {
        m_list.activate();
        showFilters();
        showRows();
    });
}

void RegisterListForm::showFilters()
{
    for (int i = 0; i < filterCombos.size(); ++i) {
        QComboBox *combo = filterCombos[i];
        const QSignalBlocker block(combo);
        combo->clear();
        combo->addItems(m_list.filterItems(i));
        combo->setCurrentIndex(m_list.filterIndex(i));
        combo->setEnabled(m_list.filterEnabled(i));
    }
}

void RegisterListForm::filterChosen(int filter, int index)
{
    guarded(m_session, [&] {
        m_list.choose(filter, index);
        showFilters();
        showRows();
    });
}

void RegisterListForm::showRows(int kayno)
{
    m_reader.stop();
    m_list.fetch(kFirstRows);
    m_model.reset();
    m_standOn = kayno;
    if (m_list.atEnd())
        readSome();
    else
        m_reader.start();
    if (m_model.rowCount() > 0 && currentRow() < 0)
        setCurrentRow(0);
    currentChanged();
}

void RegisterListForm::readSome()
{
    const bool ok = guarded(m_session, [this] { m_model.fetch(kBatch); });
    if (ok && !m_list.atEnd())
        return;
    m_reader.stop();
    if (m_standOn > 0) {
        const int row = m_list.locate(m_standOn);
        setCurrentRow(row >= 0 ? row : m_model.rowCount() - 1);
    } else if (m_standOn == 0) {
        setCurrentRow(m_model.rowCount() - 1);
    }
    m_standOn = -1;
}

void RegisterListForm::readAll()
{
    if (m_reader.isActive() || !m_list.atEnd()) {
        guarded(m_session, [this] { m_list.fetchAll(); });
        m_model.caughtUp();
        readSome();
    }
}

int RegisterListForm::currentRow() const
{
    const QModelIndex i = listGrid->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void RegisterListForm::setCurrentRow(int row)
{
    m_model.caughtUp();
    if (row < 0 || row >= m_model.rowCount())
        return;
    listGrid->setCurrentIndex(m_model.index(row, 0));
    listGrid->scrollTo(m_model.index(row, 0));
}

void RegisterListForm::currentChanged()
{
    const int row = currentRow();
    subjectEdit->setText(row < 0 ? QString() : m_list.value(row, QStringLiteral("KONU")).toString());
    kaynoEdit->setText(row < 0 ? QString() : m_list.value(row, QStringLiteral("KAYNO")).toString());
    if (m_list.description().approvalNeedsRouting)
        approveAction->setEnabled(m_approvalAllowed && row >= 0
                                  && m_list.value(row, QStringLiteral("BKOD")).toInt() > 0);
}

void RegisterListForm::refreshAfterVanished()
{
    m_list.reopen();
    showRows();
}

void RegisterListForm::SpeedButton1Click()
{
    readAll();
    m_session.printReturn = false;
    guarded(m_session, [this] {
        openRecord(0);
        m_list.reopen();
        showRows();
    });
}

void RegisterListForm::SpeedButton2Click()
{
    if (mode == lists::RegisterList::Mode::RegisterBook)
        return;
    readAll();
    const int row = currentRow();
    if (row < 0)
        return;
    m_session.printReturn = false;
    guarded(m_session, [this, row] {
        const int kayno = m_list.kayno(row);
        if (!m_list.stillThere(kayno)) {
            refreshAfterVanished();
            return;
        }
        if (!m_list.openYearOf(row))
            return;
        openRecord(kayno);
        m_list.reopen();
        showRows(kayno);
    });
}

void RegisterListForm::SpeedButton3Click()
{
    readAll();
    const int row = currentRow();
    if (row < 0)
        return;
    guarded(m_session, [this, row] {
        const int standOn = m_list.remove(row);
        m_reader.stop();
        m_list.fetchAll();
        m_model.reset();
        // Refused or gone already: the cursor stays where it was.
        setCurrentRow(standOn >= 0 ? standOn : std::min(row, m_model.rowCount() - 1));
        currentChanged();
    });
}

void RegisterListForm::SpeedButton4Click()
{
    readAll();
    const int kayno = subjectSearch ? subjectSearch(m_list.description().registerSelector)
                                    : searchSubject(m_list.description().registerSelector);
    if (kayno <= 0)
        return;
    const int row = m_list.locate(kayno);
    if (row >= 0) {
        setCurrentRow(row);
        return;
    }
    // Of another period or filtered out: list what it belongs to and stand on it.
    guarded(m_session, [this, kayno] {
        QStringList locked;
        const bool there = m_list.bringIn(kayno, &locked);
        showFilters();
        showRows(there ? kayno : 0);
        readAll();
        if (!there || m_list.locate(kayno) >= 0)
            return;
        m_session.prompt().message(
            locked.isEmpty()
                ? QStringLiteral("DİKKAT! Seçilen evrak listede gösterilemiyor.")
                : QStringLiteral("DİKKAT! Seçilen evrak, yetkinize göre sabitlenen \"%1\" filtresinin dışında "
                                 "kaldığı için listede gösterilemiyor.")
                      .arg(locked.join(QStringLiteral("\", \""))));
    });
}

int RegisterListForm::searchSubject(const QString &selector)
{
    // One dialog for the window's life, as the list keeps its other choices.
    if (!m_subjectSearch)
        m_subjectSearch = std::make_unique<TFRMKONUARA>(m_session, this);
    m_subjectSearch->selector = selector;
    m_runner.run(*m_subjectSearch);
    return m_subjectSearch->tag == 1 ? m_subjectSearch->chosenKayno : 0;
}

void RegisterListForm::SpeedButton5Click()
{
    m_reader.stop();
    closeForm(0);
}

void RegisterListForm::SpeedButton6Click()
{
    readAll();
    m_session.printReturn = true;
    if (printRegister)
        printRegister(m_list);
    else
        printBook();
}

void RegisterListForm::printBook()
{
    const lists::ListDescription &d = m_list.description();
    if (!d.book)
        return;
    // The book prints the rows as the list shows them, in the list's order.
    const QStringList fields = reports::bookFields(*d.book);
    reports::RowList rows(fields);
    for (int r = 0; r < m_list.rowCount(); ++r) {
        QStringList line;
        for (const QString &f : fields) {
            const QVariant v = m_list.value(r, f);
            line << (v.typeId() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("dd.MM.yyyy")) : v.toString());
        }
        rows.append(line);
    }
    guarded(m_session, [&] { reportDesk().printRegisterBook(*d.book, rows); });
}

reports::ReportDesk &RegisterListForm::reportDesk()
{
    if (!m_reports)
        m_reports = std::make_unique<reports::ReportDesk>(m_session, this);
    return *m_reports;
}

void RegisterListForm::Onayla1Click()
{
    const lists::ListDescription &d = m_list.description();
    if (d.inertApproval || d.approvalMode == 0 || !approveAction->isEnabled())
        return;
    readAll();
    const int row = currentRow();
    if (row < 0)
        return;
    guarded(m_session, [this, row, &d] {
        const int kayno = m_list.kayno(row);
        if (!m_list.stillThere(kayno)) {
            refreshAfterVanished();
            return;
        }
        const int bkod = m_list.routingToApprove(row);
        if (bkod == 0) {
            m_session.prompt().message(QStringLiteral("DİKKAT! Bu evrak hiçbir birime verilmemiş."));
            return;
        }
        if (bkod < 0) {
            m_session.prompt().message(QStringLiteral("DİKKAT! Bu evrak sizin biriminize verilmemiş."));
            return;
        }
        TFRMONAY dialog(m_session, this);
        dialog.mode = d.approvalMode;
        dialog.kayno = kayno;
        dialog.bkod = bkod;
        m_runner.run(dialog);
        m_list.reopen();
        m_list.fetchAll();
        int at = m_list.locate(kayno);
        // The row of the same department, not the document's first row.
        for (int r = at; at >= 0 && r < m_list.rowCount() && m_list.kayno(r) == kayno; ++r) {
            if (m_list.value(r, QStringLiteral("BKOD")).toInt() == bkod) {
                at = r;
                break;
            }
        }
        m_model.reset();
        setCurrentRow(at);
        currentChanged();
    });
}
