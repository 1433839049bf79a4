#include "rights.h"

#include "core/session.h"

#include "db/fb/transaction.h"

namespace rights {

bool inForce(const Session &s)
{
    return s.general.UDUR == QLatin1String("1");
}

void RIGHTSAKTAR(Session &s)
{
    s.GRDUSER.clear();
    const auto rows = s.db.IBTransaction1.rows(
        QStringLiteral("SELECT KOD,G,K,D,S FROM RIGHTS\nWHERE HNO=:HN"), {{"HN", s.userNumber}});
    for (const QVariantList &r : rows) {
        if (s.GRDUSER.size() == kGridRows)
            break;
        QStringList row;
        for (const QVariant &v : r)
            row << v.toString();
        s.GRDUSER << row;
    }
}

void HAKBUL(Session &s, int code)
{
    s.G.clear();
    s.K.clear();
    s.D.clear();
    s.S.clear();
    const QString key = QString::number(code);
    for (const QStringList &row : std::as_const(s.GRDUSER)) {
        if (row.value(0) == key) {
            s.G = row.value(1);
            s.K = row.value(2);
            s.D = row.value(3);
            s.S = row.value(4);
            return;
        }
    }
}

const QString &current(const Session &s, Flag flag)
{
    switch (flag) {
    case Flag::G: return s.G;
    case Flag::K: return s.K;
    case Flag::D: return s.D;
    case Flag::S: return s.S;
    }
    return s.G;
}

QString caption(int code)
{
    switch (code) {
    case 1: return QStringLiteral("Gelen Evrak");
    case 2: return QStringLiteral("Giden Evrak");
    case 3: return QStringLiteral("Dilekçeler");
    case 4: return QStringLiteral("Arşiv İşlemleri");
    case 5: return QStringLiteral("İş Akışı");
    case 6: return QStringLiteral("Evrak Onayı");
    case 11: return QStringLiteral("Genel Liste");
    case 12: return QStringLiteral("Gelen Yazılar Defteri");
    case 13: return QStringLiteral("Giden Yazılar Defteri");
    case 14: return QStringLiteral("Dilekçe Defteri");
    case 15: return QStringLiteral("Arşiv Raporları");
    case 16: return QStringLiteral("İş Akışı Raporları");
    case 21: return QStringLiteral("Genel Tanımlar");
    case 22: return QStringLiteral("Kullanıcı Tanımları");
    case 23: return QStringLiteral("Birim Tanımları");
    case 24: return QStringLiteral("Kurum Tanımları");
    case 25: return QStringLiteral("Evrak Cinsi Tanımları");
    case 26: return QStringLiteral("Evrak Şablonları");
    case 27: return QStringLiteral("Standart Dosya Planı");
    case 28: return QStringLiteral("Dosya Kontrol");
    case 29: return QStringLiteral("Şifre Değiştirme");
    case 30: return QStringLiteral("Kullanıcı İzleme");
    default: return {};
    }
}

} // namespace rights
