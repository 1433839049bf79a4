#include "unmenu.h"

#include "unsystem.h"

#include "app/forms/kelmaform.h"
#include "app/prompt.h"
#include "app/session.h"
#include "app/startup.h"

#include "db/fb/error.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QSettings>
#include <QStatusBar>
#include <QVBoxLayout>

TFRMMENU::TFRMMENU(Session &session, FormRunner &runner, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_runner(runner)
{
    setWindowTitle(QStringLiteral("KELMA"));
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Panel1"));
    setCentralWidget(central);

    Label5 = new QLabel(QStringLiteral(" FENTA - ARŞİV YÖNETİM PROGRAMI"), central);
    QFont titleFont = Label5->font();
    titleFont.setPointSize(titleFont.pointSize() + 8);
    titleFont.setBold(true);
    Label5->setFont(titleFont);
    Label5->setAlignment(Qt::AlignCenter);

    LKURUM = new QLabel(central);
    QFont kurumFont = LKURUM->font();
    kurumFont.setPointSize(kurumFont.pointSize() + 4);
    LKURUM->setFont(kurumFont);
    LKURUM->setAlignment(Qt::AlignCenter);

    Image2 = new QLabel(central);
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setMinimumSize(160, 160);

    LYDUR = new QLabel(QStringLiteral("DİKKAT! TARİH ÇALIŞMA YILINIZLA UYGUN DEĞİL"), central);
    LYDUR->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    LYDUR->setAlignment(Qt::AlignCenter);
    LYDUR->hide();

    GroupBox2 = new QGroupBox(QStringLiteral("Evrak Durumu"), central);
    new QGridLayout(GroupBox2);
    GroupBox2->hide();

    auto *layout = new QVBoxLayout(central);
    layout->addStretch(1);
    layout->addWidget(Label5);
    layout->addWidget(LKURUM);
    layout->addWidget(Image2, 0, Qt::AlignCenter);
    layout->addWidget(LYDUR);
    layout->addWidget(GroupBox2, 0, Qt::AlignCenter);
    layout->addStretch(2);

    // Status line: who works, in which year, on which day.
    auto *status = statusBar();
    auto caption = [&](const QString &text) {
        auto *l = new QLabel(text, this);
        status->addWidget(l);
        return l;
    };
    LUSR = new QLabel(this);
    LUSRACK = new QLabel(this);
    LBRM = new QLabel(this);
    caption(QStringLiteral("Kullanıcı :"));
    status->addWidget(LUSR);
    status->addWidget(LUSRACK);
    status->addWidget(LBRM);
    caption(QStringLiteral("Çalışma Yılı  :"));
    LBLYIL = new QLabel(this);
    QFont bold = LBLYIL->font();
    bold.setBold(true);
    LBLYIL->setFont(bold);
    status->addWidget(LBLYIL);
    LSRV = new QLabel(QStringLiteral("Dosya Sunucusu Aktif Değil."), this);
    LSVER = new QLabel(this);
    status->addWidget(LSRV);
    status->addWidget(LSVER);
    LBLTARIH = new QLabel(this);
    LBLGUN = new QLabel(this);
    STSAAT = new QLabel(this);
    STSAAT->setFont(bold);
    LVER = new QLabel(this);
    status->addPermanentWidget(LBLTARIH);
    status->addPermanentWidget(LBLGUN);
    status->addPermanentWidget(STSAAT);
    status->addPermanentWidget(LVER);

    buildMenu();

    Timer1.setInterval(60000);
    connect(&Timer1, &QTimer::timeout, this, &TFRMMENU::Timer1Timer);
    Timer1.start();

    resize(1024, 700);
    LUSR->setText(m_session.LUSR);
    if (!m_session.connectionFailed) {
        LBLYIL->setText(m_session.workstation.year);
        applyColour();
    }
}

void TFRMMENU::buildMenu()
{
    MenuCik = menuBar()->addAction(QStringLiteral("&Program Sonu"));
    connect(MenuCik, &QAction::triggered, this, &TFRMMENU::MenuCikClick);

    // Never shown; its shortcut works anywhere in the window.
    SYSTEM1 = new QAction(QStringLiteral("SYSTEM"), this);
    SYSTEM1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SYSTEM1->setShortcutContext(Qt::WindowShortcut);
    connect(SYSTEM1, &QAction::triggered, this, &TFRMMENU::SYSTEM1Click);
    addAction(SYSTEM1);
}

void TFRMMENU::applyColour()
{
    int r, g, b;
    ColourScheme::rgb(ColourScheme::number(m_session.colours.form), &r, &g, &b);
    if (!m_session.colours.applies())
        return; // colour 0 is the platform's own look here
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
        Image2->setPixmap(logo.scaled(160, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TFRMMENU::endProgram()
{
    mayClose = true;
    close();
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

    const QString udur = s.db.IBTransaction1.value(QStringLiteral("SELECT UDUR FROM TANIM")).toString();
    if (udur == QLatin1String("1")) {
        // Login, rights and menu trimming: added with the users and rights screens.
    }

    // Schema version check: added with the upgrade steps; it may end the run here.

    mayClose = false;
    // Date texts (TARIHBUL): added with the rest of the main window.

    if (s.workstation.windowState == QLatin1String("1"))
        showMaximized();
    else if (s.workstation.windowState == QLatin1String("2"))
        showNormal();

    s.general = generalsettings::readRow(s.db.IBTransaction1);
    LKURUM->setText(s.general.KURUM);
    showLogo();

    if (s.general.TEXTVT == QLatin1String("A")) {
        s.textYear = s.workstation.year;
        startup::TEXTVTAC(s, s.textYear);
    }
    // Local document folders (KLASORKONTROL): added with the attachments.
    // Approval notifications (EVDURGUNC): added with the rest of the main window.
    if (s.general.SRVSAKLA == QLatin1String("E")) {
        // File server check (SRVKONTROL): added with the file server client.
    } else {
        LSRV->hide();
    }
    s.activationGuard = true;
}

void TFRMMENU::SYSTEM1Click()
{
    TFRMSYSTEM screen(m_session, this);
    screen.tag = 2;
    m_runner.run(screen);
    if (screen.tag == 1) {
        m_session.general = generalsettings::readRow(m_session.db.IBTransaction1);
        LBLYIL->setText(m_session.workstation.year);
    }
    LYDUR->setVisible(m_session.workstation.year != QString::number(m_session.clock().today().year()));
}

void TFRMMENU::Timer1Timer()
{
    showClock();
}

void TFRMMENU::MenuCikClick()
{
    // The file server's and the version service's connections are closed here
    // once those clients exist.
    endProgram();
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
