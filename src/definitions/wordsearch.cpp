#include "wordsearch.h"

namespace wordsearch {

QString KELIMEBUL(const QString &text, bool lastKeyBlank, LeadingBlank blank)
{
    qsizetype n = text.size();
    if (lastKeyBlank && n > 0)
        --n;
    const QString head = text.left(n);
    const qsizetype space = head.lastIndexOf(u' ');
    if (space < 0)
        return head;
    return head.mid(blank == LeadingBlank::Kept ? space : space + 1);
}

QString upperColumn(const QString &column, int width)
{
    // A column without a character set upper-cases ASCII letters only, and the
    // plain WIN1254 collation turns i into I: both need the Turkish collation.
    return QStringLiteral("UPPER(CAST(%1 AS VARCHAR(%2) CHARACTER SET WIN1254) COLLATE PXW_TURK)")
        .arg(column)
        .arg(width);
}

} // namespace wordsearch
