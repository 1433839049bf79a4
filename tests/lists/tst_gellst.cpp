#include "listoffice.h"

#include "formtest.h"
#include "scriptedrunner.h"
#include "lists/ui/ungellst.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using Mode = lists::RegisterList::Mode;

namespace {

struct Office : ListOffice
{
    ScriptedRunner runner;
};

constexpr int kApprovalColumn = 13;

void open(TFRMGELLST &form, Mode mode)
{
    form.mode = mode;
    showActive(form);
    form.readAll();
}

/// The work list on the whole working year.
void openOnTheYear(TFRMGELLST &form)
{
    open(form, Mode::Work);
    child<QComboBox>(form, "monthFilter")->setCurrentIndex(0);
    emit child<QComboBox>(form, "monthFilter")->activated(0);
    form.readAll();
}

/// The row of a document's routing to one department; -1 when not listed.
int rowOf(TFRMGELLST &form, int kayno, int bkod)
{
    for (int r = 0; r < form.list().rowCount(); ++r) {
        if (form.list().kayno(r) == kayno && form.list().value(r, "BKOD").toInt() == bkod)
            return r;
    }
    return -1;
}

QString cell(TFRMGELLST &form, int row, int column)
{
    QTableView *grid = child<QTableView>(form, "listGrid");
    return grid->model()->index(row, column).data().toString();
}

QPushButton *buttonText(QWidget &form, const QString &text)
{
    for (QPushButton *b : form.findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

} // namespace

class TestGELLST : public QObject
{
    Q_OBJECT

private slots:
    void modesShowTheirButtons_data();
    void modesShowTheirButtons();
    void rightsDisableButtonsAndTheirKeys_data();
    void rightsDisableButtonsAndTheirKeys();
    void approveFromTheList();
    void noApprovalNoMenu();
    void rowDeletedElsewhereOnChange();
    void approvalOfARowGoneElsewhere_data();
    void approvalOfARowGoneElsewhere();
    void onlyItsExitCloses();
    void filterChangeRebuildsTheList();
    void subjectSearchBringsTheRecordIn_data();
    void subjectSearchBringsTheRecordIn();
    void screenshots();
};

void TestGELLST::modesShowTheirButtons_data()
{
    QTest::addColumn<bool>("work");
    QTest::newRow("work") << true;
    QTest::newRow("register book") << false;
}

void TestGELLST::modesShowTheirButtons()
{
    QFETCH(bool, work);
    const Mode mode = work ? Mode::Work : Mode::RegisterBook;
    Office o;
    o.session.general.TEXTVT = "H";
    TFRMGELLST form(o.session, o.runner);
    open(form, mode);
    QCOMPARE(form.windowTitle(), QString("GELEN EVRAK  LİSTESİ"));
    for (const char *name : {"newButton", "changeButton", "deleteButton", "searchButton"})
        QVERIFY2(child<QPushButton>(form, name)->isVisible() == work, name);
    QCOMPARE(child<QPushButton>(form, "printButton")->isVisible(), !work);
    QVERIFY(child<QPushButton>(form, "exitButton")->isVisible());

    // Year on the working year, month on today's: August 2021, cursor on the last row.
    QCOMPARE(child<QComboBox>(form, "yearFilter")->currentText(), QString("2021"));
    QCOMPARE(child<QComboBox>(form, "monthFilter")->currentText(), QString("Ağustos"));
    QCOMPARE(form.currentRow(), 2);
    QCOMPARE(child<QLineEdit>(form, "kaynoEdit")->text(), QString("203"));

    // Keys of hidden buttons do nothing; a double-click changes only at work.
    o.runner.then([](KelmaForm &) {}).then([](KelmaForm &) {});
    QTest::keyClick(&form, Qt::Key_F2);
    QTableView *grid = child<QTableView>(form, "listGrid");
    const QRect r = grid->visualRect(grid->model()->index(0, 0));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(o.runner.shown(), work ? QStringList({"TFRMGELEN", "TFRMGELEN"}) : QStringList());
    QVERIFY(o.session.printReturn == false);

    // F7 prints the register book, and only in that mode.
    const int before = form.currentRow();
    bool printed = false;
    form.printRegister = [&](lists::RegisterList &list) { printed = list.rowCount() == 3; };
    QTest::keyClick(&form, Qt::Key_F7);
    QCOMPARE(printed, !work);
    if (!work) {
        QVERIFY(o.session.printReturn);
        // Back from the preview: filters and cursor as they were.
        child<QComboBox>(form, "monthFilter")->setCurrentIndex(0);
        form.hide();
        form.show();
        QCOMPARE(child<QComboBox>(form, "monthFilter")->currentIndex(), 0);
        QCOMPARE(form.currentRow(), before);
    }
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestGELLST::rightsDisableButtonsAndTheirKeys_data()
{
    QTest::addColumn<QString>("udur");
    QTest::addColumn<bool>("governed");
    QTest::newRow("user control on") << "1" << true;
    QTest::newRow("user control off") << "0" << false;
}

void TestGELLST::rightsDisableButtonsAndTheirKeys()
{
    QFETCH(QString, udur);
    QFETCH(bool, governed);
    Office o;
    o.session.general.UDUR = udur;
    o.session.general.ONDUR = "E";
    o.session.GRDUSER = {{"1", "E", "H", "E", "H"}, {"6", "E", "H", "E", "E"}};
    TFRMGELLST form(o.session, o.runner);
    open(form, Mode::Work);
    QCOMPARE(child<QPushButton>(form, "newButton")->isEnabled(), !governed);
    QVERIFY(child<QPushButton>(form, "changeButton")->isEnabled());
    QCOMPARE(child<QPushButton>(form, "deleteButton")->isEnabled(), !governed);
    QCOMPARE(form.findChild<QAction *>("approveAction")->isEnabled(), !governed);

    if (governed) {
        QTest::keyClick(&form, Qt::Key_F2);
        QTest::keyClick(&form, Qt::Key_F10);
        QVERIFY(o.runner.shown().isEmpty());
        QVERIFY(o.prompt.transcript().isEmpty());
    }
}

void TestGELLST::approveFromTheList()
{
    Office o;
    o.session.general.ONDUR = "E";
    TFRMGELLST form(o.session, o.runner);
    openOnTheYear(form);
    QCOMPARE(child<QTableView>(form, "listGrid")->contextMenuPolicy(), Qt::CustomContextMenu);

    // 201 went to three departments: the row of department 1 waits.
    const int row = rowOf(form, 201, 1);
    QVERIFY(row >= 0);
    QCOMPARE(cell(form, row, kApprovalColumn), QString("X"));
    form.setCurrentRow(row);
    o.runner.then([](KelmaForm &dialog) { buttonText(dialog, "F5-Kayıt")->click(); });
    form.findChild<QAction *>("approveAction")->trigger();

    QCOMPARE(o.value("SELECT ONAY FROM EVBRM WHERE TUR=1 AND EKAYNO=201 AND BKOD=1").toString(), QString("E"));
    QCOMPARE(form.list().kayno(form.currentRow()), 201);
    QCOMPARE(form.list().value(form.currentRow(), "BKOD").toInt(), 1);
    QCOMPARE(cell(form, form.currentRow(), kApprovalColumn), QString());
    // No routing row: waits for ever, marked.
    QCOMPARE(cell(form, form.list().locate(203), kApprovalColumn), QString("X"));
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
}

void TestGELLST::noApprovalNoMenu()
{
    Office o;
    o.session.general.ONDUR = "H";
    TFRMGELLST form(o.session, o.runner);
    open(form, Mode::Work);
    QCOMPARE(child<QTableView>(form, "listGrid")->contextMenuPolicy(), Qt::NoContextMenu);
    for (int r = 0; r < form.list().rowCount(); ++r)
        QCOMPARE(cell(form, r, kApprovalColumn), QString());
}

void TestGELLST::rowDeletedElsewhereOnChange()
{
    Office o;
    TFRMGELLST form(o.session, o.runner);
    open(form, Mode::Work);
    QCOMPARE(form.list().kayno(form.currentRow()), 203);
    o.exec("DELETE FROM GELEN WHERE KAYNO=203");
    o.prompt.expectMessage("başka bir kullanıcı");
    QTest::keyClick(&form, Qt::Key_F4);
    form.readAll();
    QVERIFY(o.runner.shown().isEmpty());
    QCOMPARE(form.list().locate(203), -1);
    QCOMPARE(form.list().rowCount(), 1);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    // Deleted while the list was open, then F10.
    o.exec("DELETE FROM GELEN WHERE KAYNO=202");
    o.prompt.expectQuestion("Silinecektir", true).expectMessage("başka bir kullanıcı");
    QTest::keyClick(&form, Qt::Key_F10);
    QCOMPARE(form.list().rowCount(), 0);
    QCOMPARE(form.currentRow(), -1);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestGELLST::approvalOfARowGoneElsewhere_data()
{
    QTest::addColumn<QStringList>("elsewhere");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("said");

    QTest::newRow("document deleted")
        << QStringList{"DELETE FROM EVBRM WHERE TUR=1 AND EKAYNO=201", "DELETE FROM GELEN WHERE KAYNO=201"} << false
        << "başka bir kullanıcı tarafından silinmiş";
    QTest::newRow("routing row taken back")
        << QStringList{"DELETE FROM EVBRM WHERE TUR=1 AND EKAYNO=201 AND BKOD=1"} << true
        << "havale kaydı bulunamadı";
}

void TestGELLST::approvalOfARowGoneElsewhere()
{
    QFETCH(QStringList, elsewhere);
    QFETCH(bool, dialogShown);
    QFETCH(QString, said);

    Office o;
    o.session.general.ONDUR = "E";
    TFRMGELLST form(o.session, o.runner);
    openOnTheYear(form);
    const int row = rowOf(form, 201, 1);
    QVERIFY(row >= 0);
    form.setCurrentRow(row);
    for (const QString &sql : elsewhere)
        o.exec(sql);

    o.prompt.expectMessage(said);
    if (dialogShown) {
        o.runner.then([](KelmaForm &dialog) {
            // Nothing to save: the dialog only lets the clerk leave.
            QVERIFY(!child<QPushButton>(dialog, "saveButton")->isVisible());
            child<QPushButton>(dialog, "cancelButton")->click();
        });
    }
    form.findChild<QAction *>("approveAction")->trigger();
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
    QCOMPARE(o.runner.shown().size(), dialogShown ? 1 : 0);
    QVERIFY2(o.runner.done(), qPrintable(o.runner.report()));
    QCOMPARE(o.value("SELECT COUNT(*) FROM EVBRM WHERE TUR=1 AND EKAYNO=201 AND BKOD=1").toInt(), 0);
    // The list shows what the database holds now.
    form.readAll();
    QCOMPARE(rowOf(form, 201, 1), -1);
}

void TestGELLST::onlyItsExitCloses()
{
    Office o;
    TFRMGELLST form(o.session, o.runner);
    open(form, Mode::RegisterBook);
    form.close();
    QVERIFY(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
}

void TestGELLST::filterChangeRebuildsTheList()
{
    Office o;
    TFRMGELLST form(o.session, o.runner);
    open(form, Mode::Work);
    QComboBox *year = child<QComboBox>(form, "yearFilter");
    QCOMPARE(year->count(), 4);
    year->setCurrentIndex(0);
    emit year->activated(0);
    child<QComboBox>(form, "monthFilter")->setCurrentIndex(0);
    emit child<QComboBox>(form, "monthFilter")->activated(0);
    form.readAll();
    QCOMPARE(form.list().rowCount(), 9);
    QCOMPARE(form.currentRow(), 8);
}

void TestGELLST::screenshots()
{
    const QString folder = qEnvironmentVariable("KELMA_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("KELMA_SCREENSHOTS names the folder for the pictures");
    Office o;
    o.session.general.ONDUR = "E";
    for (const auto &[mode, name] : {std::pair{Mode::Work, "gellst-work.png"},
                                     std::pair{Mode::RegisterBook, "gellst-register-book.png"}}) {
        TFRMGELLST form(o.session, o.runner);
        open(form, mode);
        child<QComboBox>(form, "monthFilter")->setCurrentIndex(0);
        emit child<QComboBox>(form, "monthFilter")->activated(0);
        form.readAll();
        QVERIFY(form.grab().save(QDir(folder).filePath(QLatin1String(name))));
        form.hide();
    }
}

void TestGELLST::subjectSearchBringsTheRecordIn_data()
{
    QTest::addColumn<int>("department"); // the user's; 0 none
    QTest::addColumn<int>("kayno");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<int>("reply");
    QTest::addColumn<bool>("listed");
    // The list starts on August 2021, waiting for an answer.
    QTest::newRow("listed already") << 0 << 202 << "2021" << "Ağustos" << 1 << true;
    QTest::newRow("last year") << 0 << 101 << "2020" << "Mart" << 0 << true;
    QTest::newRow("this year, filtered out") << 0 << 201 << "2021" << "Ocak" << 0 << true;
    QTest::newRow("department locked by rights") << 1 << 101 << "2020" << "Mart" << 0 << false;
}

void TestGELLST::subjectSearchBringsTheRecordIn()
{
    QFETCH(int, department);
    QFETCH(int, kayno);
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(int, reply);
    QFETCH(bool, listed);
    Office o;
    o.session.userDepartment = department;
    TFRMGELLST form(o.session, o.runner);
    open(form, Mode::Work);
    QComboBox *replyFilter = child<QComboBox>(form, "replyFilter");
    replyFilter->setCurrentIndex(1);
    emit replyFilter->activated(1);
    form.readAll();

    form.subjectSearch = [&](const QString &selector) { return selector == "1" ? kayno : 0; };
    if (!listed)
        o.prompt.expectMessage("Verildiği Birim");
    QTest::keyClick(&form, Qt::Key_F3);
    QCOMPARE(child<QComboBox>(form, "yearFilter")->currentText(), year);
    QCOMPARE(child<QComboBox>(form, "monthFilter")->currentText(), month);
    QCOMPARE(replyFilter->currentIndex(), reply);
    QComboBox *departmentFilter = child<QComboBox>(form, "departmentFilter");
    QCOMPARE(departmentFilter->isEnabled(), department == 0);
    QCOMPARE(departmentFilter->currentIndex(), department == 0 ? 0 : 1);
    if (listed) {
        QVERIFY(form.currentRow() >= 0);
        QCOMPARE(form.list().kayno(form.currentRow()), kayno);
        QCOMPARE(child<QLineEdit>(form, "kaynoEdit")->text(), QString::number(kayno));
    } else {
        QCOMPARE(form.list().locate(kayno), -1);
    }
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

QTEST_MAIN(TestGELLST)
#include "tst_gellst.moc"
