#include "generalsettings.h"

#include "db/fb/statement.h"

namespace generalsettings {

GeneralSettings readRow(fb::Transaction &t)
{
    GeneralSettings g;
    fb::Statement s(t, QStringLiteral("SELECT * FROM TANIM"));
    s.execute();
    if (!s.next())
        return g;
    // Older databases lack some columns: whatever is not there stays empty.
    auto text = [&](const char *column, QString &into, int keep = 0) {
        const int i = s.columnIndex(QLatin1String(column));
        if (i < 0)
            return;
        into = s.value(i).toString();
        if (keep)
            into = into.left(keep);
    };
    auto number = [&](const char *column, int &into) {
        const int i = s.columnIndex(QLatin1String(column));
        if (i >= 0)
            into = s.value(i).toInt();
    };
    text("KURUM", g.KURUM);
    text("SUBE", g.SUBE);
    text("ILKOD", g.ILKOD);
    number("ILCEKOD", g.ILCEKOD);
    text("VER", g.VER);
    text("UDUR", g.UDUR, 1);
    text("ONIZ", g.ONIZ, 1);
    text("IZL", g.IZL, 1);
    text("EMAIL", g.EMAIL);
    text("SRVIPNO", g.SRVIPNO);
    text("SRVPORT", g.SRVPORT);
    text("MSVER", g.MSVER, 1);
    text("ESDUR", g.ESDUR, 1);
    text("TEXTVT", g.TEXTVT, 1);
    text("SRVSAKLA", g.SRVSAKLA, 1);
    text("TRMSAKLA", g.TRMSAKLA, 1);
    text("VTSAKLA", g.VTSAKLA, 1);
    number("ABT", g.ABT);
    text("CHSET", g.CHSET, 1);
    text("ONDUR", g.ONDUR, 1);
    auto days = [&](const char *column, int &into) {
        const int i = s.columnIndex(QLatin1String(column));
        if (i >= 0 && !s.value(i).isNull() && s.value(i).toInt() >= 0)
            into = s.value(i).toInt();
    };
    days("CEVSURE", g.CEVSURE);
    days("CEVYAKIN", g.CEVYAKIN);
    const int logo = s.columnIndex(QStringLiteral("LOGO"));
    if (logo >= 0)
        g.LOGO = s.value(logo).toByteArray();
    return g;
}

} // namespace generalsettings
