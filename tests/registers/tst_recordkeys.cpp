// A clerk reaches every field of a record screen by Alt and a letter: two
// captions with the same letter on one screen make one of them unreachable.

#include "registers/ui/unarsiv.h"
#include "registers/ui/undilekce.h"
#include "registers/ui/ungelen.h"
#include "registers/ui/ungiden.h"

#include "formtest.h"
#include "office.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using ScreenMaker = std::function<std::unique_ptr<KelmaForm>(Office &)>;

template<typename Screen>
ScreenMaker maker()
{
    return [](Office &o) -> std::unique_ptr<KelmaForm> {
        auto screen = std::make_unique<Screen>(o.session, o.runner);
        screen->tag = 1;
        return screen;
    };
}

/// What Alt+letter reaches on a shown window, by letter: the captions that use it.
QMap<QString, QStringList> mnemonics(QWidget &window)
{
    QMap<QString, QStringList> byLetter;
    const auto note = [&](const QWidget *w, const QString &text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty() && w->isVisibleTo(&window))
            byLetter[key.toString()] << QString(text).remove(QLatin1Char('&')).trimmed();
    };
    for (const QLabel *label : window.findChildren<QLabel *>())
        if (label->buddy())
            note(label, label->text());
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        note(button, button->text());
    for (const QGroupBox *group : window.findChildren<QGroupBox *>())
        note(group, group->title());
    return byLetter;
}

} // namespace

Q_DECLARE_METATYPE(ScreenMaker)

class TestRecordKeys : public QObject
{
    Q_OBJECT

private slots:
    void everyCaptionHasALetterOfItsOwn_data();
    void everyCaptionHasALetterOfItsOwn();
};

void TestRecordKeys::everyCaptionHasALetterOfItsOwn_data()
{
    QTest::addColumn<ScreenMaker>("make");
    QTest::newRow("incoming") << maker<TFRMGELEN>();
    QTest::newRow("outgoing") << maker<TFRMGIDEN>();
    QTest::newRow("petition") << maker<TFRMDILEKCE>();
    QTest::newRow("archive") << maker<TFRMARSIV>();
}

void TestRecordKeys::everyCaptionHasALetterOfItsOwn()
{
    QFETCH(ScreenMaker, make);
    Office o({});
    const std::unique_ptr<KelmaForm> screen = make(o);
    showActive(*screen);
    QStringList clashes;
    const QMap<QString, QStringList> used = mnemonics(*screen);
    for (auto it = used.cbegin(); it != used.cend(); ++it)
        if (it.value().size() > 1)
            clashes << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(" / "));
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestRecordKeys)
#include "tst_recordkeys.moc"
