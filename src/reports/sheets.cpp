#include "sheets.h"

#include "db/fb/win1254.h"

#include <QStringDecoder>
#include <QTextDocument>

namespace reports {

namespace {

constexpr qreal kLine = 8;   // one label/value line
constexpr qreal kPoints = 9;
constexpr qreal kLabelWidth = 46;
constexpr qreal kValueLeft = 50;
constexpr qreal kWidth = 190; // portrait printable width

struct Pair
{
    QString label;
    QString value;
};

/// One line: the first label with its colon, then further label/value pairs on the same line.
void addLine(Band &band, qreal &y, const QList<Pair> &pairs, qreal height = kLine)
{
    band.elements.push_back(text(0, y, kLabelWidth, height, pairs[0].label, kPoints, true));
    band.elements.push_back(text(kLabelWidth, y, 4, height, QStringLiteral(":"), kPoints, true));
    // Places of values and later labels for one, two or three pairs.
    static const QList<QList<qreal>> places = {
        {kValueLeft, kWidth - kValueLeft},
        {kValueLeft, 53, 105, 33, 139, 51},
        {kValueLeft, 16, 67, 25, 93, 25, 119, 32, 152, 38},
    };
    const QList<qreal> &p = places[pairs.size() - 1];
    band.elements.push_back(text(p[0], y, p[1], height, pairs[0].value, kPoints, false, Align::Left, Fit::Wrap));
    for (int i = 1; i < pairs.size(); ++i) {
        const int at = 2 + (i - 1) * 4;
        band.elements.push_back(text(p[at], y, p[at + 1], height, pairs[i].label, kPoints, true));
        band.elements.push_back(text(p[at + 2], y, p[at + 3], height, pairs[i].value, kPoints, false,
                                     Align::Left, Fit::Wrap));
    }
    y += height;
}

void addHeading(Band &band, qreal &y, const QString &heading)
{
    y += 3;
    band.elements.push_back(text(0, y, kWidth, 7, heading, 11, true));
    band.elements.push_back(hline(0, y + 7, kWidth));
    y += 9;
}

QString filePlan(const RecordSheet &s)
{
    QStringList parts;
    for (const QString &t : {s.fileHeading, s.fileCode})
        if (!t.trimmed().isEmpty())
            parts << t;
    return parts.join(QStringLiteral(" / "));
}

QString enclosures(const RecordSheet &s)
{
    return (s.enclosures + QStringLiteral("   ") + s.enclosureText).trimmed();
}

Layout sheetFrame(const QString &title, const QImage &logo)
{
    Layout l;
    l.name = title;
    l.orientation = QPageLayout::Portrait;
    l.title.elements.push_back(picture(0, 0, 30, 30, logo));
    l.title.elements.push_back(text(32, 10, kWidth - 64, 10, title, 16, true, Align::Centre));
    l.closing.height = 5;
    l.closing.elements.push_back(text(kWidth - 90, 0.5, 90, 4, QStringLiteral("KELMA Evrak ve Arşiv Yönetimi"),
                                      6, false, Align::Right));
    return l;
}

} // namespace

Layout incomingSheet(const RecordSheet &s, const QImage &logo)
{
    Layout l = sheetFrame(QStringLiteral("GELEN EVRAK BİLGİLERİ"), logo);
    Band &b = l.title;
    qreal y = 32;
    addHeading(b, y, QStringLiteral("EVRAK KAYIT BİLGİLERİ"));
    addLine(b, y, {{QStringLiteral("Kayıt Numarası"), s.number}});
    addLine(b, y, {{QStringLiteral("Kayıt Tarihi"), s.date}});
    addLine(b, y, {{QStringLiteral("Standart Dosya Kodu"), filePlan(s)}}, 2 * kLine);
    addLine(b, y, {{QStringLiteral("Verildiği Birim"), s.department}});
    addLine(b, y, {{QStringLiteral("Teslim Alan Adı Soyadı"), s.receiverName},
                   {QStringLiteral("Görev Ünvanı:"), s.receiverTitle}});
    addLine(b, y, {{QStringLiteral("Zimmet Durumu"), s.handOverKind},
                   {QStringLiteral("Zimmet No:"), s.handOverNumber},
                   {QStringLiteral("Zimmet Tarihi:"), s.handOverDate}});
    addLine(b, y, {{QStringLiteral("Evrak Türü"), s.documentType}});
    addLine(b, y, {{QStringLiteral("Gizlilik Derecesi"), s.confidentiality}});
    addLine(b, y, {{QStringLiteral("Dosya İşlemi"), s.fileAction},
                   {QStringLiteral("Saklama Süresi:"), s.keepingPeriod}});
    addHeading(b, y, QStringLiteral("GELEN EVRAK BİLGİLERİ"));
    addLine(b, y, {{QStringLiteral("Geldiği Yer"), s.body}});
    addLine(b, y, {{QStringLiteral("Gönderen Birim"), s.unit}});
    addLine(b, y, {{QStringLiteral("Evrak Numarası"), s.documentNumber},
                   {QStringLiteral("Evrak Tarihi:"), s.documentDate}});
    addLine(b, y, {{QStringLiteral("Geliş Şekli"), s.way}});
    addLine(b, y, {{QStringLiteral("Eki"), enclosures(s)}}, 2 * kLine);
    addLine(b, y, {{QStringLiteral("Konusu (Özü)"), s.subject}}, 5 * kLine);
    b.height = y + 2;
    return l;
}

Layout outgoingSheet(const RecordSheet &s, const QImage &logo)
{
    Layout l = sheetFrame(QStringLiteral("GİDEN EVRAK BİLGİLERİ"), logo);
    Band &b = l.title;
    qreal y = 32;
    addHeading(b, y, QStringLiteral("EVRAK KAYIT BİLGİLERİ"));
    addLine(b, y, {{QStringLiteral("Kayıt Numarası"), s.number}});
    addLine(b, y, {{QStringLiteral("Kayıt Tarihi"), s.date}});
    addLine(b, y, {{QStringLiteral("Standart Dosya Kodu"), filePlan(s)}}, 2 * kLine);
    addLine(b, y, {{QStringLiteral("Gönderen Birim"), s.department}});
    addLine(b, y, {{QStringLiteral("Gönderen Adı Soyadı"), s.receiverName},
                   {QStringLiteral("Görev Ünvanı:"), s.receiverTitle}});
    addLine(b, y, {{QStringLiteral("Zimmet Durumu"), s.handOverKind},
                   {QStringLiteral("Zimmet No:"), s.handOverNumber},
                   {QStringLiteral("Zimmet Tarihi:"), s.handOverDate}});
    addLine(b, y, {{QStringLiteral("Gizlilik Derecesi"), s.confidentiality}});
    addLine(b, y, {{QStringLiteral("Dosya İşlemi"), s.fileAction},
                   {QStringLiteral("Saklama Süresi:"), s.keepingPeriod}});
    addHeading(b, y, QStringLiteral("GİDEN EVRAK BİLGİLERİ"));
    addLine(b, y, {{QStringLiteral("Gönderildiği Yer"), s.body}});
    addLine(b, y, {{QStringLiteral("Gönderildiği  Birim"), s.unit}});
    addLine(b, y, {{QStringLiteral("Evrak Numarası"), s.documentNumber},
                   {QStringLiteral("Evrak Tarihi:"), s.documentDate}});
    addLine(b, y, {{QStringLiteral("Gidiş Şekli"), s.way}});
    addLine(b, y, {{QStringLiteral("Eki"), enclosures(s)}}, 2 * kLine);
    addLine(b, y, {{QStringLiteral("Konusu (Özü)"), s.subject}}, 5 * kLine);
    b.height = y + 2;
    return l;
}

Layout letter(const QString &html, const QImage &logo)
{
    Layout l;
    l.name = QStringLiteral("Yazı");
    l.orientation = QPageLayout::Portrait;
    l.title.height = 273.5;
    Element body;
    body.kind = Element::Kind::RichText;
    body.left = 0, body.top = 0, body.width = kWidth, body.height = 273.5;
    body.text = html;
    body.points = 11;
    l.title.elements.push_back(body);
    l.title.elements.push_back(picture(0, 0, 30, 30, logo));
    return l;
}

Layout picturePage(const QImage &image, PictureMode mode)
{
    Layout l;
    l.name = QStringLiteral("Resim");
    l.orientation = QPageLayout::Portrait;
    l.title.height = l.pageHeight();
    l.title.elements.push_back(picture(0, 0, l.pageWidth(), l.pageHeight(), image, mode));
    return l;
}

QImage logoPicture(const QByteArray &stored)
{
    if (stored.isEmpty())
        return {};
    return QImage::fromData(stored);
}

QString letterHtml(const QByteArray &content)
{
    if (content.trimmed().startsWith("{\\rtf"))
        return rtfToHtml(content);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(content);
    if (utf8.hasError())
        text = fb::win1254::decode(content);
    if (Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

QString rtfToHtml(const QByteArray &rtf)
{
    struct State
    {
        bool bold = false, italic = false, underline = false, skip = false;
        int size = 0;      // half points
        int unicodeSkip = 1;
    };
    QList<State> stack{State{}};
    QString html;
    QString paragraph;
    QString align = QStringLiteral("left");
    State shown;
    bool spanOpen = false;
    int pendingSkip = 0;

    auto closeSpan = [&] {
        if (spanOpen)
            paragraph += QStringLiteral("</span>");
        spanOpen = false;
    };
    auto put = [&](const QString &s) {
        State &st = stack.last();
        if (st.skip)
            return;
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!spanOpen || st.bold != shown.bold || st.italic != shown.italic || st.underline != shown.underline
            || st.size != shown.size) {
            closeSpan();
            QString style;
            if (st.bold)
                style += QStringLiteral("font-weight:bold;");
            if (st.italic)
                style += QStringLiteral("font-style:italic;");
            if (st.underline)
                style += QStringLiteral("text-decoration:underline;");
            if (st.size > 0)
                style += QStringLiteral("font-size:%1pt;").arg(st.size / 2.0);
            paragraph += QStringLiteral("<span style=\"%1\">").arg(style);
            spanOpen = true;
            shown = st;
        }
        paragraph += s.toHtmlEscaped();
    };
    auto endParagraph = [&] {
        closeSpan();
        html += QStringLiteral("<p style=\"margin:0; text-align:%1;\">%2</p>\n")
                    .arg(align, paragraph.isEmpty() ? QStringLiteral("&nbsp;") : paragraph);
        paragraph.clear();
    };

    static const QStringList skipped = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object",
                                        "header", "footer", "headerl", "headerr", "footerl", "footerr",
                                        "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl"};
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = rtf[i];
        if (c == '{') {
            stack.append(stack.last());
        } else if (c == '}') {
            if (stack.size() > 1)
                stack.removeLast();
        } else if (c == '\\') {
            if (i + 1 >= n)
                break;
            const char d = rtf[i + 1];
            if (d == '\\' || d == '{' || d == '}') {
                put(QString(QChar(d)));
                ++i;
            } else if (d == '\'') {
                const QByteArray hex = rtf.mid(i + 2, 2);
                put(QString(QChar(fb::win1254::fromByte(static_cast<unsigned char>(hex.toInt(nullptr, 16))))));
                i += 3;
            } else if (d == '*') {
                stack.last().skip = true;
                ++i;
            } else if (d == '~') {
                put(QString(QChar(0xA0)));
                ++i;
            } else if (d == '\n' || d == '\r') {
                if (!stack.last().skip)
                    endParagraph();
                ++i;
            } else if (std::isalpha(static_cast<unsigned char>(d))) {
                qsizetype j = i + 1;
                while (j < n && std::isalpha(static_cast<unsigned char>(rtf[j])))
                    ++j;
                const QByteArray word = rtf.mid(i + 1, j - i - 1);
                qsizetype k = j;
                if (k < n && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) {
                    ++k;
                    while (k < n && std::isdigit(static_cast<unsigned char>(rtf[k])))
                        ++k;
                }
                const bool hasNumber = k > j;
                const int number = hasNumber ? rtf.mid(j, k - j).toInt() : 1;
                if (k < n && rtf[k] == ' ')
                    ++k;
                i = k - 1;
                State &st = stack.last();
                if (skipped.contains(QString::fromLatin1(word)))
                    st.skip = true;
                else if (word == "par" || word == "sect")
                    (st.skip ? void() : endParagraph());
                else if (word == "line")
                    put(QString(QChar::LineSeparator));
                else if (word == "tab")
                    put(QStringLiteral("\t"));
                else if (word == "pard")
                    align = QStringLiteral("left");
                else if (word == "qc")
                    align = QStringLiteral("center");
                else if (word == "qr")
                    align = QStringLiteral("right");
                else if (word == "qj")
                    align = QStringLiteral("justify");
                else if (word == "b")
                    st.bold = number != 0;
                else if (word == "i")
                    st.italic = number != 0;
                else if (word == "ul")
                    st.underline = number != 0;
                else if (word == "ulnone")
                    st.underline = false;
                else if (word == "fs")
                    st.size = number;
                else if (word == "plain")
                    st.bold = st.italic = st.underline = false, st.size = 0;
                else if (word == "uc")
                    st.unicodeSkip = number;
                else if (word == "u" && hasNumber) {
                    put(QString(QChar(char16_t(number < 0 ? number + 65536 : number))));
                    pendingSkip = st.unicodeSkip;
                }
            } else {
                ++i; // a control symbol we do not need
            }
        } else if (c == '\r' || c == '\n') {
            // line ends in RTF source carry no meaning
        } else {
            put(QString(QChar(fb::win1254::fromByte(static_cast<unsigned char>(c)))));
        }
    }
    if (!paragraph.isEmpty())
        endParagraph();
    return html;
}

} // namespace reports
