// Qt's own dialogs speak Turkish: the system's translations are found and loaded.

#include "kit/qttranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

class TestQtTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(qttranslations::installTurkish(*QCoreApplication::instance()),
                 "Qt's Turkish translations (qtbase_tr.qm) are not installed");
    }

    void standardTexts_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        // Message box buttons and details, the file dialog.
        QTest::newRow("Cancel") << "QPlatformTheme" << "Cancel";
        QTest::newRow("Show Details...") << "QMessageBox" << "Show Details...";
        QTest::newRow("Look in:") << "QFileDialog" << "Look in:";
        QTest::newRow("Open") << "QFileDialog" << "&Open";
    }
    void standardTexts()
    {
        QFETCH(QString, context);
        QFETCH(QString, english);
        const QString turkish = QCoreApplication::translate(qPrintable(context), qPrintable(english));
        QVERIFY2(turkish != english, qPrintable(turkish));
    }

    void buttonBoxSpeaksTurkish()
    {
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QStringLiteral("İptal"));
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
