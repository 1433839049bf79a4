// The related-document pickers: which documents each offers and how its
// filters narrow them, read from the real dialogs over a real database.

#include "registers/ui/recordpicker.h"

#include "formtest.h"
#include "office.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

namespace {

Office office()
{
    return Office({
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (1,'YAZI İŞLERİ','B')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (2,'İMAR','B')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (9,'ANKARA VALİLİĞİ','K')"),
        QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (10,'İZMİR VALİLİĞİ','K')"),
        // Waiting, waiting, not expecting one, already answered.
        QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,BIRKOD,EVSAY,EVTAR,CEVDUR,CEVNO) "
                       "VALUES (50,1,'2021-05-01',9,1,'A-1','2021-04-30','E',0)"),
        QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,BIRKOD,CEVDUR,CEVNO) VALUES (51,2,'2021-05-02',10,2,'E',0)"),
        QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,CEVDUR,CEVNO) VALUES (52,3,'2021-05-03',9,'H',0)"),
        QStringLiteral("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,KURKOD,CEVDUR,CEVNO) VALUES (53,4,'2021-05-04',9,'E',7)"),
        QStringLiteral("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KURKOD,BIRKOD,CEVDUR,CEVNO) VALUES (60,1,'2021-05-01',9,1,'E',0)"),
        QStringLiteral("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KURKOD,BIRKOD,CEVDUR,CEVNO) VALUES (61,2,'2021-05-02',10,2,'E',0)"),
        QStringLiteral("INSERT INTO GIDEN (KAYNO,GIDNO,GIDTAR,KURKOD,BIRKOD,CEVDUR,CEVNO) VALUES (62,3,'2021-05-03',9,1,'E',50)"),
        QStringLiteral("INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,ADI,SOYADI,BIRKOD,CEVDUR,CEVNO) VALUES (70,1,'2021-05-01','Ayşe','Çelik',1,'E',0)"),
        QStringLiteral("INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,ADI,SOYADI,BIRKOD,CEVDUR,CEVNO) VALUES (71,2,'2021-05-02','Ali','Işık_%',2,'H',0)"),
        QStringLiteral("INSERT INTO DILEKCE (KAYNO,DILNO,DILTAR,ADI,SOYADI,BIRKOD,CEVDUR,CEVNO) VALUES (72,3,'2021-05-03','İsmail','Öz',1,'E',60)")});
}

QList<int> keys(const RecordPicker &picker)
{
    QList<int> out;
    for (const pickers::Row &r : picker.rows())
        out << r.KAYNO;
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

class TestPickers : public QObject
{
    Q_OBJECT

private slots:
    void awaitingAnswer_data();
    void awaitingAnswer();
    void petitions_data();
    void petitions();
    void choiceAndCancel();
};

void TestPickers::awaitingAnswer_data()
{
    QTest::addColumn<bool>("outgoing");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("department");
    QTest::addColumn<QList<int>>("offered");
    QTest::newRow("incoming, all") << false << "TÜMÜ" << "TÜMÜ" << QList<int>{50, 51};
    QTest::newRow("incoming, body") << false << "ANKARA VALİLİĞİ" << "TÜMÜ" << QList<int>{50};
    QTest::newRow("incoming, department") << false << "TÜMÜ" << "İMAR" << QList<int>{51};
    QTest::newRow("incoming, both, none") << false << "ANKARA VALİLİĞİ" << "İMAR" << QList<int>{};
    QTest::newRow("outgoing, all") << true << "TÜMÜ" << "TÜMÜ" << QList<int>{60, 61};
    QTest::newRow("outgoing, department") << true << "TÜMÜ" << "YAZI İŞLERİ" << QList<int>{60};
}

void TestPickers::awaitingAnswer()
{
    QFETCH(bool, outgoing);
    QFETCH(QString, body);
    QFETCH(QString, department);
    QFETCH(QList<int>, offered);
    Office o = office();
    std::unique_ptr<RecordPicker> picker;
    if (outgoing)
        picker = std::make_unique<TFRMGIDBUL>(o.session);
    else
        picker = std::make_unique<TFRMGELBUL>(o.session);
    showActive(*picker);
    child<QComboBox>(*picker, "bodyFilterCombo")->setCurrentText(body);
    child<QComboBox>(*picker, "departmentFilterCombo")->setCurrentText(department);
    QCOMPARE(keys(*picker), offered);
    if (!outgoing && offered == QList<int>{50, 51}) {
        QCOMPARE(picker->rows().first().cells,
                 QStringList({"1", "01.05.2021", "ANKARA VALİLİĞİ", "30.04.2021/A-1", "", "YAZI İŞLERİ"}));
    }
}

void TestPickers::petitions_data()
{
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("awaited");
    QTest::addColumn<QString>("answered");
    QTest::addColumn<QList<int>>("offered");
    QTest::newRow("all") << "TÜMÜ" << "" << "Tümü" << "Tümü" << QList<int>{70, 71, 72};
    QTest::newRow("name in lower case") << "TÜMÜ" << "ayşe" << "Tümü" << "Tümü" << QList<int>{70};
    QTest::newRow("dotless and dotted i") << "TÜMÜ" << "ışık" << "Tümü" << "Tümü" << QList<int>{71};
    QTest::newRow("i becomes İ") << "TÜMÜ" << "ismail öz" << "Tümü" << "Tümü" << QList<int>{72};
    QTest::newRow("percent is literal") << "TÜMÜ" << "%" << "Tümü" << "Tümü" << QList<int>{71};
    QTest::newRow("underscore is literal") << "TÜMÜ" << "_" << "Tümü" << "Tümü" << QList<int>{71};
    QTest::newRow("waiting, not answered") << "TÜMÜ" << "" << "Evet" << "Hayır" << QList<int>{70};
    QTest::newRow("answered") << "TÜMÜ" << "" << "Tümü" << "Evet" << QList<int>{72};
    QTest::newRow("not expecting one") << "TÜMÜ" << "" << "Hayır" << "Tümü" << QList<int>{71};
    QTest::newRow("department") << "YAZI İŞLERİ" << "" << "Tümü" << "Tümü" << QList<int>{70, 72};
    QTest::newRow("department and name") << "YAZI İŞLERİ" << "Ö" << "Tümü" << "Tümü" << QList<int>{72};
}

void TestPickers::petitions()
{
    QFETCH(QString, department);
    QFETCH(QString, name);
    QFETCH(QString, awaited);
    QFETCH(QString, answered);
    QFETCH(QList<int>, offered);
    Office o = office();
    TFRMDILBUL picker(o.session);
    showActive(picker);
    child<QComboBox>(picker, "departmentFilterCombo")->setCurrentText(department);
    auto *nameEdit = child<QLineEdit>(picker, "applicantFilterEdit");
    nameEdit->setFocus();
    typeText(nameEdit, name);
    child<QComboBox>(picker, "awaitedFilterCombo")->setCurrentText(awaited);
    child<QComboBox>(picker, "answeredFilterCombo")->setCurrentText(answered);
    QCOMPARE(keys(picker), offered);
}

void TestPickers::choiceAndCancel()
{
    Office o = office();
    TFRMDILBUL picker(o.session);
    showActive(picker);
    child<QComboBox>(picker, "answeredFilterCombo")->setCurrentText(QStringLiteral("Evet"));
    QTest::keyClick(&picker, Qt::Key_F5);
    QVERIFY(!picker.isVisible());
    QCOMPARE(picker.tag, 1);
    QCOMPARE(picker.KAYNO, 72);
    // The answer filters keep their choice; nothing of the last choice carries over.
    showActive(picker);
    QCOMPARE(child<QComboBox>(picker, "answeredFilterCombo")->currentText(), QStringLiteral("Evet"));
    QCOMPARE(picker.KAYNO, 0);
    QVERIFY(!picker.close());
    QTest::keyClick(&picker, Qt::Key_Escape);
    QVERIFY(!picker.isVisible());
    QCOMPARE(picker.tag, 0);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
