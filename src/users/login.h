#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Session;

namespace fb {
class Statement;
class Transaction;
}

namespace users {

/// A row of USERS; a null password reads as empty.
struct UserRow
{
    int HNO = 0;
    QString USR;
    QString PSSWD; ///< scrambled, as stored
    QString ACIK;
    QString ACIK1;
    int OZEL = 0; ///< department; 0 none
};

/// The user of that exact name (letter case counts).
std::optional<UserRow> findUser(fb::Transaction &t, const QString &name);
std::optional<UserRow> findUserByNumber(fb::Transaction &t, int hno);
/// HNO, USR, PSSWD, ACIK, ACIK1, OZEL of the current row, in that order.
UserRow readUser(const fb::Statement &s);

/// Does the typed password match the stored, scrambled one?
bool passwordMatches(const QString &stored, const QString &typed);

/// The rules of the login dialog: three wrong attempts are allowed, the fourth
/// press of "Tamam" ends the dialog whatever it finds.
class Login
{
public:
    enum Result { Open = 0, LoggedIn = 1, Abandoned = 2 };
    enum class Check { UnknownUser, WrongPassword, Ok };

    explicit Login(Session &session);

    /// A fresh opening of the dialog.
    void open();
    /// "Tamam": checks the name and password, says what is wrong, and on
    /// success leaves the user's number, label, full name and department in
    /// the session.
    Check Tamam(const QString &name, const QString &password);
    /// "Çıkış".
    void Cikis() { m_result = Abandoned; }

    Result result() const { return m_result; }
    int attempt() const { return m_attempt; }
    /// The dialog closes now.
    bool finished() const { return m_result != Open; }

private:
    Session &m_session;
    Result m_result = Open;
    int m_attempt = 1;
};

/// Start-up with a user name and password as the program's arguments: logs
/// in without the dialog when the password is right, with the user's
/// department as the dialog would set it.
bool commandLineLogin(Session &session, const QStringList &arguments);

} // namespace users
