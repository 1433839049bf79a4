#include "deadlines.h"

#include "registerlist.h"

#include "core/generalsettings.h"
#include "core/session.h"
#include "db/fb/transaction.h"
#include "db/schema.h"

#include <QRegularExpression>

namespace deadlines {

namespace {

const QString kToday = QStringLiteral("CTBUGUN");
const QString kNear = QStringLiteral("CTYAKIN");
const QString kUndatedOver = QStringLiteral("CTSINIR");
const QString kUndatedNear = QStringLiteral("CTSINIRY");

/// An index key with the query's column prefix.
QString key(const char *expression, const QString &prefix)
{
    static const QRegularExpression columns(QStringLiteral("\\b(CEVDUR|CEVNO|CEVTAR|GELTAR)\\b"));
    QString sql = QString::fromLatin1(expression);
    if (!prefix.isEmpty())
        sql.replace(columns, prefix + QStringLiteral("\\1"));
    return u'(' + sql + u')';
}

} // namespace

Rules Rules::of(const GeneralSettings &general)
{
    return Rules{general.CEVSURE, general.CEVYAKIN};
}

QDate dueDate(Register reg, const Reply &row, const Rules &rules)
{
    if (row.CEVTAR.isValid())
        return row.CEVTAR;
    if (reg == Register::Petition && row.registered.isValid())
        return row.registered.addDays(rules.legalDays);
    return {};
}

std::optional<int> daysLeft(Register reg, const Reply &row, const Rules &rules, const QDate &today)
{
    if (row.CEVDUR != QLatin1String("E") || row.CEVNO.toInt() != 0)
        return std::nullopt;
    const QDate due = dueDate(reg, row, rules);
    if (!due.isValid())
        return std::nullopt;
    return int(today.daysTo(due));
}

Mark markOf(const std::optional<int> &days, const Rules &rules)
{
    if (!days)
        return Mark::None;
    if (*days < 0)
        return Mark::Overdue;
    return *days <= rules.soonDays ? Mark::Near : Mark::Waiting;
}

QString daysText(const std::optional<int> &days)
{
    if (!days)
        return {};
    if (*days == 0)
        return QStringLiteral("Bugün");
    return *days > 0 ? QStringLiteral("%1 gün kaldı").arg(*days) : QStringLiteral("%1 gün geçti").arg(-*days);
}

lists::Condition condition(Register reg, Which which, const QString &prefix, const Rules &rules,
                           const QDate &today)
{
    const QString dated = key(KELMA_OPEN_REPLY_KEY, prefix);
    lists::Condition c;
    c.params.insert(kToday, today);
    if (which == Which::Overdue) {
        c.sql = dated + QStringLiteral("<:") + kToday;
    } else {
        c.sql = dated + QStringLiteral(" BETWEEN :%1 AND :%2").arg(kToday, kNear);
        c.params.insert(kNear, today.addDays(rules.soonDays));
    }
    if (reg != Register::Petition)
        return c;
    // A petition without a date of its own is due a legal period after its
    // registration: compared on the registration date, its index serves too.
    const QString undated = key(KELMA_OPEN_UNDATED_REPLY_KEY, prefix);
    const QDate over = today.addDays(-rules.legalDays);
    c.params.insert(kUndatedOver, over);
    if (which == Which::Overdue) {
        c.sql = QStringLiteral("(%1 OR %2<:%3)").arg(c.sql, undated, kUndatedOver);
    } else {
        c.sql = QStringLiteral("(%1 OR %2 BETWEEN :%3 AND :%4)").arg(c.sql, undated, kUndatedOver, kUndatedNear);
        c.params.insert(kUndatedNear, over.addDays(rules.soonDays));
    }
    return c;
}

CountQuery countQuery(Register reg, Which which, int department, const Rules &rules, const QDate &today)
{
    const lists::Condition c = condition(reg, which, QString(), rules, today);
    CountQuery q{QString(), c.params};
    switch (reg) {
    case Register::Incoming:
        q.sql = QStringLiteral("SELECT COUNT(*) SAY FROM GELEN\nWHERE ") + c.sql;
        // Routed to the department, as the approval counts see it.
        if (department > 0)
            q.sql += QStringLiteral(" AND EXISTS(SELECT 1 FROM EVBRM B WHERE B.TUR=1 AND B.EKAYNO=GELEN.KAYNO"
                                    " AND B.BKOD=:BK)");
        break;
    case Register::Outgoing:
        q.sql = QStringLiteral("SELECT COUNT(*) SAY FROM GIDEN\nWHERE ") + c.sql;
        if (department > 0)
            q.sql += QStringLiteral(" AND BIRKOD=:BK");
        break;
    case Register::Petition:
        q.sql = QStringLiteral("SELECT COUNT(*) SAY FROM DILEKCE\nWHERE ") + c.sql;
        if (department > 0)
            q.sql += QStringLiteral(" AND BIRKOD=:BK");
        break;
    }
    if (department > 0)
        q.params.insert(QStringLiteral("BK"), department);
    return q;
}

Counts count(fb::Transaction &t, int department, const Rules &rules, const QDate &today)
{
    Counts n;
    if (department < 0)
        return n;
    n.ran = true;
    auto one = [&](Register reg, Which which) {
        const CountQuery q = countQuery(reg, which, department, rules, today);
        return t.value(q.sql, q.params).toLongLong();
    };
    n.overdueIncoming = one(Register::Incoming, Which::Overdue);
    n.nearIncoming = one(Register::Incoming, Which::Near);
    n.overduePetitions = one(Register::Petition, Which::Overdue);
    n.nearPetitions = one(Register::Petition, Which::Near);
    return n;
}

QList<OverdueLine> overdueLines(fb::Transaction &t, int department, const Rules &rules, const QDate &today)
{
    QList<OverdueLine> lines;
    if (department < 0)
        return lines;
    const QString unassigned = QStringLiteral("(Birimi Belirtilmemiş)");
    auto add = [&](const QString &sql, Register reg, const QString &kind) {
        const lists::Condition c = condition(reg, Which::Overdue, QStringLiteral("G1."), rules, today);
        fb::Params params = c.params;
        QString where = c.sql;
        if (department > 0) {
            where += reg == Register::Incoming ? QStringLiteral(" AND V.BKOD=:BK") : QStringLiteral(" AND G1.BIRKOD=:BK");
            params.insert(QStringLiteral("BK"), department);
        }
        for (const QVariantList &r : t.rows(sql + QStringLiteral("\nWHERE ") + where, params)) {
            OverdueLine l;
            l.department = r.value(0).toString().isEmpty() ? unassigned : r.value(0).toString();
            l.kind = kind;
            l.number = r.value(1).toInt();
            l.registered = r.value(2).toDate();
            l.from = r.value(3).toString();
            l.subject = r.value(4).toString();
            const Reply reply{QStringLiteral("E"), 0, r.value(5).toDate(), l.registered};
            l.due = dueDate(reg, reply, rules);
            l.daysOver = int(l.due.daysTo(today));
            lines << l;
        }
    };
    // An incoming document routed to several departments is overdue in each.
    add(QStringLiteral("SELECT B.BIRIM,G1.GELNO,G1.GELTAR,K.BIRIM,G1.KONU,G1.CEVTAR FROM GELEN G1\n"
                       "LEFT JOIN EVBRM V ON(V.TUR=1 AND V.EKAYNO=G1.KAYNO)\n"
                       "LEFT JOIN BIRIM B ON(B.TUR='B' AND B.BKOD=V.BKOD)\n"
                       "LEFT JOIN BIRIM K ON(K.TUR='K' AND K.BKOD=G1.KURKOD)"),
        Register::Incoming, QStringLiteral("Gelen Evrak"));
    add(QStringLiteral("SELECT B.BIRIM,G1.DILNO,G1.GELTAR,G1.ADI||' '||G1.SOYADI,G1.KONU,G1.CEVTAR FROM DILEKCE G1\n"
                       "LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD)"),
        Register::Petition, QStringLiteral("Dilekçe"));
    std::stable_sort(lines.begin(), lines.end(), [&](const OverdueLine &a, const OverdueLine &b) {
        // Documents of no department close the report.
        const bool aNone = a.department == unassigned, bNone = b.department == unassigned;
        if (aNone != bNone)
            return bNone;
        if (a.department != b.department)
            return QString::localeAwareCompare(a.department, b.department) < 0;
        if (a.daysOver != b.daysOver)
            return a.daysOver > b.daysOver;
        return a.number < b.number;
    });
    return lines;
}

QList<QStringList> reportRows(const QList<OverdueLine> &lines)
{
    const QString date = QStringLiteral("dd.MM.yyyy");
    QList<QStringList> rows;
    for (const OverdueLine &l : lines)
        rows << QStringList{l.department, l.kind, QString::number(l.number), l.registered.toString(date),
                            l.from, l.subject, l.due.toString(date), QString::number(l.daysOver)};
    return rows;
}

lists::Filter filter(Register reg, const QString &prefix)
{
    lists::Filter f;
    f.name = QStringLiteral("deadlineFilter");
    f.heading = QStringLiteral("Cevap Süresi");
    f.items = {QStringLiteral("Tümü"), QStringLiteral("Süresi Geçen"), QStringLiteral("Yaklaşan")};
    f.conditionIn = [reg, prefix](const lists::FilterState &s, Session &session) {
        return condition(reg, s.index == 1 ? Which::Overdue : Which::Near, prefix, Rules::of(session.general),
                         session.clock().today());
    };
    return f;
}

namespace {

std::optional<int> daysOf(Register reg, const lists::RowView &r)
{
    Session &s = r.session();
    const Reply reply{r.value(QStringLiteral("CEVDUR")).toString(), r.value(QStringLiteral("CEVNO")),
                      r.value(QStringLiteral("CEVTAR")).toDate(), r.value(QStringLiteral("GELTAR")).toDate()};
    return daysLeft(reg, reply, Rules::of(s.general), s.clock().today());
}

} // namespace

lists::Column column(Register reg)
{
    lists::Column c{QStringLiteral("Cevap Süresi"), QStringLiteral("CEVSURE"), 90,
                    [reg](const lists::RowView &r) { return QVariant(daysText(daysOf(reg, r))); }};
    c.mark = [reg](const lists::RowView &r) {
        return int(markOf(daysOf(reg, r), Rules::of(r.session().general)));
    };
    return c;
}

} // namespace deadlines
