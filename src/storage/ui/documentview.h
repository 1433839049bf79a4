#pragma once

#include <QHash>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

class QLabel;
class QPdfDocument;
class QPdfView;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTextBrowser;
class QToolButton;

/// Shows one attachment file by what it holds: pictures with zoom and fit,
/// PDF by page with zoom, plain text; word-processor, spreadsheet and rich
/// text files are turned into PDF by LibreOffice when it is installed (in the
/// background, once per file for the life of the view), otherwise offered to
/// the system's own application.
class DocumentView : public QWidget
{
    Q_OBJECT

public:
    explicit DocumentView(QWidget *parent = nullptr);
    ~DocumentView() override;

    enum class Page { Empty, Picture, Pdf, Text, Working };

    void showFile(const QString &path);
    /// Nothing shown; `note` says why.
    void clear(const QString &note = {});

    Page page() const;
    QString file() const { return m_file; }
    QImage picture() const { return m_picture; }
    QPdfDocument *pdf() const { return m_pdf; }
    /// The LibreOffice program used for conversions; empty when none.
    static QString converter();

signals:
    void pictureDoubleClicked();
    /// A conversion ended; `pdf` is empty when it failed.
    void converted(const QString &pdf);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPicture(const QString &path);
    void showPdf(const QString &path);
    void showText(const QString &path);
    void convert(const QString &path);
    void conversionEnded(int exitCode, QProcess::ExitStatus status);
    void setZoom(double factor);
    void fit();

    QString m_file;
    QImage m_picture;
    double m_zoom = 1.0;
    bool m_fit = true;
    QStackedWidget *m_pages;
    QLabel *emptyLabel;
    QPushButton *openOutsideButton;
    QScrollArea *pictureArea;
    QLabel *pictureLabel;
    QToolButton *zoomInButton, *zoomOutButton, *fitButton;
    QPdfDocument *m_pdf;
    QPdfView *pdfView;
    QSpinBox *pageBox;
    QLabel *pageCountLabel;
    QToolButton *pdfZoomInButton, *pdfZoomOutButton;
    QPlainTextEdit *textView;
    QLabel *workingLabel;
    QProgressBar *workingBar;
    QWidget *m_picturePage, *m_pdfPage, *m_emptyPage, *m_workingPage;

    std::unique_ptr<QProcess> m_process;
    QString m_converting; ///< the source file being converted
    QTemporaryDir m_cache;
    QHash<QString, QString> m_converted; ///< source (path, size, time) → PDF
};
