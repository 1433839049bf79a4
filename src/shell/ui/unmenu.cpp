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
#include "core/guarded.h"
#include "db/ui/undkont.h"
#include "definitions/ui/definitionsmenu.h"
#include "db/upgrade.h"
#include "storage/fileserverclient.h"
#include "users/ui/unpasdeg.h"
#include "users/ui/unpsswd.h"
#include "users/ui/unuserstan.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
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

    // Title band: the product, and the picture that opens the about screen.
    auto *band = new QFrame(central);
    band->setObjectName(QStringLiteral("Panel2"));
    band->setFrameShape(QFrame::StyledPanel);
    band->setAutoFillBackground(true);
    // A shade apart from the window; a colour scheme paints it as a panel.
    QPalette bandPalette = band->palette();
    bandPalette.setColor(QPalette::Window, bandPalette.color(QPalette::Base));
    band->setPalette(bandPalette);
    Image1 = new ClickableLabel(band);
    Image1->setPixmap(TFRMABOUT::badge(48, devicePixelRatioF()));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("Hakkında"));
    Label5 = new QLabel(QStringLiteral(" FENTA - ARŞİV YÖNETİM PROGRAMI"), band);
    Label5->setFont(scaled(Label5->font(), 8, true));
    auto *bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(14, 8, 14, 8);
    bandLayout->setSpacing(12);
    bandLayout->addWidget(Image1);
    bandLayout->addWidget(Label5, 1);

    // Body: the institution, its emblem, and what is waiting.
    Image2 = new QLabel(central);
    Image2->setAlignment(Qt::AlignCenter);
    LKURUM = new QLabel(central);
    LKURUM->setFont(scaled(LKURUM->font(), 6, true));
    LKURUM->setAlignment(Qt::AlignCenter);
    LKURUM->setWordWrap(true);

    LYDUR = new QLabel(QStringLiteral("DİKKAT! TARİH ÇALIŞMA YILINIZLA UYGUN DEĞİL"), central);
    LYDUR->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    LYDUR->setAlignment(Qt::AlignCenter);
    LYDUR->hide();

    GroupBox2 = new QGroupBox(QStringLiteral("Evrak Durumu"), central);
    GroupBox2->setMinimumWidth(360);
    auto *counts = new QGridLayout(GroupBox2);
    counts->setHorizontalSpacing(24);
    counts->setColumnStretch(0, 1);
    QLabel **captions[] = {&ST1, &ST2, &ST3};
    QLabel **numbers[] = {&SS1, &SS2, &SS3};
    for (int i = 0; i < 3; ++i) {
        *captions[i] = new QLabel(GroupBox2);
        *numbers[i] = new QLabel(GroupBox2);
        (*numbers[i])->setFont(scaled((*numbers[i])->font(), 2, true));
        (*numbers[i])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        counts->addWidget(*captions[i], i, 0);
        counts->addWidget(*numbers[i], i, 1);
    }
    GroupBox2->hide();

    auto *body = new QVBoxLayout;
    body->setSpacing(14);
    body->addStretch(2);
    body->addWidget(Image2, 0, Qt::AlignCenter);
    body->addWidget(LKURUM);
    body->addSpacing(12);
    body->addWidget(LYDUR);
    body->addWidget(GroupBox2, 0, Qt::AlignCenter);
    body->addStretch(3);

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(band);
    layout->addLayout(body, 1);

    buildStatus();
    buildMenu();

    Timer1.setInterval(60000);
    connect(&Timer1, &QTimer::timeout, this, &TFRMMENU::Timer1Timer);
    Timer1.start();

    resize(1024, 700);
    showUser();
    if (!m_session.connectionFailed) {
        LBLYIL->setText(m_session.workstation.year);
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

    LUSR = label();
    LUSR->setFont(bold);
    LUSRACK = label();
    LBRM = label();
    LBRM->hide();
    LBLYIL = label();
    LBLYIL->setFont(bold);
    LSRV = label(QStringLiteral("Dosya Sunucusu Aktif Değil."));
    LSRV->setStyleSheet(QStringLiteral("color: #b00000;"));
    LSVER = label();
    LBLTARIH = label();
    LBLGUN = label();
    STSAAT = label();
    STSAAT->setFont(bold);
    LVER = new ClickableLabel(mainwindow::kVersionText, this);
    LVER->setCursor(Qt::PointingHandCursor);
    LVER->setToolTip(QStringLiteral("Versiyon Bilgisi"));

    // The file server's separator comes and goes with its state label.
    m_serverSeparator = separator(this);
    LSRV->installEventFilter(this);
    for (QWidget *w : {static_cast<QWidget *>(label(QStringLiteral("Kullanıcı :"))),
                       static_cast<QWidget *>(LUSR), static_cast<QWidget *>(LUSRACK),
                       static_cast<QWidget *>(LBRM), static_cast<QWidget *>(separator(this)),
                       static_cast<QWidget *>(label(QStringLiteral("Çalışma Yılı  :"))),
                       static_cast<QWidget *>(LBLYIL), m_serverSeparator,
                       static_cast<QWidget *>(LSRV), static_cast<QWidget *>(LSVER)})
        status->addWidget(w);
    for (QWidget *w : {static_cast<QWidget *>(LBLTARIH), static_cast<QWidget *>(LBLGUN),
                       static_cast<QWidget *>(separator(this)), static_cast<QWidget *>(STSAAT),
                       static_cast<QWidget *>(separator(this)), static_cast<QWidget *>(LVER)})
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

void TFRMMENU::buildMenu()
{
    QMenuBar *bar = menuBar();
    auto group = [&](const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m_groups << m;
        m_groupCodes << QList<int>();
        return m;
    };

    Evrakilemleri1 = group(QStringLiteral("&Evrak İşlemleri"));
    Evrakilemleri2 = Evrakilemleri1->addMenu(QStringLiteral("&Evrak İşlemleri"));
    GelenEvrak1 = item(Evrakilemleri2, QStringLiteral("&Gelen Evrak"), 1, &TFRMMENU::GelenEvrak1Click);
    GidenEvrak1 = item(Evrakilemleri2, QStringLiteral("G&iden Evrak"), 2, &TFRMMENU::GidenEvrak1Click);
    Dileke1 = item(Evrakilemleri2, QStringLiteral("&Dilekçe"), 3, &TFRMMENU::Dileke1Click);
    ArivDosyalar1 = item(Evrakilemleri1, QStringLiteral("&Arşiv Dosyaları"), 4, &TFRMMENU::ArivDosyalar1Click);
    lAkYnetimi1 = item(Evrakilemleri1, QStringLiteral("İş Akışı Yönetimi"), 5, nullptr);

    Raporlar1 = group(QStringLiteral("&Raporlar"));
    GenelListe1 = item(Raporlar1, QStringLiteral("Genel Liste"), 11, &TFRMMENU::GenelListe1Click);
    GelenYazlarDefteri1 = item(Raporlar1, QStringLiteral("&Gelen Yazılar Listesi"), 12,
                               &TFRMMENU::GelenYazlarDefteri1Click);
    GidenYazlarDefteri1 = item(Raporlar1, QStringLiteral("G&iden Yazılar Listesi"), 13,
                               &TFRMMENU::GidenYazlarDefteri1Click);
    DilekeDefteri1 = item(Raporlar1, QStringLiteral("&Dilekçeler Listesi"), 14, &TFRMMENU::DilekeDefteri1Click);
    ArivListesi1 = item(Raporlar1, QStringLiteral("Arşiv Listesi"), 15, nullptr);
    lAkRaporlar1 = item(Raporlar1, QStringLiteral("İş Akışı Raporları"), 16, nullptr);

    Parametreler1 = group(QStringLiteral("P&arametreler"));
    GenelTanmlar1 = item(Parametreler1, QStringLiteral("&Genel Tanımlar"), 21, &TFRMMENU::GenelTanmlar1Click);
    KullancTanmlar1 = item(Parametreler1, QStringLiteral("&Kullanıcı Tanımları"), 22,
                           &TFRMMENU::KullancTanmlar1Click);
    BirimTanmlar1 = item(Parametreler1, QStringLiteral("&Birim Tanımları"), 23, &TFRMMENU::BirimTanmlar1Click);
    KurumTanmlar1 = item(Parametreler1, QStringLiteral("K&urum Tanımları"), 24, &TFRMMENU::KurumTanmlar1Click);
    EvrakTrTanmlar1 = item(Parametreler1, QStringLiteral("&Evrak Türü Tanımları"), 0,
                           &TFRMMENU::EvrakTrTanmlar1Click);
    EvrakCinsiTanmlar1 = item(Parametreler1, QStringLiteral("&Arşiv Evrak Cinsi Tanımları"), 25,
                              &TFRMMENU::EvrakCinsiTanmlar1Click);
    Evrakablonu1 = item(Parametreler1, QStringLiteral("Evrak Şab&lonu"), 26, &TFRMMENU::Evrakablonu1Click);
    StandartDosyaPlan1 = item(Parametreler1, QStringLiteral("Standart Dosya Planı"), 27, nullptr);
    Parametreler1->addSeparator();
    DosyaKontrollemi1 = item(Parametreler1, QStringLiteral("&Dosya Kontrol İşlemi"), 28,
                             &TFRMMENU::DosyaKontrollemi1Click);
    ifreDei1 = item(Parametreler1, QStringLiteral("Şi&fre Değiş"), 29, &TFRMMENU::ifreDei1Click);
    Kullanclzleme1 = item(Parametreler1, QStringLiteral("Kullanıcı İzleme"), 30, nullptr);

    // Entries that open nothing are hidden from the outset; for the trimming
    // they still count as shown.
    for (QAction *a : {lAkYnetimi1, GenelListe1, ArivListesi1, lAkRaporlar1, StandartDosyaPlan1, Kullanclzleme1})
        a->setVisible(false);

    MenuCik = bar->addAction(QStringLiteral("&Program Sonu"));
    connect(MenuCik, &QAction::triggered, this, &TFRMMENU::MenuCikClick);

    // Never shown; its shortcut works anywhere in the window.
    SYSTEM1 = new QAction(QStringLiteral("SYSTEM"), this);
    SYSTEM1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SYSTEM1->setShortcutContext(Qt::WindowShortcut);
    connect(SYSTEM1, &QAction::triggered, this, &TFRMMENU::SYSTEM1Click);
    addAction(SYSTEM1);

    connect(LVER, &ClickableLabel::clicked, this, &TFRMMENU::LVERClick);
    connect(Image1, &ClickableLabel::clicked, this, &TFRMMENU::Image1Click);
}

void TFRMMENU::applyColour()
{
    if (!m_session.colours.applies())
        return; // colour 0 is the platform's own look here
    int r, g, b;
    ColourScheme::rgb(ColourScheme::number(m_session.colours.form), &r, &g, &b);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(r, g, b));
    setPalette(p);
    KelmaForm::paintScheme(this, m_session);
}

void TFRMMENU::showClock()
{
    STSAAT->setText(m_session.clock().now().toString(QStringLiteral("hh:mm")));
}

void TFRMMENU::showLogo()
{
    Image2->clear();
    QPixmap logo;
    if (!m_session.general.LOGO.isEmpty() && logo.loadFromData(m_session.general.LOGO))
        Image2->setPixmap(logo.scaled(180, 180, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image2->setVisible(!logo.isNull());
}

void TFRMMENU::showUser()
{
    LUSR->setText(m_session.LUSR);
    LUSRACK->setText(m_session.LUSRACK);
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
        LBLYIL->setText(s.workstation.year);
    }
    showClock();

    // A login that cannot be checked ends the run like an abandoned one:
    // nobody works unchecked.
    bool allowed = false;
    guarded(s, [&] {
        const QString udur = s.db.IBTransaction1.value(QStringLiteral("SELECT UDUR FROM TANIM")).toString();
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
        SchemaUpgrade check(s.db.IBTransaction1, s.prompt());
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
    LBLTARIH->setText(s.dateTexts.dateText());
    LBLGUN->setText(s.dateTexts.weekdayName);

    if (s.workstation.windowState == QLatin1String("1"))
        showMaximized();
    else if (s.workstation.windowState == QLatin1String("2"))
        showNormal();

    TANIMOKU();
    showLogo();

    if (s.general.TEXTVT == QLatin1String("A")) {
        s.textYear = s.workstation.year;
        startup::TEXTVTAC(s, s.textYear);
    }
    // Local document folders (KLASORKONTROL): added with the attachments.
    if (s.general.ONDUR == QLatin1String("E"))
        EVDURGUNC();
    if (s.general.SRVSAKLA == QLatin1String("E"))
        SRVKONTROL();
    else
        LSRV->hide();
    s.activationGuard = true;
}

void TFRMMENU::SRVKONTROL()
{
    Session &s = m_session;
    FileServerClient client(s.general.SRVIPNO, s.general.SRVPORT, s.prompt());
    const QString shown = LSVER->text().isEmpty() ? FileServerClient::uncheckedVersion() : LSVER->text();
    const FileServerCheck check = client.SRVKONTROL(shown);
    LSRV->setText(check.LSRV);
    LSVER->setText(check.LSVER);
    LSRV->show();
    s.activationGuard = true;
}

void TFRMMENU::MENUYAP()
{
    Session &s = m_session;
    const mainwindow::MenuTrim trim = mainwindow::trimMenu(m_groupCodes, [&](int code) {
        rights::HAKBUL(s, code);
        return s.G;
    });
    for (int code : trim.hiddenCodes)
        m_coded.value(code)->setVisible(false);
    for (int group : trim.hiddenGroups)
        m_groups.at(group)->menuAction()->setVisible(false);
}

void TFRMMENU::TANIMOKU()
{
    Session &s = m_session;
    QString department;
    guarded(s, [&] { department = mainwindow::TANIMOKU(s); });
    LKURUM->setText(s.general.KURUM);
    if (s.userDepartment > 0) {
        LBRM->setText(department);
        LBRM->setVisible(!department.isEmpty());
    }
}

void TFRMMENU::EVDURGUNC()
{
    for (QWidget *w : {static_cast<QWidget *>(GroupBox2), static_cast<QWidget *>(ST1),
                       static_cast<QWidget *>(ST2), static_cast<QWidget *>(ST3),
                       static_cast<QWidget *>(SS1), static_cast<QWidget *>(SS2), static_cast<QWidget *>(SS3)})
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
    QLabel *captions[] = {ST1, ST2, ST3};
    QLabel *numbers[] = {SS1, SS2, SS3};
    for (int i = 0; i < 3; ++i) {
        captions[i]->setText(n.captions[i]);
        numbers[i]->setText(QString::number(n.counts[i]));
        captions[i]->show();
        numbers[i]->show();
    }
    GroupBox2->setVisible(n.anyWaiting());
}

void TFRMMENU::GenelTanimlarRefresh(const QString &yearField)
{
    Session &s = m_session;
    TANIMOKU();
    if (yearField != s.workstation.year) {
        s.workstation.year = yearField.left(4);
        LBLYIL->setText(s.workstation.year);
        if (s.general.TEXTVT == QLatin1String("A")) {
            s.textYear = s.workstation.year;
            startup::TEXTVTAC(s, s.textYear);
        }
    }
    // A colour scheme chosen there takes effect at the next start.
    applyColour();
    showLogo();
    if (s.general.SRVSAKLA == QLatin1String("E"))
        SRVKONTROL();
}

void TFRMMENU::notAvailable()
{
    m_session.prompt().message(QStringLiteral("Bu ekran henüz kullanıma hazır değil."));
}

void TFRMMENU::openList()
{
    // A register list starts without the print screen's return mark.
    m_session.printReturn = false;
    notAvailable();
}

void TFRMMENU::GelenEvrak1Click() { openList(); }
void TFRMMENU::GidenEvrak1Click() { openList(); }
void TFRMMENU::Dileke1Click() { openList(); }
void TFRMMENU::ArivDosyalar1Click() { notAvailable(); }
void TFRMMENU::GenelListe1Click() { notAvailable(); }
void TFRMMENU::GelenYazlarDefteri1Click() { openList(); }
void TFRMMENU::GidenYazlarDefteri1Click() { openList(); }
void TFRMMENU::DilekeDefteri1Click() { openList(); }

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
void TFRMMENU::Evrakablonu1Click() { notAvailable(); }
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
    TFRMVERBILGI screen(m_session, LVER->text(), update::serviceAddress(*store), this);
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
    plan.runningVersion = LVER->text();
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
        LBLYIL->setText(m_session.workstation.year);
    }
    LYDUR->setVisible(m_session.workstation.year != QString::number(m_session.clock().today().year()));
}

void TFRMMENU::Timer1Timer()
{
    showClock();
    if (m_session.general.ONDUR == QLatin1String("E"))
        EVDURGUNC();
}

void TFRMMENU::MenuCikClick()
{
    // The file server's and the version service's connections are closed here
    // once those clients exist.
    endProgram();
}

bool TFRMMENU::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LSRV && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
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
