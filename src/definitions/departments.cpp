#include "departments.h"

#include "wordsearch.h"

#include "core/identitynumber.h"
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
    // Every column that keeps the code: a row deleted from under one of them
    // leaves a code pointing nowhere (a user's department reads "TÜMÜ").
    using Use = std::pair<const char *, const char *>;
    static const QList<Use> departmentUses = {{"GELEN", "BIRKOD"}, {"GIDEN", "BIRKOD"}, {"DILEKCE", "BIRKOD"},
                                              {"ARSIV", "BIRKOD"},  {"EVBRM", "BKOD"},   {"USERS", "OZEL"},
                                              {"PERSONEL", "BKOD"}};
    static const QList<Use> bodyUses = {{"GELEN", "KURKOD"}, {"GIDEN", "KURKOD"}, {"EVBRM", "BKOD"}};
    for (const auto &[table, column] : department ? departmentUses : bodyUses) {
        // Older databases lack some of these tables and columns.
        if (work.value(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS\n"
                                      "WHERE RDB$RELATION_NAME=:T AND RDB$FIELD_NAME=:C"),
                       {{QStringLiteral("T"), QLatin1String(table)}, {QStringLiteral("C"), QLatin1String(column)}})
                .toInt() == 0)
            continue;
        const qint64 used = work.value(QStringLiteral("select COUNT(*) SAY from %1\nWHERE %2=:BK")
                                           .arg(QLatin1String(table), QLatin1String(column)),
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
    const QString person = value(QStringLiteral("YETKILI")).toString();
    const bool naturalPerson = m_kind == BirimKind::Body && value(QStringLiteral("GTUR")).toString() == QLatin1String("G");
    if (naturalPerson && !person.isEmpty()) {
        // Letters or a wrong length are no identity number; a number whose
        // check digits fail may still be the one on the person's card.
        if (!identitynumber::hasElevenDigits(person))
            return refuse(identitynumber::shapeRefusal(), QStringLiteral("YETKILI"));
        if (!identitynumber::isValid(person) && !m_session.prompt().question(identitynumber::mistypedQuestion(person))) {
            m_focus = QStringLiteral("YETKILI");
            return false;
        }
    }
    if (m_kind == BirimKind::Department && nameTaken())
        return refuse(QStringLiteral("DİKKAT! Bu Birim Adı Kayıtlıdır.."), QStringLiteral("BIRIM"));

    fb::Transaction work(m_session.db.IBDATABASE);
    if (m_mode == New) {
        setValue(QStringLiteral("BKOD"),
                 work.value(QStringLiteral("SELECT GEN_ID(GEN_BKOD,1) YENINO FROM RDB$DATABASE")).toInt());
    }
    if (naturalPerson && !person.isEmpty()) {
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

bool BirimRecord::nameTaken() const
{
    // Users choose their department by its name: two that differ only in
    // case would be one name to them.
    const QString name = turkish::upper(value(QStringLiteral("BIRIM")).toString());
    const auto rows = birim::transaction(m_session, m_kind)
                          .rows(QStringLiteral("SELECT BKOD,BIRIM FROM BIRIM WHERE TUR=:T AND BKOD<>:BK"),
                                {{QStringLiteral("T"), birim::tur(m_kind)}, {QStringLiteral("BK"), BKOD()}});
    for (const QVariantList &r : rows) {
        if (turkish::upper(r.value(1).toString().trimmed()) == name)
            return true;
    }
    return false;
}

void BirimRecord::cancel()
{
    m_row.revert();
}

QList<BodyName> BirimRecord::similarNames(const QString &text, bool lastKeyBlank)
{
    return birim::bodiesBeginningWith(m_session, wordsearch::KELIMEBUL(text, lastKeyBlank));
}
