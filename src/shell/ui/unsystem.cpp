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
    hostEdit = new QLineEdit(group);
    hostEdit->setObjectName(QStringLiteral("hostEdit"));
    folderEdit = new QLineEdit(group);
    folderEdit->setObjectName(QStringLiteral("folderEdit"));
    chooseFolderButton = new QToolButton(group);
    chooseFolderButton->setObjectName(QStringLiteral("chooseFolderButton"));
    chooseFolderButton->setText(QStringLiteral("..."));
    chooseFolderButton->setToolTip(QStringLiteral("Veritabanı dosyasını seç"));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(folderEdit, 1);
    folderRow->addWidget(chooseFolderButton);
    databaseFileLabel = new QLabel(QStringLiteral("KELMA.GDB"), group);
    databaseFileLabel->setObjectName(QStringLiteral("databaseFileLabel"));
    databaseNameLabel = new QLabel(group);
    databaseNameLabel->setObjectName(QStringLiteral("databaseNameLabel"));
    databaseNameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *hostLabel = new QLabel(QStringLiteral("Ana &Makina"), group);
    hostLabel->setBuddy(hostEdit);
    auto *folderLabel = new QLabel(QStringLiteral("Veritabanı &Yolu"), group);
    folderLabel->setBuddy(folderEdit);
    form->addRow(hostLabel, hostEdit);
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("Veritabanı Dosyası"), databaseFileLabel);
    form->addRow(QString(), databaseNameLabel);

    saveButton = new QPushButton(QStringLiteral("F5-Kayıt"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = new QPushButton(QStringLiteral("F6-Vazgeç"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    saveButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(hostEdit, &QLineEdit::textChanged, this, &TFRMSYSTEM::recompute);
    connect(folderEdit, &QLineEdit::textChanged, this, &TFRMSYSTEM::recompute);
    connect(saveButton, &QPushButton::clicked, this, &TFRMSYSTEM::BitBtn2Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMSYSTEM::BitBtn5Click);
    connect(chooseFolderButton, &QToolButton::clicked, this, &TFRMSYSTEM::SpeedButton2Click);
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
}

void TFRMSYSTEM::FormActivate()
{
    // Only the database's place is edited here. The working year stays the
    // run's own: the store holds it only from the last close.
    std::unique_ptr<QSettings> store = m_session.store();
    folderEdit->setText(store->value(QStringLiteral("YOL")).toString());
    hostEdit->setText(store->value(QStringLiteral("SRV")).toString());
    recompute();
    hostEdit->setFocus();
}

void TFRMSYSTEM::recompute()
{
    databaseFileLabel->setText(QStringLiteral("KELMA.GDB"));
    databaseNameLabel->setText(systemsettings::fullName(hostEdit->text().trimmed(), folderEdit->text().trimmed()));
}

void TFRMSYSTEM::SpeedButton2Click()
{
    const QString file = m_session.prompt().openFile(
        QStringLiteral("Veritabanı Dosyası"), QStringLiteral("Veritabanı Dosyası (*.GDB *.gdb)"),
        folderEdit->text());
    if (file.isEmpty())
        return;
    folderEdit->setText(QFileInfo(file).absolutePath());
}

void TFRMSYSTEM::BitBtn2Click()
{
    const QString message = systemsettings::save(m_session, hostEdit->text().trimmed(),
                                                 folderEdit->text().trimmed());
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
