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
    Label1 = new QLabel(QStringLiteral("Kontrol İşlemi Yapmadan Önce YEDEK Almayı Unutmayınız..."), this);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setStyleSheet(QStringLiteral("color: #ff0000;"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);

    PopupMenu1 = new QMenu(this);
    Generator1 = PopupMenu1->addAction(QStringLiteral("Generatör Kontrolü"));
    KullaniciHaklari1 = PopupMenu1->addAction(QStringLiteral("Kullanıcı Hakları Düzenle"));
    BelgeKontrolleri1 = PopupMenu1->addAction(QStringLiteral("Belge Kontrolleri"));
    connect(Memo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(Memo1->viewport()->mapToGlobal(at)); });
    connect(Generator1, &QAction::triggered, this, &TFRMDKONT::Generator1Click);
    connect(KullaniciHaklari1, &QAction::triggered, this, &TFRMDKONT::KullaniciHaklari1Click);
    connect(BelgeKontrolleri1, &QAction::triggered, this, &TFRMDKONT::BelgeKontrolleri1Click);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();

    BitBtn1 = new QPushButton(QStringLiteral("ESC-Çıkış"), this);
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMDKONT::BitBtn1Click);
    bindKey(BitBtn1, Qt::Key_Escape);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ProgressBar1, 1);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
    resize(560, 420);
}

void TFRMDKONT::FormActivate()
{
    Memo1->clear();
}

void TFRMDKONT::log(const QString &line)
{
    Memo1->appendPlainText(line);
}

template<class Check>
void TFRMDKONT::run(Check check)
{
    ConsistencyChecks checks(
        m_session.db.IBDATABASE, [this](const QString &line) { log(line); },
        [this](int done, int total) {
            ProgressBar1->setMaximum(total);
            ProgressBar1->setValue(done);
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
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    run(&ConsistencyChecks::completeRights);
    ProgressBar1->hide();
}

void TFRMDKONT::BelgeKontrolleri1Click()
{
    run(&ConsistencyChecks::reportEmptyAttachments);
}

void TFRMDKONT::BitBtn1Click()
{
    closeForm(0);
}
