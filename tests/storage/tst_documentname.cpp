// The one rule for names that the file server and its client share.

#include "storage/documentname.h"

#include <QTest>

class TestDocumentName : public QObject
{
    Q_OBJECT

private slots:
    void rule_data();
    void rule();
};

void TestDocumentName::rule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("attachment") << "GEL_1234_3.JPG" << true;
    QTest::newRow("Turkish letters") << QStringLiteral("DİL_Şükrü_ığ.DOCX") << true;
    QTest::newRow("dots inside") << "rapor..v2.pdf" << true;
    QTest::newRow("spaces inside") << "dilekçe eki 1.pdf" << true;
    QTest::newRow("longest") << QString(255, QLatin1Char('a')) << true;
    QTest::newRow("longest in Turkish") << QString(128, QChar(0x015F)) << false; // 256 bytes
    QTest::newRow("one too long") << QString(256, QLatin1Char('a')) << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("hidden") << ".profile" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("drive") << "C:x.pdf" << false;
    QTest::newRow("stream") << "x.pdf:gizli" << false;
    QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << false;
    QTest::newRow("LF") << "a\nb" << false;
    QTest::newRow("DEL") << "a\x7f" "b" << false;
    QTest::newRow("C1 control") << QString(QChar(0x0081)) + "x" << false;
    QTest::newRow("wildcard") << "GEL_*.PDF" << false;
    QTest::newRow("trailing dot") << "GEL_1_1." << false;
    QTest::newRow("trailing space") << "GEL_1_1.PDF " << false;
    QTest::newRow("device") << "nul.txt" << false;
    QTest::newRow("device numbered") << "COM1" << false;
    QTest::newRow("not a device") << "CONSOLE.TXT" << true;
}

void TestDocumentName::rule()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(documentname::isSafe(name), safe);
}

QTEST_GUILESS_MAIN(TestDocumentName)
#include "tst_documentname.moc"
