#include "fileplan.h"

#include "wordsearch.h"

#include "core/session.h"
#include "core/turkish.h"
#include "db/fb/statement.h"

namespace fileplan {

QSet<QString> withSubCodes(const QList<QString> &codes)
{
    QSet<QString> out;
    for (const QString &code : codes) {
        for (qsizetype i = code.indexOf(u'.'); i >= 0; i = code.indexOf(u'.', i + 1))
            out.insert(code.left(i));
    }
    return out;
}

Shade shade(const QString &code, const QSet<QString> &withSubCodes)
{
    if (code.size() < kMaxLength && withSubCodes.contains(code))
        return Shade::HasSubCodes;
    return code.size() == kMainLength ? Shade::Main : Shade::Plain;
}

Search::Search(Session &session)
    : m_session(session)
{
}

QString Search::sql(Mode mode, const QString &text, bool kelimeAra, bool lastKeyBlank, QString *pattern)
{
    QString sql = QStringLiteral("SELECT KOD,ACIK FROM SDP\nWHERE KOD LIKE '___%'\n");
    pattern->clear();
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty()) {
        if (mode == Mode::ByCode) {
            sql += QStringLiteral(" AND KOD LIKE :HK\n");
            *pattern = trimmed + u'%';
        } else {
            // The word keeps the blank in front of it: IMAR PLAN looks for " PLAN".
            const QString word = kelimeAra
                ? wordsearch::KELIMEBUL(text, lastKeyBlank, wordsearch::LeadingBlank::Kept)
                : trimmed;
            sql += QStringLiteral(" AND %1 LIKE :AC\n").arg(wordsearch::upperColumn(QStringLiteral("ACIK"), 100));
            *pattern = u'%' + turkish::upper(word) + u'%';
        }
    }
    return sql + QStringLiteral("ORDER BY KOD");
}

void Search::SORGULA(Mode mode, const QString &text, bool kelimeAra, bool lastKeyBlank)
{
    fb::Transaction &t = m_session.db.IBTransaction1;
    QString pattern;
    const QString statement = sql(mode, text, kelimeAra, lastKeyBlank, &pattern);
    fb::Params params;
    if (!pattern.isEmpty())
        params.insert(mode == Mode::ByCode ? QStringLiteral("HK") : QStringLiteral("AC"), pattern);
    QList<Code> rows;
    for (const QVariantList &r : t.rows(statement, params))
        rows.append({r.value(0).toString(), r.value(1).toString()});
    // Sub-codes of a listed code need not be listed themselves (a description
    // search), so this looks at every code.
    QList<QString> dotted;
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT KOD FROM SDP WHERE KOD LIKE '%.%'")))
        dotted.append(r.value(0).toString());
    m_rows = rows;
    m_withSubCodes = withSubCodes(dotted);
}

QList<Code> mainCodes(fb::Transaction &t)
{
    QList<Code> out;
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT KOD,ACIK FROM SDP WHERE KOD LIKE '___' ORDER BY KOD")))
        out.append({r.value(0).toString(), r.value(1).toString()});
    return out;
}

int startRow(const QList<Code> &mains)
{
    for (int i = 0; i < mains.size(); ++i) {
        if (mains[i].KOD == QLatin1String("251"))
            return i;
    }
    return mains.isEmpty() ? -1 : 0;
}

int firstDescribedAs(const QList<Code> &mains, const QString &text)
{
    for (int i = 0; i < mains.size(); ++i) {
        if (mains[i].ACIK.startsWith(text))
            return i;
    }
    return -1;
}

bool mayChoose(Session &session, const QString &code)
{
    if (code.size() >= kMaxLength)
        return true;
    const qint64 below = session.db.IBTransaction1
                             .value(QStringLiteral("SELECT COUNT(*) SAY FROM SDP WHERE KOD LIKE :HP"),
                                    {{QStringLiteral("HP"), code + QStringLiteral(".%")}})
                             .toLongLong();
    if (below > 0) {
        session.prompt().message(QStringLiteral("DİKKAT! Detay Kod için İşlem Yapmalısınız.."));
        return false;
    }
    return true;
}

void markLeaves(Session &session)
{
    fb::Transaction work(session.db.IBDATABASE);
    // The codes as this transaction sees them: what it marks is what it read.
    QList<QString> codes;
    for (const QVariantList &r : work.rows(QStringLiteral("SELECT KOD FROM SDP ORDER BY KOD")))
        codes.append(r.value(0).toString());
    const QSet<QString> parents = withSubCodes(codes);
    work.execute(QStringLiteral("UPDATE SDP SET TUR=''"));
    {
        fb::Statement mark(work, QStringLiteral("UPDATE SDP SET TUR='D' WHERE KOD=:HK"));
        for (const QString &code : codes) {
            // A code of full length is a leaf by its length alone; left
            // unmarked, it could no longer be chosen in the registers.
            if (code.size() < kMainLength || (code.size() < kMaxLength && parents.contains(code)))
                continue;
            mark.bind(QStringLiteral("HK"), code);
            mark.execute();
        }
    }
    work.commit();
    session.prompt().message(QStringLiteral("İşlem Tamamlandı.."));
}

} // namespace fileplan
