#include "registers/incoming.h"
#include "registers/ui/unbrmekle.h"
#include "registers/ui/unonay.h"

#include "core/clock.h"
#include "core/session.h"
#include "formtest.h"
#include "office.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

Office office()
{
    return Office({
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI) VALUES (1,'YAZI İŞLERİ','B','ALİ')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI) VALUES (2,'İMAR','B','ALİ')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI) VALUES (3,'FEN İŞLERİ','B','ALİ')"),
        QStringLiteral("INSERT INTO EVBRM (TUR,EKAYNO,BKOD) VALUES (1, 7, 1)"),
        QStringLiteral("INSERT INTO EVBRM (TUR,EKAYNO,BKOD,ONAY,ONTAR,ONACIK,ONUSR) VALUES (2, 8, 2, 'E', '2021-05-04 10:11:12', 'Postaya verildi', 'AYŞE')")});
}

/// The approval dialog on one routing row, on screen and active.
void openApproval(TFRMONAY &screen, int mode, int kayno, int bkod)
{
    screen.mode = mode;
    screen.kayno = kayno;
    screen.bkod = bkod;
    showActive(screen);
}

} // namespace

class TestRoutingScreens : public QObject
{
    Q_OBJECT

private slots:
    void approveYes();
    void answerNoStillWaits();
    void approvedRowOnlyShows();
    void departmentSelection();
    void rowGoneMeanwhile();
};

void TestRoutingScreens::approveYes()
{
    Office o = office();
    TFRMONAY screen(o.session);
    openApproval(screen, 1, 7, 1);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Gelen Evrak Onayı"));
    QCOMPARE(child<QLineEdit>(screen, "noteEdit")->text(), QStringLiteral("Evrak Görüldü"));
    QCOMPARE(child<QLineEdit>(screen, "userEdit")->text(), QStringLiteral("ZIRVO"));
    QVERIFY(child<QLineEdit>(screen, "approvalTimeEdit")->isReadOnly() && child<QLineEdit>(screen, "userEdit")->isReadOnly());
    // F5 saves as its button says.
    o.clock.set(QDateTime(QDate(2021, 8, 26), QTime(14, 7, 30)));
    QTest::keyClick(&screen, Qt::Key_F5);
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.tag, 1);
    QCOMPARE(o.query("SELECT ONAY || '|' || ONACIK || '|' || ONUSR FROM EVBRM WHERE TUR=1").toString(),
             QStringLiteral("E|Evrak Görüldü|ZIRVO"));
    QCOMPARE(o.query("SELECT ONTAR FROM EVBRM WHERE TUR=1").toDateTime(),
             QDateTime(QDate(2021, 8, 26), QTime(14, 7, 30)));
    QVERIFY(o.prompt.done());
}

void TestRoutingScreens::answerNoStillWaits()
{
    Office o = office();
    TFRMONAY screen(o.session);
    openApproval(screen, 1, 7, 1);
    child<QComboBox>(screen, "approvedBox")->setCurrentIndex(1);
    child<QLineEdit>(screen, "noteEdit")->setText(QStringLiteral("Eksik ek var"));
    child<QPushButton>(screen, "saveButton")->click();
    QCOMPARE(o.query("SELECT ONAY FROM EVBRM WHERE TUR=1").toString(), QStringLiteral("H"));
    QCOMPARE(o.query("SELECT COUNT(*) FROM EVBRM WHERE TUR=1 AND (ONAY<>'E' OR ONAY IS NULL)").toInt(), 1);
    // It can be approved later.
    TFRMONAY again(o.session);
    openApproval(again, 1, 7, 1);
    QVERIFY(child<QPushButton>(again, "saveButton")->isVisible());
    QCOMPARE(child<QComboBox>(again, "approvedBox")->currentText(), QStringLiteral("Evet"));
}

void TestRoutingScreens::approvedRowOnlyShows()
{
    Office o = office();
    TFRMONAY screen(o.session);
    openApproval(screen, 2, 8, 2);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Giden Evrak Onayı"));
    QCOMPARE(child<QLineEdit>(screen, "approvalTimeEdit")->text(), QStringLiteral("04.05.2021 10:11:12"));
    QCOMPARE(child<QLineEdit>(screen, "noteEdit")->text(), QStringLiteral("Postaya verildi"));
    QCOMPARE(child<QLineEdit>(screen, "userEdit")->text(), QStringLiteral("AYŞE"));
    QVERIFY(!child<QPushButton>(screen, "saveButton")->isVisible());
    QVERIFY(child<QLineEdit>(screen, "noteEdit")->isReadOnly());
    QTest::keyClick(&screen, Qt::Key_F5); // the hidden button's key does nothing
    QVERIFY(screen.isVisible());
    QVERIFY(!screen.close()); // the frame cannot close it
    QTest::keyClick(&screen, Qt::Key_F6);
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.mode, 0);
}

void TestRoutingScreens::departmentSelection()
{
    Office o = office();
    IncomingRecord r(o.session);
    r.openNew();
    TFRMBRMEKLE dialog(o.session, r.routing());
    QSignalSpy routed(&dialog, &TFRMBRMEKLE::routed);
    showActive(dialog);
    QCOMPARE(child<QListWidget>(dialog, "departmentsList")->count(), 3);
    QCOMPARE(child<QListWidget>(dialog, "departmentsList")->item(0)->text(), QStringLiteral("FEN İŞLERİ"));
    child<QListWidget>(dialog, "departmentsList")->setCurrentRow(1);
    QTest::keyClick(child<QListWidget>(dialog, "departmentsList"), Qt::Key_Return); // the keyboard's double-click
    QCOMPARE(routed.count(), 1);
    QCOMPARE(child<QListWidget>(dialog, "departmentsList")->count(), 2);
    QVERIFY(dialog.isVisible());
    QCOMPARE(r.routing().rows().rowCount(), 1);
    QCOMPARE(r.routing().rows().value(0, "BIRIM").toString(), QStringLiteral("İMAR"));
    child<QPushButton>(dialog, "routeAllButton")->click(); // Tümünü Aktar
    QVERIFY(!dialog.isVisible());
    QCOMPARE(r.routing().rows().rowCount(), 3);
    QVERIFY(o.prompt.done());
}

void TestRoutingScreens::rowGoneMeanwhile()
{
    Office o = office();
    TFRMONAY screen(o.session);
    openApproval(screen, 1, 7, 1);
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        t.execute("DELETE FROM EVBRM WHERE TUR=1");
        t.commit();
    }
    o.prompt.expect(ScriptedPrompt::Kind::Error, "Onay kaydedilemedi");
    child<QPushButton>(screen, "saveButton")->click();
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.tag, 0);
}

QTEST_MAIN(TestRoutingScreens)
#include "tst_routingscreens.moc"
