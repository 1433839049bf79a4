// The maintenance window driven through its pop-up entries and keys.

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/transaction.h"
#include "db/ui/undkont.h"

#include "legacydatabase.h"
#include "formtest.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {

struct Fixture
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [this] {
                        return std::make_unique<QSettings>(dir.filePath("KELMA.ini"), QSettings::IniFormat);
                    }};
    TempDatabase db;

    Fixture()
    {
        {
            fb::Attachment a;
            legacy::create(db, a, 16001);
        }
        session.db.openMain(db.path());
    }
    QStringList log(TFRMDKONT &f) const { return child<QPlainTextEdit>(f, "logEdit")->toPlainText().split('\n', Qt::SkipEmptyParts); }
};

} // namespace

class TestUndkont : public QObject
{
    Q_OBJECT

private slots:
    void looksAsItShould();
    void checksWriteTheLogAndActivationEmptiesIt();
    void rightsShowProgress();
    void databaseErrorStopsTheCheck();
    void escapeCloses();
};

void TestUndkont::looksAsItShould()
{
    Fixture f;
    TFRMDKONT form(f.session);
    QCOMPARE(form.windowTitle(), QStringLiteral("ZIRVO Yazılım"));
    QCOMPARE(child<QLabel>(form, "backupWarningLabel")->text(), QStringLiteral("Kontrol İşlemi Yapmadan Önce YEDEK Almayı Unutmayınız..."));
    QVERIFY(child<QLabel>(form, "backupWarningLabel")->font().bold());
    // Red, dark enough to read on the window.
    const QColor warning = child<QLabel>(form, "backupWarningLabel")->palette().color(QPalette::WindowText);
    QVERIFY(warning.red() >= 0xA0 && warning.green() == 0 && warning.blue() == 0);
    QVERIFY(child<QPlainTextEdit>(form, "logEdit")->isReadOnly());
    QStringList entries;
    for (QAction *a : child<QMenu>(form, "checksMenu")->actions())
        entries << a->text();
    QCOMPARE(entries, QStringList({"Generatör Kontrolü", "Kullanıcı Hakları Düzenle", "Belge Kontrolleri"}));
    QCOMPARE(child<QPlainTextEdit>(form, "logEdit")->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(child<QPushButton>(form, "exitButton")->text(), QStringLiteral("ESC-Çıkış"));
}

void TestUndkont::checksWriteTheLogAndActivationEmptiesIt()
{
    Fixture f;
    TFRMDKONT form(f.session);
    child<QPlainTextEdit>(form, "logEdit")->setPlainText("önceki çalışmadan kalan");
    form.show();
    QCOMPARE(child<QPlainTextEdit>(form, "logEdit")->toPlainText(), QString());

    child<QAction>(form, "generatorCheckAction")->trigger();
    QCOMPARE(f.log(form).size(), 7);
    QCOMPARE(f.log(form).last(), QStringLiteral("Generatör Kontrol&Düzeltme İşlemi Sona Erdi.."));
    child<QAction>(form, "documentCheckAction")->trigger();
    QVERIFY(f.log(form).contains("07.03.2012/2 Tarih ve 1 Sıra Nolu Gelen Evrak Belgesi Boş"));
    QCOMPARE(f.log(form).last(), QStringLiteral("Belge Kontrolleri Sona Erdi.."));

    form.hide();
    form.show();
    QCOMPARE(child<QPlainTextEdit>(form, "logEdit")->toPlainText(), QString());
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestUndkont::rightsShowProgress()
{
    Fixture f;
    TFRMDKONT form(f.session);
    form.show();
    QList<int> values;
    bool visibleWhileRunning = false;
    connect(child<QProgressBar>(form, "progressBar"), &QProgressBar::valueChanged, &form, [&](int v) {
        values << v;
        visibleWhileRunning = child<QProgressBar>(form, "progressBar")->isVisible();
    });
    child<QAction>(form, "userRightsCheckAction")->trigger();
    QCOMPARE(f.log(form), QStringList({"İşlem uzun sürebilir, Lütfen Bekleyiniz... ", "Kullancı Hakları Kontrol Edildi."}));
    QVERIFY(visibleWhileRunning);
    QCOMPARE(values.last(), 22);
    QCOMPARE(child<QProgressBar>(form, "progressBar")->maximum(), 22);
    QVERIFY(values.size() > 2);
    QVERIFY(!child<QProgressBar>(form, "progressBar")->isVisible());
    fb::Transaction &t = f.session.db.IBTransaction1;
    QCOMPARE(t.value("SELECT COUNT(*) FROM RIGHTS WHERE HNO=3").toInt(), 22);
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

void TestUndkont::databaseErrorStopsTheCheck()
{
    Fixture f;
    {
        fb::Transaction ddl(f.session.db.IBDATABASE);
        ddl.executeRaw("DROP TABLE DILTEXT");
        ddl.commit();
    }
    TFRMDKONT form(f.session);
    form.show();
    f.prompt.expectError("DILTEXT");
    child<QAction>(form, "documentCheckAction")->trigger();
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
    // What was found before the failure stays in the log; the check did not finish.
    QVERIFY(f.log(form).contains("07.03.2012/2 Tarih ve 1 Sıra Nolu Gelen Evrak Belgesi Boş"));
    QVERIFY(!f.log(form).contains("Belge Kontrolleri Sona Erdi.."));
}

void TestUndkont::escapeCloses()
{
    Fixture f;
    TFRMDKONT form(f.session);
    showActive(form);
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.tag, 0);
}

QTEST_MAIN(TestUndkont)
#include "tst_undkont.moc"
