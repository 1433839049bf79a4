#include "wordfile.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QBuffer>
#include <QRegularExpression>

namespace wordfile {

namespace {

const QString kMainPart = QStringLiteral("word/document.xml");

struct Entry
{
    QString name;
    QByteArray data;
    QDateTime time;
    bool stored = false; ///< kept without compression ("mimetype"-like parts)
};

/// Every entry in order; false when the bytes are no readable zip.
bool readZip(const QByteArray &bytes, QList<Entry> &entries)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    QuaZip zip(&buffer);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return false;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        Entry e{info.name, file.readAll(), info.dateTime, info.method == 0};
        file.close();
        if (file.getZipError() != 0)
            return false;
        entries.append(e);
    }
    return zip.getZipError() == 0;
}

QByteArray writeZip(const QList<Entry> &entries)
{
    QByteArray out;
    QBuffer buffer(&out);
    QuaZip zip(&buffer);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
        return {};
    for (const Entry &e : entries) {
        QuaZipNewInfo info(e.name);
        if (e.time.isValid())
            info.dateTime = e.time;
        QuaZipFile file(&zip);
        constexpr int deflated = 8; // zlib's Z_DEFLATED
        if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, e.stored ? 0 : deflated, -1))
            return {};
        file.write(e.data);
        file.close();
        if (file.getZipError() != 0)
            return {};
    }
    zip.close();
    return zip.getZipError() == 0 ? out : QByteArray();
}

QString unescape(QStringView s)
{
    if (!s.contains(u'&'))
        return s.toString();
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != u'&') {
            out += s[i];
            continue;
        }
        const qsizetype end = s.indexOf(u';', i);
        if (end < 0) {
            out += s.mid(i);
            break;
        }
        const QStringView name = s.mid(i + 1, end - i - 1);
        if (name == u"amp")
            out += u'&';
        else if (name == u"lt")
            out += u'<';
        else if (name == u"gt")
            out += u'>';
        else if (name == u"quot")
            out += u'"';
        else if (name == u"apos")
            out += u'\'';
        else if (name.startsWith(u"#x") || name.startsWith(u"#X"))
            out += QString::fromUcs4(std::array<char32_t, 1>{char32_t(name.mid(2).toUInt(nullptr, 16))}.data(), 1);
        else if (name.startsWith(u'#'))
            out += QString::fromUcs4(std::array<char32_t, 1>{char32_t(name.mid(1).toUInt())}.data(), 1);
        else
            out += s.mid(i, end - i + 1);
        i = end;
    }
    return out;
}

QString escape(const QString &s)
{
    QString out = s;
    out.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
    return out;
}

/// The tokens that matter in a part: text elements, and what ends a run of
/// text for searching (paragraph starts and ends, tabs, breaks).
const QRegularExpression &tokens()
{
    static const QRegularExpression re(QStringLiteral(
        R"((<w:t(?:\s[^>]*)?>)([^<]*)</w:t>|<w:p(?:\s[^>]*)?/?>|</w:p>|<w:(tab|br|cr)(?:\s[^>]*)?/?>)"));
    return re;
}

struct TextNode
{
    qsizetype start = 0; ///< the element's first character in the part
    qsizetype end = 0;   ///< one past its last
    QString text;
    bool changed = false;
};

/// Replaces in one XML part; returns how many were replaced.
int replaceInPart(QString &xml, const QList<QPair<QString, QString>> &values)
{
    // Nodes grouped into stretches within which a placeholder may lie.
    QList<QList<TextNode>> stretches(1);
    auto it = tokens().globalMatch(xml);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength(1) > 0)
            stretches.last().append(TextNode{m.capturedStart(0), m.capturedEnd(0), unescape(m.capturedView(2))});
        else if (!stretches.last().isEmpty())
            stretches.append(QList<TextNode>());
    }

    int count = 0;
    for (QList<TextNode> &nodes : stretches) {
        if (nodes.isEmpty())
            continue;
        qsizetype from = 0;
        for (;;) {
            QString joined;
            for (const TextNode &n : std::as_const(nodes))
                joined += n.text;
            // The earliest placeholder from here on, so that values are never searched.
            qsizetype at = -1;
            const QPair<QString, QString> *found = nullptr;
            for (const auto &v : values) {
                const qsizetype i = v.first.isEmpty() ? -1 : joined.indexOf(v.first, from);
                if (i >= 0 && (at < 0 || i < at)) {
                    at = i;
                    found = &v;
                }
            }
            if (!found)
                break;
            const qsizetype stop = at + found->first.size();
            qsizetype offset = 0;
            bool placed = false;
            for (TextNode &n : nodes) {
                const qsizetype nStart = offset, nEnd = offset + n.text.size();
                offset = nEnd;
                if (nEnd <= at || nStart >= stop)
                    continue;
                const qsizetype cutFrom = std::max(at, nStart) - nStart;
                const qsizetype cutTo = std::min(stop, nEnd) - nStart;
                n.text = n.text.left(cutFrom) + (placed ? QString() : found->second) + n.text.mid(cutTo);
                n.changed = true;
                placed = true;
            }
            from = at + found->second.size();
            ++count;
        }
    }
    if (count == 0)
        return 0;

    QString out;
    out.reserve(xml.size());
    qsizetype copied = 0;
    for (const QList<TextNode> &nodes : std::as_const(stretches)) {
        for (const TextNode &n : nodes) {
            if (!n.changed)
                continue;
            out += QStringView(xml).mid(copied, n.start - copied);
            QString text = escape(n.text);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text.replace(u'\n', QStringLiteral("</w:t><w:br/><w:t xml:space=\"preserve\">"));
            out += QStringLiteral("<w:t xml:space=\"preserve\">") + text + QStringLiteral("</w:t>");
            copied = n.end;
        }
    }
    out += QStringView(xml).mid(copied);
    xml = out;
    return count;
}

bool searchedPart(const QString &name)
{
    static const QRegularExpression re(QStringLiteral(R"(^word/(document|header\d*|footer\d*|footnotes|endnotes)\.xml$)"));
    return re.match(name).hasMatch();
}

QString mainPart(const QByteArray &bytes, bool *ok)
{
    QList<Entry> entries;
    *ok = false;
    if (!readZip(bytes, entries))
        return {};
    for (const Entry &e : std::as_const(entries)) {
        if (e.name == kMainPart) {
            *ok = true;
            return QString::fromUtf8(e.data);
        }
    }
    return {};
}

/// The text of a stretch of part XML: paragraphs end with a line break.
QString textOf(const QString &xml)
{
    QString text;
    auto it = tokens().globalMatch(xml);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QStringView all = m.capturedView(0);
        if (m.capturedLength(1) > 0)
            text += unescape(m.capturedView(2));
        else if (m.capturedView(3) == u"tab")
            text += u'\t';
        else if (all == u"</w:p>" || !m.capturedView(3).isEmpty() || (all.startsWith(u"<w:p") && all.endsWith(u"/>")))
            text += u'\n';
    }
    return text;
}

} // namespace

QByteArray make(const QString &bodyXml)
{
    const QString types = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
        "</Types>");
    const QString rels = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"word/document.xml\"/></Relationships>");
    const QString document = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>")
        + bodyXml
        + QStringLiteral("<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
                         "<w:pgMar w:top=\"1417\" w:right=\"1417\" w:bottom=\"1417\" w:left=\"1417\" "
                         "w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>");
    const QDateTime now = QDateTime::currentDateTime();
    return writeZip({{QStringLiteral("[Content_Types].xml"), types.toUtf8(), now},
                     {QStringLiteral("_rels/.rels"), rels.toUtf8(), now},
                     {kMainPart, document.toUtf8(), now}});
}

QByteArray blank()
{
    return make(QStringLiteral("<w:p/>"));
}

bool isWordFile(const QByteArray &bytes)
{
    bool ok = false;
    mainPart(bytes, &ok);
    return ok;
}

QString plainText(const QByteArray &bytes)
{
    bool ok = false;
    return textOf(mainPart(bytes, &ok));
}

QString html(const QByteArray &bytes)
{
    bool ok = false;
    const QString xml = mainPart(bytes, &ok);
    static const QRegularExpression paragraphRe(QStringLiteral(R"(<w:p(?:\s[^>]*)?>(.*?)</w:p>|<w:p(?:\s[^>]*)?/>)"),
                                                QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression runRe(QStringLiteral(R"(<w:r(?:\s[^>]*)?>(.*?)</w:r>)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression alignRe(QStringLiteral(R"re(<w:jc w:val="(\w+)")re"));
    auto on = [](const QString &run, const QString &tag) {
        // <w:b/> or <w:b w:val="1"/>; w:val "0", "false" or "none" switch it off.
        const QRegularExpression re(QStringLiteral("<w:%1(?: w:val=\"(\\w+)\")?\\s*/>").arg(tag));
        const QRegularExpressionMatch m = re.match(run);
        if (!m.hasMatch())
            return false;
        const QString v = m.captured(1);
        return v != u"0" && v != u"false" && v != u"none";
    };
    QString out;
    auto paragraphs = paragraphRe.globalMatch(xml);
    while (paragraphs.hasNext()) {
        const QRegularExpressionMatch p = paragraphs.next();
        const QString inner = p.captured(1);
        QString align = QStringLiteral("left");
        if (const QRegularExpressionMatch a = alignRe.match(inner); a.hasMatch()) {
            const QString v = a.captured(1);
            align = v == u"center" ? QStringLiteral("center")
                : (v == u"right" || v == u"end") ? QStringLiteral("right")
                : v == u"both" ? QStringLiteral("justify") : QStringLiteral("left");
        }
        QString body;
        auto runs = runRe.globalMatch(inner);
        while (runs.hasNext()) {
            const QString run = runs.next().captured(1);
            QString text = textOf(run);
            if (text.isEmpty())
                continue;
            text = text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br/>"));
            if (on(run, QStringLiteral("b")))
                text = QStringLiteral("<b>%1</b>").arg(text);
            if (on(run, QStringLiteral("i")))
                text = QStringLiteral("<i>%1</i>").arg(text);
            if (on(run, QStringLiteral("u")))
                text = QStringLiteral("<u>%1</u>").arg(text);
            body += text;
        }
        out += QStringLiteral("<p align=\"%1\">%2</p>\n").arg(align, body.isEmpty() ? QStringLiteral("&nbsp;") : body);
    }
    return QStringLiteral("<html><body>\n%1</body></html>").arg(out);
}

Replaced replace(const QByteArray &bytes, const QList<QPair<QString, QString>> &values)
{
    Replaced result;
    QList<Entry> entries;
    if (!readZip(bytes, entries))
        return result;
    bool hasMain = false;
    for (Entry &e : entries) {
        hasMain = hasMain || e.name == kMainPart;
        if (!searchedPart(e.name))
            continue;
        QString xml = QString::fromUtf8(e.data);
        if (const int n = replaceInPart(xml, values); n > 0) {
            e.data = xml.toUtf8();
            result.count += n;
        }
    }
    if (!hasMain)
        return result;
    result.bytes = result.count > 0 ? writeZip(entries) : bytes;
    return result;
}

} // namespace wordfile
