#include "documentview.h"

#include "storage/contenttype.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QToolButton *toolButton(QWidget *parent, const QString &text, const QString &tip, const char *name)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setToolTip(tip);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QString cacheKey(const QString &path)
{
    const QFileInfo f(path);
    return f.absoluteFilePath() + u'|' + QString::number(f.size()) + u'|'
        + QString::number(f.lastModified().toMSecsSinceEpoch());
}

// Plain text of the older workstations is Windows-1254; newer files are UTF-8.
QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    static const char16_t high[128] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0xFFFD, 0xFFFD,
        0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0xFFFD, 0x0178,
        0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
        0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
        0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
        0x011E, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF,
        0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
        0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF};
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        out.append(u < 0x80 ? QChar(u) : QChar(high[u - 0x80]));
    }
    return out;
}

} // namespace

DocumentView::DocumentView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages);

    m_emptyPage = new QWidget(m_pages);
    auto *empty = new QVBoxLayout(m_emptyPage);
    emptyLabel = new QLabel(m_emptyPage);
    emptyLabel->setObjectName(QStringLiteral("emptyLabel"));
    emptyLabel->setAlignment(Qt::AlignCenter);
    emptyLabel->setWordWrap(true);
    openOutsideButton = new QPushButton(QStringLiteral("Sistemin Uygulamasıyla &Aç"), m_emptyPage);
    openOutsideButton->setObjectName(QStringLiteral("openOutsideButton"));
    openOutsideButton->hide();
    connect(openOutsideButton, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(m_file)); });
    empty->addStretch();
    empty->addWidget(emptyLabel);
    empty->addWidget(openOutsideButton, 0, Qt::AlignCenter);
    empty->addStretch();
    m_pages->addWidget(m_emptyPage);

    m_picturePage = new QWidget(m_pages);
    auto *pic = new QVBoxLayout(m_picturePage);
    pic->setContentsMargins(0, 0, 0, 0);
    auto *picTools = new QHBoxLayout;
    zoomInButton = toolButton(m_picturePage, QStringLiteral("+"), QStringLiteral("Büyüt"), "zoomInButton");
    zoomOutButton = toolButton(m_picturePage, QStringLiteral("−"), QStringLiteral("Küçült"), "zoomOutButton");
    fitButton = toolButton(m_picturePage, QStringLiteral("Sığdır"), QStringLiteral("Alana sığdır"), "fitButton");
    fitButton->setCheckable(true);
    picTools->addWidget(zoomInButton);
    picTools->addWidget(zoomOutButton);
    picTools->addWidget(fitButton);
    picTools->addStretch();
    pic->addLayout(picTools);
    pictureArea = new QScrollArea(m_picturePage);
    pictureArea->setObjectName(QStringLiteral("pictureArea"));
    pictureArea->setAlignment(Qt::AlignCenter);
    pictureLabel = new QLabel(pictureArea);
    pictureLabel->setObjectName(QStringLiteral("pictureLabel")); // Image1
    pictureLabel->installEventFilter(this);
    pictureArea->setWidget(pictureLabel);
    pictureArea->viewport()->installEventFilter(this);
    pic->addWidget(pictureArea);
    connect(zoomInButton, &QToolButton::clicked, this, [this] { setZoom(m_zoom * 1.25); });
    connect(zoomOutButton, &QToolButton::clicked, this, [this] { setZoom(m_zoom / 1.25); });
    connect(fitButton, &QToolButton::toggled, this, [this](bool on) {
        m_fit = on;
        if (on)
            fit();
    });
    m_pages->addWidget(m_picturePage);

    m_pdfPage = new QWidget(m_pages);
    auto *pdfLayout = new QVBoxLayout(m_pdfPage);
    pdfLayout->setContentsMargins(0, 0, 0, 0);
    auto *pdfTools = new QHBoxLayout;
    pageBox = new QSpinBox(m_pdfPage);
    pageBox->setObjectName(QStringLiteral("pageBox"));
    pageBox->setMinimum(1);
    pageCountLabel = new QLabel(m_pdfPage);
    pageCountLabel->setObjectName(QStringLiteral("pageCountLabel"));
    pdfZoomInButton = toolButton(m_pdfPage, QStringLiteral("+"), QStringLiteral("Büyüt"), "pdfZoomInButton");
    pdfZoomOutButton = toolButton(m_pdfPage, QStringLiteral("−"), QStringLiteral("Küçült"), "pdfZoomOutButton");
    pdfTools->addWidget(new QLabel(QStringLiteral("Sayfa"), m_pdfPage));
    pdfTools->addWidget(pageBox);
    pdfTools->addWidget(pageCountLabel);
    pdfTools->addWidget(pdfZoomInButton);
    pdfTools->addWidget(pdfZoomOutButton);
    pdfTools->addStretch();
    pdfLayout->addLayout(pdfTools);
    m_pdf = new QPdfDocument(this);
    pdfView = new QPdfView(m_pdfPage);
    pdfView->setObjectName(QStringLiteral("pdfView"));
    pdfView->setDocument(m_pdf);
    pdfView->setPageMode(QPdfView::PageMode::MultiPage);
    pdfView->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    pdfLayout->addWidget(pdfView);
    connect(pageBox, &QSpinBox::valueChanged, this, [this](int page) {
        if (page >= 1 && page <= m_pdf->pageCount())
            pdfView->pageNavigator()->jump(page - 1, {}, pdfView->pageNavigator()->currentZoom());
    });
    connect(pdfZoomInButton, &QToolButton::clicked, this, [this] {
        pdfView->setZoomMode(QPdfView::ZoomMode::Custom);
        pdfView->setZoomFactor(pdfView->zoomFactor() * 1.25);
    });
    connect(pdfZoomOutButton, &QToolButton::clicked, this, [this] {
        pdfView->setZoomMode(QPdfView::ZoomMode::Custom);
        pdfView->setZoomFactor(pdfView->zoomFactor() / 1.25);
    });
    m_pages->addWidget(m_pdfPage);

    textView = new QPlainTextEdit(m_pages);
    textView->setObjectName(QStringLiteral("textView"));
    textView->setReadOnly(true);
    m_pages->addWidget(textView);

    m_workingPage = new QWidget(m_pages);
    auto *working = new QVBoxLayout(m_workingPage);
    workingLabel = new QLabel(QStringLiteral("Belge görüntülenmek üzere dönüştürülüyor..."), m_workingPage);
    workingLabel->setObjectName(QStringLiteral("workingLabel"));
    workingLabel->setAlignment(Qt::AlignCenter);
    workingBar = new QProgressBar(m_workingPage);
    workingBar->setObjectName(QStringLiteral("workingBar"));
    workingBar->setRange(0, 0); // the converter tells no progress: a moving bar
    working->addStretch();
    working->addWidget(workingLabel);
    working->addWidget(workingBar);
    working->addStretch();
    m_pages->addWidget(m_workingPage);

    clear();
}

DocumentView::~DocumentView()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(2000);
    }
}

QString DocumentView::converter()
{
    const QString chosen = qEnvironmentVariable("KELMA_SOFFICE");
    if (!chosen.isEmpty())
        return QFileInfo(chosen).isExecutable() ? chosen : QString();
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

DocumentView::Page DocumentView::page() const
{
    QWidget *w = m_pages->currentWidget();
    if (w == m_picturePage)
        return Page::Picture;
    if (w == m_pdfPage)
        return Page::Pdf;
    if (w == textView)
        return Page::Text;
    if (w == m_workingPage)
        return Page::Working;
    return Page::Empty;
}

void DocumentView::clear(const QString &note)
{
    m_picture = QImage();
    pictureLabel->clear();
    m_pdf->close();
    textView->clear();
    emptyLabel->setText(note);
    openOutsideButton->hide();
    m_pages->setCurrentWidget(m_emptyPage);
}

void DocumentView::showFile(const QString &path)
{
    m_file = path;
    using storage::Content;
    switch (storage::contentOf(path)) {
    case Content::Missing:
        return clear(QStringLiteral("Belge bulunamadı."));
    case Content::Empty:
        return clear(QStringLiteral("Belge boş."));
    case Content::Jpeg: case Content::Gif: case Content::Png: case Content::OtherPicture:
        return showPicture(path);
    case Content::Pdf:
        return showPdf(path);
    case Content::PlainText:
        return showText(path);
    case Content::WordProcessor: case Content::Spreadsheet: case Content::RichText: case Content::Compound:
        return convert(path);
    case Content::Unknown:
        break;
    }
    clear(QStringLiteral("DİKKAT! Belgenin biçimi tanınmadı."));
    openOutsideButton->show();
}

void DocumentView::showPicture(const QString &path)
{
    clear();
    m_file = path;
    if (!m_picture.load(path)) {
        clear(QStringLiteral("DİKKAT! Resim okunamadı."));
        openOutsideButton->show();
        return;
    }
    pictureLabel->setPixmap(QPixmap::fromImage(m_picture));
    m_pages->setCurrentWidget(m_picturePage);
    fitButton->setChecked(m_fit);
    if (m_fit)
        fit();
    else
        setZoom(m_zoom);
}

void DocumentView::setZoom(double factor)
{
    if (m_picture.isNull())
        return;
    m_zoom = std::clamp(factor, 0.05, 8.0);
    if (fitButton->isChecked()) {
        const QSignalBlocker block(fitButton);
        fitButton->setChecked(false);
        m_fit = false;
    }
    const QSize size = (QSizeF(m_picture.size()) * m_zoom).toSize();
    pictureLabel->setPixmap(QPixmap::fromImage(m_picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    pictureLabel->resize(size);
}

void DocumentView::fit()
{
    if (m_picture.isNull())
        return;
    const QSize area = pictureArea->viewport()->size() - QSize(2, 2);
    const QSize size = m_picture.size().scaled(area, Qt::KeepAspectRatio);
    m_zoom = double(size.width()) / m_picture.width();
    pictureLabel->setPixmap(QPixmap::fromImage(m_picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    pictureLabel->resize(size);
}

void DocumentView::showPdf(const QString &path)
{
    clear();
    m_file = path;
    if (m_pdf->load(path) != QPdfDocument::Error::None) {
        clear(QStringLiteral("DİKKAT! PDF belgesi açılamadı."));
        openOutsideButton->show();
        return;
    }
    pageBox->setMaximum(std::max(1, m_pdf->pageCount()));
    pageBox->setValue(1);
    pageCountLabel->setText(QStringLiteral("/ %1").arg(m_pdf->pageCount()));
    m_pages->setCurrentWidget(m_pdfPage);
}

void DocumentView::showText(const QString &path)
{
    clear();
    m_file = path;
    QFile f(path);
    // A screenful is what a reader needs; a huge log must not fill the memory.
    constexpr qint64 kShown = 4 * 1024 * 1024;
    if (!f.open(QIODevice::ReadOnly)) {
        clear(QStringLiteral("DİKKAT! Belge okunamadı."));
        return;
    }
    QString text = decodeText(f.read(kShown));
    if (f.size() > kShown)
        text += QStringLiteral("\n\n[... belgenin devamı gösterilmiyor ...]");
    textView->setPlainText(text);
    m_pages->setCurrentWidget(textView);
}

void DocumentView::convert(const QString &path)
{
    const QString key = cacheKey(path);
    if (const QString pdf = m_converted.value(key); !pdf.isEmpty() && QFile::exists(pdf))
        return showPdf(pdf);
    const QString program = converter();
    if (program.isEmpty()) {
        clear(QStringLiteral("Bu belge türünü göstermek için LibreOffice kurulu değil.\n"
                             "Belgeyi sistemin uygulamasıyla açabilirsiniz."));
        m_file = path;
        openOutsideButton->show();
        return;
    }
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    clear();
    m_file = path;
    m_converting = path;
    m_pages->setCurrentWidget(m_workingPage);
    // A private profile: a LibreOffice the clerk has open must not take the job over.
    const QString out = QDir(m_cache.path()).filePath(QString::number(m_converted.size()));
    QDir().mkpath(out);
    m_process = std::make_unique<QProcess>();
    m_process->setProperty("out", out);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process.get(), &QProcess::finished, this, &DocumentView::conversionEnded);
    connect(m_process.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            conversionEnded(-1, QProcess::CrashExit);
    });
    m_process->start(program, {QStringLiteral("-env:UserInstallation=")
                                   + QUrl::fromLocalFile(QDir(m_cache.path()).filePath(QStringLiteral("profil"))).toString(),
                               QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                               QStringLiteral("--outdir"), out, path});
}

void DocumentView::conversionEnded(int exitCode, QProcess::ExitStatus status)
{
    const QString out = m_process ? m_process->property("out").toString() : QString();
    const QString source = m_converting;
    m_converting.clear();
    QString pdf = QDir(out).filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".pdf"));
    if (status != QProcess::NormalExit || exitCode != 0 || !QFile::exists(pdf)) {
        pdf.clear();
        clear(QStringLiteral("DİKKAT! Belge görüntülenmek üzere dönüştürülemedi.\n"
                             "Belgeyi sistemin uygulamasıyla açabilirsiniz."));
        m_file = source;
        openOutsideButton->show();
    } else {
        m_converted.insert(cacheKey(source), pdf);
        showPdf(pdf);
        m_file = source;
    }
    m_process.release()->deleteLater();
    emit converted(pdf);
}

bool DocumentView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == pictureLabel && event->type() == QEvent::MouseButtonDblClick) {
        emit pictureDoubleClicked();
        return true;
    }
    if (watched == pictureArea->viewport() && event->type() == QEvent::Resize && m_fit)
        fit();
    return QWidget::eventFilter(watched, event);
}
