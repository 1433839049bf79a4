// The rules behind the main window: Turkish upper-casing, date texts, general
// settings with their defaults, and the counts of the notification panel.

#include "sessionfixture.h"

#include "core/datetexts.h"
#include "shell/mainwindowlogic.h"
#include "core/turkish.h"

#include <QtTest>

class TestMenuLogic : public QObject
{
    Q_OBJECT

private slots:
    void buyukHarf_data();
    void buyukHarf();
    void tarihbul_data();
    void tarihbul();
    void tanimoku_data();
    void tanimoku();
    void tanimokuDepartment();
    void evdurgunc_data();
    void evdurgunc();
};

void TestMenuLogic::buyukHarf_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("upper");
    QTest::newRow("a") << "a" << "A";
    QTest::newRow("h") << "h" << "H";
    QTest::newRow("j") << "j" << "J";
    QTest::newRow("z") << "z" << "Z";
    QTest::newRow("i dotted") << "i" << "İ";
    QTest::newRow("ı dotless") << "ı" << "I";
    QTest::newRow("ç") << "ç" << "Ç";
    QTest::newRow("ö") << "ö" << "Ö";
    QTest::newRow("ü") << "ü" << "Ü";
    QTest::newRow("ğ") << "ğ" << "Ğ";
    QTest::newRow("ş") << "ş" << "Ş";
    QTest::newRow("capital stays") << "İ" << "İ";
    QTest::newRow("other letter stays") << "é" << "é";
    QTest::newRow("digit") << "7" << "7";
    QTest::newRow("full stop") << "." << ".";
}

void TestMenuLogic::buyukHarf()
{
    QFETCH(QString, typed);
    QFETCH(QString, upper);
    QCOMPARE(QString(turkish::BuyukHarf(typed.at(0))), upper);
}

void TestMenuLogic::tarihbul_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<QString>("weekday");
    QTest::newRow("the example") << "26.08.2021" << QDate(2021, 8, 26) << "26-AĞUSTOS(8)-2021" << "PERŞEMBE";
    QTest::newRow("no leading zeros") << "01.01.2021" << QDate(2021, 1, 1) << "1-OCAK(1)-2021" << "CUMA";
    QTest::newRow("weekday is today's") << "05.12.2022" << QDate(2021, 8, 29) << "5-ARALIK(12)-2022" << "PAZAR";
    QTest::newRow("saturday") << "9.4.2022" << QDate(2022, 4, 9) << "9-NİSAN(4)-2022" << "CUMARTESİ";
    QTest::newRow("no such date") << "31.02.2021" << QDate(2021, 8, 30) << "0-(0)-0" << "PAZARTESİ";
}

void TestMenuLogic::tarihbul()
{
    QFETCH(QString, text);
    QFETCH(QDate, today);
    QFETCH(QString, dateText);
    QFETCH(QString, weekday);
    const DateTexts d = TARIHBUL(text, today);
    QCOMPARE(d.dateText(), dateText);
    QCOMPARE(d.weekdayName, weekday);
}

void TestMenuLogic::tanimoku_data()
{
    QTest::addColumn<QString>("update");
    QTest::addColumn<QStringList>("storage"); // SRVSAKLA, TRMSAKLA, VTSAKLA after the defaults
    QTest::addColumn<bool>("warned");
    QTest::newRow("all empty") << "SRVSAKLA=NULL, TRMSAKLA='', VTSAKLA=NULL"
                               << QStringList{"H", "H", "E"} << false;
    QTest::newRow("file server only") << "SRVSAKLA='E', TRMSAKLA=NULL, VTSAKLA='H'"
                                      << QStringList{"E", "H", "H"} << false;
    QTest::newRow("nowhere") << "SRVSAKLA='H', TRMSAKLA='H', VTSAKLA='H'"
                             << QStringList{"H", "H", "H"} << true;
    QTest::newRow("first character only") << "SRVSAKLA='H', TRMSAKLA='EVET', VTSAKLA='H'"
                                          << QStringList{"H", "E", "H"} << false;
}

void TestMenuLogic::tanimoku()
{
    QFETCH(QString, update);
    QFETCH(QStringList, storage);
    QFETCH(bool, warned);
    SessionFixture f;
    f.exec("ALTER TABLE TANIM ALTER TRMSAKLA TYPE VARCHAR(5)");
    f.exec("UPDATE TANIM SET SRVIPNO=NULL, SRVPORT='', ESDUR=NULL, " + update);
    f.session.workstation.host = "arsiv-sunucu";
    if (warned)
        f.prompt.expectMessage("DİKKAT! Belgelerin Saklanacağı bir ortam tanımlamalısınız.");
    QVERIFY(mainwindow::TANIMOKU(f.session).isNull());
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    const GeneralSettings &g = f.session.general;
    QCOMPARE(QStringList({g.SRVSAKLA, g.TRMSAKLA, g.VTSAKLA}), storage);
    QCOMPARE(g.SRVIPNO, QStringLiteral("arsiv-sunucu"));
    QCOMPARE(g.SRVPORT, QStringLiteral("6569"));
    QCOMPARE(g.ESDUR, QStringLiteral("Y"));
    QCOMPARE(g.KURUM, QStringLiteral("BELEDİYE BAŞKANLIĞI"));
}

void TestMenuLogic::tanimokuDepartment()
{
    SessionFixture f;
    f.exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (40,'YAZI İŞLERİ MÜDÜRLÜĞÜ','B')");
    f.session.userDepartment = 40;
    QCOMPARE(mainwindow::TANIMOKU(f.session), QStringLiteral("YAZI İŞLERİ MÜDÜRLÜĞÜ"));
    // A department that is gone shows nothing, and says so by an empty, not a null, text.
    f.session.userDepartment = 41;
    const QString gone = mainwindow::TANIMOKU(f.session);
    QVERIFY(gone.isEmpty());
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestMenuLogic::evdurgunc_data()
{
    QTest::addColumn<int>("department");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<qint64>>("counts");
    const QStringList institution = {"Onay bekleyen Evraklar", "Gönderilmeyi Bekleyen Evraklar",
                                     "Onay bekleyen İç Zimmet"};
    const QStringList ofDepartment = {"Onay Bekleyen Gelen Evraklar", "Onaylanmamış Giden İç Zimmetler",
                                      "Bekleyen Giden Evraklar"};
    QTest::newRow("no department") << 0 << institution << QList<qint64>{2, 2, 1};
    QTest::newRow("department 40") << 40 << ofDepartment << QList<qint64>{1, 1, 1};
    QTest::newRow("department 41") << 41 << ofDepartment << QList<qint64>{1, 0, 0};
    QTest::newRow("nothing waiting") << 42 << ofDepartment << QList<qint64>{0, 0, 0};
}

void TestMenuLogic::evdurgunc()
{
    QFETCH(int, department);
    QFETCH(QStringList, captions);
    QFETCH(QList<qint64>, counts);
    SessionFixture f;
    // Incoming routing: one waiting for 40, one approved, one refused ("H") for 41.
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (1,1,40,NULL)");
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (1,2,40,'E')");
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (1,3,41,'H')");
    // Outgoing: 10 internal delivery from 41 routed to 40; 11 external from 40
    // routed to 41; 12 internal, approved; 13 internal without routing.
    f.exec("INSERT INTO GIDEN (KAYNO,ZDUR,BIRKOD) VALUES (10,'İ',41)");
    f.exec("INSERT INTO GIDEN (KAYNO,ZDUR,BIRKOD) VALUES (11,'D',40)");
    f.exec("INSERT INTO GIDEN (KAYNO,ZDUR,BIRKOD) VALUES (12,'İ',40)");
    f.exec("INSERT INTO GIDEN (KAYNO,ZDUR,BIRKOD) VALUES (13,'İ',40)");
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (2,10,40,NULL)");
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (2,11,41,'')");
    f.exec("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY) VALUES (2,12,40,'E')");

    const mainwindow::Notifications n = mainwindow::EVDURGUNC(f.session.db.IBTransaction1, department);
    QVERIFY(n.ran);
    QCOMPARE(QStringList(n.captions.begin(), n.captions.end()), captions);
    QCOMPARE(QList<qint64>(n.counts.begin(), n.counts.end()), counts);
    QCOMPARE(n.anyWaiting(), department != 42);

    QVERIFY(!mainwindow::EVDURGUNC(f.session.db.IBTransaction1, -1).ran);
}

QTEST_GUILESS_MAIN(TestMenuLogic)
#include "tst_menulogic.moc"
