#include "previewdialog.h"

#include <QAbstractListModel>
#include <QCache>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfSelection>
#include <QPdfView>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace reports {

namespace {

constexpr int kThumbWidth = 110;

/// Page thumbnails drawn when the list shows them; only a few are kept.
class ThumbnailModel : public QAbstractListModel
{
public:
    explicit ThumbnailModel(QPdfDocument *document, QObject *parent)
        : QAbstractListModel(parent), m_document(document), m_cache(40)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_document->pageCount();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return QString::number(index.row() + 1);
        if (role != Qt::DecorationRole)
            return {};
        if (QImage *cached = m_cache.object(index.row()))
            return *cached;
        const QSizeF points = m_document->pagePointSize(index.row());
        const QSize size(kThumbWidth, points.width() > 0 ? int(kThumbWidth * points.height() / points.width())
                                                         : kThumbWidth);
        QImage page = m_document->render(index.row(), size);
        // QtPdf leaves the paper transparent.
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter(&image).drawImage(0, 0, page);
        m_cache.insert(index.row(), new QImage(image));
        return image;
    }

private:
    QPdfDocument *m_document;
    mutable QCache<int, QImage> m_cache;
};

} // namespace

PreviewDialog::PreviewDialog(const QString &title, const QString &pdfFile, QWidget *parent)
    : QDialog(parent), document(new QPdfDocument(this)), pdfView(new QPdfView(this)),
      thumbnails(new QListView(this)), pageSpin(new QSpinBox(this)), pageTotal(new QLabel(this))
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Baskı Önizleme") : title + QStringLiteral(" - Baskı Önizleme"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    document->load(pdfFile);

    pdfView->setObjectName(QStringLiteral("pdfView"));
    pdfView->setDocument(document);
    pdfView->setPageMode(QPdfView::PageMode::MultiPage);
    pdfView->setZoomMode(QPdfView::ZoomMode::FitToWidth);

    thumbnails->setObjectName(QStringLiteral("thumbnails"));
    thumbnails->setModel(new ThumbnailModel(document, thumbnails));
    thumbnails->setViewMode(QListView::IconMode);
    thumbnails->setFlow(QListView::TopToBottom);
    thumbnails->setWrapping(false);
    thumbnails->setUniformItemSizes(true);
    thumbnails->setIconSize(QSize(kThumbWidth, kThumbWidth * 3 / 2));
    thumbnails->setFixedWidth(kThumbWidth + 40);
    connect(thumbnails, &QListView::clicked, this, [this](const QModelIndex &i) { goToPage(i.row()); });

    pageSpin->setObjectName(QStringLiteral("pageSpin"));
    pageSpin->setRange(1, std::max(1, pageCount()));
    pageTotal->setText(QStringLiteral("/ %1").arg(pageCount()));
    connect(pageSpin, &QSpinBox::valueChanged, this, [this](int p) {
        if (p - 1 != currentPage())
            goToPage(p - 1);
    });
    connect(pdfView->pageNavigator(), &QPdfPageNavigator::currentPageChanged, this, [this] { pageChanged(); });

    auto *bar = new QToolBar(this);
    auto add = [&](const QString &name, const QString &caption, const QKeySequence &key, auto slot) {
        QAction *a = bar->addAction(caption, this, slot);
        a->setObjectName(name);
        a->setShortcut(key);
        return a;
    };
    add(QStringLiteral("printAction"), QStringLiteral("Yazdır..."), QKeySequence::Print, [this] {
        if (onPrint)
            onPrint();
    });
    add(QStringLiteral("exportAction"), QStringLiteral("PDF'e Aktar..."), QKeySequence::Save, [this] {
        if (onExport)
            onExport();
    });
    bar->addSeparator();
    add(QStringLiteral("firstAction"), QStringLiteral("|<"), QKeySequence(Qt::Key_Home), [this] { goToPage(0); });
    add(QStringLiteral("previousAction"), QStringLiteral("<"), QKeySequence(Qt::Key_PageUp),
        [this] { goToPage(currentPage() - 1); });
    bar->addWidget(pageSpin);
    bar->addWidget(pageTotal);
    add(QStringLiteral("nextAction"), QStringLiteral(">"), QKeySequence(Qt::Key_PageDown),
        [this] { goToPage(currentPage() + 1); });
    add(QStringLiteral("lastAction"), QStringLiteral(">|"), QKeySequence(Qt::Key_End),
        [this] { goToPage(pageCount() - 1); });
    bar->addSeparator();
    add(QStringLiteral("zoomInAction"), QStringLiteral("Yakınlaştır"), QKeySequence::ZoomIn, [this] { zoomIn(); });
    add(QStringLiteral("zoomOutAction"), QStringLiteral("Uzaklaştır"), QKeySequence::ZoomOut, [this] { zoomOut(); });
    add(QStringLiteral("fitWidthAction"), QStringLiteral("Sayfa Genişliği"), QKeySequence(), [this] { fitWidth(); });
    add(QStringLiteral("fitPageAction"), QStringLiteral("Tam Sayfa"), QKeySequence(), [this] { fitPage(); });
    bar->addSeparator();
    add(QStringLiteral("closeAction"), QStringLiteral("Kapat"), QKeySequence(Qt::Key_Escape), [this] { accept(); });

    auto *body = new QHBoxLayout;
    body->addWidget(thumbnails);
    body->addWidget(pdfView, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(bar);
    layout->addLayout(body, 1);
    resize(1000, 750);
}

PreviewDialog::~PreviewDialog() = default;

int PreviewDialog::pageCount() const
{
    return document->pageCount();
}

int PreviewDialog::currentPage() const
{
    return pdfView->pageNavigator()->currentPage();
}

QString PreviewDialog::pageText(int page) const
{
    return document->getAllText(page).text();
}

bool PreviewDialog::fitsWidth() const
{
    return pdfView->zoomMode() == QPdfView::ZoomMode::FitToWidth;
}

void PreviewDialog::goToPage(int page)
{
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 0, pageCount() - 1);
    pdfView->pageNavigator()->jump(page, QPointF(), pdfView->zoomFactor());
    pageChanged();
}

void PreviewDialog::zoomIn()
{
    const qreal factor = pdfView->zoomFactor();
    pdfView->setZoomMode(QPdfView::ZoomMode::Custom);
    pdfView->setZoomFactor(std::min(8.0, factor * 1.25));
}

void PreviewDialog::zoomOut()
{
    const qreal factor = pdfView->zoomFactor();
    pdfView->setZoomMode(QPdfView::ZoomMode::Custom);
    pdfView->setZoomFactor(std::max(0.1, factor / 1.25));
}

void PreviewDialog::fitWidth()
{
    pdfView->setZoomMode(QPdfView::ZoomMode::FitToWidth);
}

void PreviewDialog::fitPage()
{
    pdfView->setZoomMode(QPdfView::ZoomMode::FitInView);
}

void PreviewDialog::pageChanged()
{
    const int page = currentPage();
    const QSignalBlocker block(pageSpin);
    pageSpin->setValue(page + 1);
    thumbnails->setCurrentIndex(thumbnails->model()->index(page, 0));
}

} // namespace reports
