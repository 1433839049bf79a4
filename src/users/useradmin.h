#pragma once

#include "login.h"

#include <QList>
#include <QString>

#include <optional>

class Session;

namespace fb {
class Transaction;
}

namespace users {

/// The first user of every installation: nobody deletes it or changes its
/// rights, and only itself changes its record.
inline const QString kFirstUser = QStringLiteral("ZIRVO");

/// One rights row of a user.
struct RightsRow
{
    int KOD = 0;
    QString G, K, D, S;
};

QList<UserRow> allUsers(fb::Transaction &t);
/// A user's rights rows by code.
QList<RightsRow> rightsOf(fb::Transaction &t, int hno);
std::optional<RightsRow> rightsRow(fb::Transaction &t, int hno, int kod);

/// How a flag reads in the rights grid: "Evet", "Hayır", or as stored.
QString flagText(const QString &flag);

/// The users and rights screen's rules. Each check says itself what is wrong.
class UserAdmin
{
public:
    explicit UserAdmin(Session &session);

    /// "F4-Değiştir": only ZIRVO itself changes ZIRVO.
    bool mayChange(const UserRow &selected);
    /// The logged-in user typed its own password.
    bool confirm(const QString &typed);
    /// "F10-Kullanıcı Sil": not ZIRVO, not oneself.
    bool mayDelete(const UserRow &selected);
    /// Removes the user's rights, then the user.
    void deleteUser(int hno);
    /// Double-click on the rights grid. `addRight` is the add right of the
    /// screen's code as found when the screen was activated.
    bool mayEditRights(const UserRow &selected, const QString &addRight);
    /// The hidden "Şifre" item: the selected user's password as typed, for
    /// ZIRVO alone and after it confirmed; nothing otherwise.
    std::optional<QString> revealPassword(const UserRow &selected);

    /// The rights record screen's save.
    void saveRights(int hno, const RightsRow &row);

private:
    Session &m_session;
};

/// The user record screen's rules: a new user (mode 1) or a change (mode 2).
class UserRecord
{
public:
    enum Mode { New = 1, Change = 2 };
    enum class Field { None, Name, Password };

    struct Department
    {
        int BKOD = 0;
        QString BIRIM;
    };

    UserRecord(Session &session, Mode mode, int hno = 0);

    /// Reads the user (mode 2) and the departments to choose from. False when
    /// the user to change is gone.
    bool open();

    Mode mode() const { return m_mode; }
    /// As read: in mode 2 the password is the stored, scrambled text.
    const UserRow &row() const { return m_row; }
    /// Internal departments, in the order the database gives them.
    const QList<Department> &departments() const { return m_departments; }
    /// Index of the user's department in departments(), or -1 for "TÜMÜ".
    int departmentIndex() const;
    bool nameEditable() const;

    /// "F5-Kayıt": checks, stores the user scrambled, and gives a new user its
    /// default rights. Returns the box to go back to, or Field::None when stored.
    Field save(UserRow values, const QString &repeat);

private:
    void giveDefaultRights(fb::Transaction &t, int hno);

    Session &m_session;
    Mode m_mode;
    UserRow m_row;
    QList<Department> m_departments;
};

} // namespace users
