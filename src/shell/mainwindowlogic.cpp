#include "mainwindowlogic.h"

#include "core/session.h"

#include "db/fb/transaction.h"

namespace mainwindow {

namespace {

void orDefault(QString &value, const QString &fallback)
{
    if (value.isEmpty())
        value = fallback;
}

const QString kRouting = QStringLiteral("SELECT COUNT(*) SAY FROM EVBRM\n");
const QString kOutgoing = QStringLiteral("SELECT COUNT(*) SAY FROM GIDEN G1\n"
                                         "LEFT JOIN EVBRM G ON(G.TUR=2 AND G.EKAYNO=G1.KAYNO)\n");

qint64 count(fb::Transaction &t, const QString &from, const char *where, int department)
{
    const QString condition = QString::fromUtf8(where);
    fb::Params params;
    if (condition.contains(QLatin1String(":BK")))
        params.insert(QStringLiteral("BK"), department);
    return t.value(from + condition + QStringLiteral(" AND (ONAY<>'E' OR ONAY IS NULL)"), params)
        .toLongLong();
}

} // namespace

QString TANIMOKU(Session &s)
{
    GeneralSettings &g = s.general;
    g = generalsettings::readRow(s.db.IBTransaction1);
    orDefault(g.SRVIPNO, s.workstation.host);
    orDefault(g.SRVPORT, QStringLiteral("6569"));
    orDefault(g.ESDUR, QStringLiteral("Y"));
    orDefault(g.SRVSAKLA, QStringLiteral("H"));
    orDefault(g.TRMSAKLA, QStringLiteral("H"));
    orDefault(g.VTSAKLA, QStringLiteral("E"));
    const QString no = QStringLiteral("H");
    if (g.SRVSAKLA == no && g.TRMSAKLA == no && g.VTSAKLA == no)
        s.prompt().message(QStringLiteral("DİKKAT! Belgelerin Saklanacağı bir ortam tanımlamalısınız."));
    if (s.userDepartment <= 0)
        return {};
    // A department that no longer exists shows no name.
    return s.db.IBTransaction1
        .value(QStringLiteral("SELECT BIRIM FROM BIRIM\nWHERE BKOD=:BB"), {{"BB", s.userDepartment}})
        .toString();
}

bool Notifications::anyWaiting() const
{
    return counts[0] > 0 || counts[1] > 0 || counts[2] > 0;
}

Notifications EVDURGUNC(fb::Transaction &t, int department)
{
    struct Count
    {
        const char16_t *caption;
        const QString &from;
        const char *where;
    };
    // The whole institution, or the user's own department.
    const std::array<Count, 3> institution = {{
        {u"Onay bekleyen Evraklar", kRouting, "WHERE TUR='1'"},
        {u"Gönderilmeyi Bekleyen Evraklar", kRouting, "WHERE TUR='2'"},
        {u"Onay bekleyen İç Zimmet", kOutgoing, "WHERE G.TUR='2' AND ZDUR='İ'"},
    }};
    const std::array<Count, 3> ofDepartment = {{
        {u"Onay Bekleyen Gelen Evraklar", kRouting, "WHERE BKOD=:BK AND TUR='1'"},
        {u"Onaylanmamış Giden İç Zimmetler", kOutgoing, "WHERE G.BKOD=:BK AND G.TUR='2' AND ZDUR='İ'"},
        {u"Bekleyen Giden Evraklar", kOutgoing, "WHERE G1.BIRKOD=:BK AND G.TUR='2' AND ZDUR<>'İ'"},
    }};
    Notifications n;
    if (department < 0)
        return n;
    n.ran = true;
    const std::array<Count, 3> &counts = department == 0 ? institution : ofDepartment;
    for (int i = 0; i < 3; ++i) {
        n.captions[i] = QString::fromUtf16(counts[i].caption);
        n.counts[i] = count(t, counts[i].from, counts[i].where, department);
    }
    return n;
}

MenuTrim trimMenu(const QList<QList<int>> &groupCodes, const std::function<QString(int)> &entryRight,
                  const std::function<bool(int)> &shownFromOutset)
{
    MenuTrim trim;
    for (int group = 0; group < groupCodes.size(); ++group) {
        bool anyStays = false;
        for (int code : groupCodes[group]) {
            if (entryRight(code) == QLatin1String("H"))
                trim.hiddenCodes << code;
            else if (shownFromOutset(code))
                anyStays = true;
        }
        if (!anyStays)
            trim.hiddenGroups << group;
    }
    return trim;
}

} // namespace mainwindow
