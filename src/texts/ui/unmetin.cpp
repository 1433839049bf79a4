#include "unmetin.h"

#include "core/prompt.h"
#include "core/session.h"
#include "storage/attachments.h"
#include "texts/office.h"

#include <QFile>

TFRMMETIN::TFRMMETIN(Session &session, texts::Office &office, storage::RecordAttachments &attachments, int row,
                     QWidget *parent)
    : WriterEditor(session, office, parent)
    , m_attachments(attachments)
    , m_row(row)
{
    setWindowTitle(QStringLiteral("Belge Metni"));
}

bool TFRMMETIN::edit(Session &session, FormRunner &runner, QWidget *parent, storage::RecordAttachments &attachments,
                     int row)
{
    texts::Office office;
    TFRMMETIN screen(session, office, attachments, row, parent);
    runner.run(screen);
    return screen.tag == 1;
}

bool TFRMMETIN::edits(const QString &beltur)
{
    return beltur == u"5" || beltur == u"7";
}

std::optional<QByteArray> TFRMMETIN::stored()
{
    // Every row this editor opens has a content to start from: new letters are
    // written by TFRMWORD. Rows of the older workstations have no file name and
    // keep their letter in the row itself, which the viewer's reading finds.
    // The file chosen or written in this opening, whatever the storage.
    const int sirno = m_attachments.value(m_row, QStringLiteral("SIRNO")).toInt();
    QString path = m_attachments.stagedFile(sirno);
    storage::Shown shown;
    if (path.isEmpty()) {
        // The content as the attachment viewer finds it: in the database, in the
        // folder or on the file server, an older workstation's stream unpacked.
        shown = m_attachments.show(m_row);
        if (shown.kind == storage::Shown::Document)
            path = shown.path;
    }
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly) || f.size() == 0) {
        // A blank letter saved with F5 would take the stored one's place.
        QString text = QStringLiteral("DİKKAT! Yazının saklanan belgesi okunamadı; düzenleme açılmadı. "
                                      "Saklanan belge yerinde kalır.");
        if (!shown.message.isEmpty())
            text += u'\n' + shown.message;
        m_session.prompt().message(text);
        return std::nullopt;
    }
    return f.readAll();
}

QString TFRMMETIN::fileName() const
{
    return QStringLiteral("%1%2_%3.docx")
        .arg(m_attachments.kind().prefix)
        .arg(m_attachments.kayno())
        .arg(m_attachments.value(m_row, QStringLiteral("SIRNO")).toInt());
}

bool TFRMMETIN::keep(const QByteArray &)
{
    return m_attachments.load(2, m_row, document().path());
}
