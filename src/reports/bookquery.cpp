#include "bookquery.h"

#include "db/fb/attachment.h"
#include "db/replies.h"

#include <QDate>
#include <QDateTime>

namespace reports {

namespace {

struct Query
{
    QStringList lines;
    QString departmentCondition;
    QString dateColumn;
    QString order;
};

Query listQuery(Book book)
{
    switch (book) {
    case Book::Outgoing:
        return {{QStringLiteral("SELECT G1.KAYNO,G1.GIDNO,G1.GIDTAR,G1.ILGDUR,D.BIRIM DKURUM,G1.EVTAR,G1.EVSAY,G1.KONU,B.BIRIM,G1.CEVDUR,G2.GELNO,G1.ILGNO,G1.GIZDER,G1.ZDUR,G1.ZNO,G1.EKSAY,G.ONAY,G.BKOD FROM GIDEN G1"),
                 QStringLiteral("LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD)"),
                 QStringLiteral("LEFT JOIN EVBRM G ON(G.TUR=2 AND G.EKAYNO=G1.KAYNO)"),
                 QStringLiteral("LEFT JOIN BIRIM D ON(D.BKOD=G.BKOD)"),
                 QStringLiteral("LEFT JOIN EVTUR E ON(E.ETKOD=G1.ETKOD)"),
                 QStringLiteral("LEFT JOIN GELEN G2 ON(G2.ILGNO=G1.KAYNO)")},
                QStringLiteral("G1.BIRKOD=:BK"), QStringLiteral("G1.GIDTAR"),
                QStringLiteral("ORDER BY G1.GIDNO")};
    case Book::Petition:
        return {{QStringLiteral("SELECT D.KAYNO,D.DILNO,D.GELTAR,D.ADI||' '||D.SOYADI ADSOY,D.DILTAR ,D.KONU,B.BIRIM,EKSAY FROM DILEKCE D"),
                 QStringLiteral("LEFT JOIN BIRIM B ON(B.BKOD=D.BIRKOD)")},
                // Petitions are numbered and listed by their registration date.
                QStringLiteral("D.BIRKOD=:BK"), QStringLiteral("D.GELTAR"),
                QStringLiteral("ORDER BY D.DILNO")};
    case Book::Incoming:
        break;
    }
    // A reply is an outgoing document naming this one as an incoming document:
    // petitions have keys of their own that may equal an incoming key.
    return {{QStringLiteral("SELECT G1.KAYNO,G1.GELNO,G1.GELTAR,K.BIRIM DISKUR,G1.EVTAR,G1.EVSAY,G1.KONU,B.BIRIM,G1.CEVDUR,G2.GIDNO,G1.ILGNO,G1.GIZDER,G1.ZDUR,G1.ZNO,G1.EKSAY,E.EVTUR,G.ONAY,G.BKOD FROM GELEN G1"),
             QStringLiteral("LEFT JOIN BIRIM K ON(K.TUR='K' AND K.BKOD=G1.KURKOD)"),
             QStringLiteral("LEFT JOIN EVBRM G ON(G.TUR=1 AND G.EKAYNO=G1.KAYNO)"),
             QStringLiteral("LEFT JOIN BIRIM B ON(B.TUR='B' AND B.BKOD=G.BKOD)"),
             QStringLiteral("LEFT JOIN EVTUR E ON(E.ETKOD=G1.ETKOD)"),
             QStringLiteral("LEFT JOIN GIDEN G2 ON(G2.ILGNO=G1.KAYNO AND %1)").arg(replies::answersIncoming("G2"))},
            QStringLiteral("G.BKOD=:BK"), QStringLiteral("G1.GELTAR"),
            QStringLiteral("ORDER BY G1.GELNO")};
}

QString display(const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: return v.toDateTime().date().toString(QStringLiteral("dd.MM.yyyy"));
    default: return v.toString();
    }
}

} // namespace

BookQuery::BookQuery(fb::Attachment &database, Book book, const BookFilter &filter)
    : m_transaction(database, {fb::TransactionOptions::Isolation::Snapshot, true})
{
    Query q = listQuery(book);
    QStringList conditions;
    if (filter.department >= 0) {
        conditions << q.departmentCondition;
        m_params.insert(QStringLiteral("BK"), filter.department);
    }
    // Date ranges, as the lists write them, so that the date index serves.
    if (filter.year > 0 && filter.month > 0) {
        const QDate first(filter.year, filter.month, 1);
        conditions << QStringLiteral("%1>=:AA1 AND %1<:AA2").arg(q.dateColumn);
        m_params.insert(QStringLiteral("AA1"), first);
        m_params.insert(QStringLiteral("AA2"), first.addMonths(1));
    } else if (filter.year > 0) {
        conditions << QStringLiteral("%1>=:YL AND %1<:YL2").arg(q.dateColumn);
        m_params.insert(QStringLiteral("YL"), QDate(filter.year, 1, 1));
        m_params.insert(QStringLiteral("YL2"), QDate(filter.year + 1, 1, 1));
    } else if (filter.month > 0) {
        // Every year's such month: no range can say it.
        conditions << QStringLiteral("EXTRACT(MONTH FROM %1)=:AA").arg(q.dateColumn);
        m_params.insert(QStringLiteral("AA"), filter.month);
    }
    if (!conditions.isEmpty())
        q.lines << QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
    q.lines << q.order;
    m_sql = q.lines.join(u'\n');
    m_statement = std::make_unique<fb::Statement>(m_transaction, m_sql);
    for (int i = 0; i < m_statement->columnCount(); ++i)
        m_columns << m_statement->columnName(i);
}

BookQuery::~BookQuery() = default;

QStringList BookQuery::columns() const
{
    return m_columns;
}

void BookQuery::rewind()
{
    if (m_open)
        m_statement->close();
    m_statement->bindAll(m_params);
    m_statement->execute();
    m_open = true;
}

int BookQuery::count()
{
    // Same snapshot as the rows themselves, so the count cannot differ.
    return m_transaction.value(QStringLiteral("SELECT COUNT(*) FROM (%1)").arg(m_sql), m_params).toInt();
}

bool BookQuery::next(QStringList &row)
{
    if (!m_open)
        rewind();
    if (!m_statement->next())
        return false;
    row.clear();
    const QVariantList values = m_statement->row();
    for (const QVariant &v : values)
        row << display(v);
    return true;
}

} // namespace reports
