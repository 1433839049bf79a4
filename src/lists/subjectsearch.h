#pragma once

#include "db/fb/attachment.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace fb {
class Transaction;
}

/// Finding a document by words of its subject. The server's UPPER … LIKE is
/// not Turkish on the default collation nor on columns without a character
/// set, and scans the register at every key; so each opening loads the
/// register's subjects once, folded, and every key searches them in memory.
namespace subjectsearch {

/// The two query lines of a register ("1" incoming … "4" archive); empty for
/// any other selector.
QString registerLines(const QString &selector);
/// The register's table and its registration date column; empty when unknown.
QString registerTable(const QString &selector);
QString dateColumn(const QString &selector);

/// Turkish upper case as Windows-1254 bytes, the form both subjects and typed
/// text are compared in. `ok` turns false when the text holds a character the
/// code page lacks (no stored subject can contain it).
QByteArray fold(const QString &text, bool *ok = nullptr);

/// Record keys and folded subjects of one register, oldest first.
class SubjectIndex
{
public:
    void add(int kayno, const QString &subject);
    qsizetype size() const { return qsizetype(m_kayno.size()); }
    int kayno(qsizetype row) const { return m_kayno[size_t(row)]; }
    std::size_t bytes() const;

    /// Rows whose subject contains `needle` (already folded), in index order;
    /// only rows of `within` when it is given. Stops early when `cancel` is set.
    std::vector<int> find(const QByteArray &needle, const std::vector<int> *within = nullptr,
                          const std::atomic_bool *cancel = nullptr) const;

private:
    std::vector<qint32> m_kayno;
    std::vector<quint32> m_start{0};
    std::string m_text; // folded subjects, each closed by a 0 byte
};

/// Loads a register on an attachment of its own (so a worker thread can do
/// it while the dialog is already open). Returns null when cancelled.
std::shared_ptr<SubjectIndex> load(const fb::ConnectOptions &options, const QString &selector,
                                   const std::atomic_bool *cancel = nullptr);
/// The same on a transaction the caller holds.
std::shared_ptr<SubjectIndex> load(fb::Transaction &t, const QString &selector,
                                   const std::atomic_bool *cancel = nullptr);

/// Keeps the last typed text and its matches, so a text that extends the
/// previous one only looks again among the previous matches.
class Searcher
{
public:
    explicit Searcher(std::shared_ptr<const SubjectIndex> index);
    const std::vector<int> &search(const QString &text);
    const std::vector<int> &matches() const { return m_matches; }

private:
    std::shared_ptr<const SubjectIndex> m_index;
    QByteArray m_needle;
    bool m_valid = false;
    std::vector<int> m_matches;
};

/// The grid rows of matches: "Evrak No", "Tarhi", "Kurumu", "Konusu". Only
/// the rows shown are read, a page at a time by record key, so a screenful
/// costs the same whatever the register's size.
class ResultModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    ResultModel(fb::Transaction &lookups, QObject *parent = nullptr);

    void setResult(const QString &selector, std::shared_ptr<const SubjectIndex> index,
                   std::vector<int> rows);
    void clear();
    /// KAYNO of a grid row; 0 when there is no such row.
    int kaynoAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static constexpr int pageSize = 64;

private:
    struct Row
    {
        QVariant number;
        QDate date;
        QString body;
        QString subject;
    };
    const std::vector<Row> &page(int pageNo) const;

    fb::Transaction &m_lookups;
    QString m_selector;
    std::shared_ptr<const SubjectIndex> m_index;
    std::vector<int> m_rows;
    mutable QHash<int, std::vector<Row>> m_pages;
};

} // namespace subjectsearch
