#include "departments.h"

#include "wordsearch.h"

#include "core/session.h"
#include "core/turkish.h"
#include "db/fieldcheck.h"

namespace birim {

namespace {

QString tur(BirimKind kind)
{
    return kind == BirimKind::Department ? QStringLiteral("B") : QStringLiteral("K");
}

} // namespace

fb::Transaction &transaction(Session &session, BirimKind kind)
{
    return kind == BirimKind::Department ? session.db.IBTransaction1 : session.db.IBTransaction2;
}

const Choices &kisilik()
{
    static const Choices items = {{QStringLiteral("Kamu"), QStringLiteral("K")},
                                  {QStringLiteral("Tüzel"), QStringLiteral("T")},
                                  {QStringLiteral("Gerçek"), QStringLiteral("G")}};
    return items;
}

QString nameCaption(const QString &gtur)
{
    if (gtur == QLatin1String("T"))
        return QStringLiteral(" Firma Adı");
    if (gtur == QLatin1String("G"))
        return QStringLiteral(" Kişi Adı Soyadı");
    return QStringLiteral(" Kurum Adı");
}

QString personCaption(const QString &gtur)
{
    return gtur == QLatin1String("G") ? QStringLiteral(" T.C. Kimlik No")
                                      : QStringLiteral(" Yetkili Adı Soyadı");
}

QList<BodyName> bodiesBeginningWith(Session &session, const QString &typed)
{
    QString sql = QStringLiteral("SELECT BKOD,BIRIM FROM BIRIM\nWHERE TUR='K'\n");
    fb::Params params;
    if (!typed.isEmpty()) {
        sql += QStringLiteral(" AND %1 LIKE :HK\n").arg(wordsearch::upperColumn(QStringLiteral("BIRIM"), 80));
        params.insert(QStringLiteral("HK"), turkish::upper(typed) + u'%');
    }
    sql += QStringLiteral("ORDER BY BIRIM");
    QList<BodyName> out;
    for (const QVariantList &r : transaction(session, BirimKind::Body).rows(sql, params))
        out.append({r.value(0).toInt(), r.value(1).toString()});
    return out;
}

QList<BodyName> findBodies(Session &session, const QString &text, bool kelimeAra, bool lastKeyBlank)
{
    return bodiesBeginningWith(session, kelimeAra ? wordsearch::KELIMEBUL(text, lastKeyBlank) : text);
}

} // namespace birim

BirimList::BirimList(Session &session, BirimKind kind)
    : m_session(session)
    , m_kind(kind)
    , m_rows(QStringLiteral("BIRIM"), {QStringLiteral("BKOD")})
{
}

void BirimList::read()
{
    m_rows.select(birim::transaction(m_session, m_kind),
                  QStringLiteral("SELECT * FROM BIRIM\nWHERE TUR=:T\nORDER BY BKOD"),
                  {{QStringLiteral("T"), birim::tur(m_kind)}});
}

int BirimList::rowOf(int bkod) const
{
    for (int i = 0; i < m_rows.rowCount(); ++i) {
        if (m_rows.value(i, QStringLiteral("BKOD")).toInt() == bkod)
            return i;
    }
    return -1;
}

bool BirimList::remove(int bkod)
{
    if (!m_session.prompt().question(
            QStringLiteral("DİKKAT! Bu Birim Bilgileri Silinecektir.Onaylıyormusunuz")))
        return false;
    const bool department = m_kind == BirimKind::Department;
    fb::Transaction work(m_session.db.IBDATABASE);
    const QString column = department ? QStringLiteral("BIRKOD") : QStringLiteral("KURKOD");
    for (const char *table : {"GELEN", "GIDEN"}) {
        const qint64 used = work.value(QStringLiteral("select COUNT(*) SAY from %1\nWHERE %2=:BK")
                                           .arg(QLatin1String(table), column),
                                       {{QStringLiteral("BK"), bkod}})
                                .toLongLong();
        if (used > 0) {
            m_session.prompt().message(department
                ? QStringLiteral("DİKKAT! Bu Birim Kullanılmıştır. Silemezsiniz..")
                : QStringLiteral("DİKKAT! Bu Kurum Kullanılmıştır. Silemezsiniz.."));
            return false;
        }
    }
    work.execute(QStringLiteral("DELETE FROM BIRIM\nWHERE TUR=:T AND BKOD=:BK"),
                 {{QStringLiteral("T"), birim::tur(m_kind)}, {QStringLiteral("BK"), bkod}});
    work.commit();
    read();
    return true;
}

BirimRecord::BirimRecord(Session &session, BirimKind kind)
    : m_session(session)
    , m_kind(kind)
    , m_row(QStringLiteral("BIRIM"), {QStringLiteral("BKOD")})
{
}

void BirimRecord::openNew()
{
    m_mode = New;
    m_focus.clear();
    // No row has the code -1: this reads the columns only.
    m_row.select(birim::transaction(m_session, m_kind),
                 QStringLiteral("SELECT * FROM BIRIM WHERE BKOD=-1"));
    QVariantMap values{{QStringLiteral("TUR"), birim::tur(m_kind)}};
    if (m_kind == BirimKind::Body)
        values.insert(QStringLiteral("GTUR"), QStringLiteral("K"));
    m_row.append(values);
}

bool BirimRecord::openExisting(int bkod)
{
    m_mode = Edit;
    m_focus.clear();
    m_row.select(birim::transaction(m_session, m_kind),
                 QStringLiteral("SELECT * FROM BIRIM WHERE BKOD=:BK AND TUR=:T"),
                 {{QStringLiteral("BK"), bkod}, {QStringLiteral("T"), birim::tur(m_kind)}});
    if (m_row.rowCount() == 0) {
        m_session.prompt().message(QStringLiteral("Dikkat bir hata oluşru..."));
        return false;
    }
    return true;
}

int BirimRecord::BKOD() const
{
    return m_row.rowCount() ? m_row.value(0, QStringLiteral("BKOD")).toInt() : 0;
}

QVariant BirimRecord::value(const QString &column) const
{
    return m_row.value(0, column);
}

void BirimRecord::setValue(const QString &column, const QVariant &value)
{
    m_row.setValue(0, column, value);
}

QString BirimRecord::caption(const QString &column) const
{
    const QString c = column.toUpper();
    if (m_kind == BirimKind::Body) {
        const QString gtur = value(QStringLiteral("GTUR")).toString();
        if (c == QLatin1String("BIRIM"))
            return birim::nameCaption(gtur);
        if (c == QLatin1String("YETKILI"))
            return birim::personCaption(gtur);
        if (c == QLatin1String("EMAIL"))
            return QStringLiteral(" e-posta Adresi");
    }
    static const QList<QPair<QString, QString>> captions = {
        {QStringLiteral("KODU"), QStringLiteral(" Birim Kodu")},
        {QStringLiteral("BIRIM"), QStringLiteral(" Birim Adı")},
        {QStringLiteral("YETKILI"), QStringLiteral(" Birim Yetkilisi")},
        {QStringLiteral("UNVAN"), QStringLiteral(" Ünvanı")},
        {QStringLiteral("EMAIL"), QStringLiteral(" e-posta adresi")},
        {QStringLiteral("ONEK"), QStringLiteral(" Evrak Sayı Ön Eki")}};
    for (const auto &p : captions) {
        if (p.first == c)
            return p.second;
    }
    return column;
}

bool BirimRecord::refuse(const QString &message, const QString &column)
{
    m_session.prompt().message(message);
    m_focus = column;
    return false;
}

bool BirimRecord::save()
{
    m_focus.clear();
    const QStringList texts = m_kind == BirimKind::Department
        ? QStringList{"KODU", "BIRIM", "YETKILI", "UNVAN", "EMAIL", "ONEK"}
        : QStringList{"BIRIM", "YETKILI", "UNVAN", "EMAIL"};
    for (const QString &c : texts) {
        const QVariant v = value(c);
        if (!v.isNull() && v.toString() != v.toString().trimmed())
            setValue(c, v.toString().trimmed());
    }
    if (value(QStringLiteral("BIRIM")).toString().isEmpty()) {
        return refuse(m_kind == BirimKind::Department
                          ? QStringLiteral("DİKKAT! Birin Adını Girmelisiniz.")
                          : QStringLiteral("DİKKAT! Kurum Adını Girmelisiniz."),
                      QStringLiteral("BIRIM"));
    }
    for (const QString &c : texts) {
        const QString problem = fieldcheck::problem(QStringLiteral("BIRIM"), c, value(c), caption(c));
        if (!problem.isEmpty())
            return refuse(problem, c);
    }

    fb::Transaction work(m_session.db.IBDATABASE);
    if (m_mode == New) {
        setValue(QStringLiteral("BKOD"),
                 work.value(QStringLiteral("SELECT GEN_ID(GEN_BKOD,1) YENINO FROM RDB$DATABASE")).toInt());
    }
    const QString person = value(QStringLiteral("YETKILI")).toString();
    if (m_kind == BirimKind::Body && value(QStringLiteral("GTUR")).toString() == QLatin1String("G")
        && !person.isEmpty()) {
        const qint64 same = work.value(QStringLiteral("SELECT COUNT(YETKILI) SAY FROM BIRIM\n"
                                                      "WHERE TUR='K' AND BKOD<>:TS AND YETKILI=:TSN"),
                                       {{QStringLiteral("TS"), BKOD()}, {QStringLiteral("TSN"), person}})
                                .toLongLong();
        if (same > 0)
            return refuse(QStringLiteral("DİKKAT! TC. Kimlik Numarası Kayıtlıdır.."), QStringLiteral("YETKILI"));
    }
    m_row.apply(work);
    work.commit();
    m_row.accept();
    return true;
}

void BirimRecord::cancel()
{
    m_row.revert();
}

QList<BodyName> BirimRecord::similarNames(const QString &text, bool lastKeyBlank)
{
    return birim::bodiesBeginningWith(m_session, wordsearch::KELIMEBUL(text, lastKeyBlank));
}
