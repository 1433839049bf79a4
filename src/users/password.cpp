#include "password.h"

#include "db/fb/error.h"

#include "core/sifrele.h"

#include "core/prompt.h"
#include "core/session.h"

#include "db/fb/transaction.h"

namespace users {

QString passwordProblem(const QString &password)
{
    if (password.size() > kPasswordLength)
        return QStringLiteral("DİKKAT! Şifre en fazla %1 karakter olabilir.").arg(kPasswordLength);
    if (SIFRELE(u'2', SIFRELE(u'1', password)) != password)
        return QStringLiteral("DİKKAT! Bu şifredeki bazı karakterler saklanamaz; "
                              "başka bir şifre giriniz.");
    return {};
}

void refuseIfGone(qint64 rowsChanged)
{
    if (rowsChanged == 0) {
        throw fb::Error(QStringLiteral(
            "Kayıt bulunamadı; başka bir kullanıcı tarafından silinmiş olabilir."));
    }
}

PasswordChange::PasswordChange(Session &session, QString userName)
    : m_session(session)
    , m_userName(userName.left(kNameLength))
{
}

bool PasswordChange::open()
{
    const std::optional<UserRow> user = findUser(m_session.db.IBTransaction1, m_userName);
    if (!user) {
        m_user = UserRow();
        m_session.prompt().message(
            QStringLiteral("DİKKAT! %1 adlı kullanıcı kayıtlı değil.").arg(m_userName));
        return false;
    }
    m_user = *user;
    return true;
}

PasswordChange::Field PasswordChange::save(const QString &oldPassword, const QString &newPassword,
                                           const QString &repeat)
{
    Session &s = m_session;
    fb::Transaction work(s.db.IBDATABASE);
    // Read afresh: another workstation may have changed it meanwhile.
    const std::optional<UserRow> stored = findUser(work, m_userName);
    if (!stored || !passwordMatches(stored->PSSWD, oldPassword)) {
        s.prompt().message(QStringLiteral("ESKİ ŞİFRE HATALI.."));
        return Field::Old;
    }
    if (newPassword != repeat) {
        s.prompt().message(QStringLiteral("ŞİFRENİZİ KONTROL EDİNİZ.."));
        return Field::New;
    }
    if (const QString problem = passwordProblem(repeat); !problem.isEmpty()) {
        s.prompt().message(problem);
        return Field::New;
    }
    refuseIfGone(work.execute(QStringLiteral("UPDATE USERS SET PSSWD=:P WHERE HNO=:H"),
                              {{"P", SIFRELE(u'1', repeat)}, {"H", stored->HNO}}));
    work.commit();
    return Field::None;
}

} // namespace users
