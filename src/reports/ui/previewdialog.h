#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QListView;
class QPdfDocument;
class QPdfView;
class QSpinBox;
class QToolButton;

namespace reports {

/// The print preview: the report as a PDF shown page by page (rendered on
/// demand, so a long register book holds no page images), thumbnails, zoom,
/// page navigation, print and export.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    PreviewDialog(const QString &title, const QString &pdfFile, QWidget *parent = nullptr);
    ~PreviewDialog() override;

    /// Run by the print and export buttons.
    std::function<void()> onPrint;
    std::function<void()> onExport;

    int pageCount() const;
    int currentPage() const; ///< 0-based
    QString pageText(int page) const;
    bool fitsWidth() const;
    bool opensMaximized = false;

    void goToPage(int page);
    void zoomIn();
    void zoomOut();
    void fitWidth();
    void fitPage();

private:
    void pageChanged();

    QPdfDocument *document;
    QPdfView *pdfView;
    QListView *thumbnails;
    QSpinBox *pageSpin;
    QLabel *pageTotal;
};

} // namespace reports
