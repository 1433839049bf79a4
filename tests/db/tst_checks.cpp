// The three maintenance checks on a database holding the standard rows.

#include "db/checks.h"
#include "db/fb/attachment.h"
#include "db/fb/transaction.h"

#include "legacydatabase.h"
#include "tempdatabase.h"

#include <QProcess>
#include <QtTest>

namespace {

using Generators = QMap<QString, qint64>;

/// A current database with the standard rows, and its main transaction.
struct Current
{
    TempDatabase db;
    fb::Attachment attachment;
    fb::Transaction main{attachment};

    Current() { legacy::create(db, attachment, 16001); }
};

Generators generators(fb::Transaction &t)
{
    Generators out;
    for (const char *g : {"GEN_ARSKAYNO", "GEN_GELKAYNO", "GEN_GIDKAYNO", "GEN_DILKAYNO", "GEN_BKOD", "GEN_BELKAYNO"}) {
        out[g] = t.value(QStringLiteral("SELECT GEN_ID(%1,0) FROM RDB$DATABASE").arg(QLatin1String(g))).toLongLong();
    }
    return out;
}

QStringList rights(fb::Transaction &t, const QString &where = {})
{
    QStringList out;
    for (const QVariantList &r : t.rows("SELECT HNO,KOD,G||K||D||S FROM RIGHTS " + where + " ORDER BY HNO,KOD"))
        out << QStringLiteral("%1/%2 %3").arg(r[0].toInt()).arg(r[1].toInt()).arg(r[2].toString());
    return out;
}

} // namespace

class TestChecks : public QObject
{
    Q_OBJECT

private slots:
    void generators_data();
    void generators();
    void rightsCompleted();
    void emptyAttachmentsListed();
    void adminTool();
};

void TestChecks::generators_data()
{
    QTest::addColumn<QStringList>("prepare");
    QTest::addColumn<Generators>("changed"); // generators that must end elsewhere than the seed left them

    QTest::newRow("in step: nothing changes") << QStringList() << Generators();
    QTest::newRow("behind: raised to the highest key")
        << QStringList{"SET GENERATOR GEN_GELKAYNO TO 5", "SET GENERATOR GEN_BKOD TO 1"}
        << Generators{{"GEN_GELKAYNO", 20}, {"GEN_BKOD", 4}};
    // Routing rows and files may still carry the deleted record's key: it is never handed out again.
    QTest::newRow("highest record deleted: not lowered")
        << QStringList{"DELETE FROM GELEN WHERE KAYNO=20", "DELETE FROM GIDEN WHERE KAYNO=9"} << Generators();
    QTest::newRow("empty table at 0 stays 0")
        << QStringList{"DELETE FROM DILEKCE", "SET GENERATOR GEN_DILKAYNO TO 0"} << Generators{{"GEN_DILKAYNO", 0}};
    QTest::newRow("attachment numbers over all four tables")
        << QStringList{"INSERT INTO DILTEXT (KAYNO,SIRNO,BELKAYNO) VALUES (3,1,12)"}
        << Generators{{"GEN_BELKAYNO", 12}};
    QTest::newRow("all four attachment tables empty")
        << QStringList{"DELETE FROM GELTEXT", "DELETE FROM GIDTEXT", "DELETE FROM DILTEXT", "DELETE FROM ARSTEXT",
                       "SET GENERATOR GEN_BELKAYNO TO 0"}
        << Generators{{"GEN_BELKAYNO", 0}};
}

void TestChecks::generators()
{
    QFETCH(QStringList, prepare);
    QFETCH(Generators, changed);

    Current current;
    fb::Transaction &main = current.main;
    for (const QString &sql : prepare)
        main.executeRaw(sql);
    main.commit();
    Generators expected = ::generators(main);
    for (auto it = changed.begin(); it != changed.end(); ++it)
        expected[it.key()] = it.value();

    QStringList log;
    ConsistencyChecks(current.attachment, [&](const QString &line) { log << line; }).repairGenerators();

    // At once, for every workstation: nothing waits for a commit.
    fb::Attachment other;
    other.open(TempDatabase::options(current.db.path()));
    fb::Transaction look(other);
    QCOMPARE(::generators(look), expected);
    QCOMPARE(log.size(), 7);
    QCOMPARE(log.last(), QStringLiteral("Generatör Kontrol&Düzeltme İşlemi Sona Erdi.."));
    if (changed.contains("GEN_GELKAYNO"))
        QVERIFY2(log.contains("GEN_GELKAYNO 5 → 20 olarak düzeltildi."), qPrintable(log.join('\n')));
}

void TestChecks::rightsCompleted()
{
    Current current;
    fb::Transaction &main = current.main;
    // Codes of user 1 between 1 and 100 are handed on; others are not.
    main.execute("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (1,50,'E','E','E','E')");
    main.execute("INSERT INTO RIGHTS (HNO,KOD,G,K,D,S) VALUES (1,150,'E','E','E','E')");
    main.commit();

    QStringList log;
    QList<std::pair<int, int>> progress;
    ConsistencyChecks checks(current.attachment, [&](const QString &line) { log << line; },
                             [&](int done, int total) { progress << std::pair{done, total}; });
    checks.completeRights();
    QCOMPARE(log, QStringList({"İşlem uzun sürebilir, Lütfen Bekleyiniz... ", "Kullancı Hakları Kontrol Edildi."}));

    QList<int> adminCodes;
    for (int code = 1; code <= 6; ++code)
        adminCodes << code;
    for (int code = 11; code <= 16; ++code)
        adminCodes << code;
    for (int code = 21; code <= 30; ++code)
        adminCodes << code;
    QStringList admin, ayse, ismail;
    for (int code : adminCodes + QList<int>{50})
        ismail << QStringLiteral("3/%1 EHEH").arg(code);
    for (int code : adminCodes + QList<int>{50, 150})
        admin << QStringLiteral("1/%1 EEEE").arg(code);
    for (int code : adminCodes + QList<int>{50})
        ayse << QStringLiteral("2/%1 %2").arg(code).arg(code <= 2 ? "EEHH" : "EHEH"); // her own rows stay
    QCOMPARE(progress.first(), std::pair(0, 23));
    QCOMPARE(progress.last(), std::pair(23, 23));

    // Committed: another workstation sees the rows.
    fb::Attachment other;
    other.open(TempDatabase::options(current.db.path()));
    fb::Transaction look(other);
    QCOMPARE(rights(look, "WHERE HNO=1"), admin);
    QCOMPARE(rights(look, "WHERE HNO=2"), ayse);
    QCOMPARE(rights(look, "WHERE HNO=3"), ismail);

    const QStringList all = rights(look);
    look.commit();
    checks.completeRights();
    QCOMPARE(rights(look), all);
}

void TestChecks::emptyAttachmentsListed()
{
    Current current;
    fb::Transaction &main = current.main;
    // Kept on the file server: no content here. And a row whose record was deleted.
    main.execute("INSERT INTO GIDTEXT (KAYNO,SIRNO,BELTUR,DOSYA) VALUES (8,1,'4','GID_8_1.PDF')");
    main.execute("INSERT INTO DILTEXT (KAYNO,SIRNO,BELTUR) VALUES (3,2,'1')");
    main.execute("INSERT INTO GELTEXT (KAYNO,SIRNO,BELTUR) VALUES (99,1,'1')");
    main.commit();

    QStringList log;
    ConsistencyChecks(current.attachment, [&](const QString &line) { log << line; }).reportEmptyAttachments();
    QCOMPARE(log, QStringList({
                      "Kontrol İşlemi Başladı..",
                      "07.03.2012/2 Tarih ve 1 Sıra Nolu Gelen Evrak Belgesi Boş",
                      "/ Tarih ve 1 Sıra Nolu Gelen Evrak Belgesi Boş",
                      "12.03.2012/2 Tarih ve 1 Sıra Nolu Giden Evrak Belgesi Boş",
                      "06.03.2012/1 Tarih ve 2 Sıra Nolu Dilekçe Belgesi Boş",
                      "02.05.2012/1 Tarih ve 1 Sıra Nolu Arşiv Belgesi Boş",
                      "Belge Kontrolleri Sona Erdi..",
                  }));
}

void TestChecks::adminTool()
{
    const QString tool = QCoreApplication::applicationDirPath() + "/../../tools/admin/kelma-admin";
    if (!QFile::exists(tool))
        QSKIP("kelma-admin is not built beside the tests");
    Current current;
    current.attachment.close();
    QProcess p;
    p.start(tool, {"check", current.db.path()});
    QVERIFY(p.waitForFinished(60000));
    const QString said = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    QCOMPARE(p.exitCode(), 0);
    for (const char *line : {"Generatör Kontrol&Düzeltme İşlemi Sona Erdi..", "Kullancı Hakları Kontrol Edildi.",
                             "07.03.2012/2 Tarih ve 1 Sıra Nolu Gelen Evrak Belgesi Boş",
                             "Belge Kontrolleri Sona Erdi.."})
        QVERIFY2(said.contains(QString::fromUtf8(line)), qPrintable(said));
    {
        fb::Attachment a;
        a.open(TempDatabase::options(current.db.path()));
        fb::Transaction t(a);
        QCOMPARE(t.value("SELECT COUNT(*) FROM RIGHTS WHERE HNO=3").toInt(), 22);
    }

    TempDatabase old;
    {
        fb::Attachment a;
        legacy::create(old, a, 14001);
    }
    p.start(tool, {"check", old.path()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    const QString refused = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(refused.contains("upgrade"), qPrintable(refused));
}

QTEST_GUILESS_MAIN(TestChecks)
#include "tst_checks.moc"
