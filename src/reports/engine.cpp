#include "engine.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>
#include <memory>

namespace reports {

namespace {

QFont fontOf(const Element &e)
{
    QFont f;
    // DejaVu is what a bare Linux desktop has; Arial what Windows has.
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    f.setPointSizeF(e.points);
    f.setBold(e.bold);
    return f;
}

Qt::Alignment horizontal(Align a)
{
    switch (a) {
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

/// The whole lines of `text` that fit the box, the last one cut when more follow.
QStringList wrappedLines(const QString &text, const QFont &font, QPaintDevice *device, qreal width, int maxLines)
{
    QString prepared = text;
    prepared.replace(u'\n', QChar::LineSeparator);
    prepared.remove(u'\r');
    QTextLayout layout(prepared, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    bool more = false;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == maxLines) {
            more = true;
            break;
        }
        lines << prepared.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (more && !lines.isEmpty()) {
        const int start = layout.lineAt(maxLines - 1).textStart();
        QString rest = prepared.mid(start);
        rest.replace(QChar::LineSeparator, u' ');
        lines.last() = QFontMetricsF(font, device).elidedText(rest, Qt::ElideRight, width);
    }
    for (QString &l : lines) {
        l.remove(QChar::LineSeparator);
        l = l.trimmed();
    }
    return lines;
}

} // namespace

/// One pass over the report: counts pages when `painter` is null, draws them otherwise.
class Walker
{
public:
    Walker(const Layout &layout, RowSource *rows, QPagedPaintDevice *device, QPainter *painter)
        : m_layout(layout), m_rows(rows), m_device(device), m_painter(painter),
          m_k(device->logicalDpiY() / 25.4), m_pageHeight(layout.pageHeight())
    {
    }

    int totalPages = 1;
    Progress progress;

    /// Returns false when stopped through the progress.
    bool run()
    {
        m_page = 1;
        m_y = 0;
        int flowPages = 1;
        const Element *flow = flowElement();
        std::unique_ptr<QTextDocument> document;
        if (flow) {
            document = makeDocument(*flow);
            flowPages = std::max(1, document->pageCount());
        }
        if (!m_layout.title.isEmpty()) {
            drawBand(m_layout.title, 0, {}, document.get(), 0);
            for (int part = 1; part < flowPages; ++part) {
                if (!nextPage())
                    return false;
                drawFlow(*flow, document.get(), part);
            }
            m_y = m_layout.title.height;
        }
        drawBand(m_layout.pageHeader, m_y, {}, nullptr, 0);
        m_y += m_layout.pageHeader.height;
        if (m_rows && !m_layout.detail.isEmpty()) {
            m_columns.clear();
            const QStringList names = m_rows->columns();
            for (int i = 0; i < names.size(); ++i)
                m_columns.insert(names.at(i), i);
            // Counting needs no row values: every detail line has the same height.
            const int known = m_painter ? -1 : m_rows->count();
            if (known < 0)
                m_rows->rewind();
            QStringList row;
            int counted = 0;
            while (known >= 0 ? counted++ < known : m_rows->next(row)) {
                if (m_y + m_layout.detail.height > m_pageHeight + 1e-6 && m_y > m_layout.pageHeader.height) {
                    if (!nextPage())
                        return false;
                    drawBand(m_layout.pageHeader, 0, {}, nullptr, 0);
                    m_y = m_layout.pageHeader.height;
                }
                ++m_line;
                drawBand(m_layout.detail, m_y, row, nullptr, 0);
                m_y += m_layout.detail.height;
            }
        }
        if (!m_layout.closing.isEmpty()) {
            if (m_y + m_layout.closing.height > m_pageHeight + 1e-6) {
                if (!nextPage())
                    return false;
                drawBand(m_layout.pageHeader, 0, {}, nullptr, 0);
                m_y = m_layout.pageHeader.height;
            }
            drawBand(m_layout.closing, m_y, {}, nullptr, 0);
        }
        return report();
    }

    int pages() const { return m_page; }

private:
    const Element *flowElement() const
    {
        for (const Element &e : m_layout.title.elements)
            if (e.kind == Element::Kind::RichText)
                return &e;
        return nullptr;
    }

    std::unique_ptr<QTextDocument> makeDocument(const Element &e) const
    {
        auto doc = std::make_unique<QTextDocument>();
        doc->documentLayout()->setPaintDevice(m_device);
        doc->setDefaultFont(fontOf(e));
        doc->setDocumentMargin(0);
        doc->setHtml(e.text);
        doc->setPageSize(QSizeF(mm(e.width), mm(e.height)));
        return doc;
    }

    bool report()
    {
        return !m_painter || !progress || progress(m_page, totalPages);
    }

    bool nextPage()
    {
        if (!report())
            return false;
        ++m_page;
        if (m_painter)
            m_device->newPage();
        return true;
    }

    qreal mm(qreal v) const { return v * m_k; }

    void drawFlow(const Element &e, QTextDocument *doc, int part)
    {
        if (!m_painter)
            return;
        const qreal h = mm(e.height);
        m_painter->save();
        m_painter->translate(mm(e.left), mm(e.top) - part * h);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, part * h, mm(e.width), h);
        context.palette.setColor(QPalette::Text, Qt::black);
        m_painter->setClipRect(context.clip);
        doc->documentLayout()->draw(m_painter, context);
        m_painter->restore();
    }

    void drawBand(const Band &band, qreal top, const QStringList &row, QTextDocument *flow, int part)
    {
        if (!m_painter)
            return;
        for (const Element &e : band.elements) {
            const QRectF box(mm(e.left), mm(top + e.top), mm(e.width), mm(e.height));
            switch (e.kind) {
            case Element::Kind::Text:
                drawText(e, box, e.text);
                break;
            case Element::Kind::Field: {
                const int column = m_columns.value(e.text, -1);
                const QString value = column >= 0 ? row.value(column) : QString();
                drawText(e, box, e.grouped ? grouped(value) : value);
                break;
            }
            case Element::Kind::RunningNumber:
                drawText(e, box, QString::number(m_line));
                break;
            case Element::Kind::PageNumber:
                drawText(e, box, e.text + QStringLiteral("%1 / %2").arg(m_page).arg(totalPages));
                break;
            case Element::Kind::HLine:
                queueLine(e, QLineF(box.left(), box.top(), box.left() + box.width(), box.top()));
                break;
            case Element::Kind::VLine:
                queueLine(e, QLineF(box.left(), box.top(), box.left(), box.top() + box.height()));
                break;
            case Element::Kind::Picture:
                drawPicture(e, box);
                break;
            case Element::Kind::RichText:
                if (flow) {
                    drawFlow(e, flow, part);
                } else {
                    std::unique_ptr<QTextDocument> doc = makeDocument(e);
                    m_painter->save();
                    m_painter->translate(box.topLeft());
                    m_painter->setClipRect(QRectF(0, 0, box.width(), box.height()));
                    QAbstractTextDocumentLayout::PaintContext context;
                    context.clip = QRectF(0, 0, box.width(), box.height());
                    doc->documentLayout()->draw(m_painter, context);
                    m_painter->restore();
                }
                break;
            }
        }
        flushLines();
    }

    // Rules of one band go out in one call: far less PDF drawing overhead.
    void queueLine(const Element &e, const QLineF &line)
    {
        const qreal width = mm(e.lineWidth);
        if (!m_lines.isEmpty() && width != m_lineWidth)
            flushLines();
        m_lineWidth = width;
        m_lines.append(line);
    }

    void flushLines()
    {
        if (m_lines.isEmpty())
            return;
        // Thin filled rectangles: the cheapest rule a PDF can hold.
        const qreal half = m_lineWidth / 2;
        QList<QRectF> rects;
        rects.reserve(m_lines.size());
        for (const QLineF &l : std::as_const(m_lines))
            rects.append(QRectF(QPointF(std::min(l.x1(), l.x2()) - half, std::min(l.y1(), l.y2()) - half),
                                QPointF(std::max(l.x1(), l.x2()) + half, std::max(l.y1(), l.y2()) + half)));
        m_painter->setPen(Qt::NoPen);
        m_painter->setBrush(Qt::black);
        m_painter->drawRects(rects.constData(), int(rects.size()));
        m_painter->setBrush(Qt::NoBrush);
        m_painter->setPen(Qt::black);
        m_lines.clear();
    }

    struct Face
    {
        QFont font;
        QFontMetricsF metrics;
        QHash<char16_t, qreal> advances = {};

        /// Sum of the characters' own advances: kerning only narrows Latin text,
        /// so a text under this bound fits without being shaped twice.
        qreal roughWidth(const QString &text)
        {
            qreal sum = 0;
            for (QChar c : text) {
                auto it = advances.constFind(c.unicode());
                if (it == advances.constEnd())
                    it = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
                sum += *it;
            }
            return sum;
        }
    };

    Face &face(const Element &e)
    {
        const int key = int(e.points * 10) * 2 + (e.bold ? 1 : 0);
        auto it = m_faces.find(key);
        if (it == m_faces.end()) {
            const QFont font = fontOf(e);
            it = m_faces.insert(key, Face{font, QFontMetricsF(font, m_device)});
        }
        return *it;
    }

    void drawText(const Element &e, const QRectF &box, const QString &value)
    {
        if (value.isEmpty())
            return;
        Face &f = face(e);
        if (m_painter->font() != f.font)
            m_painter->setFont(f.font);
        const qreal pad = mm(0.5);
        const QRectF inner = box.adjusted(pad, 0, -pad, 0);
        const Qt::Alignment align = horizontal(e.align);
        if (!value.contains(u'\n') && f.roughWidth(value) < inner.width() * 0.97) {
            m_painter->drawText(inner, align | Qt::AlignVCenter | Qt::TextSingleLine, value);
            return;
        }
        if (!value.contains(u'\n') && f.metrics.horizontalAdvance(value) <= inner.width()) {
            m_painter->drawText(inner, align | Qt::AlignVCenter | Qt::TextSingleLine, value);
            return;
        }
        if (e.fit == Fit::Cut) {
            QString line = value;
            line.replace(u'\n', u' ');
            line.remove(u'\r');
            line = f.metrics.elidedText(line, Qt::ElideRight, inner.width());
            m_painter->drawText(inner, align | Qt::AlignVCenter | Qt::TextSingleLine, line);
            return;
        }
        const qreal spacing = f.metrics.lineSpacing();
        const int maxLines = std::max(1, int(std::floor(inner.height() / spacing + 1e-6)));
        const QStringList lines = wrappedLines(value, f.font, m_device, inner.width(), maxLines);
        qreal y = inner.top() + std::max<qreal>(0, (inner.height() - lines.size() * spacing) / 2);
        for (const QString &l : lines) {
            m_painter->drawText(QRectF(inner.left(), y, inner.width(), spacing),
                                align | Qt::AlignVCenter | Qt::TextSingleLine, l);
            y += spacing;
        }
    }

    void drawPicture(const Element &e, const QRectF &box)
    {
        if (e.picture.isNull())
            return;
        const QImage &image = e.picture;
        QRectF target = box;
        if (e.pictureMode != PictureMode::Stretch) {
            QSizeF size;
            if (e.pictureMode == PictureMode::Fit) {
                size = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
            } else {
                // Its own size on paper, made smaller when it would leave the box.
                const qreal dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 96 / 0.0254;
                const qreal dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 96 / 0.0254;
                size = QSizeF(mm(image.width() / dpmX * 1000), mm(image.height() / dpmY * 1000));
                if (size.width() > box.width() || size.height() > box.height())
                    size = size.scaled(box.size(), Qt::KeepAspectRatio);
            }
            target = QRectF(QPointF(), size);
            if (e.pictureMode == PictureMode::Centre)
                target.moveCenter(box.center());
            else
                target.moveTopLeft(box.topLeft());
        }
        m_painter->drawImage(target, image);
    }

    const Layout &m_layout;
    RowSource *m_rows;
    QPagedPaintDevice *m_device;
    QPainter *m_painter;
    qreal m_k;
    qreal m_pageHeight;
    QHash<QString, int> m_columns;
    QHash<int, Face> m_faces;
    QList<QLineF> m_lines;
    qreal m_lineWidth = 0;
    int m_page = 1;
    int m_line = 0;
    qreal m_y = 0;
};

Report::Report(Layout layout, RowSource *rows) : m_layout(std::move(layout)), m_rows(rows) {}

int Report::pageCount()
{
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    writer.setResolution(300);
    writer.setPageLayout(m_layout.pageLayout());
    Walker counter(m_layout, m_rows, &writer, nullptr);
    counter.run();
    return counter.pages();
}

Outcome Report::render(QPagedPaintDevice &device, const Progress &progress)
{
    device.setPageLayout(m_layout.pageLayout());
    Walker counter(m_layout, m_rows, &device, nullptr);
    counter.run();
    QPainter painter;
    if (!painter.begin(&device))
        return Outcome::Failed;
    painter.setRenderHint(QPainter::Antialiasing);
    Walker drawer(m_layout, m_rows, &device, &painter);
    drawer.totalPages = counter.pages();
    drawer.progress = progress;
    const bool finished = drawer.run();
    painter.end();
    return finished ? Outcome::Done : Outcome::Cancelled;
}

Outcome writePdf(Report &report, const QString &fileName, const Progress &progress, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return Outcome::Failed;
    }
    Outcome outcome;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("KELMA"));
        writer.setTitle(report.layout().name);
        outcome = report.render(writer, progress);
    }
    if (outcome != Outcome::Done) {
        file.cancelWriting();
        if (error && outcome == Outcome::Failed)
            *error = QStringLiteral("PDF yazılamadı.");
        return outcome;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return Outcome::Failed;
    }
    return Outcome::Done;
}

} // namespace reports
