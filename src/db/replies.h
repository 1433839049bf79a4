#pragma once

#include <QString>

/// An outgoing letter names the document it answers by GIDEN.ILGNO, and the
/// register by GIDEN.ILGDUR: 'G' an incoming document, 'D' a petition (their
/// keys overlap). Letters saved before ILGDUR was written have it NULL or
/// empty; they answer incoming documents. Every reader decides by these two,
/// so a link that one screen shows is also the one another releases or guards.
namespace replies {

inline const QString kIncoming = QStringLiteral("G");
inline const QString kPetition = QStringLiteral("D");

/// Whether an ILGDUR value names the incoming register.
inline bool namesIncoming(const QString &ilgdur)
{
    return ilgdur.trimmed().isEmpty() || ilgdur == kIncoming;
}

/// SQL condition that the GIDEN row `alias` answers an incoming document.
/// Put beside `alias.ILGNO=...`, which the ILGNO index serves.
inline QString answersIncoming(const QString &alias)
{
    return QStringLiteral("(%1.ILGDUR IS NULL OR %1.ILGDUR IN ('G',''))").arg(alias);
}

} // namespace replies
