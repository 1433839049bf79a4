// Login, password change, rights and user administration against a fresh
// KELMA database (user ZIRVO, password ZIRVO, every right).

#include "sessionfixture.h"

#include "users/login.h"
#include "users/password.h"
#include "users/rights.h"
#include "core/sifrele.h"
#include "users/useradmin.h"

#include "db/newdatabase.h"

#include <QtTest>

using users::Login;

namespace {

struct Fixture : SessionFixture
{
    /// A user of the institution, with a department and no rights rows.
    void addUser(int hno, const QString &name, const QString &password, int department = 0)
    {
        exec(QStringLiteral("INSERT INTO USERS (HNO,USR,PSSWD,ACIK,ACIK1,OZEL) VALUES (:H,:U,:P,:A,'',:O)"),
             {{"H", hno}, {"U", name}, {"P", SIFRELE(u'1', password)}, {"A", name + QStringLiteral(" TAM ADI")},
              {"O", department}});
    }
    void addRights(int hno, int kod, const QString &flags)
    {
        exec(QStringLiteral("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (:H,:K,:G,:FK,:D,:S)"),
             {{"H", hno}, {"K", kod}, {"G", flags.mid(0, 1)}, {"FK", flags.mid(1, 1)},
              {"D", flags.mid(2, 1)}, {"S", flags.mid(3, 1)}});
    }
    qint64 count(const QString &sql, const fb::Params &params = {}) { return value(sql, params).toLongLong(); }
};

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT

private slots:
    void login_data();
    void login();
    void fourthAttempt_data();
    void fourthAttempt();
    void commandLine_data();
    void commandLine();

    void passwordChange();
    void passwordChangeRefusals_data();
    void passwordChangeRefusals();

    void rightsGrid();
    void everyScreenCodeIsNamed();
    void newUserDefaultRights();
    void userRecordRefusals_data();
    void userRecordRefusals();
    void changeUser();
    void deleteUser();
    void protections();
};

void TestUsers::login_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("check");
    QTest::addColumn<QString>("message");

    const int ok = int(Login::Check::Ok), unknown = int(Login::Check::UnknownUser),
              wrong = int(Login::Check::WrongPassword);
    const QString noUser = QStringLiteral(" KULLANICI ADI HATALI");
    const QString noPassword = QStringLiteral(" YANLIŞ ŞİFRE ");
    QTest::newRow("right") << "AYŞE" << "Çam1" << ok << "";
    QTest::newRow("wrong password") << "AYŞE" << "Cam1" << wrong << noPassword;
    QTest::newRow("unknown name") << "MEHMET" << "Çam1" << unknown << noUser;
    QTest::newRow("empty name and password") << "" << "" << unknown << noUser;
    QTest::newRow("other letter case") << "ayşe" << "Çam1" << unknown << noUser;
    QTest::newRow("stored scrambled text typed") << "AYŞE" << SIFRELE(u'1', "Çam1") << wrong << noPassword;
    QTest::newRow("over-long password") << "AYŞE" << "Çam1Çam1Çam1" << wrong << noPassword;
    QTest::newRow("null password, something typed") << "BOŞ" << "x" << wrong << noPassword;
}

void TestUsers::login()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(int, check);
    QFETCH(QString, message);
    Fixture f;
    f.addUser(7, "AYŞE", "Çam1", 3);
    f.exec("ALTER TABLE USERS ALTER PSSWD DROP NOT NULL");
    f.exec("INSERT INTO USERS (HNO,USR,PSSWD) VALUES (8,'BOŞ',NULL)");
    f.session.userDepartment = 99;

    Login login(f.session);
    login.open();
    QCOMPARE(int(login.Tamam(name, password)), check);
    QCOMPARE(f.prompt.transcript(), message.isEmpty() ? QStringList() : QStringList{"message: " + message});
    if (check == int(Login::Check::Ok)) {
        QCOMPARE(login.result(), Login::LoggedIn);
        QCOMPARE(f.session.userNumber, 7);
        QCOMPARE(f.session.LUSR, QStringLiteral("AYŞE"));
        QCOMPARE(f.session.LUSRACK, QStringLiteral("AYŞE TAM ADI"));
        QCOMPARE(f.session.userDepartment, 3);
    } else {
        QCOMPARE(login.result(), Login::Open);
        QCOMPARE(login.attempt(), 2);
        QCOMPARE(f.session.userDepartment, 0);
    }
}

void TestUsers::fourthAttempt_data()
{
    QTest::addColumn<QString>("fourth");
    QTest::addColumn<int>("result");
    QTest::newRow("right") << "ZIRVO" << int(Login::LoggedIn);
    QTest::newRow("wrong") << "ZIRVX" << int(Login::Abandoned);
}

void TestUsers::fourthAttempt()
{
    QFETCH(QString, fourth);
    QFETCH(int, result);
    Fixture f;
    Login login(f.session);
    login.open();
    login.Tamam("ZIRVO", "a");
    login.Tamam("NOBODY", "ZIRVO");
    login.Tamam("ZIRVO", "b");
    QVERIFY(!login.finished());
    QCOMPARE(login.attempt(), 4);
    login.Tamam("ZIRVO", fourth);
    QVERIFY(login.finished());
    QCOMPARE(int(login.result()), result);
    // The fourth attempt's own message still comes when it is wrong.
    QCOMPARE(f.prompt.transcript().size(), result == Login::LoggedIn ? 3 : 4);

    // A new opening starts counting again.
    login.open();
    QCOMPARE(login.attempt(), 1);
    QVERIFY(!login.finished());
}

void TestUsers::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("loggedIn");
    QTest::newRow("name and password") << QStringList{"AYŞE", "Çam1"} << true;
    QTest::newRow("wrong password") << QStringList{"AYŞE", "Çam"} << false;
    QTest::newRow("name only") << QStringList{"AYŞE"} << false;
    QTest::newRow("other letter case") << QStringList{"ayşe", "Çam1"} << false;
    QTest::newRow("unknown") << QStringList{"KİMSE", "Çam1"} << false;
    QTest::newRow("none") << QStringList{} << false;
}

void TestUsers::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, loggedIn);
    Fixture f;
    f.addUser(7, "AYŞE", "Çam1", 3);
    QCOMPARE(users::commandLineLogin(f.session, arguments), loggedIn);
    QCOMPARE(f.session.userNumber, loggedIn ? 7 : 0);
    QCOMPARE(f.session.LUSRACK, loggedIn ? QStringLiteral("AYŞE TAM ADI") : QString());
    // Bound to its department as the dialog would bind it; a failed try binds to none.
    QCOMPARE(f.session.userDepartment, loggedIn ? 3 : 0);
    QVERIFY(f.prompt.transcript().isEmpty());
}

void TestUsers::passwordChange()
{
    Fixture f;
    users::PasswordChange change(f.session, "ZIRVO");
    QVERIFY(change.open());
    QCOMPARE(change.user().ACIK, QStringLiteral("Sistem Yöneticisi"));
    QCOMPARE(change.save("ZIRVO", "K2ÇA", "K2ÇA"), users::PasswordChange::Field::None);
    // Committed, scrambled.
    QCOMPARE(f.value("SELECT PSSWD FROM USERS WHERE HNO=1").toString(), SIFRELE(u'1', "K2ÇA"));
    Login login(f.session);
    login.open();
    QCOMPARE(login.Tamam("ZIRVO", "ZIRVO"), Login::Check::WrongPassword);
    QCOMPARE(login.Tamam("ZIRVO", "K2ÇA"), Login::Check::Ok);
}

void TestUsers::passwordChangeRefusals_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("repeat");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("back");
    const int oldBox = int(users::PasswordChange::Field::Old), newBox = int(users::PasswordChange::Field::New);
    QTest::newRow("old wrong") << "ZIRV" << "NEW" << "NEW" << "ESKİ ŞİFRE HATALI.." << oldBox;
    QTest::newRow("repeat differs") << "ZIRVO" << "NEW" << "NEX" << "ŞİFRENİZİ KONTROL EDİNİZ.." << newBox;
    QTest::newRow("would not come back") << "ZIRVO" << "xyz" << "xyz" << "saklanamaz" << newBox;
    QTest::newRow("too long") << "ZIRVO" << "ABCDEF" << "ABCDEF" << "en fazla 5" << newBox;
}

void TestUsers::passwordChangeRefusals()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, repeat);
    QFETCH(QString, message);
    QFETCH(int, back);
    Fixture f;
    users::PasswordChange change(f.session, "ZIRVO");
    QVERIFY(change.open());
    f.prompt.expectMessage(message);
    QCOMPARE(int(change.save(oldPassword, newPassword, repeat)), back);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(f.value("SELECT PSSWD FROM USERS WHERE HNO=1").toString(), SIFRELE(u'1', "ZIRVO"));
    f.session.db.IBTransaction1.commit();
    QCOMPARE(f.value("SELECT PSSWD FROM USERS WHERE HNO=1").toString(), SIFRELE(u'1', "ZIRVO"));
}

void TestUsers::rightsGrid()
{
    Fixture f;
    f.addUser(7, "AYŞE", "Çam1");
    for (int kod = 1; kod <= 60; ++kod)
        f.addRights(7, kod, kod == 12 ? "HEEH" : "EEEE");
    f.session.userNumber = 7;
    rights::RIGHTSAKTAR(f.session);
    QCOMPARE(f.session.GRDUSER.size(), rights::kGridRows);

    rights::HAKBUL(f.session, 12);
    QCOMPARE(QStringList({f.session.G, f.session.K, f.session.D, f.session.S}),
             QStringList({"H", "E", "E", "H"}));
    // Past the fiftieth row nothing is found: all four empty.
    rights::HAKBUL(f.session, 55);
    QCOMPARE(QStringList({f.session.G, f.session.K, f.session.D, f.session.S}), QStringList(4, QString()));
    rights::HAKBUL(f.session, 50);
    QCOMPARE(f.session.G, QStringLiteral("E"));
}

void TestUsers::everyScreenCodeIsNamed()
{
    // A fresh database gives its first user these codes: each has a name in
    // the rights screens and says what it governs, also where nothing reads it.
    for (int code : newdb::screenCodes()) {
        QVERIFY2(!rights::caption(code).isEmpty(), qPrintable(QString::number(code)));
        QVERIFY2(!rights::codeUse(code).governs.isEmpty(), qPrintable(QString::number(code)));
    }
    QVERIFY(rights::caption(7).isEmpty());
    const rights::CodeUse nothing = rights::codeUse(7);
    QVERIFY(!nothing.G && !nothing.K && !nothing.D && !nothing.S);
}

void TestUsers::newUserDefaultRights()
{
    Fixture f;
    f.exec("DELETE FROM RIGHTS WHERE HNO=1 AND KOD NOT IN (1,2,3,22)");
    f.exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (40,'YAZI İŞLERİ','B')");
    f.exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (41,'VALİLİK','K')");
    users::UserRecord record(f.session, users::UserRecord::New);
    QVERIFY(record.open());
    // Internal departments only.
    QCOMPARE(record.departments().size(), 1);
    QCOMPARE(record.departments().first().BIRIM, QStringLiteral("YAZI İŞLERİ"));
    QCOMPARE(record.departmentIndex(), -1);

    users::UserRow u;
    u.USR = "AYŞE";
    u.PSSWD = "Çam1";
    u.ACIK = "Ayşe Yılmaz";
    u.ACIK1 = "Memur";
    u.OZEL = 40;
    QCOMPARE(record.save(u, "Çam1"), users::UserRecord::Field::None);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));

    const auto stored = f.rows("SELECT HNO,PSSWD,ACIK,ACIK1,OZEL FROM USERS WHERE USR='AYŞE'");
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored[0][0].toInt(), 2);
    QCOMPARE(stored[0][1].toString(), SIFRELE(u'1', "Çam1"));
    QCOMPARE(stored[0][2].toString(), QStringLiteral("Ayşe Yılmaz"));
    QCOMPARE(stored[0][4].toInt(), 40);

    const auto rows = f.rows("SELECT KOD,G,K,D,S FROM RIGHTS WHERE HNO=2 ORDER BY KOD");
    QStringList got;
    for (const auto &r : rows)
        got << QStringLiteral("%1 %2%3%4%5").arg(r[0].toInt()).arg(r[1].toString(), r[2].toString(),
                                                                  r[3].toString(), r[4].toString());
    QCOMPARE(got, QStringList({"1 EHEH", "2 EHEH", "3 EHEH", "22 HHEH"}));

    Login login(f.session);
    login.open();
    QCOMPARE(login.Tamam("AYŞE", "Çam1"), Login::Check::Ok);
    QCOMPARE(f.session.userDepartment, 40);
}

void TestUsers::userRecordRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("repeat");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("back");
    const int nameBox = int(users::UserRecord::Field::Name), passwordBox = int(users::UserRecord::Field::Password);
    QTest::newRow("empty name") << "" << "A1" << "A1" << "KULLANICI ADI HATALI.." << nameBox;
    QTest::newRow("blank name") << "   " << "A1" << "A1" << "KULLANICI ADI HATALI.." << nameBox;
    QTest::newRow("repeat differs") << "AYŞE" << "A1" << "A2" << "ŞİFRENİZİ KONTROL EDİNİZ.." << passwordBox;
    QTest::newRow("name taken") << "ZIRVO" << "A1" << "A1" << "BU KULLANICI ADI KAYITLIDIR.." << nameBox;
    // Turkish capitals: ı is the small I (and i the small İ).
    QTest::newRow("name taken in other letters' case") << "Zırvo" << "A1" << "A1" << "BU KULLANICI ADI KAYITLIDIR.."
                                                       << nameBox;
    QTest::newRow("would not come back") << "AYŞE" << "şifre" << "şifre" << "saklanamaz" << passwordBox;
}

void TestUsers::userRecordRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, repeat);
    QFETCH(QString, message);
    QFETCH(int, back);
    Fixture f;
    users::UserRecord record(f.session, users::UserRecord::New);
    QVERIFY(record.open());
    users::UserRow u;
    u.USR = name;
    u.PSSWD = password;
    f.prompt.expectMessage(message);
    QCOMPARE(int(record.save(u, repeat)), back);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    f.session.db.IBTransaction1.commit();
    QCOMPARE(f.count("SELECT COUNT(*) FROM USERS"), 1);
    QCOMPARE(f.count("SELECT COUNT(*) FROM RIGHTS WHERE HNO<>1"), 0);
}

void TestUsers::changeUser()
{
    Fixture f;
    f.addUser(7, "AYŞE", "Çam1");
    users::UserRecord record(f.session, users::UserRecord::Change, 7);
    QVERIFY(record.open());
    QVERIFY(record.nameEditable());
    // The box holds the stored text: a change retypes the password in both boxes.
    QCOMPARE(record.row().PSSWD, SIFRELE(u'1', "Çam1"));
    users::UserRow u = record.row();
    u.ACIK = "Ayşe Kaya";
    f.prompt.expectMessage("ŞİFRENİZİ KONTROL EDİNİZ..");
    QCOMPARE(record.save(u, QString()), users::UserRecord::Field::Password);
    u.PSSWD = "Y3NI";
    // Keeping its own name is no clash with itself.
    QCOMPARE(record.save(u, "Y3NI"), users::UserRecord::Field::None);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    QCOMPARE(f.value("SELECT ACIK FROM USERS WHERE HNO=7").toString(), QStringLiteral("Ayşe Kaya"));
    QCOMPARE(f.value("SELECT PSSWD FROM USERS WHERE HNO=7").toString(), SIFRELE(u'1', "Y3NI"));

    // ZIRVO keeps its name whatever the box says.
    users::UserRecord first(f.session, users::UserRecord::Change, 1);
    QVERIFY(first.open());
    QVERIFY(!first.nameEditable());
    u = first.row();
    u.USR = "ADMIN";
    u.PSSWD = "ZIRVO";
    QCOMPARE(first.save(u, "ZIRVO"), users::UserRecord::Field::None);
    QCOMPARE(f.value("SELECT USR FROM USERS WHERE HNO=1").toString(), QStringLiteral("ZIRVO"));
}

void TestUsers::deleteUser()
{
    Fixture f;
    f.addUser(7, "AYŞE", "Çam1");
    f.addRights(7, 1, "EEEE");
    f.addRights(7, 2, "EEEE");
    users::UserAdmin(f.session).deleteUser(7);
    QCOMPARE(f.count("SELECT COUNT(*) FROM RIGHTS WHERE HNO=7"), 0);
    QCOMPARE(f.count("SELECT COUNT(*) FROM USERS WHERE HNO=7"), 0);
    QVERIFY(f.count("SELECT COUNT(*) FROM RIGHTS WHERE HNO=1") > 0);
}

void TestUsers::protections()
{
    Fixture f;
    f.addUser(7, "AYŞE", "Çam1");
    const users::UserRow zirvo{1, "ZIRVO", SIFRELE(u'1', "ZIRVO"), {}, {}, 0};
    const users::UserRow ayse{7, "AYŞE", SIFRELE(u'1', "Çam1"), {}, {}, 0};
    users::UserAdmin admin(f.session);

    f.session.LUSR = "AYŞE";
    f.prompt.expectMessage("DİKKAT! Bu Kullanıcı üzerinde değişiklik yapamazsınız.")
        .expectMessage("ZIRVO Kullanıcısını Silemezsiniz....")
        .expectMessage("DİKKAT! Aktif Kullanıcı Silinemez....")
        .expectMessage("ZIRVO Kullanıcısının Yetkilerini Değiştiremezsiniz....")
        .expectMessage("İşlem Yapma Yetkiniz Yoktur..")
        .expectMessage("İşlem Yapma Yetkiniz Yoktur..")
        .expectMessage("Yanlış Şifre Girdiniz...");
    QVERIFY(!admin.mayChange(zirvo));
    QVERIFY(admin.mayChange(ayse));
    QVERIFY(!admin.mayDelete(zirvo));
    QVERIFY(!admin.mayDelete(ayse));
    QVERIFY(!admin.mayEditRights(zirvo, "E"));
    QVERIFY(admin.mayEditRights(ayse, "E"));
    QVERIFY(!admin.mayEditRights(ayse, "H"));
    // A user without a row for the screen does not reach the rights either.
    QVERIFY(!admin.mayEditRights(ayse, ""));
    QVERIFY(admin.confirm("Çam1"));
    QVERIFY(!admin.confirm("ZIRVO"));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));

    // ZIRVO may change itself; with rights not in force nothing is refused for want of them.
    f.session.LUSR = "ZIRVO";
    QVERIFY(admin.mayChange(zirvo));
    f.session.general.UDUR = "0";
    QVERIFY(admin.mayEditRights(ayse, ""));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

QTEST_GUILESS_MAIN(TestUsers)
#include "tst_users.moc"
