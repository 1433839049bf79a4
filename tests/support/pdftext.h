#pragma once

#include <QFile>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

/// The text of each page of a PDF file in reading order (pdftotext -layout).
inline QStringList pdfPages(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    p.waitForFinished();
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

inline int pdfPageCount(const QString &file)
{
    QPdfDocument document;
    return document.load(file) == QPdfDocument::Error::None ? document.pageCount() : -1;
}

/// Words of one page with their left, right and top edges in millimetres from the paper's edge (pdftotext -bbox).
struct PlacedWord
{
    QString word;
    double left, right, top;
};
inline QList<PlacedWord> pdfWords(const QString &file, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    p.waitForFinished();
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    QList<PlacedWord> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double pt = 25.4 / 72;
        out.append({m.captured(4).replace(QStringLiteral("&amp;"), QStringLiteral("&")), m.captured(1).toDouble() * pt,
                    m.captured(3).toDouble() * pt, m.captured(2).toDouble() * pt});
    }
    return out;
}
