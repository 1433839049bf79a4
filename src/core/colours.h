#pragma once

#include <QList>
#include <QString>

/// The colour scheme every screen paints itself with. Colours are kept as the
/// settings write them: "$00BBGGRR" (blue, green, red from high to low), or
/// "0" when no scheme applies.
struct ColourScheme
{
    /// A colour by its red, green and blue bytes.
    struct Rgb
    {
        int red = 0, green = 0, blue = 0;
        bool operator==(const Rgb &) const = default;
    };

    QString form = QStringLiteral("0");
    QString panel = QStringLiteral("0");

    bool applies() const { return form != QLatin1String("0"); }
    static ColourScheme forLetter(const QString &letter);
    /// The letters that name a scheme.
    static QStringList letters();
    /// "$00C6C8CC" → 0xC6C8CC; "0" or anything unreadable → 0.
    static quint32 number(const QString &colour);
    /// The red, green and blue bytes of such a number.
    static void rgb(quint32 number, int *red, int *green, int *blue);
    static Rgb toRgb(const QString &colour);

    Rgb formRgb() const { return toRgb(form); }
    Rgb panelRgb() const { return toRgb(panel); }

    /// Text on a background: black or white, whichever reads better.
    static Rgb textOn(const Rgb &background);
    /// Warnings on a background: dark red on a light one, yellow on a dark one.
    static Rgb warningOn(const Rgb &background);
    /// The warning colour on the platform's own light look.
    static Rgb plainWarning() { return {0xA0, 0x00, 0x00}; }

    /// Relative luminance and contrast ratio as readability guidelines define
    /// them: 1 (none) to 21 (black on white); text wants at least 4.5.
    static double luminance(const Rgb &colour);
    static double contrast(const Rgb &a, const Rgb &b);
};
