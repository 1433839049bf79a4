#include "gridparts.h"

#include "db/cachedrecords.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

RowsModel::RowsModel(QStringList headers, QObject *parent)
    : QAbstractTableModel(parent)
    , m_headers(std::move(headers))
{
}

void RowsModel::reset(int rows, Cell cell)
{
    beginResetModel();
    m_rows = rows;
    m_cell = std::move(cell);
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant RowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_cell)
        return {};
    return m_cell(index.row(), index.column(), role);
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_headers.value(section);
    return {};
}

RecordsModel::RecordsModel(CachedRecords &records, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_records(records)
    , m_columns(std::move(columns))
{
}

void RecordsModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int RecordsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_records.rowCount();
}

int RecordsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Column &c = m_columns[index.column()];
    const QVariant v = m_records.value(index.row(), c.name);
    if (c.choices && role == Qt::DisplayRole)
        return choices::captionOf(*c.choices, v.toString());
    return v;
}

bool RecordsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString &name = m_columns[index.column()].name;
    if (m_records.value(index.row(), name) == value)
        return true;
    m_records.setValue(index.row(), name, value);
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags RecordsModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant RecordsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_columns.value(section).header;
    return {};
}

namespace {

const Choices *choicesOf(const QModelIndex &index)
{
    const auto *model = dynamic_cast<const RecordsModel *>(index.model());
    return model ? model->column(index.column()).choices : nullptr;
}

} // namespace

QWidget *ChoiceDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    const Choices *items = choicesOf(index);
    if (!items)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *box = new QComboBox(parent);
    for (const Choice &c : *items)
        box->addItem(c.caption, c.code);
    return box;
}

void ChoiceDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *box = qobject_cast<QComboBox *>(editor);
    if (!box || !choicesOf(index)) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    box->setCurrentIndex(box->findData(index.data(Qt::EditRole).toString()));
}

void ChoiceDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *box = qobject_cast<QComboBox *>(editor);
    if (!box || !choicesOf(index)) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (box->currentIndex() >= 0)
        model->setData(index, box->currentData(), Qt::EditRole);
}

namespace gridparts {

namespace {

class KeyWatch : public QObject
{
public:
    KeyWatch(QTableView *view, std::function<bool(QKeyEvent *)> onKey)
        : QObject(view)
        , m_onKey(std::move(onKey))
    {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress && m_onKey(static_cast<QKeyEvent *>(event));
    }

private:
    std::function<bool(QKeyEvent *)> m_onKey;
};

} // namespace

QTableView *grid(QWidget *parent, QAbstractItemModel *model, bool editable)
{
    auto *view = new QTableView(parent);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                         | QAbstractItemView::AnyKeyPressed
                                   : QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(editable);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setAlternatingRowColors(false);
    return view;
}

QPushButton *button(QWidget *parent, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLabel *heading(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QFrame *buttonBar(QWidget *parent, const QList<QPushButton *> &left, const QList<QPushButton *> &right)
{
    auto *panel = new QFrame(parent);
    // Painted with the panel colour of the scheme.
    panel->setObjectName(QStringLiteral("PanelButtons"));
    auto *row = new QHBoxLayout(panel);
    for (QPushButton *b : left)
        row->addWidget(b);
    row->addStretch();
    for (QPushButton *b : right)
        row->addWidget(b);
    return panel;
}

void appendOnDownOrInsert(QTableView *view, std::function<int()> append)
{
    new KeyWatch(view, [view, append](QKeyEvent *e) {
        const int rows = view->model()->rowCount();
        const bool atLast = view->currentIndex().row() == rows - 1 || rows == 0;
        if (e->key() != Qt::Key_Insert && !(e->key() == Qt::Key_Down && atLast))
            return false;
        const int row = append();
        if (row >= 0) {
            const int column = qMax(0, view->currentIndex().column());
            view->setCurrentIndex(view->model()->index(row, column));
        }
        return true;
    });
}

void onChoose(QTableView *view, std::function<void()> action)
{
    QObject::connect(view, &QTableView::doubleClicked, view, [action] { action(); });
    new KeyWatch(view, [action](QKeyEvent *e) {
        if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
            return false;
        action();
        return true;
    });
}

void holdRow(QTableView *view, int row, const std::function<void(bool)> &moving)
{
    auto put = [view, row, moving] {
        const QModelIndex index = view->model()->index(row, qMax(0, view->currentIndex().column()));
        if (!index.isValid())
            return;
        moving(true);
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        moving(false);
    };
    put();
    QMetaObject::invokeMethod(view, put, Qt::QueuedConnection);
}

} // namespace gridparts
