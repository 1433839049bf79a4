#pragma once

#include <QAbstractTableModel>

namespace lists {

class RegisterList;

/// The grid's view of a RegisterList: read-only, reading further rows as the
/// view asks for them.
class ListModel : public QAbstractTableModel
{
public:
    /// The row's mark (RegisterList::mark), for the grid to colour it.
    static constexpr int MarkRole = Qt::UserRole + 1;

    explicit ListModel(RegisterList &list, QObject *parent = nullptr);

    /// The list was opened anew: the view forgets its rows.
    void reset();
    /// Reads up to `count` rows more, telling the view.
    int fetch(int count);
    /// Rows read meanwhile by the list itself (a search for a row).
    void caughtUp();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    RegisterList &m_list;
    int m_shown = 0;
};

} // namespace lists
