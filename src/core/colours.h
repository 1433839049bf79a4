#pragma once

#include <QString>

/// The colour scheme every screen paints itself with. Colours are kept as the
/// settings write them: "$00BBGGRR" (blue, green, red from high to low), or
/// "0" when no scheme applies.
struct ColourScheme
{
    QString form = QStringLiteral("0");
    QString panel = QStringLiteral("0");

    bool applies() const { return form != QLatin1String("0"); }
    static ColourScheme forLetter(const QString &letter);
    /// "$00C6C8CC" → 0xC6C8CC; "0" or anything unreadable → 0.
    static quint32 number(const QString &colour);
    /// The red, green and blue bytes of such a number.
    static void rgb(quint32 number, int *red, int *green, int *blue);
};
