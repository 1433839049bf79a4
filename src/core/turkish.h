#pragma once

#include <QChar>
#include <QString>

/// Turkish upper-casing. QString::toUpper is not Turkish (i → I), and
/// QLocale's is only Turkish in an ICU build, so the rule is ours.
namespace turkish {

/// One typed character: "i" → "İ", "ı" → "I", a–z and ç ö ü ğ ş to their
/// capitals; anything else unchanged.
QChar BuyukHarf(QChar c);
/// A whole text by the same rule, for searches a user types.
QString upper(const QString &text);

} // namespace turkish
