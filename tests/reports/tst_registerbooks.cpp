// Register books from a real database: the list's rows for a period and a
// department, numbered from 1, one line per routing, grouped reply numbers;
// and the administrator's command that writes them without a display.

#include "pdftext.h"
#include "tempdatabase.h"

#include "reports/bookquery.h"
#include "reports/engine.h"

#include "db/fb/transaction.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace reports;

namespace {

/// Numbers printed in one column's detail lines: words below the 26 mm header lying
/// within left..left+width mm of the printable area.
QStringList column(const QString &file, int page, qreal left, qreal width)
{
    static const QRegularExpression number(QStringLiteral("^[0-9.]+$"));
    QStringList out;
    for (const PlacedWord &w : pdfWords(file, page))
        if (w.top > 10 + 26 && w.left >= 10 + left - 0.2 && w.right <= 10 + left + width + 0.2 && number.match(w.word).hasMatch())
            out << w.word;
    return out;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::number(i);
    return out;
}

} // namespace

class tst_RegisterBooks : public QObject
{
    Q_OBJECT

    TempDatabase db;
    fb::Attachment attachment;
    QTemporaryDir dir;

    QString book(Book which, const BookFilter &filter, const QString &name)
    {
        BookQuery rows(attachment, which, filter);
        Report report(registerBook(which), &rows);
        const QString file = dir.filePath(name + QStringLiteral(".pdf"));
        [&] { QCOMPARE(writePdf(report, file), Outcome::Done); }();
        return file;
    }

private slots:
    void initTestCase()
    {
        db.createMain(attachment);
        fb::Transaction t(attachment);
        for (const char *sql : {
                 "INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (1,'YAZI İŞLERİ','B')",
                 "INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (2,'FEN İŞLERİ','B')",
                 "INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (3,'VALİLİK','K')",
                 // February, March (two departments), March (other department), March with
                 // reply 1234, last year, March whose key a petition shares.
                 "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR) VALUES (1,1,'2021-02-10',3,'Şubat','H')",
                 "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR) VALUES (2,2,'2021-03-02',3,'İki birime','H')",
                 "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR) VALUES (3,3,'2021-03-15',3,'Fen','H')",
                 "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR,ILGNO) VALUES (4,4,'2021-03-20',3,'Cevaplı','E',1)",
                 "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR) VALUES (5,5,'2020-03-05',3,'Geçen yıl','H')",
                 "INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,KONU,CEVDUR) VALUES (6,6,'2021-03-25',3,'Ortak anahtar','E')",
                 "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,1,1)",
                 "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,2,1)",
                 "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,2,2)",
                 "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,3,2)",
                 "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,4,1)",
                 "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,5,1)",
                 "INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1,6,1)",
                 "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,KONU,ILGNO,ILGDUR,CEVDUR) VALUES (1,1234,'2021-03-21',1,'Cevap','4','G','H')",
                 "INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,BIRKOD,KONU,ILGNO,ILGDUR,CEVDUR) VALUES (2,1235,'2021-03-26',2,'Dilekçeye cevap','6','D','H')",
                 "INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,GELTAR,ADI,SOYADI,KONU,BIRKOD,EKSAY) VALUES (6,1,'2021-03-24','2021-03-25','Ayşe','Yılmaz','Su',1,2)",
                 "INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,GELTAR,ADI,SOYADI,KONU,BIRKOD) VALUES (7,2,'2021-04-01','2021-04-01','Şükrü','Öztürk','Yol',2)",
                 // Dated in December, registered and numbered in January.
                 "INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,GELTAR,ADI,SOYADI,KONU,BIRKOD) VALUES (8,1,'2024-12-30','2025-01-02','Kemal','Sunay','Yıl başı',1)",
             })
            t.execute(QString::fromUtf8(sql));
        // Enough for three pages in 2019.
        for (int i = 1; i <= 60; ++i)
            t.execute(QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU) VALUES (:K,:N,'2019-05-01','Eski')"),
                      {{"K", 100 + i}, {"N", i}});
        t.commit();
    }

    void monthAndDepartmentGiveTheListsRowsNumberedFromOne()
    {
        const QString file = book(Book::Incoming, {2021, 3, 1}, QStringLiteral("march-dept1"));
        QCOMPARE(pdfPageCount(file), 1);
        QCOMPARE(column(file, 1, 4.6, 7.2), numbers(1, 3));             // Sıra No
        QCOMPARE(column(file, 1, 13.1, 8.3), QStringList({"2", "4", "6"})); // Kayıt No
        // Reply number grouped; the outgoing answer to the petition sharing key 6 is no reply here.
        QCOMPARE(column(file, 1, 263.4, 12.0), QStringList({"1.234"}));
    }

    void documentRoutedToTwoDepartmentsHasTwoLines()
    {
        const QString file = book(Book::Incoming, {2021, 3, -1}, QStringLiteral("march"));
        QCOMPARE(column(file, 1, 4.6, 7.2), numbers(1, 5));
        QCOMPARE(column(file, 1, 13.1, 8.3), QStringList({"2", "2", "3", "4", "6"}));
        const QString text = pdfPages(file).value(0);
        QVERIFY(text.contains(QStringLiteral("YAZI İŞLERİ")));
        QVERIFY(text.contains(QStringLiteral("FEN İŞLERİ")));
        QVERIFY(text.contains(QStringLiteral("VALİLİK")));
    }

    void eachRegisterHasItsBook_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("heads");
        QTest::addColumn<qreal>("numberLeft");
        QTest::addColumn<qreal>("numberWidth");
        QTest::addColumn<QStringList>("registered");
        QTest::newRow("outgoing") << int(Book::Outgoing) << 3
                                  << QStringList{"GİDEN YAZILAR DEFTERİ", "GİDEN YAZININ", "Gittiği Yer", "Cevap"}
                                  << 13.0 << 8.2 << QStringList{"1234", "1235"};
        QTest::newRow("petition") << int(Book::Petition) << 0
                                  << QStringList{"DİLEKÇE DEFTERİ", "DİLEKÇENİN", "Adı ve Soyadı", "Ayşe Yılmaz",
                                                 "Şükrü Öztürk"}
                                  << 12.8 << 8.3 << QStringList{"1", "2"};
    }
    void eachRegisterHasItsBook()
    {
        QFETCH(int, which);
        QFETCH(int, month);
        QFETCH(QStringList, heads);
        QFETCH(qreal, numberLeft);
        QFETCH(qreal, numberWidth);
        QFETCH(QStringList, registered);
        const QString file = book(Book(which), {2021, month, -1}, QString::number(which));
        const QString text = pdfPages(file).value(0);
        for (const QString &h : heads)
            QVERIFY2(text.contains(h), qPrintable(h + u'\n' + text));
        QCOMPARE(column(file, 1, numberLeft, numberWidth), registered);
    }

    void periodGoesByTheListsDateThroughItsIndex_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("kaynos");
        QTest::addColumn<QString>("index");
        QTest::newRow("incoming, a month") << int(Book::Incoming) << 2021 << 3 << QStringList{"2", "2", "3", "4", "6"}
                                           << "GELEN_GELTAR";
        QTest::newRow("incoming, a year") << int(Book::Incoming) << 2020 << 0 << QStringList{"5"} << "GELEN_GELTAR";
        QTest::newRow("outgoing, a month") << int(Book::Outgoing) << 2021 << 3 << QStringList{"1", "2"}
                                           << "GIDEN_GIDTAR";
        QTest::newRow("petition, month registered") << int(Book::Petition) << 2025 << 1 << QStringList{"8"}
                                                    << "DILEKCE_GELTAR";
        QTest::newRow("petition, month dated") << int(Book::Petition) << 2024 << 12 << QStringList{}
                                               << "DILEKCE_GELTAR";
        QTest::newRow("petition, a year") << int(Book::Petition) << 2025 << 0 << QStringList{"8"} << "DILEKCE_GELTAR";
    }
    void periodGoesByTheListsDateThroughItsIndex()
    {
        QFETCH(int, which);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(QStringList, kaynos);
        QFETCH(QString, index);
        BookQuery rows(attachment, Book(which), {year, month, -1});
        QStringList got;
        QStringList row;
        const int kayno = rows.columns().indexOf(QStringLiteral("KAYNO"));
        while (rows.next(row))
            got << row.value(kayno);
        QCOMPARE(got, kaynos);
        QCOMPARE(rows.count(), int(kaynos.size()));
        QVERIFY2(rows.plan().contains(index), qPrintable(rows.plan()));
    }

    void adminCommandWritesTheBookWithoutDisplay()
    {
        const QString file = dir.filePath(QStringLiteral("admin.pdf"));
        attachment.close(); // the tool opens the file in its own process
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(KELMA_ADMIN), {QStringLiteral("print-register"), db.path(), QStringLiteral("--register"),
                                                 QStringLiteral("gelen"), QStringLiteral("--year"), QStringLiteral("2019"),
                                                 QStringLiteral("--pdf"), file});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
        QCOMPARE(pdfPageCount(file), 3);
        QCOMPARE(column(file, 1, 4.6, 7.2), numbers(1, 27));
        QCOMPARE(column(file, 3, 4.6, 7.2), numbers(55, 60));
        QVERIFY(pdfPages(file).value(2).contains(QStringLiteral("Sayfa No : 3 / 3")));

        tool.start(QStringLiteral(KELMA_ADMIN), {QStringLiteral("print-register"), db.path(), QStringLiteral("--register"),
                                                 QStringLiteral("arsiv"), QStringLiteral("--year"), QStringLiteral("2019"),
                                                 QStringLiteral("--pdf"), file});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 2);

        // January's petition book holds the petition dated in December but registered in January.
        tool.start(QStringLiteral(KELMA_ADMIN), {QStringLiteral("print-register"), db.path(), QStringLiteral("--register"),
                                                 QStringLiteral("dilekce"), QStringLiteral("--year"), QStringLiteral("2025"),
                                                 QStringLiteral("--month"), QStringLiteral("1"), QStringLiteral("--pdf"), file});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
        QVERIFY2(pdfPages(file).value(0).contains(QStringLiteral("Kemal Sunay")), qPrintable(pdfPages(file).value(0)));
        QVERIFY(pdfPages(file).value(0).contains(QStringLiteral("30.12.2024")));
        attachment.open(TempDatabase::options(db.path()));
    }
};

QTEST_MAIN(tst_RegisterBooks)
#include "tst_registerbooks.moc"
