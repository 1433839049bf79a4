// A clerk reaches every field of a record screen by Alt and a letter: two
// captions with the same letter on one screen make one of them unreachable.

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
    const QStringList clashes = mnemonicClashes(*screen);
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestRecordKeys)
#include "tst_recordkeys.moc"
