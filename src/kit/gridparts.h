#pragma once

#include "core/choices.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>

class CachedRecords;
class QFrame;
class QLabel;
class QPushButton;
class QTableView;

/// A read-only grid over rows the screen already holds: each cell is asked of
/// a function, so nothing is read from the database while painting.
class RowsModel : public QAbstractTableModel
{
public:
    using Cell = std::function<QVariant(int row, int column, int role)>;

    explicit RowsModel(QStringList headers, QObject *parent = nullptr);

    /// New rows: the view forgets its position.
    void reset(int rows, Cell cell);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    int m_rows = 0;
    Cell m_cell;
};

/// An editable grid over cached records; a column with choices shows their
/// captions and stores their codes.
class RecordsModel : public QAbstractTableModel
{
public:
    struct Column
    {
        QString name;
        QString header;
        const Choices *choices = nullptr;
    };

    RecordsModel(CachedRecords &records, QList<Column> columns, QObject *parent = nullptr);

    /// The records changed underneath (read, appended, written, reverted).
    void refresh();
    const Column &column(int index) const { return m_columns[index]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CachedRecords &m_records;
    QList<Column> m_columns;
};

/// Edits a choice column of a RecordsModel with a drop-down of its captions.
class ChoiceDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

namespace gridparts {

/// A grid as the screens have it: whole rows selected, one at a time.
QTableView *grid(QWidget *parent, QAbstractItemModel *model, bool editable = false);
/// A button that Enter in a box does not press.
QPushButton *button(QWidget *parent, const QString &text);
/// The bold title over a screen's grid.
QLabel *heading(QWidget *parent, const QString &text);
/// The panel of a screen's buttons: some on the left, the rest on the right.
QFrame *buttonBar(QWidget *parent, const QList<QPushButton *> &left, const QList<QPushButton *> &right);
/// Down on the last row or Insert asks for a new row, as a grid of the
/// database always did; `append` returns its index, or -1 for none.
void appendOnDownOrInsert(QTableView *view, std::function<int()> append);
/// Runs `action` for the current row on Enter and on a double-click.
void onChoose(QTableView *view, std::function<void()> action);

/// Puts the current row and its highlight back on `row` while a move away
/// is being made. A mouse click highlights the row it hit after the move is
/// announced, so the highlight is set once more when the click is done.
/// `moving` is told around each repositioning, for a handler that must not
/// take it for a move of the user's.
void holdRow(QTableView *view, int row, const std::function<void(bool moving)> &moving);

} // namespace gridparts
