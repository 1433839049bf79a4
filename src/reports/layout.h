#pragma once

#include <QImage>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <vector>

namespace reports {

enum class Align { Left, Centre, Right };
/// What a text longer than its box does: one line cut with an ellipsis, or
/// wrapped onto as many whole lines as the box holds (the last one cut).
enum class Fit { Cut, Wrap };
enum class PictureMode { Fit, Stretch, Centre };

/// One thing drawn inside a band; positions in millimetres from the band's
/// top-left corner (which is the left margin).
struct Element
{
    enum class Kind {
        Text,          ///< fixed text
        Field,         ///< a column of the current row, by name
        RunningNumber, ///< 1, 2, 3 … per detail line of the report
        PageNumber,    ///< text followed by "n / total"
        HLine,
        VLine,
        Picture,
        RichText,      ///< HTML; flows over pages when it is the band's only flowing element
    };
    Kind kind = Kind::Text;
    qreal left = 0, top = 0, width = 0, height = 0;
    QString text;          ///< the text, the field name, or the page number's prefix
    Align align = Align::Left;
    Fit fit = Fit::Cut;
    qreal points = 8;
    bool bold = false;
    bool grouped = false;  ///< whole number printed with digit groups ("1.234"; 0 prints nothing)
    QImage picture;        ///< a null picture is left out
    PictureMode pictureMode = PictureMode::Fit;
    qreal lineWidth = 0.2; ///< mm
};

struct Band
{
    qreal height = 0; ///< mm
    std::vector<Element> elements;
    bool isEmpty() const { return elements.empty(); }
};

/// One report's page description: A4 in the given orientation with equal
/// margins; a title band once at the start, a page header on every page, one
/// detail band per row, a closing band after the last row.
struct Layout
{
    QString name;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    qreal margin = 10; ///< mm, every side
    Band title;
    Band pageHeader;
    Band detail;
    Band closing;

    /// Printable height and width in millimetres.
    qreal pageHeight() const;
    qreal pageWidth() const;
    QPageLayout pageLayout() const;
};

// Short builders so a layout reads like the column tables it follows.
Element text(qreal left, qreal top, qreal width, qreal height, const QString &text,
             qreal points = 8, bool bold = false, Align align = Align::Left, Fit fit = Fit::Cut);
Element field(qreal left, qreal top, qreal width, qreal height, const QString &column,
              qreal points = 8, Align align = Align::Left, Fit fit = Fit::Cut);
Element hline(qreal left, qreal top, qreal width);
Element vline(qreal left, qreal top, qreal height);
Element picture(qreal left, qreal top, qreal width, qreal height, const QImage &image,
                PictureMode mode = PictureMode::Fit);

/// The rows a report walks: strings per line, columns by name. Walked twice
/// (pages are counted first), so rewind must give the same rows again.
class RowSource
{
public:
    virtual ~RowSource() = default;
    virtual QStringList columns() const = 0;
    /// Back before the first row.
    virtual void rewind() = 0;
    /// The next row's values in column order; false after the last.
    virtual bool next(QStringList &row) = 0;
    /// How many rows there are, when that is cheaper than walking them; -1 otherwise.
    virtual int count() { return -1; }
};

/// Rows held in memory (the screens' own rows, tests).
class RowList : public RowSource
{
public:
    RowList(QStringList columns, QList<QStringList> rows = {})
        : m_columns(std::move(columns)), m_rows(std::move(rows)) {}
    void append(const QStringList &row) { m_rows.append(row); }
    QStringList columns() const override { return m_columns; }
    void rewind() override { m_at = 0; }
    bool next(QStringList &row) override
    {
        if (m_at >= m_rows.size())
            return false;
        row = m_rows.at(m_at++);
        return true;
    }
    int count() override { return int(m_rows.size()); }

private:
    QStringList m_columns;
    QList<QStringList> m_rows;
    qsizetype m_at = 0;
};

/// "1234" → "1.234"; zero, empty and non-numbers as the ###,### picture prints them.
QString grouped(const QString &number);

} // namespace reports
