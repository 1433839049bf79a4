#include "unresim.h"

#include "reports/ui/reportdesk.h"

#include "core/guarded.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

TFRMRESIM::TFRMRESIM(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("RESİM"));
    resize(800, 600);
    auto *layout = new QVBoxLayout(this);
    pictureArea = new QScrollArea(this);
    pictureArea->setObjectName(QStringLiteral("pictureArea"));
    pictureLabel = new QLabel(pictureArea);
    pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    pictureArea->setWidget(pictureLabel);
    layout->addWidget(pictureArea, 1);
    auto *buttons = new QHBoxLayout;
    stretchButton = new QPushButton(QStringLiteral("&Esnet"), this);
    stretchButton->setObjectName(QStringLiteral("stretchButton"));
    stretchButton->setCheckable(true);
    alignButton = new QPushButton(QStringLiteral("&Tüm Alan"), this);
    alignButton->setObjectName(QStringLiteral("alignButton"));
    alignButton->setCheckable(true);
    printButton = new QPushButton(QStringLiteral("&Yazdır"), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    exitButton = new QPushButton(QStringLiteral("Çıkış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    for (QPushButton *b : {stretchButton, alignButton, printButton})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(exitButton);
    layout->addLayout(buttons);

    connect(stretchButton, &QPushButton::toggled, this, [this](bool on) {
        m_stretch = on;
        layoutPicture();
    });
    connect(alignButton, &QPushButton::toggled, this, [this](bool on) {
        m_fill = on;
        layoutPicture();
    });
    connect(printButton, &QPushButton::clicked, this, &TFRMRESIM::print);
    connect(exitButton, &QPushButton::clicked, this, [this] { closeForm(1); });
    bindKey(exitButton, QKeySequence(Qt::Key_Escape));
}

TFRMRESIM::~TFRMRESIM() = default;

reports::ReportDesk &TFRMRESIM::reportDesk()
{
    if (!m_reports)
        m_reports = std::make_unique<reports::ReportDesk>(m_session, this);
    return *m_reports;
}

void TFRMRESIM::print()
{
    if (m_picture.isNull())
        return;
    // Centred exactly when the picture is laid out to fill the area.
    guarded(m_session, [this] {
        if (printPicture)
            printPicture(m_picture, m_stretch, m_fill);
        else
            reportDesk().printPicture(m_picture, m_stretch, m_fill);
    });
}

void TFRMRESIM::setPicture(const QImage &picture)
{
    m_picture = picture;
    layoutPicture();
}

void TFRMRESIM::FormActivate()
{
    layoutPicture();
}

void TFRMRESIM::resizeEvent(QResizeEvent *event)
{
    KelmaForm::resizeEvent(event);
    layoutPicture();
}

void TFRMRESIM::layoutPicture()
{
    if (m_picture.isNull()) {
        pictureLabel->clear();
        return;
    }
    // Filling the area makes the picture take the viewport; stretching lets it lose its proportions there.
    pictureArea->setWidgetResizable(m_fill);
    pictureLabel->setAlignment(m_fill ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    QSize size = m_picture.size();
    if (m_fill || m_stretch) {
        const QSize area = pictureArea->viewport()->size();
        size = m_stretch ? area : m_picture.size().scaled(area, Qt::KeepAspectRatio);
    }
    pictureLabel->setPixmap(QPixmap::fromImage(
        m_picture.scaled(size, m_stretch ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    if (!m_fill)
        pictureLabel->resize(size);
}
