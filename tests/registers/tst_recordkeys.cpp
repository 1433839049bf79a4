// A clerk reaches every field of a record screen by Alt and a letter, and every
// button whose caption names a key by that key.

#include "registers/ui/unarsiv.h"
#include "registers/ui/undilekce.h"
#include "registers/ui/ungelen.h"
#include "registers/ui/ungiden.h"

#include "formtest.h"
#include "mnemonics.h"
#include "office.h"

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

} // namespace

Q_DECLARE_METATYPE(ScreenMaker)

class TestRecordKeys : public QObject
{
    Q_OBJECT

private slots:
    void everyCaptionHasItsKey_data();
    void everyCaptionHasItsKey();
};

void TestRecordKeys::everyCaptionHasItsKey_data()
{
    QTest::addColumn<ScreenMaker>("make");
    QTest::newRow("incoming") << maker<TFRMGELEN>();
    QTest::newRow("outgoing") << maker<TFRMGIDEN>();
    QTest::newRow("petition") << maker<TFRMDILEKCE>();
    QTest::newRow("archive") << maker<TFRMARSIV>();
}

void TestRecordKeys::everyCaptionHasItsKey()
{
    QFETCH(ScreenMaker, make);
    Office o({});
    const std::unique_ptr<KelmaForm> screen = make(o);
    showActive(*screen);
    const QStringList clashes = mnemonicClashes(*screen);
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
    const QStringList unbound = unboundKeyCaptions(*screen);
    QVERIFY2(unbound.isEmpty(), qPrintable(QStringLiteral("keys that do nothing: ") + unbound.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestRecordKeys)
#include "tst_recordkeys.moc"
