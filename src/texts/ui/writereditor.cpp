#include "writereditor.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"
#include "kit/buttonrow.h"
#include "reports/ui/reportdesk.h"
#include "texts/office.h"
#include "texts/wordfile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

WriterEditor::WriterEditor(Session &session, texts::Office &office, QWidget *parent)
    : KelmaForm(session, parent)
    , m_office(office)
    , m_document(office, session.prompt())
{
    resize(560, 260);
    auto *layout = new QVBoxLayout(this);
    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("noteLabel"));
    noteLabel->setWordWrap(true);
    noteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(noteLabel);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body);
    layout->addStretch();

    saveButton = new QPushButton(QStringLiteral("F5-Kayıt"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = new QPushButton(QStringLiteral("F6-Vazgeç"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    reopenButton = new QPushButton(QStringLiteral("F4-&Writer'da Aç"), this);
    reopenButton->setObjectName(QStringLiteral("reopenButton"));
    printButton = new QPushButton(QStringLiteral("Yazdır"), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    printButton->hide();
    reopenButton->setMinimumWidth(reopenButton->sizeHint().width());
    layout->addLayout(buttonRow({printButton, reopenButton, saveButton, cancelButton}));
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
    bindKey(reopenButton, Qt::Key_F4);
    connect(saveButton, &QPushButton::clicked, this, &WriterEditor::save);
    connect(cancelButton, &QPushButton::clicked, this, &WriterEditor::cancel);
    connect(reopenButton, &QPushButton::clicked, this, &WriterEditor::reopen);
    connect(printButton, &QPushButton::clicked, this, &WriterEditor::print);

    printLetter = [this](const QByteArray &html) {
        reports::ReportDesk desk(m_session, this);
        desk.printLetter(html);
    };
}

void WriterEditor::FormActivate()
{
    if (m_opened)
        return;
    m_opened = true;
    if (!m_office.available()) {
        m_session.prompt().message(texts::Office::missingMessage());
        closeForm(0);
        return;
    }
    std::optional<QByteArray> content;
    if (!guarded(m_session, [&] { content = stored(); }) || !content || !m_document.prepare(fileName(), *content)) {
        closeForm(0);
        return;
    }
    showNote();
    if (opensAtOnce())
        m_document.openInWriter();
}

void WriterEditor::showNote()
{
    noteLabel->setText(QStringLiteral(
        "Belge LibreOffice Writer'da, ayrı bir pencerede düzenlenir:\n%1\n\n"
        "Writer'da kaydedip kapattıktan sonra buradan F5-Kayıt ile alınız; "
        "F6-Vazgeç saklanan belgeyi değiştirmez.").arg(QDir::toNativeSeparators(m_document.path())));
}

void WriterEditor::save()
{
    const std::optional<QByteArray> taken = m_document.take();
    if (!taken)
        return;
    bool kept = false;
    guarded(m_session, [&] { kept = keep(*taken); });
    if (kept)
        closeForm(1);
}

void WriterEditor::cancel()
{
    if (m_document.mayLeave())
        closeForm(0);
}

void WriterEditor::reopen()
{
    if (m_document.isOpenInWriter()) {
        m_session.prompt().message(QStringLiteral("Belge LibreOffice Writer'da zaten açık."));
        return;
    }
    m_document.openInWriter();
}

void WriterEditor::print()
{
    QFile f(m_document.path());
    if (!f.open(QIODevice::ReadOnly) || !printLetter)
        return;
    printLetter(wordfile::html(f.readAll()).toUtf8());
}
