#pragma once

#include "db/fb/attachment.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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

/// How a long search is watched: `stop` is asked now and then and ends it
/// unfinished when it says so; `first` receives the first `firstCount`
/// matches as soon as they are known (they are the first rows of the answer).
struct Progress
{
    std::function<bool()> stop;
    std::size_t firstCount = 0;
    std::function<void(const std::vector<int> &)> first;
};

/// Record keys and folded subjects of one register, oldest first. Rows are
/// kept in chunks that never change once closed, so a snapshot shares them
/// and can be searched on another thread while loading goes on.
class SubjectIndex
{
public:
    static constexpr int chunkRows = 8192;

    void add(int kayno, const QString &subject);
    /// Closes the open chunk after the last row; what was added is then part
    /// of snapshots. Only the last chunk may be short.
    void seal();
    /// The closed rows, sharing their chunks.
    std::shared_ptr<const SubjectIndex> snapshot() const;

    qsizetype size() const { return m_size; }
    int kayno(qsizetype row) const;
    /// Memory held, in bytes.
    std::size_t bytes() const;

    /// Rows whose subject contains `needle` (already folded), in index order.
    std::vector<int> find(const QByteArray &needle) const;
    /// Appends rows from `from` on that contain `needle`; false when stopped.
    bool scan(const QByteArray &needle, qsizetype from, std::vector<int> &out, const Progress &progress = {}) const;
    /// Appends those of `rows` that contain `needle`; false when stopped.
    bool filter(const QByteArray &needle, const std::vector<int> &rows, std::vector<int> &out,
                const Progress &progress = {}) const;

private:
    struct Chunk
    {
        qsizetype firstRow = 0;
        std::vector<qint32> kayno;
        std::vector<quint32> start{0};
        std::string text; // folded subjects, each closed by a 0 byte
    };
    const Chunk &chunkOf(qsizetype row) const;

    std::vector<std::shared_ptr<const Chunk>> m_chunks;
    std::shared_ptr<Chunk> m_open;
    qsizetype m_size = 0;
};

/// What loading reads: key, subject and date of every row, by date.
QString loadStatement(const QString &selector);

/// Loads a register on an attachment of its own (so a worker thread can do
/// it while the dialog is already open). `published` receives snapshots as
/// the rows come: the first chunk at once, then a few times a second, and
/// the whole index last. Returns null when cancelled.
std::shared_ptr<SubjectIndex> load(const fb::ConnectOptions &options, const QString &selector,
                                   const std::atomic_bool *cancel = nullptr,
                                   const std::function<void(std::shared_ptr<const SubjectIndex>)> &published = {});
/// The same on a transaction the caller holds.
std::shared_ptr<SubjectIndex> load(fb::Transaction &t, const QString &selector,
                                   const std::atomic_bool *cancel = nullptr,
                                   const std::function<void(std::shared_ptr<const SubjectIndex>)> &published = {});

/// Keeps the last typed text and its matches, so a text that extends the
/// previous one only looks again among the previous matches, and an index
/// that grew is only searched in its new rows.
class Searcher
{
public:
    /// Null when stopped; the searcher is then as it was before the call.
    const std::vector<int> *search(const QString &text, const SubjectIndex &index, const Progress &progress = {});
    void reset();

private:
    QByteArray m_needle;
    bool m_valid = false;
    qsizetype m_covered = 0;
    std::vector<int> m_matches;
};

/// One search's answer, handed to the thread that asked.
struct Answer
{
    quint64 generation = 0;
    /// False for the first screenful delivered ahead of the rest.
    bool complete = false;
    std::shared_ptr<const SubjectIndex> index;
    std::shared_ptr<const std::vector<int>> rows;
};

/// Searches on a thread of its own. Each request supersedes the one before:
/// a search still running when the next key arrives is abandoned, and only
/// the latest request is answered. Answers reach `receiver`'s thread through
/// its event loop; it must outlive this object.
class BackgroundSearch
{
public:
    using Deliver = std::function<void(const Answer &)>;
    BackgroundSearch(QObject *receiver, Deliver deliver, std::size_t firstCount = 64);
    ~BackgroundSearch();
    BackgroundSearch(const BackgroundSearch &) = delete;
    BackgroundSearch &operator=(const BackgroundSearch &) = delete;

    /// A new or grown index; the last text is searched again in it. A new
    /// register (`fresh`) forgets the previous matches.
    quint64 setIndex(std::shared_ptr<const SubjectIndex> index, bool fresh);
    quint64 search(const QString &text);
    /// Forgets the index and drops whatever is running or waiting.
    void clear();

    /// Searches given up because a newer request came first.
    quint64 abandoned() const { return m_abandoned.load(); }
    /// Called on the worker thread as each search starts; set before the
    /// first request. For measurements and tests.
    std::function<void(quint64 generation)> started;

private:
    quint64 request(const std::function<void()> &change);
    void run();

    QObject *m_receiver;
    Deliver m_deliver;
    std::size_t m_firstCount;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_quit = false;
    bool m_pending = false;
    bool m_fresh = false;
    QString m_text;
    std::shared_ptr<const SubjectIndex> m_index;
    std::atomic<quint64> m_generation{0};
    std::atomic<quint64> m_abandoned{0};
    std::thread m_worker;
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
    /// Shows `rows`; when they begin with the rows shown, only the rest is
    /// added, so the current row and the scroll position stay. True when the
    /// rows shown were replaced.
    bool update(std::shared_ptr<const SubjectIndex> index, const std::vector<int> &rows);
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
