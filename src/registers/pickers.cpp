#include "pickers.h"

#include "core/turkish.h"
#include "db/fb/statement.h"
#include "definitions/wordsearch.h"

#include <QDate>

namespace pickers {

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QString dateText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
}

/// Conditions joined as every filter of the program joins them.
class Conditions
{
public:
    void add(const QString &condition)
    {
        m_line += (m_line.isEmpty() ? QStringLiteral("WHERE ") : QStringLiteral(" AND ")) + condition;
    }
    QString line() const { return m_line; }

private:
    QString m_line;
};

Query awaitingAnswer(const QString &table, const QString &numberColumns, int body, int department)
{
    Query q;
    Conditions c;
    c.add(QStringLiteral("(G1.CEVDUR='E' AND G1.CEVNO=0)"));
    if (body >= 0) {
        c.add(QStringLiteral("D.BKOD=:DK"));
        q.params.insert(QStringLiteral("DK"), body);
    }
    if (department >= 0) {
        c.add(QStringLiteral("B.BKOD=:BK"));
        q.params.insert(QStringLiteral("BK"), department);
    }
    q.sql = QStringLiteral("SELECT G1.KAYNO,%1,D.BIRIM DISKUR,G1.EVTAR,G1.EVSAY,G1.KONU,B.BIRIM FROM %2 G1 "
                           "LEFT JOIN BIRIM D ON(D.BKOD=G1.KURKOD) "
                           "LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD) ")
                .arg(numberColumns, table)
            + c.line();
    return q;
}

} // namespace

QStringList names(fb::Transaction &t, QChar tur)
{
    QStringList out;
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT BIRIM FROM BIRIM WHERE TUR=:T ORDER BY BIRIM"),
                                        {{"T", QString(tur)}}))
        out << text(r[0]);
    return out;
}

int lookUp(fb::Transaction &t, QChar tur, int index, const QString &name)
{
    if (index < 1)
        return -1;
    const QVariant code = t.value(QStringLiteral("SELECT BKOD FROM BIRIM WHERE TUR=:T AND BIRIM=:B"),
                                  {{"T", QString(tur)}, {"B", name}});
    return code.isNull() ? 0 : code.toInt();
}

Query incoming(int body, int department)
{
    return awaitingAnswer(QStringLiteral("GELEN"), QStringLiteral("G1.GELNO,G1.GELTAR"), body, department);
}

Query outgoing(int body, int department)
{
    return awaitingAnswer(QStringLiteral("GIDEN"), QStringLiteral("G1.GIDNO,G1.GIDTAR"), body, department);
}

QString containsPattern(const QString &typed)
{
    QString escaped;
    for (QChar ch : turkish::upper(typed)) {
        if (ch == u'%' || ch == u'_' || ch == u'\\')
            escaped += u'\\';
        escaped += ch;
    }
    return QStringLiteral("%") + escaped + QStringLiteral("%");
}

Query petitions(const PetitionFilter &f)
{
    Query q;
    Conditions c;
    if (f.department >= 0) {
        c.add(QStringLiteral("B.BKOD=:BK"));
        q.params.insert(QStringLiteral("BK"), f.department);
    }
    if (!f.name.isEmpty()) {
        // ADI and SOYADI hold 20 characters each.
        c.add(wordsearch::upperColumn(QStringLiteral("D.ADI||' '||D.SOYADI"), 41)
              + QStringLiteral(" LIKE :AA ESCAPE '\\'"));
        q.params.insert(QStringLiteral("AA"), containsPattern(f.name));
    }
    if (f.awaited != QStringLiteral("Tümü") && !f.awaited.isEmpty()) {
        c.add(QStringLiteral("D.CEVDUR=:cd"));
        q.params.insert(QStringLiteral("cd"), f.awaited.left(1));
    }
    if (f.answered == QStringLiteral("Hayır")) {
        c.add(QStringLiteral("D.CEVNO=:cn"));
        q.params.insert(QStringLiteral("cn"), 0);
    } else if (f.answered == QLatin1String("Evet")) {
        c.add(QStringLiteral("D.CEVNO>0"));
    }
    q.sql = QStringLiteral("SELECT D.KAYNO,D.DILNO,D.DILTAR,D.KONU,B.BIRIM,D.ADI||' '||D.SOYADI ADSOY FROM DILEKCE D "
                           "LEFT JOIN BIRIM B ON(B.BKOD=D.BIRKOD) ")
            + c.line();
    return q;
}

QStringList incomingHeaders()
{
    return {QStringLiteral("Kay.No"), QStringLiteral("Kay.Tarihi"), QStringLiteral("Gittiği Yer"),
            QStringLiteral("Evrak Tar./No"), QStringLiteral("Konusu"), QStringLiteral("Gönderen Birim")};
}

QStringList outgoingHeaders()
{
    return incomingHeaders();
}

QStringList petitionHeaders()
{
    return {QStringLiteral("Kay.No"), QStringLiteral("Kay.Tarihi"), QStringLiteral("Dilekçe Konusu"),
            QStringLiteral("Dilekçe Veren")};
}

QList<Row> rows(fb::Transaction &t, const Query &query)
{
    fb::Statement s(t, query.sql);
    s.bindAll(query.params);
    s.execute();
    const bool petition = s.columnCount() == 6 && s.columnName(5).compare(QLatin1String("ADSOY"), Qt::CaseInsensitive) == 0;
    QList<Row> out;
    while (s.next()) {
        Row r;
        r.KAYNO = s.value(0).toInt();
        if (petition) {
            r.cells = {text(s.value(1)), dateText(s.value(2)), text(s.value(3)), text(s.value(5))};
        } else {
            r.cells = {text(s.value(1)), dateText(s.value(2)), text(s.value(3)),
                       dateText(s.value(4)) + u'/' + text(s.value(5)), text(s.value(6)), text(s.value(7))};
        }
        out.append(r);
    }
    return out;
}

} // namespace pickers
