#include "registerbooks.h"

#include <span>

namespace reports {

namespace {

/// One column of a book: heading, field (none: the running number), place.
struct Column
{
    const char *heading;
    const char *field;
    qreal left;
    qreal width;
    Align align = Align::Left;
    Fit fit = Fit::Cut;
    bool grouped = false;
};

/// A heading over the columns first..last (indexes into the column table).
struct Group
{
    const char *heading;
    int first;
    int last;
};

constexpr Align R = Align::Right;
constexpr Align C = Align::Centre;
constexpr Align L = Align::Left;
constexpr Fit W = Fit::Wrap;
constexpr Fit K = Fit::Cut;

//  heading            field      left   width
const Column kIncoming[] = {
    {"Sıra No",       nullptr,    4.6,   7.2, R},
    {"Kayıt No",      "GELNO",   13.1,   8.3, R},
    {" Kayıt Tarihi", "GELTAR",  22.2,  15.2, C},
    {"No su",         "EVSAY",   38.3,   9.2, L, W},
    {"Tarihi",        "EVTAR",   48.8,  15.2, C},
    {"Eki",           "EKSAY",   65.4,   7.0, C},
    {"Geldiği Yer",   "DISKUR",  74.1,  55.1, L, W},
    {"Özü",           "KONU",   130.1,  83.2, L, W},
    {"İlgili Birim",  "BIRIM",  214.6,  40.4, L, W},
    {"Dur",           "CEVDUR", 256.4,   6.5, C},
    {"No",            "GIDNO",  263.4,  12.0, R, K, true},
};
const Group kIncomingGroups[] = {{"GELEN YAZININ", 3, 7}, {"Cevap", 9, 10}};

const Column kOutgoing[] = {
    {"Sıra No",       nullptr,    4.6,   7.0, R},
    {"Kayıt No",      "GIDNO",   13.0,   8.2, R},
    {" Kayıt Tarihi", "GIDTAR",  23.1,  15.2, C},
    {"No su",         "EVSAY",   39.4,   9.1, L, W},
    {"Tarihi",        "EVTAR",   49.8,  15.2, C},
    {"Eki",           "EKSAY",   66.4,   7.0, C},
    {"Gittiği Yer",   "DKURUM",  75.5,  47.9, L, W},
    {"Özü",           "KONU",   124.8,  81.5, L, W},
    {"İlgili Birim",  "BIRIM",  207.6,  45.0, L, W},
    {"Dur",           "CEVDUR", 254.5,   5.3, C},
    {"No",            "GELNO",  262.4,   9.4, R, K, true},
};
const Group kOutgoingGroups[] = {{"GİDEN YAZININ", 3, 7}, {"Cevap", 9, 10}};

const Column kPetition[] = {
    {"Sıra No",       nullptr,    4.7,   7.3, R},
    {"Kayıt No",      "DILNO",   12.8,   8.3, R},
    {"Kayıt Tarihi",  "GELTAR",  22.2,  15.3, C},
    {"Tarihi",        "DILTAR",  40.3,  15.9, C},
    {"Eki",           "EKSAY",   58.0,   7.1, C},
    {"Adı ve Soyadı", "ADSOY",   69.6,  66.1, L, W},
    {"Özü",           "KONU",   137.6,  87.5, L, W},
    {"İlgili Birim",  "BIRIM",  227.1,  44.4, L, W},
};
const Group kPetitionGroups[] = {{"DİLEKÇENİN", 3, 6}};

constexpr qreal kHeader = 26;   // header band
constexpr qreal kDetail = 6;    // detail line
constexpr qreal kClosing = 5;   // closing band
constexpr qreal kTableTop = 14; // heading rows: group 14–20, columns 20–26
constexpr qreal kGroupBottom = 20;
constexpr qreal kHeadingPoints = 7;
constexpr qreal kDetailPoints = 7;

struct Book_
{
    const char *title;
    std::span<const Column> columns;
    std::span<const Group> groups;
};

Book_ describe(Book book)
{
    switch (book) {
    case Book::Outgoing: return {"GİDEN YAZILAR DEFTERİ", kOutgoing, kOutgoingGroups};
    case Book::Petition: return {"DİLEKÇE DEFTERİ", kPetition, kPetitionGroups};
    case Book::Incoming: break;
    }
    return {"GELEN YAZILAR DEFTERİ", kIncoming, kIncomingGroups};
}

const Group *groupOf(const Book_ &b, int column)
{
    for (const Group &g : b.groups)
        if (column >= g.first && column <= g.last)
            return &g;
    return nullptr;
}

} // namespace

QStringList bookFields(Book book)
{
    QStringList out;
    for (const Column &c : describe(book).columns)
        if (c.field)
            out << QString::fromLatin1(c.field);
    return out;
}

Layout registerBook(Book book)
{
    const Book_ b = describe(book);
    Layout l;
    l.name = QString::fromUtf8(b.title);
    l.orientation = QPageLayout::Landscape;
    const qreal width = l.pageWidth();
    const int n = int(b.columns.size());

    // Rules sit halfway between neighbouring columns, and just outside the outer ones.
    QList<qreal> rule;
    rule << std::max<qreal>(0, b.columns[0].left - 1);
    for (int i = 1; i < n; ++i)
        rule << (b.columns[i - 1].left + b.columns[i - 1].width + b.columns[i].left) / 2;
    rule << std::min(width, b.columns[n - 1].left + b.columns[n - 1].width + 1);
    const qreal tableLeft = rule.first();
    const qreal tableWidth = rule.last() - rule.first();

    Band &h = l.pageHeader;
    h.height = kHeader;
    h.elements.push_back(text(0, 1, width, 9, l.name, 16, true, Align::Centre));
    Element page = text(width - 45, 0, 45, 5, QStringLiteral("Sayfa No : "), 8, true, Align::Right);
    page.kind = Element::Kind::PageNumber;
    h.elements.push_back(page);
    h.elements.push_back(hline(tableLeft, kTableTop, tableWidth));
    h.elements.push_back(hline(tableLeft, kHeader, tableWidth));
    for (const Group &g : b.groups) {
        const qreal left = rule[g.first], right = rule[g.last + 1];
        h.elements.push_back(text(left, kTableTop, right - left, kGroupBottom - kTableTop,
                                  QString::fromUtf8(g.heading), kHeadingPoints, true, Align::Centre));
        h.elements.push_back(hline(left, kGroupBottom, right - left));
    }
    for (int i = 0; i <= n; ++i) {
        // Inside a group the rule stops under the group heading.
        const Group *g = i > 0 && i < n ? groupOf(b, i) : nullptr;
        const bool inside = g && i > g->first;
        const qreal top = inside ? kGroupBottom : kTableTop;
        h.elements.push_back(vline(rule[i], top, kHeader - top));
    }
    for (int i = 0; i < n; ++i) {
        const Column &c = b.columns[i];
        const qreal top = groupOf(b, i) ? kGroupBottom : kTableTop;
        h.elements.push_back(text(c.left, top, c.width, kHeader - top, QString::fromUtf8(c.heading),
                                  kHeadingPoints, true, Align::Centre, Fit::Wrap));
    }

    Band &d = l.detail;
    d.height = kDetail;
    for (int i = 0; i < n; ++i) {
        const Column &c = b.columns[i];
        Element e = c.field ? field(c.left, 0, c.width, kDetail, QString::fromLatin1(c.field),
                                    kDetailPoints, c.align, c.fit)
                            : text(c.left, 0, c.width, kDetail, {}, kDetailPoints, false, c.align);
        if (!c.field)
            e.kind = Element::Kind::RunningNumber;
        e.grouped = c.grouped;
        d.elements.push_back(e);
    }
    for (qreal x : rule)
        d.elements.push_back(vline(x, 0, kDetail));
    d.elements.push_back(hline(tableLeft, kDetail, tableWidth));

    l.closing.height = kClosing;
    l.closing.elements.push_back(text(width - 90, 0.5, 90, 4, QStringLiteral("KELMA Evrak ve Arşiv Yönetimi"),
                                      6, false, Align::Right));
    return l;
}

} // namespace reports
