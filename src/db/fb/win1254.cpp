#include "win1254.h"

#include <array>

namespace fb::win1254 {

namespace {

// 0x80..0x9F. Bytes the code page leaves undefined map to the C1 control with
// the same number, as Windows itself does, so that no byte is ever lost.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178,
};

constexpr char16_t decodeByte(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b < 0xA0)
        return kHigh[b - 0x80];
    switch (b) {
    case 0xD0: return 0x011E; // Ğ
    case 0xDD: return 0x0130; // İ
    case 0xDE: return 0x015E; // Ş
    case 0xF0: return 0x011F; // ğ
    case 0xFD: return 0x0131; // ı
    case 0xFE: return 0x015F; // ş
    default: return b;
    }
}

struct Tables {
    std::array<char16_t, 256> toUnicode{};
    Tables()
    {
        for (int b = 0; b < 256; ++b)
            toUnicode[b] = decodeByte(static_cast<unsigned char>(b));
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

char16_t fromByte(unsigned char byte)
{
    return tables().toUnicode[byte];
}

unsigned char toByte(char16_t unit)
{
    if (unit < 0x80)
        return static_cast<unsigned char>(unit);
    // The Latin-1 range is identity except for the six Turkish places.
    if (unit >= 0xA0 && unit <= 0xFF) {
        switch (unit) {
        case 0xD0: case 0xDD: case 0xDE: case 0xF0: case 0xFD: case 0xFE:
            return '?';
        default:
            return static_cast<unsigned char>(unit);
        }
    }
    switch (unit) {
    case 0x011E: return 0xD0;
    case 0x0130: return 0xDD;
    case 0x015E: return 0xDE;
    case 0x011F: return 0xF0;
    case 0x0131: return 0xFD;
    case 0x015F: return 0xFE;
    default: break;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == unit)
            return static_cast<unsigned char>(0x80 + i);
    }
    return '?';
}

QString decode(const char *data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar *dst = out.data();
    const auto &t = tables().toUnicode;
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = QChar(t[static_cast<unsigned char>(data[i])]);
    return out;
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QByteArray encode(const QString &text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    const QChar *src = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        dst[i] = static_cast<char>(toByte(src[i].unicode()));
    return out;
}

} // namespace fb::win1254
