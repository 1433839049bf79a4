// Every reader of an outgoing letter's answer link agrees on what it answers:
// ILGDUR 'G', or none (letters saved before it was written), is an incoming
// document; 'D' a petition whose key may equal an incoming document's.

#include "lists/incominglist.h"
#include "registers/incoming.h"
#include "registers/related.h"
#include "reports/bookquery.h"

#include "office.h"

#include <QtTest>

class TestReplyLinks : public QObject
{
    Q_OBJECT

private slots:
    void everyReaderAgrees_data();
    void everyReaderAgrees();
};

void TestReplyLinks::everyReaderAgrees_data()
{
    QTest::addColumn<QString>("ilgdur");
    QTest::addColumn<bool>("incoming");
    QTest::newRow("G") << "'G'" << true;
    QTest::newRow("NULL") << "NULL" << true;
    QTest::newRow("empty") << "''" << true;
    QTest::newRow("petition") << "'D'" << false;
}

void TestReplyLinks::everyReaderAgrees()
{
    QFETCH(QString, ilgdur);
    QFETCH(bool, incoming);
    Office o({QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KONU,CEVDUR,CEVNO) VALUES (50,3,'2021-05-01','Soru','E',5)"),
              QStringLiteral("INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,GELTAR,KONU,CEVDUR,CEVNO) "
                             "VALUES (50,4,'2021-05-02','2021-05-02','Yol','E',5)"),
              QStringLiteral("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,ILGNO,ILGDUR,CEVDUR,CEVNO) "
                             "VALUES (5,7,'2021-06-01',50,%1,'H',0)").arg(ilgdur)});
    const QString answer = incoming ? QStringLiteral("7") : QString();
    fb::Transaction &t = o.session.db.IBTransaction1;

    // The letter's own screen.
    QCOMPARE(related::describeAnswered(t, 50, o.query("SELECT ILGDUR FROM GIDEN").toString()).value(0),
             incoming ? QStringLiteral("Gelen Evr.") : QStringLiteral("Dilekçe"));

    // The incoming list: its answer column and its delete guard.
    const lists::ListDescription list = lists::incomingList();
    const QString sql = list.queryLines.join(u'\n') + QStringLiteral("\nWHERE G1.KAYNO=50");
    const QVariantList row = t.rows(sql).value(0);
    QCOMPARE(row.value(9).isNull() ? QString() : row.value(9).toString(), answer);
    QCOMPARE(t.value(list.deleteGuardSql, {{"ILG", 50}}).toInt(), incoming ? 1 : 0);

    // The incoming register book.
    reports::BookQuery book(o.session.db.IBDATABASE, reports::Book::Incoming, {});
    QStringList printed;
    QVERIFY(book.next(printed));
    QCOMPARE(printed.value(book.columns().indexOf(QStringLiteral("GIDNO"))), answer);

    // Deleting the incoming document is refused while the letter answers it.
    o.prompt.expectQuestion("Silinecektir", true);
    if (incoming)
        o.prompt.expectMessage("Bu Kayıt Kullanılmıştır. Silemezsiniz");
    QCOMPARE(IncomingRecord::remove(o.session, 50), !incoming);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

QTEST_MAIN(TestReplyLinks)
#include "tst_replylinks.moc"
