#include "unmenu.h"

#include "unabout.h"
#include "unsystem.h"

#include "kit/kelmaform.h"
#include "shell/mainwindowlogic.h"
#include "core/prompt.h"
#include "core/session.h"
#include "shell/startup.h"

#include "db/fb/error.h"

#include "users/login.h"
#include "users/rights.h"
#include "users/usercontrol.h"
#include "core/guarded.h"
#include "db/ui/undkont.h"
#include "definitions/ui/definitionsmenu.h"
#include "db/upgrade.h"
#include "storage/fileserverclient.h"
#include "users/ui/unpasdeg.h"
#include "users/ui/unpsswd.h"
#include "users/ui/unuserstan.h"
#include "lists/ui/ungellst.h"
#include "lists/ui/ungidlst.h"
#include "lists/ui/undillst.h"
#include "lists/ui/unarslst.h"
#include "lists/deadlines.h"
#include "reports/overdue.h"
#include "reports/ui/reportdesk.h"
#include "texts/ui/unsablon.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>

#include "shell/ui/prgguncelle.h"
#include "shell/ui/unverbilgi.h"
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QFont scaled(QFont f, int extraPoints, bool bold)
{
    f.setPointSize(f.pointSize() + extraPoints);
    f.setBold(bold);
    return f;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TFRMMENU::TFRMMENU(Session &session, FormRunner &runner, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_runner(runner)
{
    setWindowTitle(QStringLiteral("KELMA"));
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Panel1"));
    setCentralWidget(central);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildTitleBand(central));
    layout->addLayout(buildBody(central), 1);

    buildStatus();
    // A lost database connection and the reconnecting are said down here.
    connect(&m_session.db.watch, &ConnectionWatch::statusChanged, this, [this](const QString &text) {
        if (text.isEmpty())
            statusBar()->showMessage(QStringLiteral("Veritabanı bağlantısı yeniden kuruldu."), 5000);
        else
            statusBar()->showMessage(text);
    });
    buildMenu();

    Timer1.setInterval(60000);
    connect(&Timer1, &QTimer::timeout, this, &TFRMMENU::Timer1Timer);
    Timer1.start();

    resize(1024, 700);
    showUser();
    if (!m_session.connectionFailed) {
        yearLabel->setText(m_session.workstation.year);
        applyColour();
    }
}

void TFRMMENU::buildStatus()
{
    // Who works, in which year; on the right the day, the time and the version.
    auto *status = statusBar();
    status->setSizeGripEnabled(false);
    const QFont bold = scaled(status->font(), 0, true);
    auto label = [&](const QString &text = {}) { return new QLabel(text, this); };

    userLabel = label();
    userLabel->setObjectName(QStringLiteral("userLabel"));
    userLabel->setFont(bold);
    userDescriptionLabel = label();
    userDescriptionLabel->setObjectName(QStringLiteral("userDescriptionLabel"));
    departmentLabel = label();
    departmentLabel->setObjectName(QStringLiteral("departmentLabel"));
    departmentLabel->hide();
    yearLabel = label();
    yearLabel->setObjectName(QStringLiteral("yearLabel"));
    yearLabel->setFont(bold);
    fileServerLabel = label(QStringLiteral("Dosya Sunucusu Aktif Değil."));
    fileServerLabel->setObjectName(QStringLiteral("fileServerLabel"));
    KelmaForm::markWarning(fileServerLabel);
    fileServerVersionLabel = label();
    fileServerVersionLabel->setObjectName(QStringLiteral("fileServerVersionLabel"));
    dateLabel = label();
    dateLabel->setObjectName(QStringLiteral("dateLabel"));
    dayLabel = label();
    dayLabel->setObjectName(QStringLiteral("dayLabel"));
    clockLabel = label();
    clockLabel->setObjectName(QStringLiteral("clockLabel"));
    clockLabel->setFont(bold);
    versionLabel = new ClickableLabel(mainwindow::kVersionText, this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    versionLabel->setCursor(Qt::PointingHandCursor);
    versionLabel->setToolTip(QStringLiteral("Versiyon Bilgisi"));

    // The file server's separator comes and goes with its state label.
    m_serverSeparator = separator(this);
    fileServerLabel->installEventFilter(this);
    for (QWidget *w : {static_cast<QWidget *>(label(QStringLiteral("Kullanıcı :"))),
                       static_cast<QWidget *>(userLabel), static_cast<QWidget *>(userDescriptionLabel),
                       static_cast<QWidget *>(departmentLabel), static_cast<QWidget *>(separator(this)),
                       static_cast<QWidget *>(label(QStringLiteral("Çalışma Yılı  :"))),
                       static_cast<QWidget *>(yearLabel), m_serverSeparator,
                       static_cast<QWidget *>(fileServerLabel), static_cast<QWidget *>(fileServerVersionLabel)})
        status->addWidget(w);
    for (QWidget *w : {static_cast<QWidget *>(dateLabel), static_cast<QWidget *>(dayLabel),
                       static_cast<QWidget *>(separator(this)), static_cast<QWidget *>(clockLabel),
                       static_cast<QWidget *>(separator(this)), static_cast<QWidget *>(versionLabel)})
        status->addPermanentWidget(w);
    status->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; } QStatusBar QLabel { padding: 2px 4px; }"));
}

QAction *TFRMMENU::item(QMenu *menu, const QString &caption, int code, void (TFRMMENU::*handler)())
{
    QAction *a = menu->addAction(caption);
    if (handler)
        connect(a, &QAction::triggered, this, handler);
    if (code > 0) {
        m_coded.insert(code, a);
        m_groupCodes.last() << code;
    }
    return a;
}

QFrame *TFRMMENU::buildTitleBand(QWidget *central)
{
    // Title band: the product, and the picture that opens the about screen.
    auto *band = new QFrame(central);
    band->setObjectName(QStringLiteral("Panel2"));
    band->setFrameShape(QFrame::StyledPanel);
    band->setAutoFillBackground(true);
    // A shade apart from the window; a colour scheme paints it as a panel.
    QPalette bandPalette = band->palette();
    bandPalette.setColor(QPalette::Window, bandPalette.color(QPalette::Base));
    band->setPalette(bandPalette);
    logoImage = new ClickableLabel(band);
    logoImage->setObjectName(QStringLiteral("logoImage"));
    logoImage->setPixmap(TFRMABOUT::badge(48, devicePixelRatioF()));
    logoImage->setCursor(Qt::PointingHandCursor);
    logoImage->setToolTip(QStringLiteral("Hakkında"));
    productTitleLabel = new QLabel(QStringLiteral(" FENTA - ARŞİV YÖNETİM PROGRAMI"), band);
    productTitleLabel->setObjectName(QStringLiteral("productTitleLabel"));
    productTitleLabel->setFont(scaled(productTitleLabel->font(), 8, true));
    auto *bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(14, 8, 14, 8);
    bandLayout->setSpacing(12);
    bandLayout->addWidget(logoImage);
    bandLayout->addWidget(productTitleLabel, 1);
    return band;
}

QVBoxLayout *TFRMMENU::buildBody(QWidget *central)
{
    // Body: the institution, its emblem, and what is waiting.
    emblemImage = new QLabel(central);
    emblemImage->setObjectName(QStringLiteral("emblemImage"));
    emblemImage->setAlignment(Qt::AlignCenter);
    institutionLabel = new QLabel(central);
    institutionLabel->setObjectName(QStringLiteral("institutionLabel"));
    institutionLabel->setFont(scaled(institutionLabel->font(), 6, true));
    institutionLabel->setAlignment(Qt::AlignCenter);
    institutionLabel->setWordWrap(true);

    yearWarningLabel = new QLabel(QStringLiteral("DİKKAT! TARİH ÇALIŞMA YILINIZLA UYGUN DEĞİL"), central);
    yearWarningLabel->setObjectName(QStringLiteral("yearWarningLabel"));
    KelmaForm::markWarning(yearWarningLabel);
    yearWarningLabel->setFont(scaled(yearWarningLabel->font(), 0, true));
    yearWarningLabel->setAlignment(Qt::AlignCenter);
    yearWarningLabel->hide();


    buildNotifications(central);

    auto *body = new QVBoxLayout;
    body->setSpacing(14);
    body->addStretch(2);
    body->addWidget(emblemImage, 0, Qt::AlignCenter);
    body->addWidget(institutionLabel);
    body->addSpacing(12);
    body->addWidget(yearWarningLabel);
    auto *panels = new QHBoxLayout;
    panels->setSpacing(16);
    panels->addStretch(1);
    panels->addWidget(notificationsGroup);
    panels->addWidget(deadlinesGroup);
    panels->addStretch(1);
    body->addLayout(panels);
    body->addStretch(3);
    return body;
}

void TFRMMENU::buildNotifications(QWidget *central)
{
    notificationsGroup = new QGroupBox(QStringLiteral("Evrak Durumu"), central);
    notificationsGroup->setObjectName(QStringLiteral("notificationsGroup"));
    notificationsGroup->setMinimumWidth(360);
    auto *counts = new QGridLayout(notificationsGroup);
    counts->setHorizontalSpacing(24);
    counts->setColumnStretch(0, 1);
    QLabel **captions[] = {&notificationCaption1, &notificationCaption2, &notificationCaption3};
    QLabel **numbers[] = {&notificationCount1, &notificationCount2, &notificationCount3};
    for (int i = 0; i < 3; ++i) {
        *captions[i] = new QLabel(notificationsGroup);
        *numbers[i] = new QLabel(notificationsGroup);
        (*captions[i])->setObjectName(QStringLiteral("notificationCaption%1").arg(i + 1));
        (*numbers[i])->setObjectName(QStringLiteral("notificationCount%1").arg(i + 1));
        (*numbers[i])->setFont(scaled((*numbers[i])->font(), 2, true));
        (*numbers[i])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        counts->addWidget(*captions[i], i, 0);
        counts->addWidget(*numbers[i], i, 1);
    }
    notificationsGroup->hide();

    // Reply deadlines, whether or not approval is in use; a click, or Alt and the
    // caption's letter, opens the list. The menu bar has E, R, A and P.
    deadlinesGroup = new QGroupBox(QStringLiteral("Cevap Süreleri"), central);
    deadlinesGroup->setObjectName(QStringLiteral("deadlinesGroup"));
    deadlinesGroup->setMinimumWidth(300);
    auto *deadlineGrid = new QGridLayout(deadlinesGroup);
    deadlineGrid->setHorizontalSpacing(24);
    deadlineGrid->setColumnStretch(0, 1);
    const QString deadlineTexts[] = {QStringLiteral("Süresi Geçen &Gelen Evrak"),
                                     QStringLiteral("Süresi &Yaklaşan Gelen Evrak"),
                                     QStringLiteral("Süresi Geçen &Dilekçe"), QStringLiteral("Süresi Yaklaşan Di&lekçe")};
    const char *names[] = {"overdueIncoming", "nearIncoming", "overduePetitions", "nearPetitions"};
    for (int i = 0; i < 4; ++i) {
        deadlineCaptions[i] = new QPushButton(deadlineTexts[i], deadlinesGroup);
        deadlineCaptions[i]->setObjectName(QLatin1String(names[i]) + QStringLiteral("Caption"));
        deadlineCaptions[i]->setFlat(true);
        deadlineCaptions[i]->setAutoDefault(false);
        deadlineCaptions[i]->setCursor(Qt::PointingHandCursor);
        connect(deadlineCaptions[i], &QPushButton::clicked, this, [this, i] { openDeadlines(i); });
        deadlineCounts[i] = new ClickableLabel(deadlinesGroup);
        deadlineCounts[i]->setObjectName(QLatin1String(names[i]) + QStringLiteral("Count"));
        deadlineCounts[i]->setFont(scaled(deadlineCounts[i]->font(), 2, true));
        deadlineCounts[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        deadlineCounts[i]->setCursor(Qt::PointingHandCursor);
        connect(deadlineCounts[i], &ClickableLabel::clicked, this, [this, i] { openDeadlines(i); });
        deadlineGrid->addWidget(deadlineCaptions[i], i, 0);
        deadlineGrid->addWidget(deadlineCounts[i], i, 1);
    }
    for (int i = 0; i < 4; ++i) {
        // Overdue in red.
        const QString colour = i % 2 == 0 ? QStringLiteral("color: #b00000;") : QString();
        deadlineCaptions[i]->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding: 2px 4px; %1 }").arg(colour));
        deadlineCounts[i]->setStyleSheet(colour);
    }
    deadlinesGroup->hide();
}

QMenu *TFRMMENU::addGroup(const QString &caption)
{
    QMenu *m = menuBar()->addMenu(caption);
    m_groups << m;
    m_groupCodes << QList<int>();
    return m;
}

void TFRMMENU::buildMenu()
{
    buildDocumentsMenu();
    buildReportsMenu();
    buildSettingsMenu();

    // Entries that open nothing are hidden from the outset; for the trimming
    // they still count as shown.
    for (QAction *a : {workflowAction, generalListAction, archiveListAction, workflowReportsAction, filePlanAction, userMonitoringAction})
        a->setVisible(false);

    programEndAction = menuBar()->addAction(QStringLiteral("&Program Sonu"));
    programEndAction->setObjectName(QStringLiteral("programEndAction"));
    connect(programEndAction, &QAction::triggered, this, &TFRMMENU::MenuCikClick);

    // Never shown; its shortcut works anywhere in the window.
    systemAction = new QAction(QStringLiteral("SYSTEM"), this);
    systemAction->setObjectName(QStringLiteral("systemAction"));
    systemAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    systemAction->setShortcutContext(Qt::WindowShortcut);
    connect(systemAction, &QAction::triggered, this, &TFRMMENU::SYSTEM1Click);
    addAction(systemAction);

    connect(versionLabel, &ClickableLabel::clicked, this, &TFRMMENU::LVERClick);
    connect(logoImage, &ClickableLabel::clicked, this, &TFRMMENU::Image1Click);
}

void TFRMMENU::buildDocumentsMenu()
{
    documentsMenu = addGroup(QStringLiteral("&Evrak İşlemleri"));
    documentsMenu->setObjectName(QStringLiteral("documentsMenu"));
    documentsSubmenu = documentsMenu->addMenu(QStringLiteral("&Evrak İşlemleri"));
    documentsSubmenu->setObjectName(QStringLiteral("documentsSubmenu"));
    incomingAction = item(documentsSubmenu, QStringLiteral("&Gelen Evrak"), 1, &TFRMMENU::GelenEvrak1Click);
    incomingAction->setObjectName(QStringLiteral("incomingAction"));
    outgoingAction = item(documentsSubmenu, QStringLiteral("G&iden Evrak"), 2, &TFRMMENU::GidenEvrak1Click);
    outgoingAction->setObjectName(QStringLiteral("outgoingAction"));
    petitionAction = item(documentsSubmenu, QStringLiteral("&Dilekçe"), 3, &TFRMMENU::Dileke1Click);
    petitionAction->setObjectName(QStringLiteral("petitionAction"));
    archiveFilesAction = item(documentsMenu, QStringLiteral("&Arşiv Dosyaları"), 4, &TFRMMENU::ArivDosyalar1Click);
    archiveFilesAction->setObjectName(QStringLiteral("archiveFilesAction"));
    workflowAction = item(documentsMenu, QStringLiteral("İş Akışı Yönetimi"), 5, nullptr);
    workflowAction->setObjectName(QStringLiteral("workflowAction"));
}

void TFRMMENU::buildReportsMenu()
{
    reportsMenu = addGroup(QStringLiteral("&Raporlar"));
    reportsMenu->setObjectName(QStringLiteral("reportsMenu"));
    generalListAction = item(reportsMenu, QStringLiteral("Genel Liste"), 11, &TFRMMENU::GenelListe1Click);
    generalListAction->setObjectName(QStringLiteral("generalListAction"));
    incomingListAction = item(reportsMenu, QStringLiteral("&Gelen Yazılar Listesi"), 12,
                               &TFRMMENU::GelenYazlarDefteri1Click);
    incomingListAction->setObjectName(QStringLiteral("incomingListAction"));
    outgoingListAction = item(reportsMenu, QStringLiteral("G&iden Yazılar Listesi"), 13,
                               &TFRMMENU::GidenYazlarDefteri1Click);
    outgoingListAction->setObjectName(QStringLiteral("outgoingListAction"));
    petitionListAction = item(reportsMenu, QStringLiteral("&Dilekçeler Listesi"), 14, &TFRMMENU::DilekeDefteri1Click);
    petitionListAction->setObjectName(QStringLiteral("petitionListAction"));
    archiveListAction = item(reportsMenu, QStringLiteral("Arşiv Listesi"), 15, nullptr);
    archiveListAction->setObjectName(QStringLiteral("archiveListAction"));
    workflowReportsAction = item(reportsMenu, QStringLiteral("İş Akışı Raporları"), 16, nullptr);
    workflowReportsAction->setObjectName(QStringLiteral("workflowReportsAction"));
    reportsMenu->addSeparator();
    // A general list of the registers: it goes with the right of "Genel Liste" (11).
    overdueReportAction = item(reportsMenu, QStringLiteral("&Süresi Geçen Evraklar"), 0, &TFRMMENU::overdueReportClick);
    overdueReportAction->setObjectName(QStringLiteral("overdueReportAction"));
}

void TFRMMENU::buildSettingsMenu()
{
    settingsMenu = addGroup(QStringLiteral("P&arametreler"));
    settingsMenu->setObjectName(QStringLiteral("settingsMenu"));
    generalDefinitionsAction = item(settingsMenu, QStringLiteral("&Genel Tanımlar"), 21, &TFRMMENU::GenelTanmlar1Click);
    generalDefinitionsAction->setObjectName(QStringLiteral("generalDefinitionsAction"));
    userDefinitionsAction = item(settingsMenu, QStringLiteral("&Kullanıcı Tanımları"), 22,
                           &TFRMMENU::KullancTanmlar1Click);
    userDefinitionsAction->setObjectName(QStringLiteral("userDefinitionsAction"));
    departmentDefinitionsAction = item(settingsMenu, QStringLiteral("&Birim Tanımları"), 23, &TFRMMENU::BirimTanmlar1Click);
    departmentDefinitionsAction->setObjectName(QStringLiteral("departmentDefinitionsAction"));
    bodyDefinitionsAction = item(settingsMenu, QStringLiteral("K&urum Tanımları"), 24, &TFRMMENU::KurumTanmlar1Click);
    bodyDefinitionsAction->setObjectName(QStringLiteral("bodyDefinitionsAction"));
    documentTypeDefinitionsAction = item(settingsMenu, QStringLiteral("&Evrak Türü Tanımları"), 0,
                           &TFRMMENU::EvrakTrTanmlar1Click);
    documentTypeDefinitionsAction->setObjectName(QStringLiteral("documentTypeDefinitionsAction"));
    archiveKindDefinitionsAction = item(settingsMenu, QStringLiteral("&Arşiv Evrak Cinsi Tanımları"), 25,
                              &TFRMMENU::EvrakCinsiTanmlar1Click);
    archiveKindDefinitionsAction->setObjectName(QStringLiteral("archiveKindDefinitionsAction"));
    documentTemplateAction = item(settingsMenu, QStringLiteral("Evrak Şab&lonu"), 26, &TFRMMENU::Evrakablonu1Click);
    documentTemplateAction->setObjectName(QStringLiteral("documentTemplateAction"));
    filePlanAction = item(settingsMenu, QStringLiteral("Standart Dosya Planı"), 27, nullptr);
    filePlanAction->setObjectName(QStringLiteral("filePlanAction"));
    settingsMenu->addSeparator();
    fileCheckAction = item(settingsMenu, QStringLiteral("&Dosya Kontrol İşlemi"), 28,
                             &TFRMMENU::DosyaKontrollemi1Click);
    fileCheckAction->setObjectName(QStringLiteral("fileCheckAction"));
    changePasswordAction = item(settingsMenu, QStringLiteral("Şi&fre Değiş"), 29, &TFRMMENU::ifreDei1Click);
    changePasswordAction->setObjectName(QStringLiteral("changePasswordAction"));
    userMonitoringAction = item(settingsMenu, QStringLiteral("Kullanıcı İzleme"), 30, nullptr);
    userMonitoringAction->setObjectName(QStringLiteral("userMonitoringAction"));
}

void TFRMMENU::applyColour()
{
    // Without a scheme, colour 0 is the platform's own look here.
    KelmaForm::paintScheme(this, m_session);
}

void TFRMMENU::showClock()
{
    clockLabel->setText(m_session.clock().now().toString(QStringLiteral("hh:mm")));
}

void TFRMMENU::showLogo()
{
    emblemImage->clear();
    QPixmap logo;
    if (!m_session.general.LOGO.isEmpty() && logo.loadFromData(m_session.general.LOGO))
        emblemImage->setPixmap(logo.scaled(180, 180, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    emblemImage->setVisible(!logo.isNull());
}

void TFRMMENU::showUser()
{
    userLabel->setText(m_session.LUSR);
    userDescriptionLabel->setText(m_session.LUSRACK);
}

void TFRMMENU::endProgram()
{
    mayClose = true;
    close();
}

bool TFRMMENU::logIn()
{
    Session &s = m_session;
    if (!arguments.isEmpty() && users::commandLineLogin(s, arguments))
        return true;
    TFRMPSSWD dialog(s, this);
    m_runner.run(dialog);
    return dialog.login.result() == users::Login::LoggedIn;
}

void TFRMMENU::FormActivate()
{
    Session &s = m_session;
    if (s.activationGuard)
        return;
    mayClose = false;

    if (s.connectionFailed) {
        TFRMSYSTEM screen(s, this);
        screen.tag = 1;
        m_runner.run(screen);
        if (screen.tag == 0) {
            s.activationGuard = true;
            endProgram();
            return;
        }
        yearLabel->setText(s.workstation.year);
    }
    showClock();

    // A login that cannot be checked ends the run like an abandoned one:
    // nobody works unchecked.
    bool allowed = false;
    guarded(s, [&] {
        const QString udur = users::readUDUR(s.db.IBTransaction1);
        // The rights follow this value even if the later settings read fails.
        s.general.UDUR = udur.left(1);
        if (udur != QLatin1String("1")) {
            allowed = true;
            return;
        }
        if (!logIn())
            return;
        showUser();
        rights::RIGHTSAKTAR(s);
        MENUYAP();
        allowed = true;
    });
    if (!allowed) {
        s.activationGuard = true;
        endProgram();
        return;
    }

    // A database that was just upgraded, is newer than the program or cannot
    // be read ends the run here; the check has said why.
    bool endRun = true;
    guarded(s, [&] {
        fb::Transaction work(s.db.IBDATABASE);
        SchemaUpgrade check(work, s.prompt());
        check.PRGGUNCELLE = [this] { runUpdate(); };
        const SchemaUpgrade::Result r = check.VERKONT();
        s.versionOk = r.versionOk;
        endRun = r.mustEnd;
    });
    if (endRun) {
        s.activationGuard = true;
        endProgram();
        return;
    }

    mayClose = false;
    s.dateTexts = TARIHBUL(s.clock().today().toString(QStringLiteral("dd.MM.yyyy")), s.clock().today());
    dateLabel->setText(s.dateTexts.dateText());
    dayLabel->setText(s.dateTexts.weekdayName);
    showYearWarning();

    if (s.workstation.windowState == QLatin1String("1"))
        showMaximized();
    else if (s.workstation.windowState == QLatin1String("2"))
        showNormal();

    TANIMOKU();
    showLogo();

    if (s.general.TEXTVT == QLatin1String("A"))
        startup::TEXTVTAC(s, s.workstation.year);
    // Local document folders (KLASORKONTROL): added with the attachments.
    if (s.general.ONDUR == QLatin1String("E"))
        EVDURGUNC();
    refreshDeadlines();
    if (s.general.SRVSAKLA == QLatin1String("E"))
        SRVKONTROL();
    else
        fileServerLabel->hide();
    s.activationGuard = true;
}

void TFRMMENU::SRVKONTROL()
{
    Session &s = m_session;
    FileServerClient client(s.general.SRVIPNO, s.general.SRVPORT, s.prompt());
    const QString shown = fileServerVersionLabel->text().isEmpty() ? FileServerClient::uncheckedVersion() : fileServerVersionLabel->text();
    const FileServerCheck check = client.SRVKONTROL(shown);
    fileServerLabel->setText(check.LSRV);
    fileServerVersionLabel->setText(check.LSVER);
    fileServerLabel->show();
    s.activationGuard = true;
}

void TFRMMENU::MENUYAP()
{
    Session &s = m_session;
    const mainwindow::MenuTrim trim = mainwindow::trimMenu(
        m_groupCodes,
        [&](int code) {
            rights::HAKBUL(s, code);
            return s.G;
        },
        // The overdue report goes with code 11, whose own entry is hidden.
        [this](int code) {
            return m_coded.value(code)->isVisible() || (code == 11 && overdueReportAction->isVisible());
        });
    for (int code : trim.hiddenCodes)
        m_coded.value(code)->setVisible(false);
    if (trim.hiddenCodes.contains(11))
        overdueReportAction->setVisible(false);
    for (int group : trim.hiddenGroups)
        m_groups.at(group)->menuAction()->setVisible(false);
    // The sub-group of the registers would open empty as well.
    const bool anyRegister = incomingAction->isVisible() || outgoingAction->isVisible() || petitionAction->isVisible();
    documentsSubmenu->menuAction()->setVisible(anyRegister);
}

void TFRMMENU::TANIMOKU()
{
    Session &s = m_session;
    QString department;
    guarded(s, [&] { department = mainwindow::TANIMOKU(s); });
    institutionLabel->setText(s.general.KURUM);
    if (s.userDepartment > 0) {
        departmentLabel->setText(department);
        departmentLabel->setVisible(!department.isEmpty());
    }
}

void TFRMMENU::EVDURGUNC()
{
    for (QWidget *w : {static_cast<QWidget *>(notificationsGroup), static_cast<QWidget *>(notificationCaption1),
                       static_cast<QWidget *>(notificationCaption2), static_cast<QWidget *>(notificationCaption3),
                       static_cast<QWidget *>(notificationCount1), static_cast<QWidget *>(notificationCount2), static_cast<QWidget *>(notificationCount3)})
        w->hide();
    // A failed count shows its error once; the next tick tries again.
    if (m_refreshing)
        return;
    m_refreshing = true;
    mainwindow::Notifications n;
    const bool ok = guarded(m_session, [&] {
        n = mainwindow::EVDURGUNC(m_session.db.IBTransaction1, m_session.userDepartment);
    });
    m_refreshing = false;
    if (!ok || !n.ran)
        return;
    QLabel *captions[] = {notificationCaption1, notificationCaption2, notificationCaption3};
    QLabel *numbers[] = {notificationCount1, notificationCount2, notificationCount3};
    for (int i = 0; i < 3; ++i) {
        captions[i]->setText(n.captions[i]);
        numbers[i]->setText(QString::number(n.counts[i]));
        captions[i]->show();
        numbers[i]->show();
    }
    notificationsGroup->setVisible(n.anyWaiting());
}

void TFRMMENU::refreshDeadlines()
{
    deadlinesGroup->hide();
    // Like the approval counts: a failed count says so once, the next tick tries again.
    if (m_refreshing || !m_session.versionOk)
        return;
    // Lines of a register the user may not open are left out: a click on them would open nothing.
    const bool incoming = !rights::entryRefused(m_session, 1);
    const bool petitions = !rights::entryRefused(m_session, 3);
    for (int i = 0; i < 4; ++i) {
        deadlineCaptions[i]->setVisible(i < 2 ? incoming : petitions);
        deadlineCounts[i]->setVisible(i < 2 ? incoming : petitions);
    }
    if (!incoming && !petitions)
        return;
    m_refreshing = true;
    deadlines::Counts n;
    const bool ok = guarded(m_session, [&] {
        n = deadlines::count(m_session.db.IBTransaction1, m_session.userDepartment,
                             deadlines::Rules::of(m_session.general), m_session.clock().today());
    });
    m_refreshing = false;
    if (!ok || !n.ran)
        return;
    const qint64 counts[] = {n.overdueIncoming, n.nearIncoming, n.overduePetitions, n.nearPetitions};
    bool anyShown = false;
    for (int i = 0; i < 4; ++i) {
        deadlineCounts[i]->setText(QString::number(counts[i]));
        anyShown = anyShown || (deadlineCounts[i]->isVisibleTo(deadlinesGroup) && counts[i] > 0);
    }
    deadlinesGroup->setVisible(anyShown);
}

void TFRMMENU::openDeadlines(int which)
{
    Session &s = m_session;
    const bool petitions = which >= 2;
    // The line is not shown then; a mnemonic of a hidden button does not fire either.
    if (rights::entryRefused(s, petitions ? 3 : 1))
        return;
    // Overdue or near, of every year and month.
    const QHash<QString, int> presets = {{QStringLiteral("deadlineFilter"), which % 2 == 0 ? 1 : 2},
                                         {QStringLiteral("yearFilter"), 0},
                                         {QStringLiteral("monthFilter"), 0}};
    auto openYear = [this](const QString &year) { return startup::TEXTVTAC(m_session, year); };
    if (petitions)
        showPetitionList(*this, s, m_runner, lists::RegisterList::Mode::Work, openYear, presets);
    else
        showIncomingList(*this, s, m_runner, lists::RegisterList::Mode::Work, openYear, presets);
    refreshDeadlines();
}

void TFRMMENU::overdueReportClick()
{
    Session &s = m_session;
    QList<deadlines::OverdueLine> lines;
    if (!guarded(s, [&] {
            lines = deadlines::overdueLines(s.db.IBTransaction1, s.userDepartment, deadlines::Rules::of(s.general),
                                            s.clock().today());
        }))
        return;
    reports::RowList rows(reports::overdueFields(), deadlines::reportRows(lines));
    reports::ReportDesk desk(s, this);
    guarded(s, [&] { desk.printOverdue(rows, s.general.KURUM, s.clock().today()); });
}

void TFRMMENU::GenelTanimlarRefresh(const QString &yearField)
{
    Session &s = m_session;
    TANIMOKU();
    if (yearField != s.workstation.year) {
        s.workstation.year = yearField.left(4);
        yearLabel->setText(s.workstation.year);
        if (s.general.TEXTVT == QLatin1String("A"))
            startup::TEXTVTAC(s, s.workstation.year);
    }
    showYearWarning();
    // A colour scheme chosen there takes effect at the next start.
    applyColour();
    showLogo();
    refreshDeadlines();
    if (s.general.SRVSAKLA == QLatin1String("E"))
        SRVKONTROL();
}

void TFRMMENU::GelenEvrak1Click()
{
    showIncomingList(*this, m_session, m_runner, lists::RegisterList::Mode::Work,
                     [this](const QString &year) { return startup::TEXTVTAC(m_session, year); });
}
void TFRMMENU::GidenEvrak1Click()
{
    showOutgoingList(*this, m_session, m_runner, lists::RegisterList::Mode::Work,
                     [this](const QString &year) { return startup::TEXTVTAC(m_session, year); });
}
void TFRMMENU::Dileke1Click()
{
    showPetitionList(*this, m_session, m_runner, lists::RegisterList::Mode::Work,
                     [this](const QString &year) { return startup::TEXTVTAC(m_session, year); });
}
void TFRMMENU::ArivDosyalar1Click()
{
    showArchiveList(*this, m_session, m_runner,
                    [this](const QString &year) { return startup::TEXTVTAC(m_session, year); });
}
void TFRMMENU::GenelListe1Click()
{
    // A hidden entry of the menu; it opens nothing.
}
void TFRMMENU::GelenYazlarDefteri1Click()
{
    showIncomingList(*this, m_session, m_runner, lists::RegisterList::Mode::RegisterBook,
                     [this](const QString &year) { return startup::TEXTVTAC(m_session, year); });
}
void TFRMMENU::GidenYazlarDefteri1Click()
{
    showOutgoingList(*this, m_session, m_runner, lists::RegisterList::Mode::RegisterBook,
                     [this](const QString &year) { return startup::TEXTVTAC(m_session, year); });
}
void TFRMMENU::DilekeDefteri1Click()
{
    showPetitionList(*this, m_session, m_runner, lists::RegisterList::Mode::RegisterBook,
                     [this](const QString &year) { return startup::TEXTVTAC(m_session, year); });
}

void TFRMMENU::GenelTanmlar1Click()
{
    // The screen puts its working-year field straight into the session; the
    // refresh compares it with the year the run had until now.
    const QString before = m_session.workstation.year;
    if (definitions::showGenelTanimlar(m_session, m_runner, this) != 1)
        return;
    const QString yearField = m_session.workstation.year;
    m_session.workstation.year = before;
    GenelTanimlarRefresh(yearField);
}

void TFRMMENU::KullancTanmlar1Click()
{
    TFRMUSERSTAN screen(m_session, m_runner, this);
    m_runner.run(screen);
}

void TFRMMENU::BirimTanmlar1Click() { definitions::showBirimTanimlari(m_session, m_runner, this); }
void TFRMMENU::KurumTanmlar1Click() { definitions::showKurumTanimlari(m_session, m_runner, this); }
void TFRMMENU::EvrakTrTanmlar1Click() { definitions::showEvrakTuruTanimlari(m_session, m_runner, this); }
void TFRMMENU::EvrakCinsiTanmlar1Click() { definitions::showEvrakCinsiTanimlari(m_session, m_runner, this); }
void TFRMMENU::Evrakablonu1Click()
{
    TFRMSABLON screen(m_session, m_runner, this);
    m_runner.run(screen);
}
void TFRMMENU::DosyaKontrollemi1Click()
{
    TFRMDKONT screen(m_session, this);
    m_runner.run(screen);
}

void TFRMMENU::ifreDei1Click()
{
    TFRMPASDEG screen(m_session, this);
    screen.userName = m_session.LUSR.left(10);
    m_runner.run(screen);
}

void TFRMMENU::LVERClick()
{
    std::unique_ptr<QSettings> store = m_session.store();
    TFRMVERBILGI screen(m_session, versionLabel->text(), update::serviceAddress(*store), this);
    bool handedOver = false;
    screen.PRGGUNCELLE = [&] { handedOver = runUpdate(); };
    m_runner.run(screen);
    if (handedOver)
        endProgram();
}

bool TFRMMENU::runUpdate()
{
    std::unique_ptr<QSettings> store = m_session.store();
    UpdatePlan plan;
    plan.service = update::serviceAddress(*store);
    plan.installer = update::installer(*store);
    plan.runningVersion = versionLabel->text();
    plan.tempFolder = qEnvironmentVariable("TEMP");
    return updateRunner ? updateRunner(plan) : PRGGUNCELLE(m_session.prompt(), plan, this);
}

void TFRMMENU::Image1Click()
{
    TFRMABOUT screen(m_session, this);
    m_runner.run(screen);
}

void TFRMMENU::SYSTEM1Click()
{
    TFRMSYSTEM screen(m_session, this);
    screen.tag = 2;
    m_runner.run(screen);
    if (screen.tag == 1) {
        TANIMOKU();
        yearLabel->setText(m_session.workstation.year);
    }
    showYearWarning();
}

void TFRMMENU::showYearWarning()
{
    // At start and at every change of the working year, not only after the
    // System item: a clerk must see it before registering into the wrong year.
    yearWarningLabel->setVisible(m_session.workstation.year != QString::number(m_session.clock().today().year()));
}

void TFRMMENU::Timer1Timer()
{
    showClock();
    if (m_session.general.ONDUR == QLatin1String("E"))
        EVDURGUNC();
    refreshDeadlines();
}

void TFRMMENU::MenuCikClick()
{
    // The file server's and the version service's connections are closed here
    // once those clients exist.
    endProgram();
}

bool TFRMMENU::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == fileServerLabel && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        m_serverSeparator->setVisible(event->type() == QEvent::ShowToParent);
    return QMainWindow::eventFilter(watched, event);
}

void TFRMMENU::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // After the window is on screen, so that the first dialog has a parent to sit on.
    QMetaObject::invokeMethod(this, &TFRMMENU::FormActivate, Qt::QueuedConnection);
}

void TFRMMENU::closeEvent(QCloseEvent *event)
{
    if (!mayClose) {
        event->ignore();
        return;
    }
    Session &s = m_session;
    if (isMaximized())
        s.workstation.windowState = QStringLiteral("1");
    else if (!isMinimized())
        s.workstation.windowState = QStringLiteral("2");
    try {
        s.db.closeAll();
    } catch (const fb::Error &e) {
        s.prompt().error(QStringLiteral("DİKKAT! Veritabanı kapatılırken hata oluştu."), e.details());
    }
    {
        s.workstation.user = s.LUSR;
        std::unique_ptr<QSettings> store = s.store();
        workstation::writeAtClose(*store, s.workstation);
    }
    event->accept();
    emit programEnded();
}
