#include "routing.h"

#include "core/session.h"
#include "db/fb/statement.h"
#include "db/fieldcheck.h"

#include <QSet>

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

Routing::Routing(Session &session, int register_)
    : m_session(session)
    , m_register(register_)
    , m_rows(QStringLiteral("EVBRM"), {QStringLiteral("TUR"), QStringLiteral("EKAYNO"), QStringLiteral("BKOD")})
{
}

void Routing::open(int kayno)
{
    m_kayno = kayno;
    m_rows.select(m_session.db.IBTransaction1, QStringLiteral(
        "SELECT G.TUR,G.EKAYNO,G.BKOD,G.TESADI,G.TESGOR,B.BIRIM FROM EVBRM G "
        "LEFT JOIN BIRIM B ON(B.BKOD=G.BKOD) WHERE G.TUR=:T AND EKAYNO=:KN ORDER BY B.BIRIM"),
        {{"T", m_register}, {"KN", kayno}});
    // The place's name is shown with the row, not stored in it.
    m_rows.setWritable({"TUR", "EKAYNO", "BKOD", "TESADI", "TESGOR"});
}

QList<Department> Routing::departmentsToOffer()
{
    QSet<int> routed;
    for (int r = 0; r < m_rows.rowCount(); ++r)
        routed.insert(m_rows.value(r, "BKOD").toInt());
    fb::Statement s(m_session.db.IBTransaction1, QStringLiteral(
        "SELECT BKOD,BIRIM,YETKILI,UNVAN FROM BIRIM "
        "WHERE TUR='B' AND BKOD NOT IN(SELECT BKOD FROM EVBRM WHERE TUR=:T AND EKAYNO=:KN) "
        "ORDER BY BIRIM"));
    s.bind(QStringLiteral("T"), m_register);
    s.bind(QStringLiteral("KN"), m_kayno);
    s.execute();
    QList<Department> out;
    while (s.next()) {
        Department d{s.value(0).toInt(), text(s.value(1)), text(s.value(2)), text(s.value(3))};
        if (!routed.contains(d.BKOD))
            out.append(d);
    }
    return out;
}

bool Routing::route(const Department &d)
{
    if (d.BKOD == 0)
        return false;
    if (d.YETKILI.size() > 20 || d.UNVAN.size() > 20) {
        m_session.prompt().message(QStringLiteral(
            "DİKKAT! «%1» biriminin yetkilisi veya unvanı 20 karakterden uzun; teslim alan "
            "bilgisine sığmıyor. Birim tanımını düzeltip tekrar seçiniz.").arg(d.BIRIM));
        return false;
    }
    QList<QVariantMap> added;
    for (int r = 0; r < m_rows.rowCount(); ++r) {
        if (m_rows.state(r) != CachedRecords::State::Inserted)
            continue;
        QVariantMap row;
        for (const QString &c : m_rows.columns())
            row.insert(c, m_rows.value(r, c));
        added.append(row);
    }
    m_rows.revert();
    for (const QVariantMap &row : added)
        m_rows.append(row);
    m_rows.append({{"TUR", m_register}, {"EKAYNO", m_kayno}, {"BKOD", d.BKOD},
                   {"TESADI", d.YETKILI.isEmpty() ? QVariant() : QVariant(d.YETKILI)},
                   {"TESGOR", d.UNVAN.isEmpty() ? QVariant() : QVariant(d.UNVAN)},
                   {"BIRIM", d.BIRIM}});
    return true;
}

void Routing::routeAll()
{
    for (const Department &d : departmentsToOffer()) {
        if (!route(d))
            return;
    }
}

void Routing::remove(int row)
{
    if (row < 0 || row >= m_rows.rowCount() || m_rows.value(row, "BKOD").toInt() == 0)
        return;
    if (m_session.prompt().question(QStringLiteral("Bu Birim Silinecektir. Onaylıyormusunuz.?")))
        m_rows.remove(row);
}

QString Routing::problem() const
{
    static const QHash<QString, QString> captions = {{"TESADI", "Teslim Alan Adı S."},
                                                      {"TESGOR", "Teslim Alan Görevi"}};
    for (int r = 0; r < m_rows.rowCount(); ++r) {
        for (const QString &column : {QStringLiteral("TESADI"), QStringLiteral("TESGOR")}) {
            const QString p = fieldcheck::problem(QStringLiteral("EVBRM"), column,
                                                  m_rows.value(r, column), captions.value(column));
            if (!p.isEmpty())
                return p;
        }
    }
    return {};
}
