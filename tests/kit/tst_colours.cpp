// Every colour scheme keeps its text readable: the form, its panels, the menu
// bar and the warnings, checked on a painted screen.

#include "formtest.h"
#include "scriptedprompt.h"

#include "core/clock.h"
#include "core/colours.h"
#include "core/session.h"
#include "kit/kelmaform.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

namespace {

ColourScheme::Rgb rgb(const QColor &c)
{
    return {c.red(), c.green(), c.blue()};
}

double contrast(const QColor &a, const QColor &b)
{
    return ColourScheme::contrast(rgb(a), rgb(b));
}

} // namespace

class TestColours : public QObject
{
    Q_OBJECT

private slots:
    void contrastRatio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(0, 0, 0) << QColor(255, 255, 255) << 21.0;
        QTest::newRow("same colour") << QColor(10, 169, 245) << QColor(10, 169, 245) << 1.0;
        QTest::newRow("black on the Mavi form") << QColor(0, 0, 0) << QColor(0, 0, 160) << 1.51;
        QTest::newRow("grey on white") << QColor(118, 118, 118) << QColor(255, 255, 255) << 4.54;
    }
    void contrastRatio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QVERIFY2(qAbs(contrast(a, b) - ratio) < 0.01, qPrintable(QString::number(contrast(a, b))));
    }

    void everySchemeReads_data()
    {
        QTest::addColumn<QString>("letter");
        for (const QString &letter : ColourScheme::letters())
            QTest::newRow(qPrintable(letter)) << letter;
    }
    void everySchemeReads()
    {
        QFETCH(QString, letter);
        QTemporaryDir home;
        ScriptedPrompt prompt;
        FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
        Session session{prompt, clock, [&] {
                            return std::make_unique<QSettings>(home.filePath(QStringLiteral("KELMA.ini")),
                                                               QSettings::IniFormat);
                        }};
        session.colours = ColourScheme::forLetter(letter);
        QVERIFY(session.colours.applies());

        // A screen as the program builds them: text on the form, a group, a
        // button panel, a warning on the form and one on a panel, a menu bar.
        QMainWindow window;
        auto *central = new QWidget(&window);
        window.setCentralWidget(central);
        auto *onForm = new QLabel(QStringLiteral("Çalışma Yılı"), central);
        auto *group = new QGroupBox(QStringLiteral("Evrak Durumu"), central);
        auto *inGroup = new QLabel(QStringLiteral("Onay bekleyen Evraklar"), group);
        (new QVBoxLayout(group))->addWidget(inGroup);
        auto *panel = new QFrame(central);
        panel->setObjectName(QStringLiteral("PanelButtons"));
        auto *warningOnPanel = new QLabel(QStringLiteral("Dosya Sunucusu Aktif Değil."), panel);
        KelmaForm::markWarning(warningOnPanel);
        auto *warning = new QLabel(QStringLiteral("DİKKAT! TARİH ÇALIŞMA YILINIZLA UYGUN DEĞİL"), central);
        KelmaForm::markWarning(warning);
        window.menuBar()->addMenu(QStringLiteral("Raporlar"));
        auto *layout = new QVBoxLayout(central);
        for (QWidget *w : {static_cast<QWidget *>(onForm), static_cast<QWidget *>(group),
                           static_cast<QWidget *>(panel), static_cast<QWidget *>(warning)})
            layout->addWidget(w);
        KelmaForm::paintScheme(&window, session);

        const QColor form = window.palette().color(QPalette::Window);
        const QColor panelColour = panel->palette().color(QPalette::Window);
        QCOMPARE(rgb(form), session.colours.formRgb());
        QCOMPARE(rgb(panelColour), session.colours.panelRgb());
        QCOMPARE(rgb(group->palette().color(QPalette::Window)), session.colours.panelRgb());
        const QList<std::tuple<const char *, QColor, QColor>> pairs = {
            {"text on the form", onForm->palette().color(QPalette::WindowText), form},
            {"group title", group->palette().color(QPalette::WindowText), panelColour},
            {"text in a group", inGroup->palette().color(QPalette::WindowText), panelColour},
            {"menu bar", window.menuBar()->palette().color(QPalette::ButtonText),
             window.menuBar()->palette().color(QPalette::Window)},
            {"warning on the form", warning->palette().color(QPalette::WindowText), form},
            {"warning on a panel", warningOnPanel->palette().color(QPalette::WindowText), panelColour},
        };
        for (const auto &[what, text, background] : pairs)
            QVERIFY2(contrast(text, background) >= 4.5,
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(what)).arg(contrast(text, background))));
        // A warning stays told apart from plain text.
        QVERIFY(warning->palette().color(QPalette::WindowText) != onForm->palette().color(QPalette::WindowText));
    }

    void warningWithoutScheme()
    {
        // The platform's own light look: the plain warning red reads on it.
        QLabel label;
        KelmaForm::markWarning(&label);
        QVERIFY(contrast(label.palette().color(QPalette::WindowText), label.palette().color(QPalette::Window)) >= 4.5);
    }
};

QTEST_MAIN(TestColours)
#include "tst_colours.moc"
