#include "unverbilgi.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRMVERBILGI::TFRMVERBILGI(Session &session, const QString &version, const update::ServiceAddress &service,
                           QWidget *parent)
    : KelmaForm(session, parent), m_service(service)
{
    setWindowTitle(QStringLiteral("VERSİYON BİLGİSİ"));
    resize(460, 360);

    auto *group = new QGroupBox(QStringLiteral("Versiyon Bilgisi"), this);
    auto *caption = new QLabel(QStringLiteral("Versiyon:"), group);
    versionLabel = new QLabel(version, group);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    QFont bold = versionLabel->font();
    bold.setBold(true);
    versionLabel->setFont(bold);
    updateButton = new QPushButton(QStringLiteral("Güncelle"), group);
    updateButton->setObjectName(QStringLiteral("updateButton"));
    auto *row = new QHBoxLayout(group);
    row->addWidget(caption);
    row->addWidget(versionLabel, 1);
    row->addWidget(updateButton);

    notesMemo = new QPlainTextEdit(this);
    notesMemo->setObjectName(QStringLiteral("notesMemo"));
    notesMemo->setReadOnly(true);
    notesMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    exitButton = new QPushButton(QStringLiteral("ESC-Çıkış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(notesMemo, 1);
    layout->addWidget(statusLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exitButton);
    layout->addLayout(buttons);

    connect(updateButton, &QPushButton::clicked, this, &TFRMVERBILGI::updateClick);
    connect(exitButton, &QPushButton::clicked, this, &TFRMVERBILGI::exitClick);
    bindKey(exitButton, QKeySequence(Qt::Key_Escape));
    connect(&m_exchange, &update::ServiceExchange::lineReceived, this,
            [this](const QString &line) { notesMemo->appendPlainText(line); });
    connect(&m_exchange, &update::ServiceExchange::finished, this, [this](bool complete, const QString &error) {
        // What arrived before a failure stays in the box.
        statusLabel->setText(complete ? QString() : error);
    });
}

void TFRMVERBILGI::FormActivate()
{
    VERGETIR();
}

void TFRMVERBILGI::VERGETIR()
{
    notesMemo->clear();
    if (!m_service.configured()) {
        statusLabel->setText(QStringLiteral("Versiyon servisi tanımlı değil (ayar: VERSRV)."));
        return;
    }
    statusLabel->setText(QStringLiteral("Versiyon notları okunuyor..."));
    m_exchange.requestNotes(m_service, versionLabel->text());
}

void TFRMVERBILGI::updateClick()
{
    m_exchange.cancel();
    if (PRGGUNCELLE)
        PRGGUNCELLE();
    closeForm(1);
}

void TFRMVERBILGI::exitClick()
{
    m_exchange.cancel();
    closeForm(0);
}
