#include "login.h"

#include "core/sifrele.h"

#include "core/prompt.h"
#include "core/session.h"

#include "db/fb/statement.h"

namespace users {

UserRow readUser(const fb::Statement &s)
{
    UserRow u;
    u.HNO = s.value(0).toInt();
    u.USR = s.value(1).toString();
    u.PSSWD = s.value(2).toString();
    u.ACIK = s.value(3).toString();
    u.ACIK1 = s.value(4).toString();
    u.OZEL = s.value(5).toInt();
    return u;
}

namespace {

std::optional<UserRow> firstUser(fb::Transaction &t, const QString &where, const fb::Params &params)
{
    fb::Statement s(t, QStringLiteral("SELECT HNO,USR,PSSWD,ACIK,ACIK1,OZEL FROM USERS\n") + where);
    s.bindAll(params);
    s.execute();
    if (!s.next())
        return std::nullopt;
    return readUser(s);
}

} // namespace

std::optional<UserRow> findUser(fb::Transaction &t, const QString &name)
{
    return firstUser(t, QStringLiteral("WHERE USR=:U"), {{"U", name}});
}

std::optional<UserRow> findUserByNumber(fb::Transaction &t, int hno)
{
    return firstUser(t, QStringLiteral("WHERE HNO=:H"), {{"H", hno}});
}

bool passwordMatches(const QString &stored, const QString &typed)
{
    return SIFRELE(u'2', stored) == typed;
}

Login::Login(Session &session)
    : m_session(session)
{
}

void Login::open()
{
    m_result = Open;
    m_attempt = 1;
}

Login::Check Login::Tamam(const QString &name, const QString &password)
{
    Session &s = m_session;
    s.userDepartment = 0;
    // The fourth try is the last, right or wrong.
    if (m_attempt == 4)
        m_result = Abandoned;
    const std::optional<UserRow> user = findUser(s.db.IBTransaction1, name);
    if (!user) {
        s.prompt().message(QStringLiteral(" KULLANICI ADI HATALI"));
        ++m_attempt;
        return Check::UnknownUser;
    }
    if (!passwordMatches(user->PSSWD, password)) {
        s.prompt().message(QStringLiteral(" YANLIŞ ŞİFRE "));
        ++m_attempt;
        return Check::WrongPassword;
    }
    s.userNumber = user->HNO;
    m_result = LoggedIn;
    // The stored spelling: the engine ignores trailing blanks when it compares.
    s.LUSR = user->USR;
    s.LUSRACK = user->ACIK;
    s.userDepartment = user->OZEL;
    return Check::Ok;
}

bool commandLineLogin(Session &s, const QStringList &arguments)
{
    s.userDepartment = 0;
    if (arguments.isEmpty())
        return false;
    const std::optional<UserRow> user = findUser(s.db.IBTransaction1, arguments.value(0));
    if (!user || !passwordMatches(user->PSSWD, arguments.value(1)))
        return false;
    s.userNumber = user->HNO;
    s.LUSR = user->USR;
    s.LUSRACK = user->ACIK;
    // Bound to a department like a dialog login, or the user would see every one's rows.
    s.userDepartment = user->OZEL;
    return true;
}

} // namespace users
