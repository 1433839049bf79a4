#include "colours.h"

ColourScheme ColourScheme::forLetter(const QString &letter)
{
    struct Row { const char *letter, *form, *panel; };
    static const Row rows[] = {
        {"O", "$00C6C8CC", "$00ABD6B5"},
        {"Y", "$00807900", "$00BBDC01"},
        {"M", "$00A00000", "$00F5A90A"},
        {"T", "$000080FF", "$0042C0FD"},
    };
    for (const Row &r : rows) {
        if (letter == QLatin1String(r.letter))
            return {QLatin1String(r.form), QLatin1String(r.panel)};
    }
    return {};
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
