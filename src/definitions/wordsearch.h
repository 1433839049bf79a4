#pragma once

#include <QString>

/// What the search boxes of the definition screens share: the last word of a
/// typed text, and Turkish upper-casing on the database side.
namespace wordsearch {

/// Whether the word keeps the blank in front of it: the body screens look for
/// names beginning with the word, the file plan for the word inside a text.
enum class LeadingBlank { Dropped, Kept };

/// KELIMEBUL: the last word of a typed text. A blank just typed does not count
/// (the word stays the one before it). Without a blank the word is the whole text.
QString KELIMEBUL(const QString &text, bool lastKeyBlank, LeadingBlank blank = LeadingBlank::Dropped);

/// UPPER of a text column by Turkish rules (i → İ, ı → I), right both on
/// columns of WIN1254 and on the character-set-less columns of older databases,
/// whatever collation they carry. `width` is the column's declared length.
QString upperColumn(const QString &column, int width);

} // namespace wordsearch
