#pragma once

#include "login.h"

#include <QString>

class Session;

namespace fb {
class Transaction;
}

namespace users {

/// USERS.PSSWD holds five characters.
inline constexpr int kPasswordLength = 5;
/// USERS.USR holds ten.
inline constexpr int kNameLength = 10;

/// Why a password cannot be stored, or an empty text. Scrambling takes some
/// characters (ğ, ş, x y z late in the word…) beyond the code page; such a
/// password would never be accepted at login, so it is refused when set.
QString passwordProblem(const QString &password);

/// An update that found no row: another workstation deleted it meanwhile.
/// Throws, so that the save is rolled back and said to have failed.
void refuseIfGone(qint64 rowsChanged);

/// The password change screen's rules for one user.
class PasswordChange
{
public:
    enum class Field { None, Old, New };

    PasswordChange(Session &session, QString userName);

    /// Finds the user; false (and a message) when there is no such row.
    bool open();
    const UserRow &user() const { return m_user; }

    /// "F5-Kayıt": stores the new password when the old one is right and the
    /// two new ones agree. Returns the box to go back to, or Field::None when
    /// it was stored.
    Field save(const QString &oldPassword, const QString &newPassword, const QString &repeat);

private:
    Session &m_session;
    QString m_userName;
    UserRow m_user;
};

} // namespace users
