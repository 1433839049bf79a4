#include "subjectsearch.h"

#include "core/turkish.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/fb/win1254.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

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
    m_kayno.push_back(kayno);
    const QByteArray folded = fold(subject);
    // A 0 byte inside a subject would end it early; it can never be typed.
    m_text.append(folded.constData(), size_t(folded.size()));
    m_text.push_back('\0');
    m_start.push_back(quint32(m_text.size()));
}

std::size_t SubjectIndex::bytes() const
{
    return m_text.capacity() + m_kayno.capacity() * sizeof(qint32) + m_start.capacity() * sizeof(quint32);
}

std::vector<int> SubjectIndex::find(const QByteArray &needle, const std::vector<int> *within,
                                    const std::atomic_bool *cancel) const
{
    std::vector<int> out;
    const int n = int(m_kayno.size());
    if (needle.isEmpty()) {
        if (within)
            return *within;
        out.resize(size_t(n));
        for (int i = 0; i < n; ++i)
            out[size_t(i)] = i;
        return out;
    }
    const std::string_view pattern(needle.constData(), size_t(needle.size()));
    if (within) {
        for (int row : *within) {
            const std::string_view subject(m_text.data() + m_start[size_t(row)],
                                           m_start[size_t(row) + 1] - m_start[size_t(row)] - 1);
            if (subject.find(pattern) != std::string_view::npos)
                out.push_back(row);
        }
        return out;
    }
    // One pass of memmem over all subjects; a hit skips to the next subject.
    const char *base = m_text.data();
    std::size_t pos = 0;
    const std::size_t end = m_text.size();
    int checked = 0;
    while (pos < end) {
        if (cancel && ++checked % 64 == 0 && cancel->load(std::memory_order_relaxed))
            return {};
        const void *hit = memmem(base + pos, end - pos, pattern.data(), pattern.size());
        if (!hit)
            break;
        const auto offset = quint32(static_cast<const char *>(hit) - base);
        const auto it = std::upper_bound(m_start.begin(), m_start.end(), offset);
        const int row = int(it - m_start.begin()) - 1;
        out.push_back(row);
        pos = *it;
    }
    return out;
}

namespace {

QString loadSql(const QString &selector)
{
    const Register *r = find(selector);
    if (!r)
        return {};
    return QStringLiteral("SELECT KAYNO, KONU FROM %1 ORDER BY %2, KAYNO")
        .arg(QLatin1String(r->table), QLatin1String(r->date));
}

} // namespace

std::shared_ptr<SubjectIndex> load(fb::Transaction &t, const QString &selector, const std::atomic_bool *cancel)
{
    auto index = std::make_shared<SubjectIndex>();
    const QString sql = loadSql(selector);
    if (sql.isEmpty())
        return index;
    fb::Statement s(t, sql);
    s.execute();
    while (s.next()) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return nullptr;
        index->add(s.value(0).toInt(), s.value(1).toString());
    }
    return index;
}

std::shared_ptr<SubjectIndex> load(const fb::ConnectOptions &options, const QString &selector,
                                   const std::atomic_bool *cancel)
{
    fb::Attachment own;
    own.open(options);
    std::shared_ptr<SubjectIndex> index;
    {
        fb::TransactionOptions o;
        o.isolation = fb::TransactionOptions::Isolation::Snapshot;
        o.readOnly = true;
        fb::Transaction t(own, o);
        index = load(t, selector, cancel);
        t.commit();
    }
    own.close();
    return index;
}

Searcher::Searcher(std::shared_ptr<const SubjectIndex> index)
    : m_index(std::move(index))
{
}

const std::vector<int> &Searcher::search(const QString &text)
{
    bool ok = true;
    const QByteArray needle = fold(text, &ok);
    if (!ok) {
        m_matches.clear();
        m_valid = false;
        return m_matches;
    }
    if (m_valid && needle == m_needle)
        return m_matches;
    // Every subject containing the longer text contains the shorter one.
    const bool narrow = m_valid && needle.contains(m_needle);
    m_matches = m_index->find(needle, narrow ? &m_matches : nullptr);
    m_needle = needle;
    m_valid = true;
    return m_matches;
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
