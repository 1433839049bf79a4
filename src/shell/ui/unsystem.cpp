#include "unsystem.h"

#include "core/prompt.h"
#include "core/session.h"
#include "shell/systemsettings.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>

TFRMSYSTEM::TFRMSYSTEM(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("SİSTEM TANIMLARI"));
    auto *group = new QGroupBox(QStringLiteral("Veritabanı Tanımları"), this);
    auto *form = new QFormLayout(group);
    Edit1 = new QLineEdit(group);
    Edit2 = new QLineEdit(group);
    SpeedButton2 = new QToolButton(group);
    SpeedButton2->setText(QStringLiteral("..."));
    SpeedButton2->setToolTip(QStringLiteral("Veritabanı dosyasını seç"));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(Edit2, 1);
    folderRow->addWidget(SpeedButton2);
    STDOSYA = new QLabel(QStringLiteral("KELMA.GDB"), group);
    STFULL = new QLabel(group);
    STFULL->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *hostLabel = new QLabel(QStringLiteral("Ana &Makina"), group);
    hostLabel->setBuddy(Edit1);
    auto *folderLabel = new QLabel(QStringLiteral("Veritabanı &Yolu"), group);
    folderLabel->setBuddy(Edit2);
    form->addRow(hostLabel, Edit1);
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("Veritabanı Dosyası"), STDOSYA);
    form->addRow(QString(), STFULL);

    BitBtn2 = new QPushButton(QStringLiteral("F5-Kayıt"), this);
    BitBtn5 = new QPushButton(QStringLiteral("F6-Vazgeç"), this);
    BitBtn2->setAutoDefault(false);
    BitBtn5->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn5);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(Edit1, &QLineEdit::textChanged, this, &TFRMSYSTEM::recompute);
    connect(Edit2, &QLineEdit::textChanged, this, &TFRMSYSTEM::recompute);
    connect(BitBtn2, &QPushButton::clicked, this, &TFRMSYSTEM::BitBtn2Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TFRMSYSTEM::BitBtn5Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFRMSYSTEM::SpeedButton2Click);
    bindKey(BitBtn2, Qt::Key_F5);
    bindKey(BitBtn5, Qt::Key_F6);
}

void TFRMSYSTEM::FormActivate()
{
    std::unique_ptr<QSettings> store = m_session.store();
    const QString year = store->value(QStringLiteral("YIL")).toString().left(4);
    if (!year.isEmpty())
        m_session.workstation.year = year;
    Edit2->setText(store->value(QStringLiteral("YOL")).toString());
    Edit1->setText(store->value(QStringLiteral("SRV")).toString());
    recompute();
    Edit1->setFocus();
}

void TFRMSYSTEM::recompute()
{
    STDOSYA->setText(QStringLiteral("KELMA.GDB"));
    STFULL->setText(systemsettings::fullName(Edit1->text().trimmed(), Edit2->text().trimmed()));
}

void TFRMSYSTEM::SpeedButton2Click()
{
    const QString file = m_session.prompt().openFile(
        QStringLiteral("Veritabanı Dosyası"), QStringLiteral("Veritabanı Dosyası (*.GDB *.gdb)"),
        Edit2->text());
    if (file.isEmpty())
        return;
    Edit2->setText(QFileInfo(file).absolutePath());
}

void TFRMSYSTEM::BitBtn2Click()
{
    const QString message = systemsettings::save(m_session, Edit1->text().trimmed(),
                                                 Edit2->text().trimmed());
    if (!message.isEmpty()) {
        m_session.prompt().message(message);
        return;
    }
    closeForm(1);
}

void TFRMSYSTEM::BitBtn5Click()
{
    closeForm(0);
}
