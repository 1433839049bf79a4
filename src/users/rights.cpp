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

bool entryRefused(const Session &s, int code)
{
    if (!inForce(s))
        return false;
    const QString key = QString::number(code);
    for (const QStringList &row : std::as_const(s.GRDUSER)) {
        if (row.value(0) == key)
            return row.value(1) == QLatin1String("H");
    }
    return false;
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
    case 50: return QStringLiteral("Şifre Kaydı");
    default: return {};
    }
}

const QList<CodeUse> &codeUses()
{
    // These entries open no screen yet and stay hidden whatever the rights say.
    static const QString kNoScreen = QStringLiteral("Menü girişi henüz bir ekran açmıyor; yetkilerin etkisi yok");
    // G of a code with a menu entry hides that entry (and its group when
    // nothing else stays); the other flags only where a screen reads them.
    static const QList<CodeUse> uses = {
        {1, true, true, true, true,
         QStringLiteral("Menü \"Gelen Evrak\" ve ana penceredeki \"Cevap Süreleri\" satırları; gelen evrak "
                        "listesinde F2/F4/F10, gelen evrak kaydında F5-Kayıt (yeni kayıtta Kayıt, değişiklikte Değiş yetkisi) ve ek belge düğmeleri (yeni kayıtta "
                        "Ekle için Kayıt; kayıtlı evrakta Değiş için Değiş, Sil için Silme yetkisi)")},
        {2, true, true, true, true,
         QStringLiteral("Menü \"Giden Evrak\"; giden evrak listesinde F2/F4/F10, giden evrak kaydında F5-Kayıt")},
        {3, true, true, true, true,
         QStringLiteral("Menü \"Dilekçe\" ve ana penceredeki \"Cevap Süreleri\" satırları; dilekçe listesinde "
                        "F2/F4/F10, dilekçe kaydında F5-Kayıt")},
        {4, true, true, true, true, QStringLiteral("Menü \"Arşiv Dosyaları\"; arşiv listesinde F2/F4/F10")},
        {5, false, false, false, false, kNoScreen},
        {6, false, true, false, false,
         QStringLiteral("Gelen, giden ve dilekçe listelerinde \"Onayla\" (Kayıt yetkisi)")},
        {11, true, false, false, false, QStringLiteral("Menü \"Süresi Geçen Evraklar\" (Raporlar)")},
        {12, true, false, false, false, QStringLiteral("Menü \"Gelen Yazılar Listesi\"")},
        {13, true, false, false, false, QStringLiteral("Menü \"Giden Yazılar Listesi\"")},
        {14, true, false, false, false, QStringLiteral("Menü \"Dilekçeler Listesi\"")},
        {15, false, false, false, false, kNoScreen},
        {16, false, false, false, false, kNoScreen},
        {21, true, false, false, false, QStringLiteral("Menü \"Genel Tanımlar\"")},
        {22, true, true, true, true,
         QStringLiteral("Menü \"Kullanıcı Tanımları\"; kullanıcı ekranında F2/F4/F10 ve yetki değiştirme "
                        "(Kayıt yetkisi)")},
        {23, true, false, false, false, QStringLiteral("Menü \"Birim Tanımları\"")},
        {24, true, true, false, false,
         QStringLiteral("Menü \"Kurum Tanımları\"; gelen ve giden evrak kaydında kurum seçme ve yeni kurum "
                        "düğmesi (Giriş), gelen evrakta \"Kurum Tanımı Ekle\" (Kayıt)")},
        {25, true, false, false, false, QStringLiteral("Menü \"Arşiv Evrak Cinsi Tanımları\"")},
        {26, true, false, false, false, QStringLiteral("Menü \"Evrak Şablonu\"")},
        {27, false, false, false, false, kNoScreen},
        {28, true, false, false, false, QStringLiteral("Menü \"Dosya Kontrol İşlemi\"")},
        {29, true, false, false, false, QStringLiteral("Menü \"Şifre Değiş\"")},
        {30, false, false, false, false, kNoScreen},
        {50, false, true, true, false,
         QStringLiteral("Şifre değiştirme ekranında F5-Kayıt (Kayıt ya da Değiş yetkisi)")},
    };
    return uses;
}

CodeUse codeUse(int code)
{
    for (const CodeUse &u : codeUses()) {
        if (u.code == code)
            return u;
    }
    return {code, false, false, false, false, {}};
}

bool takesEffect(int code, Flag flag)
{
    const CodeUse u = codeUse(code);
    switch (flag) {
    case Flag::G: return u.G;
    case Flag::K: return u.K;
    case Flag::D: return u.D;
    case Flag::S: return u.S;
    }
    return false;
}

} // namespace rights
