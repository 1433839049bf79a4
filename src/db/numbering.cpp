#include "numbering.h"

namespace numbering {

void lock(fb::Transaction &t)
{
    // A read-committed transaction that waits here sees the other's commit the
    // moment it ends, so the MAX() that follows counts the number just given.
    // Rows are locked as they are fetched.
    t.rows(QStringLiteral("SELECT VER FROM TANIM WITH LOCK"));
}

qint64 next(fb::Transaction &t, const QString &sql, const fb::Params &params)
{
    return t.value(sql, params).toLongLong() + 1;
}

QString busyMessage()
{
    return QStringLiteral("DİKKAT! Başka bir bilgisayar şu anda kayıt numarası alıyor ve "
                          "beklenenden uzun sürdü. Kaydınız yapılmadı, yazdıklarınız ekranda "
                          "duruyor; lütfen F5 ile tekrar deneyiniz.");
}

} // namespace numbering
