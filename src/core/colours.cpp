#include "colours.h"

#include <QStringList>

#include <cmath>

namespace {

struct Row { const char *letter, *form, *panel; };
const Row kRows[] = {
    {"O", "$00C6C8CC", "$00ABD6B5"},
    {"Y", "$00807900", "$00BBDC01"},
    {"M", "$00A00000", "$00F5A90A"},
    {"T", "$000080FF", "$0042C0FD"},
};

double linear(int byte)
{
    const double c = byte / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

ColourScheme ColourScheme::forLetter(const QString &letter)
{
    for (const Row &r : kRows) {
        if (letter == QLatin1String(r.letter))
            return {QLatin1String(r.form), QLatin1String(r.panel)};
    }
    return {};
}

QStringList ColourScheme::letters()
{
    QStringList out;
    for (const Row &r : kRows)
        out << QLatin1String(r.letter);
    return out;
}

quint32 ColourScheme::number(const QString &colour)
{
    if (!colour.startsWith(u'$'))
        return 0;
    bool ok = false;
    const quint32 n = colour.mid(1).toUInt(&ok, 16);
    return ok ? n : 0;
}

void ColourScheme::rgb(quint32 number, int *red, int *green, int *blue)
{
    *red = int(number & 0xFF);
    *green = int((number >> 8) & 0xFF);
    *blue = int((number >> 16) & 0xFF);
}

ColourScheme::Rgb ColourScheme::toRgb(const QString &colour)
{
    Rgb c;
    rgb(number(colour), &c.red, &c.green, &c.blue);
    return c;
}

double ColourScheme::luminance(const Rgb &c)
{
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double ColourScheme::contrast(const Rgb &a, const Rgb &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

ColourScheme::Rgb ColourScheme::textOn(const Rgb &background)
{
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    return contrast(background, black) >= contrast(background, white) ? black : white;
}

ColourScheme::Rgb ColourScheme::warningOn(const Rgb &background)
{
    const Rgb warning = textOn(background) == Rgb{0, 0, 0} ? Rgb{0x70, 0x00, 0x00} : Rgb{0xFF, 0xFF, 0x00};
    // A mid-tone background reads neither: plain text is better than unreadable red.
    return contrast(background, warning) >= 4.5 ? warning : textOn(background);
}
