#include "formtest.h"
#include "lists/ui/unkonuara.h"
#include "sessionfixture.h"

#include <QApplication>
#include <QPushButton>
#include <QClipboard>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace {

struct Office : SessionFixture
{
    Office()
    {
        int day = 0;
        for (const auto &[kayno, konu] : {std::pair{1, "Işık direkleri"}, std::pair{2, "İşçi alımı"},
                                          std::pair{3, "mevsimlik işçi"}, std::pair{4, "ihale"}})
            exec(QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, KONU) VALUES (:K, :K, :T, :KONU)"),
                 {{"K", kayno}, {"T", QDate(2021, 1, 1).addDays(day++)}, {"KONU", QString::fromUtf8(konu)}});
    }
};

// Opens the form as the list does, without a nested event loop.
void openForm(TFRMKONUARA &form)
{
    form.selector = QStringLiteral("1");
    form.open();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY(form.isSettled());
}

} // namespace

class tst_subjectsearchscreen : public QObject
{
    Q_OBJECT
private slots:
    void typedKeysAreUpperCasedAndFindTurkishSpellings();
    void pastedTextIsNotConverted();
    void choosing_data();
    void choosing();
    void cancelAfterAChoiceReturnsNoChoice();
    void enterRightAfterTypingChoosesFromTheTypedText();
    void subjectsSavedMeanwhileAreFoundOnTheNextOpening();
};

void tst_subjectsearchscreen::typedKeysAreUpperCasedAndFindTurkishSpellings()
{
    Office office;
    TFRMKONUARA form(office.session);
    openForm(form);
    QCOMPARE(form.matchCount(), 4);
    auto *edit = child<QLineEdit>(form, "searchEdit");
    typeText(edit, QStringLiteral("işçi"));
    QCOMPARE(edit->text(), QStringLiteral("İŞÇİ"));
    QTRY_VERIFY(form.isSettled());
    QCOMPARE(form.matchCount(), 2);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    typeText(edit, QStringLiteral("ışık"));
    QCOMPARE(edit->text(), QStringLiteral("IŞIK"));
    QTRY_VERIFY(form.isSettled());
    QCOMPARE(form.matchCount(), 1);
    form.reject();
}

void tst_subjectsearchscreen::pastedTextIsNotConverted()
{
    Office office;
    TFRMKONUARA form(office.session);
    openForm(form);
    auto *edit = child<QLineEdit>(form, "searchEdit");
    QApplication::clipboard()->setText(QStringLiteral("işçi"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("işçi"));
    QTRY_VERIFY(form.isSettled());
    QCOMPARE(form.matchCount(), 2); // the search itself still compares the Turkish way
    form.reject();
}

void tst_subjectsearchscreen::choosing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter in the text") << "enter";
    QTest::newRow("F5") << "f5";
    QTest::newRow("button") << "button";
    QTest::newRow("double-click") << "double";
}

void tst_subjectsearchscreen::choosing()
{
    QFETCH(QString, how);
    Office office;
    TFRMKONUARA form(office.session);
    openForm(form);
    auto *edit = child<QLineEdit>(form, "searchEdit");
    typeText(edit, QStringLiteral("işçi"));
    QTRY_VERIFY(form.isSettled());
    auto *grid = child<QTableView>(form, "resultsGrid");
    grid->setCurrentIndex(grid->model()->index(1, 0));
    if (how == QLatin1String("enter")) {
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (how == QLatin1String("f5")) {
        QTest::keyClick(&form, Qt::Key_F5);
    } else if (how == QLatin1String("button")) {
        child<QPushButton>(form, "chooseButton")->click();
    } else {
        grid->scrollTo(grid->currentIndex());
        const QRect cell = grid->visualRect(grid->currentIndex());
        // A view only reports the double-click of a press it saw.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QTRY_VERIFY(!form.isVisible());
    QCOMPARE(form.tag, 1);
    QCOMPARE(form.chosenKayno, 3); // second match, oldest first
}

void tst_subjectsearchscreen::cancelAfterAChoiceReturnsNoChoice()
{
    Office office;
    TFRMKONUARA form(office.session);
    openForm(form);
    child<QPushButton>(form, "chooseButton")->click();
    QCOMPARE(form.tag, 1);
    QCOMPARE(form.chosenKayno, 1);

    openForm(form);
    QVERIFY(child<QLineEdit>(form, "searchEdit")->text().isEmpty());
    QTest::keyClick(&form, Qt::Key_Escape);
    QTRY_VERIFY(!form.isVisible());
    QCOMPARE(form.tag, 0);
    QCOMPARE(form.chosenKayno, 0);

    openForm(form);
    child<QPushButton>(form, "exitButton")->click();
    QCOMPARE(form.tag, 0);
    QCOMPARE(form.chosenKayno, 0);
}

void tst_subjectsearchscreen::enterRightAfterTypingChoosesFromTheTypedText()
{
    Office office;
    TFRMKONUARA form(office.session);
    openForm(form);
    // Keys and Enter before the search answered: the grid still shows every
    // subject, "Işık direkleri" first; the choice waits for the rows of İŞÇİ.
    auto *edit = child<QLineEdit>(form, "searchEdit");
    typeText(edit, QStringLiteral("işçi"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(!form.isVisible());
    QCOMPARE(form.tag, 1);
    QCOMPARE(form.chosenKayno, 2);
}

void tst_subjectsearchscreen::subjectsSavedMeanwhileAreFoundOnTheNextOpening()
{
    Office office;
    TFRMKONUARA form(office.session);
    openForm(form);
    child<QPushButton>(form, "exitButton")->click();

    // Another workstation saves a document while the dialog is closed.
    office.exec(QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, KONU) VALUES (9, 9, :T, :KONU)"),
                {{"T", QDate(2021, 2, 1)}, {"KONU", QStringLiteral("yeni İŞÇİ kaydı")}});
    openForm(form);
    typeText(child<QLineEdit>(form, "searchEdit"), QStringLiteral("işçi"));
    QTRY_VERIFY(form.isSettled());
    QCOMPARE(form.matchCount(), 3);
    auto *grid = child<QTableView>(form, "resultsGrid");
    grid->setCurrentIndex(grid->model()->index(2, 0));
    child<QPushButton>(form, "chooseButton")->click();
    QCOMPARE(form.chosenKayno, 9);
}

QTEST_MAIN(tst_subjectsearchscreen)
#include "tst_subjectsearchscreen.moc"
