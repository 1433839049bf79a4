#pragma once

#include <QString>

/// The reversible password scrambling stored in USERS.PSSWD. Other workstations
/// read and write the same form, so it stays byte for byte as it always was:
/// each character goes through the Windows-1254 code page, is shifted by 5 plus
/// its position (16-bit arithmetic), comes back through the code page, and at
/// most 10 characters are kept.
/// Mode u'1' scrambles, u'2' unscrambles; any other mode gives an empty text.
QString SIFRELE(QChar mode, const QString &text);
