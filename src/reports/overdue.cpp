#include "overdue.h"

namespace reports {

namespace {

struct Column
{
    const char *heading;
    const char *field;
    qreal left;
    qreal width;
    Align align;
};

// A4 landscape, 277 mm between the margins.
const Column kColumns[] = {
    {"Birim",            "BIRIM",   0,    48, Align::Left},
    {"Türü",             "TUR",     49,   20, Align::Left},
    {"Kayıt No",         "NO",      70,   14, Align::Right},
    {"Kayıt Tarihi",     "KAYTAR",  85,   19, Align::Centre},
    {"Geldiği Yer / Başvuran", "KIMDEN", 105, 52, Align::Left},
    {"Konusu",           "KONU",    158,  78, Align::Left},
    {"Son Cevap Tar.",   "SONTAR",  237,  20, Align::Centre},
    {"Geciken Gün",      "GECIKME", 258,  19, Align::Right},
};

constexpr qreal kHeader = 22;
constexpr qreal kTableTop = 15;
constexpr qreal kDetail = 6;
constexpr qreal kPoints = 7.5;

} // namespace

QStringList overdueFields()
{
    QStringList out;
    for (const Column &c : kColumns)
        out << QString::fromLatin1(c.field);
    return out;
}

Layout overdueReport(const QString &institution, const QDate &today, int lines)
{
    Layout l;
    l.name = QStringLiteral("SÜRESİ GEÇEN EVRAKLAR");
    l.orientation = QPageLayout::Landscape;
    const qreal width = l.pageWidth();

    Band &t = l.title;
    t.height = 8;
    t.elements.push_back(text(0, 0, width, 7, institution, 11, true, Align::Centre));

    Band &h = l.pageHeader;
    h.height = kHeader;
    h.elements.push_back(text(0, 1, width, 8, l.name, 14, true, Align::Centre));
    h.elements.push_back(text(0, 9, 80, 5, QStringLiteral("Tarih : ") + today.toString(QStringLiteral("dd.MM.yyyy")),
                              8, true));
    Element page = text(width - 45, 9, 45, 5, QStringLiteral("Sayfa No : "), 8, true, Align::Right);
    page.kind = Element::Kind::PageNumber;
    h.elements.push_back(page);
    h.elements.push_back(hline(0, kTableTop, width));
    h.elements.push_back(hline(0, kHeader, width));
    for (const Column &c : kColumns)
        h.elements.push_back(text(c.left, kTableTop, c.width, kHeader - kTableTop, QString::fromUtf8(c.heading),
                                  kPoints, true, c.align, Fit::Wrap));

    Band &d = l.detail;
    d.height = kDetail;
    for (const Column &c : kColumns)
        d.elements.push_back(field(c.left, 0.5, c.width, kDetail - 0.5, QString::fromLatin1(c.field), kPoints, c.align));
    d.elements.push_back(hline(0, kDetail, width));

    Band &c = l.closing;
    c.height = 7;
    c.elements.push_back(text(0, 1.5, width, 5,
                              lines == 0 ? QStringLiteral("Süresi geçen evrak yok.")
                                         : QStringLiteral("Toplam %1 evrak").arg(lines),
                              8, true));
    return l;
}

} // namespace reports
