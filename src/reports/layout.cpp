#include "layout.h"

#include <QLocale>
#include <QPageSize>

namespace reports {

QPageLayout Layout::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation,
                       QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
}

qreal Layout::pageHeight() const
{
    return pageLayout().paintRect(QPageLayout::Millimeter).height();
}

qreal Layout::pageWidth() const
{
    return pageLayout().paintRect(QPageLayout::Millimeter).width();
}

Element text(qreal left, qreal top, qreal width, qreal height, const QString &value, qreal points,
             bool bold, Align align, Fit fit)
{
    Element e;
    e.kind = Element::Kind::Text;
    e.left = left, e.top = top, e.width = width, e.height = height;
    e.text = value;
    e.points = points;
    e.bold = bold;
    e.align = align;
    e.fit = fit;
    return e;
}

Element field(qreal left, qreal top, qreal width, qreal height, const QString &column, qreal points,
              Align align, Fit fit)
{
    Element e = text(left, top, width, height, column, points, false, align, fit);
    e.kind = Element::Kind::Field;
    return e;
}

Element hline(qreal left, qreal top, qreal width)
{
    Element e;
    e.kind = Element::Kind::HLine;
    e.left = left, e.top = top, e.width = width;
    return e;
}

Element vline(qreal left, qreal top, qreal height)
{
    Element e;
    e.kind = Element::Kind::VLine;
    e.left = left, e.top = top, e.height = height;
    return e;
}

Element picture(qreal left, qreal top, qreal width, qreal height, const QImage &image, PictureMode mode)
{
    Element e;
    e.kind = Element::Kind::Picture;
    e.left = left, e.top = top, e.width = width, e.height = height;
    e.picture = image;
    e.pictureMode = mode;
    return e;
}

QString grouped(const QString &number)
{
    bool ok = false;
    const qlonglong n = number.trimmed().toLongLong(&ok);
    if (!ok)
        return number;
    if (n == 0)
        return {};
    static const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    return turkish.toString(n);
}

} // namespace reports
