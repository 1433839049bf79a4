#pragma once

#include <QString>

/// The Turkish national identity number of a natural person: eleven digits,
/// the first not 0, the last two check digits of the nine before them.
namespace identitynumber {

/// Whether `text` is eleven digits whose check digits do not add up: a number
/// typed with a mistake. Other texts (empty, shorter, a tax number, letters)
/// are no identity number and are not judged.
bool looksMistyped(const QString &text);

/// Whether eleven digits form a valid identity number.
bool isValid(const QString &digits);

/// Whether the text is eleven digits, the shape of an identity number.
bool hasElevenDigits(const QString &text);

/// The refusal of a number that is not eleven digits.
QString shapeRefusal();

/// The question asked before a number whose check digits fail is stored.
QString mistypedQuestion(const QString &number);

} // namespace identitynumber
