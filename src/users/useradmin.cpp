#include "useradmin.h"

#include "core/turkish.h"

#include "password.h"
#include "rights.h"
#include "core/sifrele.h"

#include "core/prompt.h"
#include "core/session.h"

#include "db/fb/statement.h"

namespace users {

namespace {

RightsRow toRights(const QVariantList &r)
{
    return {r.value(0).toInt(), r.value(1).toString(), r.value(2).toString(),
            r.value(3).toString(), r.value(4).toString()};
}

} // namespace

QList<UserRow> allUsers(fb::Transaction &t)
{
    QList<UserRow> out;
    fb::Statement s(t, QStringLiteral("SELECT HNO,USR,PSSWD,ACIK,ACIK1,OZEL FROM USERS ORDER BY HNO"));
    s.execute();
    while (s.next())
        out.append(readUser(s));
    return out;
}

QList<RightsRow> rightsOf(fb::Transaction &t, int hno)
{
    QList<RightsRow> out;
    const auto rows = t.rows(QStringLiteral("SELECT KOD,G,K,D,S FROM RIGHTS\nWHERE HNO=:HN\nORDER BY KOD"),
                             {{"HN", hno}});
    for (const QVariantList &r : rows)
        out.append(toRights(r));
    return out;
}

std::optional<RightsRow> rightsRow(fb::Transaction &t, int hno, int kod)
{
    const auto rows = t.rows(QStringLiteral("SELECT KOD,G,K,D,S FROM RIGHTS WHERE HNO=:HN AND KOD=:KOD"),
                             {{"HN", hno}, {"KOD", kod}});
    if (rows.isEmpty())
        return std::nullopt;
    return toRights(rows.first());
}

QString flagText(const QString &flag)
{
    if (flag == QLatin1String("E"))
        return QStringLiteral("Evet");
    if (flag == QLatin1String("H"))
        return QStringLiteral("Hayır");
    return flag;
}

UserAdmin::UserAdmin(Session &session)
    : m_session(session)
{
}

bool UserAdmin::mayChange(const UserRow &selected)
{
    if (selected.USR == kFirstUser && m_session.LUSR != kFirstUser) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Bu Kullanıcı üzerinde değişiklik yapamazsınız."));
        return false;
    }
    return true;
}

bool UserAdmin::confirm(const QString &typed)
{
    const std::optional<UserRow> me = findUser(m_session.db.IBTransaction1, m_session.LUSR);
    // A logged-in name that is no longer stored confirms nothing.
    if (!me || !passwordMatches(me->PSSWD, typed)) {
        m_session.prompt().message(QStringLiteral("Yanlış Şifre Girdiniz..."));
        return false;
    }
    return true;
}

bool UserAdmin::mayDelete(const UserRow &selected)
{
    if (selected.USR == kFirstUser) {
        m_session.prompt().message(QStringLiteral("ZIRVO Kullanıcısını Silemezsiniz...."));
        return false;
    }
    if (selected.USR == m_session.LUSR) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Aktif Kullanıcı Silinemez...."));
        return false;
    }
    return true;
}

void UserAdmin::deleteUser(int hno)
{
    fb::Transaction work(m_session.db.IBDATABASE);
    work.execute(QStringLiteral("DELETE FROM RIGHTS\nWHERE HNO=:HN"), {{"HN", hno}});
    work.execute(QStringLiteral("DELETE FROM USERS\nWHERE HNO=:HN"), {{"HN", hno}});
    work.commit();
}

bool UserAdmin::mayEditRights(const UserRow &selected, const QString &addRight)
{
    // Only an explicit "E" opens them: a user without a row for this screen
    // must not reach its own rights.
    if (rights::inForce(m_session) && addRight != QLatin1String("E")) {
        m_session.prompt().message(QStringLiteral("İşlem Yapma Yetkiniz Yoktur.."));
        return false;
    }
    if (selected.USR == kFirstUser) {
        m_session.prompt().message(QStringLiteral("ZIRVO Kullanıcısının Yetkilerini Değiştiremezsiniz...."));
        return false;
    }
    return true;
}

std::optional<QString> UserAdmin::revealPassword(const UserRow &selected)
{
    // Whoever sits at an open screen is not necessarily its user: only the
    // first user, and only when it says so once more.
    if (m_session.LUSR != kFirstUser)
        return std::nullopt;
    if (!m_session.prompt().question(
            QStringLiteral("DİKKAT! %1 kullanıcısının şifresi ekranda açıkça gösterilecek. Onaylıyor musunuz?")
                .arg(selected.USR.trimmed())))
        return std::nullopt;
    return SIFRELE(u'2', selected.PSSWD);
}

void UserAdmin::saveRights(int hno, const RightsRow &row)
{
    fb::Transaction work(m_session.db.IBDATABASE);
    refuseIfGone(work.execute(
        QStringLiteral("UPDATE RIGHTS SET G=:G, K=:FK, D=:D, S=:S WHERE HNO=:HN AND KOD=:KOD"),
        {{"G", row.G}, {"FK", row.K}, {"D", row.D}, {"S", row.S}, {"HN", hno}, {"KOD", row.KOD}}));
    work.commit();
}

UserRecord::UserRecord(Session &session, Mode mode, int hno)
    : m_session(session)
    , m_mode(mode)
{
    m_row.HNO = hno;
}

bool UserRecord::open()
{
    fb::Transaction &t = m_session.db.IBTransaction1;
    if (m_mode == Change) {
        const std::optional<UserRow> found = findUserByNumber(t, m_row.HNO);
        if (!found) {
            m_session.prompt().message(QStringLiteral("DİKKAT! Kullanıcı kaydı bulunamadı."));
            return false;
        }
        m_row = *found;
    } else {
        m_row = UserRow();
    }
    m_departments.clear();
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT BIRIM,BKOD FROM BIRIM\nWHERE TUR='B'")))
        m_departments.append({r.value(1).toInt(), r.value(0).toString()});
    return true;
}

int UserRecord::departmentIndex() const
{
    for (int i = 0; i < m_departments.size(); ++i) {
        if (m_departments[i].BKOD == m_row.OZEL)
            return i;
    }
    return -1;
}

bool UserRecord::nameEditable() const
{
    return !(m_mode == Change && m_row.USR == kFirstUser);
}

UserRecord::Field UserRecord::save(UserRow values, const QString &repeat)
{
    Prompt &prompt = m_session.prompt();
    // The name check, the number and the rows in one unit: a user half
    // written (no rights) never stays behind.
    fb::Transaction t(m_session.db.IBDATABASE);
    if (!nameEditable())
        values.USR = m_row.USR;
    if (values.USR.trimmed().isEmpty()) {
        prompt.message(QStringLiteral("KULLANICI ADI HATALI.."));
        return Field::Name;
    }
    if (values.PSSWD != repeat) {
        prompt.message(QStringLiteral("ŞİFRENİZİ KONTROL EDİNİZ.."));
        return Field::Password;
    }
    // "ayşe" beside "AYŞE" is one person to whoever reads the list.
    bool taken = false;
    const QString folded = turkish::upper(values.USR.trimmed());
    for (const QVariantList &r : t.rows(QStringLiteral("select HNO,USR from USERS"))) {
        if ((m_mode == New || r.value(0).toInt() != m_row.HNO) && turkish::upper(r.value(1).toString().trimmed()) == folded)
            taken = true;
    }
    if (taken) {
        prompt.message(QStringLiteral("BU KULLANICI ADI KAYITLIDIR.."));
        return Field::Name;
    }
    if (const QString problem = passwordProblem(values.PSSWD); !problem.isEmpty()) {
        prompt.message(problem);
        return Field::Password;
    }
    const fb::Params params = {{"U", values.USR}, {"P", SIFRELE(u'1', values.PSSWD)},
                               {"A", values.ACIK}, {"A1", values.ACIK1}, {"O", values.OZEL}};
    if (m_mode == New) {
        // Numbered at save time, so that two workstations adding users at
        // once do not both take the same number.
        const int hno = t.value(QStringLiteral("select MAX(HNO) SAY from USERS")).toInt() + 1;
        fb::Params p = params;
        p.insert(QStringLiteral("H"), hno);
        t.execute(QStringLiteral("INSERT INTO USERS (HNO,USR,PSSWD,ACIK,ACIK1,OZEL) "
                                 "VALUES (:H,:U,:P,:A,:A1,:O)"), p);
        giveDefaultRights(t, hno);
        values.HNO = hno;
    } else {
        fb::Params p = params;
        p.insert(QStringLiteral("H"), m_row.HNO);
        refuseIfGone(t.execute(QStringLiteral("UPDATE USERS SET USR=:U, PSSWD=:P, ACIK=:A, ACIK1=:A1, OZEL=:O "
                                              "WHERE HNO=:H"), p));
        values.HNO = m_row.HNO;
    }
    t.commit();
    values.PSSWD = SIFRELE(u'1', values.PSSWD);
    m_row = values;
    return Field::None;
}

void UserRecord::giveDefaultRights(fb::Transaction &t, int hno)
{
    // May change, may not add or delete, on every code user 1 has; no user
    // administration.
    const auto codes = t.rows(QStringLiteral("select KOD from RIGHTS\nWHERE HNO=1 ORDER BY KOD"));
    for (const QVariantList &r : codes) {
        t.execute(QStringLiteral("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S)\nVALUES(:HNO,:KOD,:G,:K,:D,:S)"),
                  {{"HNO", hno}, {"KOD", r.value(0)}, {"G", QStringLiteral("E")}, {"K", QStringLiteral("H")},
                   {"D", QStringLiteral("E")}, {"S", QStringLiteral("H")}});
    }
    t.execute(QStringLiteral("UPDATE RIGHTS SET G='H'\nWHERE KOD=22 AND HNO=:HN"), {{"HN", hno}});
}

} // namespace users
