#include "texts/templates.h"
#include "texts/wordfile.h"

#include <QtTest>

namespace {

QString paragraph(const QString &runs)
{
    return QStringLiteral("<w:p>") + runs + QStringLiteral("</w:p>");
}
QString run(const QString &text, bool bold = false)
{
    return QStringLiteral("<w:r>") + (bold ? QStringLiteral("<w:rPr><w:b/></w:rPr>") : QString())
        + QStringLiteral("<w:t xml:space=\"preserve\">") + text + QStringLiteral("</w:t></w:r>");
}

const texts::LetterFields kLetter{QDate(2021, 8, 26), 412, QStringLiteral("Işık ve İçişleri Şubesi")};

} // namespace

class TestWordFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placeholders_data();
    void placeholders();
    void withoutPlaceholdersTheFileIsUntouched();
    void valuesAreTakenAsTyped_data();
    void valuesAreTakenAsTyped();
    void printedAsHtml();
};

void TestWordFile::placeholders_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("count");

    // Writer splits a placeholder once part of it was re-typed or formatted.
    QTest::newRow("split over runs of different format")
        << paragraph(run("Sayı: [SA") + run("Y", true) + run("I] Tarih: [") + run("TARIH]", true)) << 412
        << "Sayı: 412 Tarih: 26.08.2021\n" << 2;
    QTest::newRow("split with marks between the runs")
        << paragraph(run("Konu: [KO") + "<w:proofErr w:type=\"spellStart\"/><w:bookmarkStart w:id=\"0\" w:name=\"a\"/>"
                     + run("NU") + "<w:bookmarkEnd w:id=\"0\"/>" + run("]."))
        << 412 << "Konu: Işık ve İçişleri Şubesi.\n" << 1;
    QTest::newRow("every occurrence, in one run and in several paragraphs")
        << paragraph(run("[SAYI]/[SAYI]-[SAYI]")) + paragraph(run("[SAY") + run("I]")) + paragraph(run("[KONU] [TARIH]"))
        << 412 << "412/412-412\n412\nIşık ve İçişleri Şubesi 26.08.2021\n" << 6;
    QTest::newRow("not numbered yet: the number is empty")
        << paragraph(run("Sayı: [SAYI] / [TA") + run("RIH]")) << 0 << "Sayı:  / 26.08.2021\n" << 2;
    QTest::newRow("a paragraph end is no part of a placeholder")
        << paragraph(run("[TA")) + paragraph(run("RIH]")) << 412 << "[TA\nRIH]\n" << 0;
    QTest::newRow("a tab splits it too")
        << paragraph("<w:r><w:t>[SA</w:t><w:tab/><w:t>YI]</w:t></w:r>") << 412 << "[SA\tYI]\n" << 0;
    QTest::newRow("lower case is other text") << paragraph(run("[sayi] [Sayı]")) << 412 << "[sayi] [Sayı]\n" << 0;
}

void TestWordFile::placeholders()
{
    QFETCH(QString, body);
    QFETCH(int, number);
    QFETCH(QString, expected);
    QFETCH(int, count);
    texts::LetterFields fields = kLetter;
    fields.number = number;
    const QByteArray document = wordfile::make(body);
    const wordfile::Replaced r = wordfile::replace(document, texts::placeholders(fields));
    QCOMPARE(r.count, count);
    QVERIFY(wordfile::isWordFile(r.bytes));
    QCOMPARE(wordfile::plainText(r.bytes), expected);
}

void TestWordFile::withoutPlaceholdersTheFileIsUntouched()
{
    const QByteArray document = wordfile::make(paragraph(run("Sayın İlgili, [ARA] ve [TARİH] yer tutucu değildir.")));
    const wordfile::Replaced r = wordfile::replace(document, texts::placeholders(kLetter));
    QCOMPARE(r.count, 0);
    QCOMPARE(r.bytes, document);

    // What is no Word file gives nothing back.
    QVERIFY(wordfile::replace("not a zip", texts::placeholders(kLetter)).bytes.isEmpty());
    QVERIFY(!wordfile::isWordFile("PK\x03\x04 broken"));
    QCOMPARE(wordfile::plainText("not a zip"), QString());
}

void TestWordFile::valuesAreTakenAsTyped_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Turkish letters exact") << "Çağrı ĞÜŞİÖÇ ğüşıöç İı" << "«Çağrı ĞÜŞİÖÇ ğüşıöç İı» 7\n";
    QTest::newRow("a placeholder in a value stays") << "[SAYI] hakkında" << "«[SAYI] hakkında» 7\n";
    QTest::newRow("markup characters") << "A & B <C> \"D\"" << "«A & B <C> \"D\"» 7\n";
    QTest::newRow("a line break") << "birinci\nikinci" << "«birinci\nikinci» 7\n";
    QTest::newRow("spaces kept") << "  iki yanı boşluklu  " << "«  iki yanı boşluklu  » 7\n";
}

void TestWordFile::valuesAreTakenAsTyped()
{
    QFETCH(QString, subject);
    QFETCH(QString, expected);
    const QByteArray document = wordfile::make(paragraph(run("«[KO") + run("NU]»", true) + run(" [SAYI]")));
    const wordfile::Replaced r =
        wordfile::replace(document, texts::placeholders({QDate(2021, 1, 2), 7, subject}));
    QCOMPARE(r.count, 2);
    QCOMPARE(wordfile::plainText(r.bytes), expected);
    // A second pass finds nothing left to fill.
    QCOMPARE(wordfile::replace(r.bytes, texts::placeholders({QDate(2021, 1, 2), 7, subject})).count,
             subject.contains(QStringLiteral("[SAYI]")) ? 1 : 0);
}

void TestWordFile::printedAsHtml()
{
    const QByteArray document = wordfile::make(
        QStringLiteral("<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>") + run("T.C. ") + run("İLÇE", true) + "</w:p>"
        + paragraph("<w:r><w:rPr><w:b w:val=\"0\"/><w:i/></w:rPr><w:t>eğik &amp; düz</w:t></w:r>") + "<w:p/>");
    const QString html = wordfile::html(document);
    QVERIFY2(html.contains(QStringLiteral("<p align=\"center\">T.C. <b>İLÇE</b></p>")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("<p align=\"left\"><i>eğik &amp; düz</i></p>")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("<p align=\"left\">&nbsp;</p>")), qPrintable(html));
}

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
