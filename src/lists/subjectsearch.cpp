#include "subjectsearch.h"

#include "core/turkish.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/fb/win1254.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include <QElapsedTimer>

namespace subjectsearch {

namespace {

struct Register
{
    const char *selector;
    const char *table;
    const char *date;
    const char *lines;
};

const Register registers[] = {
    {"1", "GELEN", "GELTAR",
     "SELECT G1.KAYNO,G1.GELNO EVRAKNO,G1.GELTAR TARIH,K.BIRIM DISKUR,G1.KONU FROM GELEN G1\n"
     "LEFT JOIN BIRIM K ON(K.BKOD=G1.KURKOD AND K.TUR='K')"},
    {"2", "GIDEN", "GIDTAR",
     "SELECT G1.KAYNO,G1.GIDNO EVRAKNO,G1.GIDTAR TARIH,K.BIRIM DISKUR,G1.KONU FROM GIDEN G1\n"
     "LEFT JOIN BIRIM K ON(K.BKOD=G1.KURKOD AND K.TUR='K')"},
    {"3", "DILEKCE", "DILTAR",
     "SELECT G1.KAYNO,G1.DILNO EVRAKNO,G1.DILTAR TARIH,B.BIRIM DISKUR,G1.KONU FROM DILEKCE G1\n"
     "LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD AND B.TUR='B')"},
    {"4", "ARSIV", "ARSTAR",
     "SELECT G1.KAYNO,G1.ARSNO EVRAKNO,G1.ARSTAR TARIH,B.BIRIM DISKUR,G1.KONU FROM ARSIV G1\n"
     "LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD AND B.TUR='B')"},
};

const Register *find(const QString &selector)
{
    for (const Register &r : registers)
        if (selector == QLatin1String(r.selector))
            return &r;
    return nullptr;
}

// Byte to folded byte. BuyukHarf for the Turkish letters; other letters the
// code page has in both cases (â, î, û, é …) fold too, so "KÂTİP" finds "kâtip".
std::array<unsigned char, 256> makeTable()
{
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const QChar c(fb::win1254::fromByte(static_cast<unsigned char>(b)));
        QChar up = turkish::BuyukHarf(c);
        if (up == c && c != u'I' && c != u'İ' && c.isLower())
            up = c.toUpper();
        unsigned char out = fb::win1254::toByte(up.unicode());
        if (out == '?' && up != u'?')
            out = static_cast<unsigned char>(b);
        table[size_t(b)] = out;
    }
    return table;
}

const std::array<unsigned char, 256> &foldTable()
{
    static const std::array<unsigned char, 256> table = makeTable();
    return table;
}

} // namespace

QString registerLines(const QString &selector)
{
    const Register *r = find(selector);
    return r ? QString::fromUtf8(r->lines) : QString();
}

QString registerTable(const QString &selector)
{
    const Register *r = find(selector);
    return r ? QString::fromLatin1(r->table) : QString();
}

QString dateColumn(const QString &selector)
{
    const Register *r = find(selector);
    return r ? QString::fromLatin1(r->date) : QString();
}

QByteArray fold(const QString &text, bool *ok)
{
    const auto &table = foldTable();
    QByteArray out(text.size(), Qt::Uninitialized);
    bool all = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const unsigned char b = fb::win1254::toByte(u);
        if (b == '?' && u != u'?')
            all = false;
        out[i] = char(table[b]);
    }
    if (ok)
        *ok = all;
    return out;
}

void SubjectIndex::add(int kayno, const QString &subject)
{
    if (!m_open) {
        m_open = std::make_shared<Chunk>();
        m_open->firstRow = m_size;
        m_open->kayno.reserve(chunkRows);
        m_open->start.reserve(chunkRows + 1);
    }
    Chunk &c = *m_open;
    c.kayno.push_back(kayno);
    const QByteArray folded = fold(subject);
    // A 0 byte inside a subject would end it early; it can never be typed.
    c.text.append(folded.constData(), size_t(folded.size()));
    c.text.push_back('\0');
    c.start.push_back(quint32(c.text.size()));
    ++m_size;
    if (c.kayno.size() >= size_t(chunkRows))
        seal();
}

void SubjectIndex::seal()
{
    if (!m_open)
        return;
    m_open->text.shrink_to_fit();
    m_chunks.push_back(std::move(m_open));
    m_open.reset();
}

std::shared_ptr<const SubjectIndex> SubjectIndex::snapshot() const
{
    auto copy = std::make_shared<SubjectIndex>();
    copy->m_chunks = m_chunks;
    copy->m_size = m_chunks.empty() ? 0 : m_chunks.back()->firstRow + qsizetype(m_chunks.back()->kayno.size());
    return copy;
}

const SubjectIndex::Chunk &SubjectIndex::chunkOf(qsizetype row) const
{
    if (m_open && row >= m_open->firstRow)
        return *m_open;
    // Every chunk but the last is full, so the row tells its chunk.
    return *m_chunks[size_t(row / chunkRows)];
}

int SubjectIndex::kayno(qsizetype row) const
{
    const Chunk &c = chunkOf(row);
    return c.kayno[size_t(row - c.firstRow)];
}

std::size_t SubjectIndex::bytes() const
{
    std::size_t total = sizeof(*this) + m_chunks.capacity() * sizeof(m_chunks[0]);
    auto add = [&total](const Chunk &c) {
        total += sizeof(Chunk) + c.text.capacity() + c.kayno.capacity() * sizeof(qint32)
                 + c.start.capacity() * sizeof(quint32);
    };
    for (const auto &c : m_chunks)
        add(*c);
    if (m_open)
        add(*m_open);
    return total;
}

namespace {

// How many rows or hits between two looks at the stop flag.
constexpr int kStopEvery = 256;

struct Collector
{
    std::vector<int> &out;
    const Progress &progress;
    int sinceCheck = 0;

    // False when the search is to stop.
    bool push(int row)
    {
        out.push_back(row);
        if (progress.first && out.size() == progress.firstCount)
            progress.first(out);
        return tick();
    }
    bool tick()
    {
        if (++sinceCheck < kStopEvery)
            return true;
        sinceCheck = 0;
        return !(progress.stop && progress.stop());
    }
};

} // namespace

std::vector<int> SubjectIndex::find(const QByteArray &needle) const
{
    std::vector<int> out;
    scan(needle, 0, out);
    return out;
}

bool SubjectIndex::scan(const QByteArray &needle, qsizetype from, std::vector<int> &out,
                        const Progress &progress) const
{
    if (progress.stop && progress.stop())
        return false;
    Collector collect{out, progress};
    const std::string_view pattern(needle.constData(), size_t(needle.size()));
    auto visit = [&](const Chunk &c) {
        const qsizetype rows = qsizetype(c.kayno.size());
        qsizetype local = std::max<qsizetype>(0, from - c.firstRow);
        if (local >= rows)
            return true;
        if (pattern.empty()) {
            for (; local < rows; ++local)
                if (!collect.push(int(c.firstRow + local)))
                    return false;
            return true;
        }
        // memmem over the chunk's subjects; a hit skips to the next subject.
        const char *base = c.text.data();
        std::size_t pos = c.start[size_t(local)];
        const std::size_t end = c.text.size();
        while (pos < end) {
            const void *hit = memmem(base + pos, end - pos, pattern.data(), pattern.size());
            if (!hit)
                break;
            const auto offset = quint32(static_cast<const char *>(hit) - base);
            const auto it = std::upper_bound(c.start.begin(), c.start.end(), offset);
            if (!collect.push(int(c.firstRow + (it - c.start.begin()) - 1)))
                return false;
            pos = *it;
        }
        return collect.tick();
    };
    for (const auto &c : m_chunks)
        if (!visit(*c))
            return false;
    if (m_open && !visit(*m_open))
        return false;
    return true;
}

bool SubjectIndex::filter(const QByteArray &needle, const std::vector<int> &rows, std::vector<int> &out,
                          const Progress &progress) const
{
    if (progress.stop && progress.stop())
        return false;
    Collector collect{out, progress};
    const std::string_view pattern(needle.constData(), size_t(needle.size()));
    for (int row : rows) {
        const Chunk &c = chunkOf(row);
        const auto local = size_t(row - c.firstRow);
        const std::string_view subject(c.text.data() + c.start[local], c.start[local + 1] - c.start[local] - 1);
        if (subject.find(pattern) != std::string_view::npos) {
            if (!collect.push(row))
                return false;
        } else if (!collect.tick()) {
            return false;
        }
    }
    return true;
}

// In date order; rows of one day by record key (put in order as they come).
// The date column's index gives the rows in order without sorting the whole
// register first, so the first part can be searched while the rest comes.
QString loadStatement(const QString &selector)
{
    const Register *r = find(selector);
    if (!r)
        return {};
    return QStringLiteral("SELECT KAYNO, KONU, %2 FROM %1 ORDER BY %2")
        .arg(QLatin1String(r->table), QLatin1String(r->date));
}

std::shared_ptr<SubjectIndex> load(fb::Transaction &t, const QString &selector, const std::atomic_bool *cancel,
                                   const std::function<void(std::shared_ptr<const SubjectIndex>)> &published)
{
    auto index = std::make_shared<SubjectIndex>();
    const QString sql = loadStatement(selector);
    if (sql.isEmpty()) {
        if (published)
            published(index->snapshot());
        return index;
    }
    fb::Statement s(t, sql);
    s.execute();
    // Rows of one day wait here until the day is complete, to be put in key order.
    std::vector<std::pair<int, QString>> day;
    QVariant dayDate;
    auto flushDay = [&] {
        std::sort(day.begin(), day.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &[kayno, subject] : day)
            index->add(kayno, subject);
        day.clear();
    };
    QElapsedTimer sincePublished;
    sincePublished.start();
    qsizetype publishedChunks = 0;
    while (s.next()) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return nullptr;
        const QVariant date = s.value(2);
        if (date != dayDate || date.isNull() != dayDate.isNull()) {
            flushDay();
            dayDate = date;
        }
        day.emplace_back(s.value(0).toInt(), s.value(1).toString());
        if (!published)
            continue;
        const qsizetype closed = index->size() / SubjectIndex::chunkRows;
        if (closed > publishedChunks && (publishedChunks == 0 || sincePublished.elapsed() >= 150)) {
            published(index->snapshot());
            publishedChunks = closed;
            sincePublished.restart();
        }
    }
    flushDay();
    index->seal();
    if (published)
        published(index->snapshot());
    return index;
}

std::shared_ptr<SubjectIndex> load(const fb::ConnectOptions &options, const QString &selector,
                                   const std::atomic_bool *cancel,
                                   const std::function<void(std::shared_ptr<const SubjectIndex>)> &published)
{
    fb::Attachment own;
    own.open(options);
    std::shared_ptr<SubjectIndex> index;
    {
        fb::TransactionOptions o;
        o.isolation = fb::TransactionOptions::Isolation::Snapshot;
        o.readOnly = true;
        fb::Transaction t(own, o);
        index = load(t, selector, cancel, published);
        t.commit();
    }
    own.close();
    return index;
}

void Searcher::reset()
{
    m_needle.clear();
    m_valid = false;
    m_covered = 0;
    m_matches.clear();
}

const std::vector<int> *Searcher::search(const QString &text, const SubjectIndex &index, const Progress &progress)
{
    bool ok = true;
    const QByteArray needle = fold(text, &ok);
    if (!ok) {
        // No stored subject holds a character the code page lacks.
        reset();
        return &m_matches;
    }
    const bool same = m_valid && needle == m_needle;
    if (same && m_covered == index.size())
        return &m_matches;
    std::vector<int> found;
    // Every subject containing the longer text contains the shorter one.
    const bool narrow = m_valid && m_covered <= index.size() && needle.contains(m_needle);
    qsizetype from = 0;
    if (narrow) {
        // Rows searched before are answered from the previous matches; only
        // the rows the index gained since are read in full.
        if (same) {
            found = m_matches;
            if (progress.first && found.size() >= progress.firstCount)
                progress.first(std::vector<int>(found.begin(), found.begin() + qsizetype(progress.firstCount)));
        } else if (!index.filter(needle, m_matches, found, progress)) {
            return nullptr;
        }
        from = m_covered;
    }
    if (!index.scan(needle, from, found, progress))
        return nullptr;
    m_matches = std::move(found);
    m_needle = needle;
    m_valid = true;
    m_covered = index.size();
    return &m_matches;
}

BackgroundSearch::BackgroundSearch(QObject *receiver, Deliver deliver, std::size_t firstCount)
    : m_receiver(receiver)
    , m_deliver(std::move(deliver))
    , m_firstCount(firstCount)
{
    m_worker = std::thread([this] { run(); });
}

BackgroundSearch::~BackgroundSearch()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        ++m_generation;
    }
    m_wake.notify_one();
    m_worker.join();
}

quint64 BackgroundSearch::request(const std::function<void()> &change)
{
    quint64 generation;
    {
        std::lock_guard lock(m_mutex);
        change();
        m_pending = true;
        generation = ++m_generation;
    }
    m_wake.notify_one();
    return generation;
}

quint64 BackgroundSearch::setIndex(std::shared_ptr<const SubjectIndex> index, bool fresh)
{
    return request([&] {
        m_index = std::move(index);
        m_fresh = m_fresh || fresh;
    });
}

quint64 BackgroundSearch::search(const QString &text)
{
    return request([&] { m_text = text; });
}

void BackgroundSearch::clear()
{
    request([&] {
        m_index.reset();
        m_text.clear();
        m_fresh = true;
    });
}

void BackgroundSearch::run()
{
    Searcher searcher;
    for (;;) {
        QString text;
        std::shared_ptr<const SubjectIndex> index;
        quint64 generation;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_pending; });
            if (m_quit)
                return;
            m_pending = false;
            text = m_text;
            index = m_index;
            generation = m_generation.load();
            if (m_fresh)
                searcher.reset();
            m_fresh = false;
        }
        if (!index)
            continue; // the text waits for an index
        if (started)
            started(generation);
        const auto deliver = [this, generation, index](std::vector<int> rows, bool complete) {
            Answer answer{generation, complete, index, std::make_shared<const std::vector<int>>(std::move(rows))};
            // Queued to the receiver; dropped there if it is gone by then.
            QMetaObject::invokeMethod(
                m_receiver, [deliver = m_deliver, answer] { deliver(answer); }, Qt::QueuedConnection);
        };
        Progress progress;
        progress.stop = [this, generation] { return m_generation.load(std::memory_order_relaxed) != generation; };
        progress.firstCount = m_firstCount;
        progress.first = [&](const std::vector<int> &rows) { deliver(rows, false); };
        const std::vector<int> *rows = searcher.search(text, *index, progress);
        if (!rows || m_generation.load() != generation) {
            ++m_abandoned;
            continue;
        }
        deliver(*rows, true);
    }
}

ResultModel::ResultModel(fb::Transaction &lookups, QObject *parent)
    : QAbstractTableModel(parent)
    , m_lookups(lookups)
{
}

void ResultModel::setResult(const QString &selector, std::shared_ptr<const SubjectIndex> index,
                            std::vector<int> rows)
{
    beginResetModel();
    m_selector = selector;
    m_index = std::move(index);
    m_rows = std::move(rows);
    m_pages.clear();
    endResetModel();
}

bool ResultModel::update(std::shared_ptr<const SubjectIndex> index, const std::vector<int> &rows)
{
    const bool extends = m_index && rows.size() >= m_rows.size()
                         && std::equal(m_rows.begin(), m_rows.end(), rows.begin());
    if (!extends) {
        setResult(m_selector, std::move(index), rows);
        return true;
    }
    // A grown index keeps its rows where they were: the pages read stay valid.
    m_index = std::move(index);
    if (rows.size() > m_rows.size()) {
        // The last page read may have been short; it is read again whole.
        m_pages.remove(int(m_rows.size()) / pageSize);
        beginInsertRows({}, int(m_rows.size()), int(rows.size()) - 1);
        m_rows.insert(m_rows.end(), rows.begin() + qsizetype(m_rows.size()), rows.end());
        endInsertRows();
    }
    return false;
}

void ResultModel::clear()
{
    setResult(m_selector, nullptr, {});
}

int ResultModel::kaynoAt(int row) const
{
    if (!m_index || row < 0 || row >= int(m_rows.size()))
        return 0;
    return m_index->kayno(m_rows[size_t(row)]);
}

int ResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

const std::vector<ResultModel::Row> &ResultModel::page(int pageNo) const
{
    auto it = m_pages.find(pageNo);
    if (it != m_pages.end())
        return *it;
    const int first = pageNo * pageSize;
    const int last = std::min<int>(first + pageSize, int(m_rows.size()));
    QStringList keys;
    for (int i = first; i < last; ++i)
        keys << QString::number(kaynoAt(i));
    std::vector<Row> rows(size_t(last - first));
    if (!keys.isEmpty()) {
        QHash<int, Row> byKey;
        // Keys are integers of our own: written into the text, not typed.
        const auto found = m_lookups.rows(registerLines(m_selector) + QStringLiteral("\nWHERE G1.KAYNO IN (")
                                          + keys.join(u',') + u')');
        for (const QVariantList &r : found)
            byKey.insert(r.value(0).toInt(), Row{r.value(1), r.value(2).toDate(), r.value(3).toString(),
                                                 r.value(4).toString()});
        for (int i = first; i < last; ++i)
            rows[size_t(i - first)] = byKey.value(kaynoAt(i)); // a row deleted since loading stays blank
    }
    return *m_pages.insert(pageNo, std::move(rows));
}

QVariant ResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    if (role != Qt::DisplayRole)
        return {};
    const Row &r = page(index.row() / pageSize)[size_t(index.row() % pageSize)];
    switch (index.column()) {
    case 0: return r.number;
    case 1: return r.date.isValid() ? QVariant(r.date.toString(QStringLiteral("dd.MM.yyyy"))) : QVariant();
    case 2: return r.body;
    case 3: return r.subject;
    default: return {};
    }
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[] = {"Evrak No", "Tarhi", "Kurumu", "Konusu"};
    return section >= 0 && section < 4 ? QString::fromUtf8(titles[section]) : QVariant();
}

} // namespace subjectsearch
