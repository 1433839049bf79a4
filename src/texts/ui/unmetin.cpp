#include "unmetin.h"

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

QByteArray TFRMMETIN::stored()
{
    // The content as the attachment viewer finds it: pending, in the database,
    // in the folder or on the file server, an older workstation's stream unpacked.
    const storage::Shown shown = m_attachments.show(m_row);
    QFile f(shown.path);
    if (shown.kind != storage::Shown::Document || !f.open(QIODevice::ReadOnly))
        return {};
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
