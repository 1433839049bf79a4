#include "unword.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"
#include "storage/attachments.h"
#include "texts/office.h"

#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TFRMWORD::TFRMWORD(Session &session, texts::Office &office, storage::RecordAttachments &attachments,
                   const texts::LetterFields &fields, QWidget *parent)
    : WriterEditor(session, office, parent)
    , m_attachments(attachments)
    , m_fields(fields)
{
    setWindowTitle(QStringLiteral("Giden Evrak Metni"));
    templateButton = new QPushButton(QStringLiteral("F2-Şablon &Ekle"), this);
    templateButton->setObjectName(QStringLiteral("templateButton"));
    templateButton->setAutoDefault(false);
    templateMenu = new QMenu(templateButton);
    templateMenu->setObjectName(QStringLiteral("templateMenu"));
    // A menu below the button would leave the screen when long: Qt moves it up to fit.
    templateButton->setMenu(templateMenu);
    bindKey(templateButton, Qt::Key_F2);
    body()->addWidget(templateButton, 0, Qt::AlignLeft);
}

bool TFRMWORD::write(Session &session, FormRunner &runner, QWidget *parent, storage::RecordAttachments &attachments,
                     const texts::LetterFields &fields)
{
    texts::Office office;
    TFRMWORD screen(session, office, attachments, fields, parent);
    runner.run(screen);
    return screen.tag == 1;
}

void TFRMWORD::FormActivate()
{
    WriterEditor::FormActivate();
    if (!mayClose)
        guarded(m_session, [this] { POPUPDOLDUR(); });
}

void TFRMWORD::POPUPDOLDUR()
{
    templateMenu->clear();
    for (const texts::Template &t : texts::Templates(m_session).list()) {
        QAction *entry = templateMenu->addAction(t.description);
        entry->setData(t.kayno);
        connect(entry, &QAction::triggered, this, [this, kayno = t.kayno] { POPUPCLICK(kayno); });
    }
    templateButton->setEnabled(!templateMenu->isEmpty());
}

void TFRMWORD::POPUPCLICK(int kayno)
{
    if (document().isOpenInWriter()) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Yazı LibreOffice Writer'da açık. Önce Writer'da kaydedip kapatınız."));
        return;
    }
    if (!m_session.prompt().question(QStringLiteral("DİKKAT Bu Evrak İçeriği Silinip Belirtilen Şablon bilgisi "
                                                    "yüklenecektir. ONAYLIYORMUSUNUZ")))
        return;
    QByteArray content;
    if (!guarded(m_session, [&] { content = texts::Templates(m_session).content(kayno); }))
        return;
    if (document().useTemplate(content, texts::placeholders(m_fields)))
        document().openInWriter();
}

QString TFRMWORD::fileName() const
{
    return QStringLiteral("%1%2_%3.docx").arg(m_attachments.kind().prefix).arg(m_attachments.kayno())
        .arg(m_attachments.nextSirno());
}

bool TFRMWORD::keep(const QByteArray &)
{
    return m_attachments.load(1, -1, document().path());
}
