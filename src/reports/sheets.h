#pragma once

#include "layout.h"

#include <QByteArray>
#include <QImage>

namespace reports {

/// What a record screen shows, as it shows it, filled just before printing.
struct RecordSheet
{
    QString number;          ///< GELNO / GIDNO
    QString date;            ///< GELTAR / GIDTAR
    QString fileHeading;     ///< file-plan main heading: code " : " description
    QString fileCode;        ///< the code itself: code " : " description
    QString department;      ///< routed-to department (incoming), sending department (outgoing)
    QString receiverName;    ///< TESADI box
    QString receiverTitle;   ///< TESGOR box
    QString handOverKind;    ///< "İç" or "Dış"
    QString handOverNumber;  ///< ZNO
    QString handOverDate;    ///< ZTAR
    QString documentType;    ///< incoming only
    QString confidentiality;
    QString fileAction;      ///< DOSYA
    QString keepingPeriod;   ///< KRMSURE
    QString body;            ///< sending (incoming) or receiving (outgoing) body
    QString unit;            ///< BIRIM
    QString documentNumber;  ///< EVSAY
    QString documentDate;    ///< EVTAR
    QString way;             ///< "Posta İle", "Elden", "e-Posta", "Diğer"
    QString enclosures;      ///< EKSAY
    QString enclosureText;   ///< EK box
    QString subject;         ///< KONU box
};

Layout incomingSheet(const RecordSheet &sheet, const QImage &logo);
Layout outgoingSheet(const RecordSheet &sheet, const QImage &logo);
/// The letter: formatted text over as many portrait pages as it needs, logo
/// at the top left of the first.
Layout letter(const QString &html, const QImage &logo);
/// One picture filling the printable page.
Layout picturePage(const QImage &picture, PictureMode mode);

/// The institution logo as stored; a null picture when it is empty or no picture.
QImage logoPicture(const QByteArray &stored);
/// A text attachment's content as HTML: RTF, HTML, or plain text (UTF-8 or Windows-1254).
QString letterHtml(const QByteArray &content);
/// The text and simple character formats of an RTF document, as HTML.
QString rtfToHtml(const QByteArray &rtf);

} // namespace reports
