// The scrambled form of a password is shared with every other workstation of
// the institution, so these values are pinned byte for byte.

#include "users/password.h"
#include "core/sifrele.h"

#include <QtTest>

class TestPasswords : public QObject
{
    Q_OBJECT

private slots:
    void sifrele_data();
    void sifrele();
    void asciiRoundTrips();
    void storable_data();
    void storable();
};

void TestPasswords::sifrele_data()
{
    QTest::addColumn<QChar>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");

    QTest::newRow("scramble abc") << QChar(u'1') << "abc" << "gik";
    QTest::newRow("unscramble gik") << QChar(u'2') << "gik" << "abc";
    QTest::newRow("first user's password") << QChar(u'1') << "ZIRVO" << "`PZ_Y";
    QTest::newRow("empty") << QChar(u'1') << "" << "";
    // ç is 0xE7, +6 gives U+00ED í, which the code page has at 0xED.
    QTest::newRow("ç there") << QChar(u'1') << "ç" << "í";
    QTest::newRow("ç back") << QChar(u'2') << "í" << "ç";
    // ş is 0xFE, +6 gives U+0104, which the code page lacks.
    QTest::newRow("ş lost") << QChar(u'1') << "ş" << "?";
    QTest::newRow("ı lost") << QChar(u'1') << "ı" << "?";
    // Ğ is 0xD0, +6 gives U+00D6 Ö; back, U+00D0 is no character of the code page.
    QTest::newRow("Ğ there") << QChar(u'1') << "Ğ" << "Ö";
    QTest::newRow("Ğ not back") << QChar(u'2') << "Ö" << "?";
    QTest::newRow("İ") << QChar(u'1') << "İ" << "ã";
    // Beyond the code page: replaced by '?' (63) before the shift.
    QTest::newRow("Cyrillic") << QChar(u'1') << "ж" << "E";
    // € is 0x80 in the code page, +6 gives U+0086, which is not.
    QTest::newRow("euro") << QChar(u'1') << "€" << "?";
    QTest::newRow("z past ASCII") << QChar(u'1') << "z" << "?";
    QTest::newRow("y stays at DEL") << QChar(u'1') << "y" << "\x7f";
    QTest::newRow("ten kept of twelve") << QChar(u'1') << "abcdefghijkl" << "gikmoqsuwy";
    // 16-bit arithmetic: 1 - 6 wraps to U+FFFB, which the code page lacks.
    QTest::newRow("wrap below zero") << QChar(u'2') << "\x01" << "?";
    QTest::newRow("exactly zero") << QChar(u'2') << "\x06" << QString(QChar(u'\0'));
    QTest::newRow("other mode") << QChar(u'3') << "abc" << "";
}

void TestPasswords::sifrele()
{
    QFETCH(QChar, mode);
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(SIFRELE(mode, text), result);
}

void TestPasswords::asciiRoundTrips()
{
    // Every printable character at every place of a five-character password
    // whose shifted code stays in ASCII comes back unchanged.
    for (int place = 1; place <= 5; ++place) {
        for (char16_t c = u' '; c + 5 + place < 128; ++c) {
            const QString text = QString(place - 1, QChar(u'A')) + QChar(c);
            QCOMPARE(SIFRELE(u'2', SIFRELE(u'1', text)), text);
        }
    }
}

void TestPasswords::storable_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("storable");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("capitals and digits") << "ZX9Y7" << true;
    QTest::newRow("ç round trips") << "çç" << true;
    QTest::newRow("x y z late") << "abxyz" << false;
    QTest::newRow("ş") << "şifre" << false;
    QTest::newRow("six characters") << "ABCDEF" << false;
}

void TestPasswords::storable()
{
    QFETCH(QString, password);
    QFETCH(bool, storable);
    QCOMPARE(users::passwordProblem(password).isEmpty(), storable);
}

QTEST_APPLESS_MAIN(TestPasswords)
#include "tst_passwords.moc"
