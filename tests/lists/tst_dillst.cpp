#include "listoffice.h"

#include "formtest.h"
#include "keptattachments.h"
#include "bookpreview.h"
#include "scriptedrunner.h"
#include "lists/ui/unarslst.h"
#include "lists/ui/undillst.h"
#include "registers/ui/undilekce.h"
#include "registers/ui/unonay.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using Mode = lists::RegisterList::Mode;

namespace {

/// The list office with petitions and archive records:
///  - petitions 301 (no. 9, registered 2020), 302 (no. 1, petition dated
///    2020 but registered 2021, department 2), 303 (no. 2, August 2021,
///    department 1, two attachments (contents in TEXT2021), routed to department 3), 304 (no. 3,
///    September 2021, no department);
///  - archive kinds 1 KARAR, 2 SÖZLEŞME; records 401 (2020, dept 1, kind 1),
///    402 (no. 1, 2021, dept 1, kind 2), 403 (no. 2, August 2021, dept 2,
///    kind 1, one attachment with its content), 404 (no. 3, 2021, dept 1, kind 1).
struct Office : ListOffice
{
    ScriptedRunner runner;

    Office()
    {
        fb::Transaction t(own);
        for (const auto &[k, no, geltar, diltar, birkod] :
             std::initializer_list<std::tuple<int, int, QDate, QDate, int>>{
                 {301, 9, QDate(2020, 12, 28), QDate(2020, 12, 20), 1},
                 {302, 1, QDate(2021, 1, 4), QDate(2020, 12, 30), 2},
                 {303, 2, QDate(2021, 8, 3), QDate(2021, 8, 1), 1},
                 {304, 3, QDate(2021, 9, 10), QDate(2021, 9, 9), 0}}) {
            t.execute(QStringLiteral("INSERT INTO DILEKCE (KAYNO, DILNO, GELTAR, DILTAR, ADI, SOYADI, KONU, "
                                     "BIRKOD, EKSAY) VALUES (:K, :N, :G, :D, 'AYŞE', :S, :KONU, :B, 1)"),
                      {{"K", k}, {"N", no}, {"G", geltar}, {"D", diltar}, {"S", QStringLiteral("ŞAHİN%1").arg(k)},
                       {"KONU", QStringLiteral("Dilekçe %1").arg(k)}, {"B", birkod ? QVariant(birkod) : QVariant()}});
        }
        for (int n : {1, 2})
            t.execute(QStringLiteral("INSERT INTO DILTEXT (KAYNO, SIRNO, TUR, BELKAYNO) VALUES (303, :S, 'A', :B)"),
                      {{"S", n}, {"B", 3030 + n}});
        t.execute(QStringLiteral("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (3, 303, 3)"));
        // An incoming routing row of the same key is not the petition's.
        t.execute(QStringLiteral("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (1, 302, 2)"));
        t.execute(QStringLiteral("INSERT INTO ECINS (ECKOD, ECINS) VALUES (1, 'KARAR')"));
        t.execute(QStringLiteral("INSERT INTO ECINS (ECKOD, ECINS) VALUES (2, 'SÖZLEŞME')"));
        for (const auto &[k, no, date, birkod, eckod] : std::initializer_list<std::tuple<int, int, QDate, int, int>>{
                 {401, 7, QDate(2020, 5, 1), 1, 1},
                 {402, 1, QDate(2021, 2, 1), 1, 2},
                 {403, 2, QDate(2021, 8, 15), 2, 1},
                 {404, 3, QDate(2021, 11, 1), 1, 1}}) {
            t.execute(QStringLiteral("INSERT INTO ARSIV (KAYNO, ARSNO, ARSTAR, EVTAR, EVSAY, KONU, BIRKOD, ECKOD) "
                                     "VALUES (:K, :N, :D, :D, :S, :KONU, :B, :E)"),
                      {{"K", k}, {"N", no}, {"D", date}, {"S", QStringLiteral("A-%1").arg(k)},
                       {"KONU", QStringLiteral("Arşiv %1").arg(k)}, {"B", birkod}, {"E", eckod}});
        }
        t.execute(QStringLiteral("INSERT INTO ARSTEXT (KAYNO, SIRNO, TUR, BELKAYNO) VALUES (403, 1, 'A', 4031)"));
        t.commit();
        for (int b : {3031, 3032})
            addContent(QStringLiteral("DILTEXT"), b);
        addContent(QStringLiteral("ARSTEXT"), 4031);
        session.general.TEXTVT = QStringLiteral("H");
    }

    QList<int> kaynos(const QString &sql)
    {
        fb::Transaction t(own);
        QList<int> out;
        for (const QVariantList &r : t.rows(sql))
            out << r.value(0).toInt();
        return out;
    }
};

void open(RegisterListForm &form, Mode mode = Mode::Work)
{
    form.mode = mode;
    showActive(form);
    form.readAll();
}

QList<int> listed(RegisterListForm &form)
{
    QList<int> out;
    for (int r = 0; r < form.list().rowCount(); ++r)
        out << form.list().kayno(r);
    return out;
}

QString cell(RegisterListForm &form, int row, int column)
{
    return child<QTableView>(form, "listGrid")->model()->index(row, column).data().toString();
}

/// Chooses the item `text` of a filter as the user would.
void choose(RegisterListForm &form, const char *filter, const QString &text)
{
    QComboBox *combo = child<QComboBox>(form, filter);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(filter), text)));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    form.readAll();
}

using Choices = QList<QPair<QByteArray, QString>>;

} // namespace

class TestDILLST : public QObject
{
    Q_OBJECT

private slots:
    void filtersMatchTheQuery_data();
    void filtersMatchTheQuery();
    void petitionColumns();
    void deleteGoesThroughTheRecord_data();
    void deleteGoesThroughTheRecord();
    void modes_data();
    void modes();
    void approvalOnlyWithRouting();
    void approvalReachesEveryRoutingRow();
    void boundUserSeesOwnDepartment();
    void roadOfAPetitionWithAttachments();
    void screenshots();
};

void TestDILLST::filtersMatchTheQuery_data()
{
    QTest::addColumn<bool>("archive");
    QTest::addColumn<Choices>("choices");
    QTest::addColumn<QString>("partQuery");
    QTest::addColumn<QList<int>>("expected");

    const QString petition = QStringLiteral("SELECT D.KAYNO FROM DILEKCE D LEFT JOIN BIRIM B ON(B.BKOD=D.BIRKOD) %1 "
                                            "ORDER BY D.DILNO");
    const QString archive = QStringLiteral("SELECT G1.KAYNO FROM ARSIV G1 LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD) "
                                           "LEFT JOIN ECINS E ON(E.ECKOD=G1.ECKOD) %1 ORDER BY G1.ARSNO");
    // The petition's year: registration, not petition date (302 is dated 2020).
    QTest::newRow("petition opened") << false << Choices{}
                                     << petition.arg("WHERE EXTRACT(YEAR FROM D.GELTAR)=2021")
                                     << QList<int>{302, 303, 304};
    QTest::newRow("petition all years") << false << Choices{{"yearFilter", "TÜMÜ"}} << petition.arg("")
                                        << QList<int>{302, 303, 304, 301};
    QTest::newRow("petition 2020") << false << Choices{{"yearFilter", "2020"}}
                                   << petition.arg("WHERE EXTRACT(YEAR FROM D.GELTAR)=2020") << QList<int>{301};
    QTest::newRow("petition department and month")
        << false << Choices{{"departmentFilter", "YAZI İŞLERİ"}, {"monthFilter", "Ağustos"}}
        << petition.arg("WHERE B.BKOD=1 AND EXTRACT(YEAR FROM D.GELTAR)=2021 AND EXTRACT(MONTH FROM D.GELTAR)=8")
        << QList<int>{303};
    QTest::newRow("petition department all years")
        << false << Choices{{"departmentFilter", "FEN İŞLERİ"}, {"yearFilter", "TÜMÜ"}}
        << petition.arg("WHERE B.BKOD=2") << QList<int>{302};
    QTest::newRow("archive opened") << true << Choices{}
                                    << archive.arg("WHERE EXTRACT(YEAR FROM G1.ARSTAR)=2021")
                                    << QList<int>{402, 403, 404};
    QTest::newRow("archive department and kind")
        << true << Choices{{"departmentFilter", "YAZI İŞLERİ"}, {"kindFilter", "KARAR"}}
        << archive.arg("WHERE G1.BIRKOD=1 AND G1.ECKOD=1 AND EXTRACT(YEAR FROM G1.ARSTAR)=2021")
        << QList<int>{404};
    QTest::newRow("archive kind all years") << true << Choices{{"kindFilter", "KARAR"}, {"yearFilter", "TÜMÜ"}}
                                            << archive.arg("WHERE G1.ECKOD=1") << QList<int>{403, 404, 401};
    QTest::newRow("archive month") << true << Choices{{"monthFilter", "Ağustos"}}
                                   << archive.arg("WHERE EXTRACT(YEAR FROM G1.ARSTAR)=2021 AND "
                                                  "EXTRACT(MONTH FROM G1.ARSTAR)=8")
                                   << QList<int>{403};
}

void TestDILLST::filtersMatchTheQuery()
{
    QFETCH(bool, archive);
    QFETCH(Choices, choices);
    QFETCH(QString, partQuery);
    QFETCH(QList<int>, expected);
    Office o;
    std::unique_ptr<RegisterListForm> form;
    if (archive)
        form = std::make_unique<TFRMARSIVLST>(o.session, o.runner);
    else
        form = std::make_unique<TFRMDILLST>(o.session, o.runner);
    open(*form);
    // Opening: the working year, every month, the newest number chosen.
    QCOMPARE(child<QComboBox>(*form, "yearFilter")->currentText(), QString("2021"));
    QCOMPARE(child<QComboBox>(*form, "monthFilter")->currentText(), QString("Tümü"));
    for (const auto &[filter, text] : choices)
        choose(*form, filter.constData(), text);
    QCOMPARE(listed(*form), expected);
    QCOMPARE(o.kaynos(partQuery), expected);
    QCOMPARE(form->currentRow(), expected.size() - 1);
    QCOMPARE(child<QLineEdit>(*form, "kaynoEdit")->text(), QString::number(expected.last()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDILLST::petitionColumns()
{
    Office o;
    TFRMDILLST form(o.session, o.runner);
    open(form);
    QCOMPARE(form.windowTitle(), QString("DİLEKÇE  LİSTESİ"));
    QAbstractItemModel *model = child<QTableView>(form, "listGrid")->model();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({"Kay.No", "Kay.Tarihi", "Adı ve Soyadı", "Dilekçe Tar.", "Konusu",
                                   "Verildiği Birim", "Ad.", "Cevap Süresi"}));
    // Row 0 is 302: registered 4 January 2021, dated 30 December 2020.
    QCOMPARE(form.list().value(0, "GELTAR").toDate(), QDate(2021, 1, 4));
    QCOMPARE(form.list().value(0, "DILTAR").toDate(), QDate(2020, 12, 30));
    QCOMPARE(cell(form, 0, 2), QString("AYŞE ŞAHİN302"));
    QCOMPARE(cell(form, 0, 5), QString("FEN İŞLERİ"));
    QCOMPARE(cell(form, 1, 6), QString("2"));
    QCOMPARE(cell(form, 2, 6), QString("0"));
    QCOMPARE(child<QLineEdit>(form, "subjectEdit")->text(), QString("Dilekçe 304"));

    TFRMARSIVLST archive(o.session, o.runner);
    open(archive);
    QCOMPARE(archive.windowTitle(), QString("ARŞİV BELGELERİ  LİSTESİ"));
    // 403: department, kind, "date number", attachments.
    QCOMPARE(cell(archive, 1, 2), QString("FEN İŞLERİ"));
    QCOMPARE(cell(archive, 1, 3), QString("KARAR"));
    QCOMPARE(cell(archive, 1, 4), QString("15.08.2021 A-403"));
    QCOMPARE(cell(archive, 1, 6), QString("1"));
}

void TestDILLST::deleteGoesThroughTheRecord_data()
{
    QTest::addColumn<bool>("archive");
    QTest::addColumn<bool>("yes");
    QTest::newRow("petition") << false << true;
    QTest::newRow("petition declined") << false << false;
    QTest::newRow("archive") << true << true;
    QTest::newRow("archive declined") << true << false;
}

void TestDILLST::deleteGoesThroughTheRecord()
{
    QFETCH(bool, archive);
    QFETCH(bool, yes);
    Office o;
    std::unique_ptr<RegisterListForm> form;
    if (archive)
        form = std::make_unique<TFRMARSIVLST>(o.session, o.runner);
    else
        form = std::make_unique<TFRMDILLST>(o.session, o.runner);
    open(*form);
    const int victim = archive ? 403 : 303;
    const QString table = archive ? "ARSIV" : "DILEKCE";
    const QString texts = archive ? "ARSTEXT" : "DILTEXT";
    // Contents in the yearly database: they go with the rows, or stay with them.
    o.session.general.TEXTVT = "A";
    form->setCurrentRow(1);
    o.prompt.expectQuestion("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?", yes);
    QTest::keyClick(form.get(), Qt::Key_F10);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    const int left = yes ? 0 : 1;
    QCOMPARE(o.value(QString("SELECT COUNT(*) FROM %1 WHERE KAYNO=%2").arg(table).arg(victim)).toInt(), left);
    QCOMPARE(o.value(QString("SELECT COUNT(*) FROM %1 WHERE KAYNO=%2").arg(texts).arg(victim)).toInt() > 0, !yes);
    QCOMPARE(o.contents(texts).isEmpty(), yes);
    if (!yes) {
        QCOMPARE(form->currentRow(), 1);
        return;
    }
    // The row before is current; the number series follows the highest left.
    QCOMPARE(listed(*form), archive ? QList<int>({402, 404}) : QList<int>({302, 304}));
    QCOMPARE(form->currentRow(), 0);
    const QString generator = archive ? "GEN_ARSNO" : "GEN_DILNO";
    QCOMPARE(o.value(QString("SELECT GEN_ID(%1, 0) FROM RDB$DATABASE").arg(generator)).toInt(), archive ? 7 : 9);
    if (!archive) // an incoming routing row of the same key stays
        QCOMPARE(o.value("SELECT COUNT(*) FROM EVBRM WHERE TUR=1 AND EKAYNO=302").toInt(), 1);
}

void TestDILLST::modes_data()
{
    QTest::addColumn<bool>("work");
    QTest::newRow("work") << true;
    QTest::newRow("register book") << false;
}

void TestDILLST::modes()
{
    QFETCH(bool, work);
    Office o;
    TFRMDILLST form(o.session, o.runner);
    open(form, work ? Mode::Work : Mode::RegisterBook);
    for (const char *name : {"newButton", "changeButton", "deleteButton", "searchButton"})
        QVERIFY2(child<QPushButton>(form, name)->isVisible() == work, name);
    QCOMPARE(child<QPushButton>(form, "printButton")->isVisible(), !work);

    // New, then change of the current row, open the petition screen in its mode.
    int newTag = 0, changeTag = 0, changeKayno = 0;
    o.runner.then([&](KelmaForm &f) { newTag = f.tag; f.closeForm(0); })
        .then([&](KelmaForm &f) {
            changeTag = f.tag;
            changeKayno = static_cast<TFRMDILEKCE &>(f).kayno;
            f.closeForm(0);
        });
    QTest::keyClick(&form, Qt::Key_F2);
    QTest::keyClick(&form, Qt::Key_F4);
    if (work) {
        QCOMPARE(o.runner.shown(), QStringList({"TFRMDILEKCE", "TFRMDILEKCE"}));
        QCOMPARE(newTag, 1);
        QCOMPARE(changeTag, 2);
        QCOMPARE(changeKayno, 304);
        QCOMPARE(form.currentRow(), 2);
    } else {
        QVERIFY(o.runner.shown().isEmpty());
    }
    // F7 previews the petition book of the rows shown, only in that mode.
    LookingRunner preview;
    const QStringList missing
        = pressF7(form, o.session, preview, {"DİLEKÇE DEFTERİ", "ŞAHİN302", "ŞAHİN303", "ŞAHİN304", "30.12.2020"});
    QCOMPARE(missing, work ? QStringList{"no preview"} : QStringList{});
    QCOMPARE(o.session.printReturn, !work);

    // The archive list knows no register book: asked for one, it works.
    newTag = 0;
    o.runner.then([&](KelmaForm &f) { newTag = f.tag; f.closeForm(0); });
    TFRMARSIVLST archive(o.session, o.runner);
    open(archive, work ? Mode::Work : Mode::RegisterBook);
    QVERIFY(!child<QPushButton>(archive, "printButton")->isVisible());
    QVERIFY(child<QPushButton>(archive, "newButton")->isVisible());
    QTest::keyClick(&archive, Qt::Key_F2);
    QCOMPARE(o.runner.shown().last(), QString("TFRMARSIV"));
    QCOMPARE(newTag, 1);
}

void TestDILLST::approvalOnlyWithRouting()
{
    Office o;
    o.session.general.ONDUR = "E";
    TFRMDILLST form(o.session, o.runner);
    open(form);
    QAction *approve = child<QAction>(form, "approveAction");
    QVERIFY(approve->isVisible());
    const QList<bool> enabled = {false, true, false}; // only 303 has routing rows
    for (int r = 0; r < 3; ++r) {
        form.setCurrentRow(r);
        QVERIFY2(approve->isEnabled() == enabled[r], qPrintable(QString::number(r)));
    }
    // A disabled item does nothing, even when called.
    form.setCurrentRow(0);
    form.Onayla1Click();
    QVERIFY(o.runner.shown().isEmpty());

    form.setCurrentRow(1);
    int mode = 0, bkod = 0;
    o.runner.then([&](KelmaForm &f) {
        mode = static_cast<TFRMONAY &>(f).mode;
        bkod = static_cast<TFRMONAY &>(f).bkod;
        f.closeForm(0);
    });
    approve->trigger();
    QCOMPARE(o.runner.shown(), QStringList({"TFRMONAY"}));
    QCOMPARE(mode, 3);
    QCOMPARE(bkod, 3);
    QCOMPARE(form.currentRow(), 1);

    TFRMARSIVLST archive(o.session, o.runner);
    open(archive);
    QVERIFY(!child<QAction>(archive, "approveAction")->isVisible());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDILLST::approvalReachesEveryRoutingRow()
{
    Office o;
    o.session.general.ONDUR = "E";
    {
        fb::Transaction t(o.own);
        t.execute("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (3, 303, 1)");
        t.execute("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (3, 302, 3)");
        t.commit();
    }
    TFRMDILLST form(o.session, o.runner);
    open(form);
    QStringList seen;
    const auto look = [&](KelmaForm &f) {
        seen << QStringLiteral("%1 %2 / %3")
                    .arg(static_cast<TFRMONAY &>(f).bkod)
                    .arg(f.windowTitle(), child<QLineEdit>(f, "noteEdit")->text());
    };
    const auto approve = [&](KelmaForm &f) {
        look(f);
        child<QPushButton>(f, "saveButton")->click();
    };
    // Routed to departments 1 and 3: each "Onayla" takes the next one waiting,
    // then, all approved, shows the first; worded as for incoming documents.
    o.runner.then(approve).then(approve).then(look);
    form.setCurrentRow(1);
    for (int i = 0; i < 3; ++i) {
        child<QAction>(form, "approveAction")->trigger();
        QCOMPARE(form.list().kayno(form.currentRow()), 303);
    }
    QCOMPARE(seen, QStringList({"1 Gelen Evrak Onayı / Evrak Görüldü", "3 Gelen Evrak Onayı / Evrak Görüldü",
                                "1 Gelen Evrak Onayı / Evrak Görüldü"}));
    QCOMPARE(o.kaynos("SELECT BKOD FROM EVBRM WHERE TUR=3 AND EKAYNO=303 AND ONAY='E' ORDER BY BKOD"),
             QList<int>({1, 3}));
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));

    // A user bound to a department approves only its routing row.
    o.session.userDepartment = 2;
    TFRMDILLST bound(o.session, o.runner);
    open(bound);
    QCOMPARE(bound.list().kayno(bound.currentRow()), 302);
    o.prompt.expectMessage("biriminize verilmemiş");
    child<QAction>(bound, "approveAction")->trigger();
    QCOMPARE(o.runner.shown().size(), 3);
    o.exec("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (3, 302, 2)");
    o.runner.then(look);
    child<QAction>(bound, "approveAction")->trigger();
    QCOMPARE(seen.last(), QString("2 Gelen Evrak Onayı / Evrak Görüldü"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestDILLST::boundUserSeesOwnDepartment()
{
    Office o;
    o.session.userDepartment = 2;
    TFRMARSIVLST archive(o.session, o.runner);
    open(archive);
    QComboBox *department = child<QComboBox>(archive, "departmentFilter");
    QCOMPARE(department->currentText(), QString("FEN İŞLERİ"));
    QVERIFY(!department->isEnabled());
    QCOMPARE(listed(archive), QList<int>({403}));
}

void TestDILLST::roadOfAPetitionWithAttachments()
{
    Office o;
    KeptAttachments kept(o.session, o.db);
    const QByteArray scan = "%PDF-1.4 taranmış dilekçe";
    TFRMDILLST form(o.session, o.runner);
    open(form);
    int kayno = 0;
    // F2: the clerk fills the real petition screen, adds the scanned petition and saves.
    o.runner.then([&](KelmaForm &f) {
        auto &screen = static_cast<TFRMDILEKCE &>(f);
        kayno = screen.kayno;
        child<QLineEdit>(screen, "firstNameEdit")->setText(QStringLiteral("Gülşen"));
        child<QLineEdit>(screen, "surnameEdit")->setText(QStringLiteral("Işık"));
        child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Kaldırım onarımı"));
        o.prompt.expectOpenFile(kept.file(QStringLiteral("tarama.pdf"), scan));
        child<QPushButton>(screen, "addButton")->click();
        child<QPushButton>(screen, "saveButton")->click();
    });
    QTest::keyClick(&form, Qt::Key_F2);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    // Numbered after 302, 303, 304 of this year; the list shows it as the current row.
    QCOMPARE(o.value("SELECT DILNO FROM DILEKCE WHERE KAYNO=:K", {{"K", kayno}}).toInt(), 4);
    QCOMPARE(form.list().kayno(form.currentRow()), kayno);
    const int number = o.value("SELECT BELKAYNO FROM DILTEXT WHERE KAYNO=:K", {{"K", kayno}}).toInt();
    QCOMPARE(kept.yearly("SELECT METIN FROM DILTEXT WHERE BELKAYNO=:B", {{"B", number}}).toByteArray(), scan);

    // F10 takes the petition, its attachment row and its content in the yearly database.
    o.prompt.expectQuestion("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?", true);
    QTest::keyClick(&form, Qt::Key_F10);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.value("SELECT (SELECT COUNT(*) FROM DILEKCE WHERE KAYNO=:K) + (SELECT COUNT(*) FROM DILTEXT "
                     "WHERE KAYNO=:K) FROM RDB$DATABASE", {{"K", kayno}}).toInt(), 0);
    QCOMPARE(kept.yearly("SELECT COUNT(*) FROM DILTEXT WHERE BELKAYNO=:B", {{"B", number}}).toInt(), 0);
    QVERIFY(!listed(form).contains(kayno));
}

void TestDILLST::screenshots()
{
    const QString folder = qEnvironmentVariable("KELMA_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("KELMA_SCREENSHOTS names the folder for the pictures");
    Office o;
    TFRMDILLST petitions(o.session, o.runner);
    open(petitions);
    QVERIFY(petitions.grab().save(QDir(folder).filePath(QStringLiteral("dillst.png"))));
    petitions.hide();
    TFRMARSIVLST archive(o.session, o.runner);
    open(archive);
    QVERIFY(archive.grab().save(QDir(folder).filePath(QStringLiteral("arslst.png"))));
}

QTEST_MAIN(TestDILLST)
#include "tst_dillst.moc"
