#pragma once

#include <QByteArray>
#include <QString>

/// The institution's settings: the one row of TANIM, as read at start and
/// after the general definitions are saved.
struct GeneralSettings
{
    QString KURUM, SUBE, ILKOD;
    int ILCEKOD = 0;
    QString VER, UDUR, ONIZ, IZL, EMAIL;
    QString SRVIPNO, SRVPORT, MSVER, ESDUR;
    QString TEXTVT, SRVSAKLA, TRMSAKLA, VTSAKLA;
    int ABT = 0;
    QString CHSET, ONDUR;
    /// Days a petition has for its reply, and how near a deadline counts as
    /// close; empty or missing columns take these.
    int CEVSURE = 30;
    int CEVYAKIN = 3;
    QByteArray LOGO; ///< institution emblem, as stored
};

namespace fb {
class Transaction;
}

namespace generalsettings {
/// The TANIM row as it stands, without defaults; empty values where the row or a
/// column (older databases) is missing. One-character values keep one character.
GeneralSettings readRow(fb::Transaction &t);
}
