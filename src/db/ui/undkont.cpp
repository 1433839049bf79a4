#include "undkont.h"

#include "core/prompt.h"
#include "core/session.h"
#include "db/checks.h"
#include "db/fb/error.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFRMDKONT::TFRMDKONT(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("ZIRVO Yazılım"));
    backupWarningLabel = new QLabel(QStringLiteral("Kontrol İşlemi Yapmadan Önce YEDEK Almayı Unutmayınız..."), this);
    backupWarningLabel->setObjectName(QStringLiteral("backupWarningLabel"));
    QFont bold = backupWarningLabel->font();
    bold.setBold(true);
    backupWarningLabel->setFont(bold);
    markWarning(backupWarningLabel);

    logEdit = new QPlainTextEdit(this);
    logEdit->setObjectName(QStringLiteral("logEdit"));
    logEdit->setReadOnly(true);
    logEdit->setContextMenuPolicy(Qt::CustomContextMenu);

    checksMenu = new QMenu(this);
    checksMenu->setObjectName(QStringLiteral("checksMenu"));
    generatorCheckAction = checksMenu->addAction(QStringLiteral("Generatör Kontrolü"));
    generatorCheckAction->setObjectName(QStringLiteral("generatorCheckAction"));
    userRightsCheckAction = checksMenu->addAction(QStringLiteral("Kullanıcı Hakları Düzenle"));
    userRightsCheckAction->setObjectName(QStringLiteral("userRightsCheckAction"));
    documentCheckAction = checksMenu->addAction(QStringLiteral("Belge Kontrolleri"));
    documentCheckAction->setObjectName(QStringLiteral("documentCheckAction"));
    connect(logEdit, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { checksMenu->popup(logEdit->viewport()->mapToGlobal(at)); });
    connect(generatorCheckAction, &QAction::triggered, this, &TFRMDKONT::Generator1Click);
    connect(userRightsCheckAction, &QAction::triggered, this, &TFRMDKONT::KullaniciHaklari1Click);
    connect(documentCheckAction, &QAction::triggered, this, &TFRMDKONT::BelgeKontrolleri1Click);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->hide();

    exitButton = new QPushButton(QStringLiteral("ESC-Çıkış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    exitButton->setAutoDefault(false);
    connect(exitButton, &QPushButton::clicked, this, &TFRMDKONT::BitBtn1Click);
    bindKey(exitButton, Qt::Key_Escape);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(progressBar, 1);
    buttons->addStretch();
    buttons->addWidget(exitButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(backupWarningLabel);
    layout->addWidget(logEdit, 1);
    layout->addLayout(buttons);
    resize(560, 420);
}

void TFRMDKONT::FormActivate()
{
    logEdit->clear();
}

void TFRMDKONT::log(const QString &line)
{
    logEdit->appendPlainText(line);
}

template<class Check>
void TFRMDKONT::run(Check check)
{
    ConsistencyChecks checks(
        m_session.db.IBDATABASE, [this](const QString &line) { log(line); },
        [this](int done, int total) {
            progressBar->setMaximum(total);
            progressBar->setValue(done);
            // The check runs on this thread: let the bar and the log be drawn.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    try {
        (checks.*check)();
    } catch (const fb::Error &e) {
        m_session.prompt().error(e.message(), e.statement());
    }
}

void TFRMDKONT::Generator1Click()
{
    run(&ConsistencyChecks::repairGenerators);
}

void TFRMDKONT::KullaniciHaklari1Click()
{
    progressBar->setValue(0);
    progressBar->show();
    run(&ConsistencyChecks::completeRights);
    progressBar->hide();
}

void TFRMDKONT::BelgeKontrolleri1Click()
{
    run(&ConsistencyChecks::reportEmptyAttachments);
}

void TFRMDKONT::BitBtn1Click()
{
    closeForm(0);
}
