#include "listmodel.h"

#include "registerlist.h"

namespace lists {

ListModel::ListModel(RegisterList &list, QObject *parent)
    : QAbstractTableModel(parent)
    , m_list(list)
{
}

void ListModel::reset()
{
    beginResetModel();
    m_shown = m_list.rowCount();
    endResetModel();
}

void ListModel::caughtUp()
{
    if (m_list.rowCount() <= m_shown)
        return;
    beginInsertRows({}, m_shown, m_list.rowCount() - 1);
    m_shown = m_list.rowCount();
    endInsertRows();
}

int ListModel::fetch(int count)
{
    const int n = m_list.fetch(count);
    caughtUp();
    return n;
}

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int ListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.description().columns.size();
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    if (index.isValid() && role == MarkRole)
        return m_list.mark(index.row());
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return m_list.display(index.row(), index.column());
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_list.description().columns.value(section).caption;
}

bool ListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && (!m_list.atEnd() || m_list.rowCount() > m_shown);
}

void ListModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        fetch(200);
}

} // namespace lists
