#include "unornek.h"

#include "texts/templates.h"

TFRMORNEK::TFRMORNEK(Session &session, texts::Office &office, int kayno, const QString &description,
                     QWidget *parent)
    : WriterEditor(session, office, parent)
    , m_kayno(kayno)
{
    setWindowTitle(QStringLiteral("Şablon: %1").arg(description));
}

std::optional<QByteArray> TFRMORNEK::stored()
{
    return texts::Templates(m_session).content(m_kayno);
}

QString TFRMORNEK::fileName() const
{
    return QStringLiteral("SABLON_%1.docx").arg(m_kayno);
}

bool TFRMORNEK::keep(const QByteArray &document)
{
    texts::Templates(m_session).store(m_kayno, document);
    return true;
}
