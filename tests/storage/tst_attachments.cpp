#include "runningserver.h"
#include "sessionfixture.h"
#include "testfiles.h"

#include "db/fb/error.h"
#include "core/attachmentlimit.h"
#include "db/fb/twophase.h"
#include "storage/attachments.h"
#include "storage/legacycontent.h"

#include <gsf/gsf.h>

#include <QDir>
#include <QtTest>

using namespace storage;
using Kind = ScriptedPrompt::Kind;

namespace {

const QString kUnsupported = QStringLiteral("DİKKAT! Belge Türü Destenlenmemektedir.");

/// A session with its storage places, a local document folder and, when asked,
/// the attachment databases of some years beside the main one.
struct Office : SessionFixture
{
    QString local = dir.filePath(QStringLiteral("EVRAKLAR"));
    QString files = dir.filePath(QStringLiteral("secilen"));

    explicit Office(const QString &vt = QStringLiteral("E"), const QString &trm = QStringLiteral("H"),
                    const QString &srv = QStringLiteral("H"), const QString &textvt = QString())
    {
        session.general.VTSAKLA = vt;
        session.general.TRMSAKLA = trm;
        session.general.SRVSAKLA = srv;
        session.general.TEXTVT = textvt;
        session.workstation.year = QStringLiteral("2021");
        session.workstation.localFolder = local;
        session.workstation.readMode = QStringLiteral("V");
        session.store()->setValue(QStringLiteral("YOL"), db.folder());
        QDir().mkpath(files);
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir(files).filePath(name);
        writeFile(path, bytes);
        return path;
    }
    /// The record's save as a record screen runs it: one unit over both databases.
    void save(RecordAttachments &a)
    {
        fb::TwoPhaseTransaction unit(session.db.IBDATABASE, a.yearDatabase());
        a.apply(unit);
        unit.commit();
        a.saved();
    }
    QStringList temp() const { return QDir(local + QStringLiteral("/TEMP")).entryList(QDir::Files); }
    /// Saved files waiting for a place, beside their list.
    QStringList waiting() const
    {
        QStringList names = QDir(local + QStringLiteral("/BEKLEYEN")).entryList(QDir::Files);
        names.removeAll(QStringLiteral("EKSIK.LST"));
        return names;
    }
    /// Whether the save is refused before anything is written.
    bool refused(RecordAttachments &a)
    {
        try {
            fb::TwoPhaseTransaction unit(session.db.IBDATABASE, a.yearDatabase());
            a.apply(unit);
        } catch (const fb::Error &) {
            return true;
        }
        return false;
    }
};

QByteArray jpegBytes()
{
    return QByteArray::fromHex("FFD8FFE000104A46494600010100000100010000FFD9");
}

} // namespace

class TestAttachments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesTypesAndFolders_data();
    void namesTypesAndFolders();
    void refusedInput_data();
    void refusedInput();
    void folderThatCannotBeMade();
    void numbering();
    void contentInRowOrYearlyDatabase_data();
    void contentInRowOrYearlyDatabase();
    void whatIsNotShown();
    void changeReplacesFileAndContent();
    void failureBetweenTheCommitsLeavesNothing();
    void missingYearlyDatabase();
    void openingARecordOfAnotherYear();
    void picturesThroughTheFileServer();
    void unsentFileWaits();
    void uncopiedFileWaitsForItsFolder();
    void laterSaveSupersedesWaitingFile();
    void rowsKeptBeforeTheYearlyDatabase();
    void yearThatCannotBeOpened();
    void legacyContents_data();
    void legacyContents();
    void helpersForLists();
};

void TestAttachments::namesTypesAndFolders_data()
{
    QTest::addColumn<int>("reg");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("dosya");
    QTest::addColumn<QString>("beltur");
    QTest::addColumn<QString>("folder");
    QTest::newRow("scan.jpg, third") << int(Register::Incoming) << "scan.jpg" << "GEL_1234_3.JPG" << "1" << "GELEN";
    QTest::newRow("report.docx keeps its X") << int(Register::Incoming) << "report.docx" << "GEL_1234_3.DOCX" << "5" << "GELEN";
    QTest::newRow("outgoing pdf") << int(Register::Outgoing) << "a.Pdf" << "GID_1234_3.PDF" << "4" << "GIDEN";
    QTest::newRow("petition xlsx") << int(Register::Petition) << "t.xlsx" << "DIL_1234_3.XLSX" << "6" << "DILEKCE";
    QTest::newRow("archive rtf") << int(Register::Archive) << "m.rtf" << "ARS_1234_3.RTF" << "7" << "ARSIV";
    QTest::newRow("plain text") << int(Register::Archive) << "n.txt" << "ARS_1234_3.TXT" << "8" << "ARSIV";
}

void TestAttachments::namesTypesAndFolders()
{
    QFETCH(int, reg);
    QFETCH(QString, chosen);
    QFETCH(QString, dosya);
    QFETCH(QString, beltur);
    QFETCH(QString, folder);
    Office o(QStringLiteral("E"), QStringLiteral("E"));
    const QString table = kindOf(Register(reg)).table;
    for (int s : {1, 2})
        o.exec(QStringLiteral("INSERT INTO %1 (KAYNO, SIRNO, TUR, BELTUR) VALUES (1234, %2, 'A', '1')").arg(table).arg(s));
    RecordAttachments a(o.session, Register(reg));
    QVERIFY(a.open(1234, 2021));
    QCOMPARE(a.nextSirno(), 3);
    o.prompt.expectOpenFile(o.file(chosen, "content of " + chosen.toUtf8()));
    QVERIFY(a.BELGEYUKLE(1));
    QCOMPARE(a.value(2, "DOSYA").toString(), dosya);
    QCOMPARE(a.value(2, "BELTUR").toString(), beltur);
    QCOMPARE(a.value(2, "TUR").toString(), QStringLiteral("A"));
    QCOMPARE(o.temp(), QStringList{dosya});
    QCOMPARE(o.value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt(), 2); // nothing before F5

    o.save(a);
    QCOMPARE(o.value(QStringLiteral("SELECT DOSYA FROM %1 WHERE SIRNO=3").arg(table)).toString(), dosya);
    QCOMPARE(o.value(QStringLiteral("SELECT METIN FROM %1 WHERE SIRNO=3").arg(table)).toByteArray(),
             "content of " + chosen.toUtf8());
    QVERIFY(o.temp().isEmpty());
    QCOMPARE(readFile(o.local + u'/' + folder + u'/' + dosya), "content of " + chosen.toUtf8());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::refusedInput_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("bytes"); // -1: no such file
    QTest::addColumn<QString>("vt");
    QTest::addColumn<QString>("message");
    QTest::newRow(".jpeg") << "photo.jpeg" << 10 << "E" << kUnsupported;
    QTest::newRow("no extension") << "photo" << 10 << "E" << kUnsupported;
    QTest::newRow("empty") << "bos.pdf" << 0 << "E" << "DİKKAT! Belge boş";
    QTest::newRow("unreadable") << "yok.pdf" << -1 << "E" << "DİKKAT! Belge okunamadı";
    QTest::newRow("over the limit") << "buyuk.pdf" << 1024 * 1024 + 1 << "E" << "DİKKAT! Belge çok büyük (1 MB); en çok 1 MB";
    QTest::newRow("no place") << "a.pdf" << 10 << "H" << "DİKKAT! Belgelerin Saklanacağı bir ortam tanımlamalısınız.";
}

void TestAttachments::refusedInput()
{
    QFETCH(QString, name);
    QFETCH(int, bytes);
    QFETCH(QString, vt);
    QFETCH(QString, message);
    Office o(vt);
    attachmentlimit::setMb(o.session, 1);
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(7, 2021));
    const QString path = bytes < 0 ? QDir(o.files).filePath(name) : o.file(name, QByteArray(bytes, 'x'));
    o.prompt.expectMessage(message);
    QVERIFY(!a.load(1, -1, path));
    QCOMPARE(a.rowCount(), 0);
    QCOMPARE(a.nextSirno(), 1);
    QVERIFY(o.temp().isEmpty());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::folderThatCannotBeMade()
{
    Office o;
    writeFile(o.dir.filePath("dosya"), "a file where the folder should be");
    o.session.workstation.localFolder = o.dir.filePath("dosya/EVRAKLAR");
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(7, 2021));
    o.prompt.expectMessage(QStringLiteral("Belge için Ana klasörü Oluşturulamadı.\n") + o.dir.filePath("dosya/EVRAKLAR"));
    QVERIFY(!a.load(1, -1, o.file("a.pdf", "%PDF-1.4")));
    QCOMPARE(a.rowCount(), 0);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::numbering()
{
    Office o;
    for (int s : {1, 2, 3})
        o.exec(QStringLiteral("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR) VALUES (5, %1, 'A', '1')").arg(s));
    {
        RecordAttachments a(o.session, Register::Incoming);
        QVERIFY(a.open(5, 2021));
        o.prompt.expectQuestion(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?"), true);
        QVERIFY(a.remove(2));
        QVERIFY(a.load(1, -1, o.file("x.pdf", "%PDF-1.4 x")));
        QCOMPARE(a.value(2, "SIRNO").toInt(), 4); // the deletion is not in the database yet
        o.save(a);
    }
    {
        RecordAttachments a(o.session, Register::Incoming);
        QVERIFY(a.open(5, 2021));
        QCOMPARE(a.nextSirno(), 5);
    }
    // A new record: two added, the second dropped, one more added.
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(6, 2021));
    QVERIFY(a.load(1, -1, o.file("1.pdf", "%PDF-1.4 1")));
    QVERIFY(a.load(1, -1, o.file("2.pdf", "%PDF-1.4 2")));
    o.prompt.expectQuestion(QStringLiteral("Silinecektir"), true);
    QVERIFY(a.remove(1));
    QVERIFY(a.load(1, -1, o.file("3.pdf", "%PDF-1.4 3")));
    QCOMPARE(a.value(1, "SIRNO").toInt(), 2); // not 1 again: that would break the save on its key
    o.save(a);
    QCOMPARE(o.value("SELECT LIST(SIRNO) FROM (SELECT SIRNO FROM GELTEXT WHERE KAYNO=6 ORDER BY SIRNO)").toString(),
             QStringLiteral("1,2"));
    QVERIFY(o.temp().isEmpty());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::contentInRowOrYearlyDatabase_data()
{
    QTest::addColumn<QString>("textvt");
    QTest::newRow("in the row") << QString();
    QTest::newRow("yearly database") << QStringLiteral("A");
}

void TestAttachments::contentInRowOrYearlyDatabase()
{
    QFETCH(QString, textvt);
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("H"), textvt);
    const QString yearPath = o.db.createYear(QStringLiteral("2021"));
    QByteArray pdf = "%PDF-1.4\n" + QByteArray(200000, 'p');
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(9, 2021));
    QVERIFY(a.load(1, -1, o.file("belge.pdf", pdf)));
    QCOMPARE(a.value(0, "OCN").toString(), QStringLiteral("Word.application"));
    o.save(a);

    const int number = o.value("SELECT BELKAYNO FROM GELTEXT WHERE KAYNO=9").toInt();
    if (textvt.isEmpty()) {
        QCOMPARE(number, 0);
        QCOMPARE(o.value("SELECT METIN FROM GELTEXT WHERE KAYNO=9").toByteArray(), pdf);
    } else {
        QVERIFY(number > 0);
        QVERIFY(o.value("SELECT METIN FROM GELTEXT WHERE KAYNO=9").isNull());
        fb::Attachment year;
        year.open(TempDatabase::options(yearPath, QString()));
        fb::Transaction t(year);
        QCOMPARE(t.value("SELECT METIN FROM GELTEXT WHERE BELKAYNO=:B", {{"B", number}}).toByteArray(), pdf);
        QCOMPARE(t.value("SELECT OCN FROM GELTEXT WHERE BELKAYNO=:B", {{"B", number}}).toString(),
                 QStringLiteral("Word.application"));
    }
    // Shown again from the database in a later opening.
    RecordAttachments again(o.session, Register::Incoming);
    QVERIFY(again.open(9, 2021));
    const Shown shown = again.show(0);
    QCOMPARE(shown.kind, Shown::Document);
    QCOMPARE(readFile(shown.path), pdf);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::whatIsNotShown()
{
    Office o(QStringLiteral("H"), QStringLiteral("E")); // files in the folder only
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(11, 2021));
    QVERIFY(a.load(1, -1, o.file("scan.jpg", jpegBytes())));
    QVERIFY(a.load(1, -1, o.file("not.txt", "plain text")));
    QCOMPARE(a.show(1).kind, Shown::Nothing); // plain text is never shown
    o.save(a);
    QVERIFY(o.value("SELECT METIN FROM GELTEXT WHERE KAYNO=11 AND SIRNO=1").isNull());

    RecordAttachments b(o.session, Register::Incoming);
    QVERIFY(b.open(11, 2021));
    QCOMPARE(b.show(0).kind, Shown::Nothing); // medium V, no blob
    QCOMPARE(b.show(1).kind, Shown::Nothing);
    o.session.workstation.readMode = QStringLiteral("Y");
    QVERIFY(b.open(11, 2021));
    QCOMPARE(b.show(0).kind, Shown::Nothing); // pictures are not read from the folder
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::changeReplacesFileAndContent()
{
    Office o(QStringLiteral("E"), QStringLiteral("E"));
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(12, 2021));
    QVERIFY(a.load(1, -1, o.file("scan.jpg", jpegBytes())));
    QVERIFY(a.load(2, 0, o.file("yerine.pdf", "%PDF-1.4 yerine")));
    QCOMPARE(o.temp(), QStringList{QStringLiteral("GEL_12_1.PDF")}); // the picture is not stored beside it
    o.save(a);
    QCOMPARE(o.value("SELECT BELTUR FROM GELTEXT WHERE KAYNO=12").toString(), QStringLiteral("4"));
    QCOMPARE(QDir(o.local + "/GELEN").entryList(QDir::Files), QStringList{QStringLiteral("GEL_12_1.PDF")});

    // A saved row changed with VTSAKLA 'H' loses its old content, not keeps a stale one.
    o.session.general.VTSAKLA = QStringLiteral("H");
    RecordAttachments b(o.session, Register::Incoming);
    QVERIFY(b.open(12, 2021));
    QVERIFY(b.load(2, 0, o.file("scan.jpg", jpegBytes())));
    o.save(b);
    QVERIFY(o.value("SELECT METIN FROM GELTEXT WHERE KAYNO=12").isNull());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::failureBetweenTheCommitsLeavesNothing()
{
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("A"));
    const QString yearPath = o.db.createYear(QStringLiteral("2021"));
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(13, 2021));
    QVERIFY(a.load(1, -1, o.file("belge.pdf", "%PDF-1.4 belge")));
    try {
        fb::TwoPhaseTransaction unit(o.session.db.IBDATABASE, a.yearDatabase());
        QVERIFY(unit.isTwoPhase());
        a.apply(unit);
        unit.prepare();
        throw std::runtime_error("the workstation fails after the first phase");
    } catch (const std::runtime_error &) {
    }
    QCOMPARE(o.value("SELECT COUNT(*) FROM GELTEXT WHERE KAYNO=13").toInt(), 0);
    fb::Attachment year;
    year.open(TempDatabase::options(yearPath, QString()));
    {
        fb::Transaction t(year);
        QCOMPARE(t.value("SELECT COUNT(*) FROM GELTEXT").toInt(), 0);
    }
    // Nothing typed is lost: the next try saves it.
    QCOMPARE(a.rowCount(), 1);
    o.save(a);
    QCOMPARE(o.value("SELECT COUNT(*) FROM GELTEXT WHERE KAYNO=13").toInt(), 1);
    fb::Transaction t(year);
    QCOMPARE(t.value("SELECT METIN FROM GELTEXT").toByteArray(), QByteArray("%PDF-1.4 belge"));
}

void TestAttachments::missingYearlyDatabase()
{
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("A"));
    RecordAttachments a(o.session, Register::Incoming);
    o.prompt.expectMessage(QStringLiteral("DİKKAT! TEXT Veritabanı açılamadı"));
    QVERIFY(!a.open(14, 2021));
    // A screen that goes on anyway cannot save half of it.
    QVERIFY(a.load(1, -1, o.file("belge.pdf", "%PDF-1.4")));
    fb::TwoPhaseTransaction unit(o.session.db.IBDATABASE, a.yearDatabase());
    bool refused = false;
    try {
        a.apply(unit);
    } catch (const fb::Error &e) {
        refused = e.message().contains(QStringLiteral("belge veritabanı (TEXT) açık değil"));
    }
    QVERIFY(refused);
    unit.rollback();
    QCOMPARE(o.value("SELECT COUNT(*) FROM GELTEXT WHERE KAYNO=14").toInt(), 0);
    QCOMPARE(a.rowCount(), 1);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::openingARecordOfAnotherYear()
{
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("A"));
    o.db.createYear(QStringLiteral("2021"));
    o.db.createYear(QStringLiteral("2020"));
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(15, 2021));
    QCOMPARE(o.session.textYear, QStringLiteral("2021"));
    QVERIFY(a.open(16, 2020));
    QCOMPARE(o.session.textYear, QStringLiteral("2020"));
    QVERIFY(o.session.textOpen);
    QVERIFY(a.load(1, -1, o.file("eski.pdf", "%PDF-1.4 eski")));
    o.save(a);
    fb::Transaction t(o.session.db.IBTEXTDB);
    QCOMPARE(t.value("SELECT COUNT(*) FROM GELTEXT").toInt(), 1);
    QVERIFY(o.db.folder().endsWith(QFileInfo(o.session.db.IBTEXTDB.database()).path().section(u'/', -1)));
    QVERIFY(o.session.db.IBTEXTDB.database().endsWith(QStringLiteral("TEXT2020.GDB")));
}

void TestAttachments::picturesThroughTheFileServer()
{
    Office o(QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("E"));
    QTemporaryDir serverFolder;
    RunningServer server(serverFolder.path());
    QVERIFY(server.isRunning());
    o.session.general.SRVPORT = server.portText();
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(17, 2021));
    QVERIFY(a.load(1, -1, o.file("scan.jpg", jpegBytes())));
    o.save(a);
    QVERIFY(o.temp().isEmpty());
    QCOMPARE(readFile(serverFolder.filePath("GEL_17_1.JPG")), jpegBytes());

    o.session.workstation.readMode = QStringLiteral("S");
    RecordAttachments b(o.session, Register::Incoming);
    QVERIFY(b.open(17, 2021));
    const Shown shown = b.show(0);
    QCOMPARE(shown.kind, Shown::Picture);
    QCOMPARE(shown.path, o.local + QStringLiteral("/TEMPOKU/GEL_17_1.JPG"));
    QCOMPARE(readFile(shown.path), jpegBytes());
    b.cancel();
    QVERIFY(!QFile::exists(shown.path)); // TEMPOKU is emptied
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::unsentFileWaits()
{
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("E"));
    QTemporaryDir serverFolder;
    quint16 port;
    {
        RunningServer gone(serverFolder.path());
        port = gone.port();
    }
    o.session.general.SRVPORT = QString::number(port);
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(18, 2021));
    QVERIFY(a.load(1, -1, o.file("belge.pdf", "%PDF-1.4")));
    fb::TwoPhaseTransaction unit(o.session.db.IBDATABASE, a.yearDatabase());
    a.apply(unit);
    unit.commit();
    // The clerk tries again at once, in vain, then leaves it to a later save.
    o.prompt.expectMessage(QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.\nGEL_18_1.PDF"));
    o.prompt.expectQuestion(QStringLiteral("Tekrar gönderilsin mi?"), true);
    o.prompt.expectMessage(QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.\nGEL_18_1.PDF"));
    o.prompt.expectQuestion(QStringLiteral("Tekrar gönderilsin mi?"), false);
    const AfterSave after = a.saved();
    QCOMPARE(after.notSent, QStringList{QStringLiteral("GEL_18_1.PDF")});
    QVERIFY(o.temp().isEmpty());
    QCOMPARE(o.waiting(), after.notSent);

    // Another record's save sends what waited once the server is back, and
    // nothing another open screen has chosen and not saved.
    RunningServer server(serverFolder.path());
    o.session.general.SRVPORT = server.portText();
    RecordAttachments other(o.session, Register::Outgoing);
    QVERIFY(other.open(60, 2021));
    QVERIFY(other.load(1, -1, o.file("secilen.pdf", "%PDF-1.4 kaydedilmedi")));
    RecordAttachments b(o.session, Register::Incoming);
    QVERIFY(b.open(19, 2021));
    QVERIFY(b.load(1, -1, o.file("diger.pdf", "%PDF-1.4 diger")));
    o.prompt.expectQuestion(QStringLiteral("Silinecektir"), false); // a cancelled delete changes nothing
    QVERIFY(!b.remove(0));
    QCOMPARE(b.rowCount(), 1);
    o.save(b);
    QCOMPARE(readFile(serverFolder.filePath("GEL_18_1.PDF")), QByteArray("%PDF-1.4"));
    QCOMPARE(readFile(serverFolder.filePath("GEL_19_1.PDF")), QByteArray("%PDF-1.4 diger"));
    QVERIFY(!QFile::exists(serverFolder.filePath("GID_60_1.PDF")));
    QVERIFY(o.waiting().isEmpty());
    // The save empties TEMP, as it always did: the other screen's save is
    // refused whole instead of storing a row without its file.
    QVERIFY(o.temp().isEmpty());
    QVERIFY(o.refused(other));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::uncopiedFileWaitsForItsFolder()
{
    // The folder store alone: a file its folder did not take is the only copy of a saved content.
    Office o(QStringLiteral("H"), QStringLiteral("E"));
    const QString inTheWay = o.local + QStringLiteral("/GELEN/GEL_40_1.PDF");
    QVERIFY(QDir().mkpath(inTheWay)); // a folder where the file should go
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(40, 2021));
    QVERIFY(a.load(1, -1, o.file("kirk.pdf", "%PDF-1.4 kırk")));
    RecordAttachments other(o.session, Register::Outgoing);
    QVERIFY(other.open(50, 2021));
    QVERIFY(other.load(1, -1, o.file("elli.pdf", "%PDF-1.4 elli")));
    o.prompt.expectMessage(QStringLiteral("BELGE KLASÖRE KOPYALANAMADI\nGEL_40_1.PDF"));
    o.save(a);
    QVERIFY(o.temp().isEmpty());
    QCOMPARE(o.waiting(), QStringList{QStringLiteral("GEL_40_1.PDF")});
    QVERIFY(o.refused(other)); // its file went with TEMP: nothing is written without it
    other.cancel();

    // "Değiş" on the same row, then F6: the waiting file is not the changed one.
    {
        RecordAttachments d(o.session, Register::Incoming);
        QVERIFY(d.open(40, 2021));
        QVERIFY(d.load(2, 0, o.file("yeni.pdf", "%PDF-1.4 kaydedilmeyen")));
        QCOMPARE(o.temp(), QStringList{QStringLiteral("GEL_40_1.PDF")});
        d.cancel();
    }
    QVERIFY(o.temp().isEmpty());
    QCOMPARE(readFile(o.local + "/BEKLEYEN/GEL_40_1.PDF"), QByteArray("%PDF-1.4 kırk"));

    // Read from the local folder, the content is found where it waits.
    o.session.workstation.readMode = QStringLiteral("Y");
    {
        RecordAttachments e(o.session, Register::Incoming);
        QVERIFY(e.open(40, 2021));
        const Shown shown = e.show(0);
        QCOMPARE(shown.kind, Shown::Document);
        QCOMPARE(readFile(shown.path), QByteArray("%PDF-1.4 kırk"));
    }
    o.session.workstation.readMode = QStringLiteral("V");

    // Another record's save tries it again, and keeps it while the folder still refuses.
    RecordAttachments b(o.session, Register::Incoming);
    QVERIFY(b.open(41, 2021));
    QVERIFY(b.load(1, -1, o.file("kirkbir.pdf", "%PDF-1.4 kırk bir")));
    o.prompt.expectMessage(QStringLiteral("BELGE KLASÖRE KOPYALANAMADI\nGEL_40_1.PDF"));
    o.save(b);
    QCOMPARE(o.waiting(), QStringList{QStringLiteral("GEL_40_1.PDF")});
    QCOMPARE(readFile(o.local + "/GELEN/GEL_41_1.PDF"), QByteArray("%PDF-1.4 kırk bir"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    // Once the folder takes it, the next save of any record puts it there: the saved content.
    QVERIFY(QDir(inTheWay).removeRecursively());
    RecordAttachments c(o.session, Register::Archive);
    QVERIFY(c.open(42, 2021));
    const AfterSave after = [&] {
        fb::TwoPhaseTransaction unit(o.session.db.IBDATABASE, c.yearDatabase());
        c.apply(unit);
        unit.commit();
        return c.saved();
    }();
    QVERIFY(after.notCopied.isEmpty());
    QCOMPARE(readFile(o.local + "/GELEN/GEL_40_1.PDF"), QByteArray("%PDF-1.4 kırk"));
    QVERIFY(o.waiting().isEmpty());
    QVERIFY(o.temp().isEmpty());
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::laterSaveSupersedesWaitingFile()
{
    // Folder and server: the folder refuses the PDF, the server takes it.
    Office o(QStringLiteral("H"), QStringLiteral("E"), QStringLiteral("E"));
    QTemporaryDir serverFolder;
    RunningServer server(serverFolder.path());
    QVERIFY(server.isRunning());
    o.session.general.SRVPORT = server.portText();
    const QString inTheWay = o.local + QStringLiteral("/GELEN/GEL_43_1.PDF");
    QVERIFY(QDir().mkpath(inTheWay));
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(43, 2021));
    QVERIFY(a.load(1, -1, o.file("eski.pdf", "%PDF-1.4 eski")));
    o.prompt.expectMessage(QStringLiteral("BELGE KLASÖRE KOPYALANAMADI\nGEL_43_1.PDF"));
    o.save(a);
    QCOMPARE(readFile(serverFolder.filePath("GEL_43_1.PDF")), QByteArray("%PDF-1.4 eski"));
    QCOMPARE(o.waiting(), QStringList{QStringLiteral("GEL_43_1.PDF")});

    // A later save of a "Değiş" of the row, of another type, takes the row's place.
    QVERIFY(a.load(2, 0, o.file("yeni.jpg", jpegBytes())));
    o.save(a);
    QVERIFY(o.waiting().isEmpty());
    QVERIFY(o.temp().isEmpty());
    QCOMPARE(readFile(o.local + "/GELEN/GEL_43_1.JPG"), jpegBytes());
    QCOMPARE(readFile(serverFolder.filePath("GEL_43_1.JPG")), jpegBytes());

    // A waiting file owed only to the folder is not sent again by later saves.
    QVERIFY(QDir().mkpath(o.local + QStringLiteral("/GELEN/GEL_44_1.PDF")));
    RecordAttachments b(o.session, Register::Incoming);
    QVERIFY(b.open(44, 2021));
    QVERIFY(b.load(1, -1, o.file("kirkdort.pdf", "%PDF-1.4 kırk dört")));
    o.prompt.expectMessage(QStringLiteral("BELGE KLASÖRE KOPYALANAMADI\nGEL_44_1.PDF"));
    o.save(b);
    QVERIFY(QFile::remove(serverFolder.filePath("GEL_44_1.PDF")));
    RecordAttachments c(o.session, Register::Incoming);
    QVERIFY(c.open(45, 2021));
    o.prompt.expectMessage(QStringLiteral("BELGE KLASÖRE KOPYALANAMADI\nGEL_44_1.PDF"));
    o.save(c);
    QVERIFY(!QFile::exists(serverFolder.filePath("GEL_44_1.PDF")));
    QCOMPARE(o.waiting(), QStringList{QStringLiteral("GEL_44_1.PDF")});
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::rowsKeptBeforeTheYearlyDatabase()
{
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("A"));
    o.db.createYear(QStringLiteral("2021"));
    // Kept in their rows before the office took the yearly database: no content number.
    for (int k : {30, 31})
        o.exec(QStringLiteral("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR, DOSYA, BELKAYNO, METIN) "
                              "VALUES (%1, 1, 'A', '4', 'GEL_%1_1.PDF', 0, :M)").arg(k),
               {{"M", QByteArray("%PDF-1.4 kayıt ") + QByteArray::number(k)}});
    o.exec("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR, DOSYA, BELKAYNO) VALUES (32, 1, 'A', '4', 'GEL_32_1.PDF', 0)");
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(30, 2021));
    {
        // A yearly row numbered 0, as a change of such a row used to write.
        fb::Transaction t(o.session.db.IBTEXTDB);
        t.execute("INSERT INTO GELTEXT (BELKAYNO, METIN) VALUES (0, :M)", {{"M", QByteArray("%PDF-1.4 başkasının")}});
        t.commit();
    }
    auto shownBytes = [&](RecordAttachments &r) {
        const Shown shown = r.show(0);
        return shown.kind == Shown::Document ? readFile(shown.path) : QByteArray();
    };
    QCOMPARE(shownBytes(a), QByteArray("%PDF-1.4 kayıt 30"));

    // New content gives the row a number of its own.
    QVERIFY(a.load(2, 0, o.file("yeni.pdf", "%PDF-1.4 yeni")));
    const int number = a.value(0, "BELKAYNO").toInt();
    QVERIFY(number > 0);
    o.save(a);
    QCOMPARE(o.value("SELECT BELKAYNO FROM GELTEXT WHERE KAYNO=30").toInt(), number);
    {
        fb::Transaction t(o.session.db.IBTEXTDB);
        QCOMPARE(t.value("SELECT METIN FROM GELTEXT WHERE BELKAYNO=:B", {{"B", number}}).toByteArray(),
                 QByteArray("%PDF-1.4 yeni"));
        QCOMPARE(t.value("SELECT METIN FROM GELTEXT WHERE BELKAYNO=0").toByteArray(), QByteArray("%PDF-1.4 başkasının"));
    }
    QCOMPARE(shownBytes(a), QByteArray("%PDF-1.4 yeni"));

    // The other old rows show their own content, or nothing.
    QVERIFY(a.open(31, 2021));
    QCOMPARE(shownBytes(a), QByteArray("%PDF-1.4 kayıt 31"));
    QVERIFY(a.open(32, 2021));
    QCOMPARE(a.show(0).kind, Shown::Nothing);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::yearThatCannotBeOpened()
{
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("A"));
    o.db.createYear(QStringLiteral("2021"));
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(33, 2021));
    QVERIFY(a.load(1, -1, o.file("belge.pdf", "%PDF-1.4 otuz üç")));
    o.save(a);

    // No 2019 database: the 2021 one stays open for the records of its year.
    RecordAttachments old(o.session, Register::Incoming);
    o.prompt.expectMessage(QStringLiteral("DİKKAT! TEXT Veritabanı açılamadı"));
    QVERIFY(!old.open(34, 2019));
    QVERIFY(o.session.db.IBTEXTDB.isOpen());
    QVERIFY(o.session.textOpen);
    QCOMPARE(o.session.textYear, QStringLiteral("2021"));
    // The record of 2019 neither reads from nor writes into 2021's database.
    QVERIFY(!old.yearDatabase());
    QVERIFY(a.yearDatabase());
    QVERIFY(a.open(33, 2021));
    const Shown shown = a.show(0);
    QCOMPARE(shown.kind, Shown::Document);
    QCOMPARE(readFile(shown.path), QByteArray("%PDF-1.4 otuz üç"));
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

namespace {

/// An embedded-document stream as the older workstations stored it: a small
/// container header, then a compound file made here with libgsf's writer.
enum class Holds { Packaged, WordDocument, Package };

/// A word-processor package (.docx) as a newer office suite writes it, made
/// with libgsf's zip writer.
QByteArray officePackage()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("p.docx"));
    GError *err = nullptr;
    GsfOutput *sink = gsf_output_stdio_new(path.constData(), &err);
    GsfOutfile *zip = gsf_outfile_zip_new(sink, &err);
    auto put = [](GsfOutfile *parent, const char *name, const QByteArray &bytes) {
        GsfOutput *s = gsf_outfile_new_child(parent, name, FALSE);
        gsf_output_write(s, size_t(bytes.size()), reinterpret_cast<const guint8 *>(bytes.constData()));
        gsf_output_close(s);
        g_object_unref(s);
    };
    put(zip, "[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>");
    GsfOutput *word = gsf_outfile_new_child(zip, "word", TRUE);
    put(GSF_OUTFILE(word), "document.xml", "<?xml version=\"1.0\"?><w:document/>");
    gsf_output_close(word);
    g_object_unref(word);
    gsf_output_close(GSF_OUTPUT(zip));
    g_object_unref(zip);
    g_object_unref(sink);
    QFile f(dir.filePath("p.docx"));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QByteArray legacyStream(Holds holds, const QByteArray &payload)
{
    const bool packaged = holds == Holds::Packaged;
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("c.ole"));
    GError *err = nullptr;
    GsfOutput *sink = gsf_output_stdio_new(path.constData(), &err);
    GsfOutfile *ole = gsf_outfile_msole_new(sink);
    if (packaged) {
        QByteArray native;
        auto le32 = [](quint32 v) {
            QByteArray b(4, 0);
            for (int i = 0; i < 4; ++i)
                b[i] = char((v >> (8 * i)) & 0xFF);
            return b;
        };
        QByteArray body = QByteArray::fromHex("0200") + "rapor.pdf" + '\0' + "C:\\Belgeler\\rapor.pdf" + '\0'
            + QByteArray::fromHex("00000300");
        const QByteArray tmp = QByteArray("C:\\TEMP\\rapor.pdf") + '\0';
        body += le32(quint32(tmp.size())) + tmp + le32(quint32(payload.size())) + payload;
        native = le32(quint32(body.size())) + body;
        GsfOutput *s = gsf_outfile_new_child(ole, "\001Ole10Native", FALSE);
        gsf_output_write(s, size_t(native.size()), reinterpret_cast<const guint8 *>(native.constData()));
        gsf_output_close(s);
        g_object_unref(s);
    } else {
        GsfOutput *s = gsf_outfile_new_child(ole, holds == Holds::Package ? "Package" : "WordDocument", FALSE);
        gsf_output_write(s, size_t(payload.size()), reinterpret_cast<const guint8 *>(payload.constData()));
        gsf_output_close(s);
        g_object_unref(s);
    }
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    g_object_unref(sink);
    QFile f(dir.filePath("c.ole"));
    f.open(QIODevice::ReadOnly);
    return QByteArray::fromHex("4F4C45436F6E7461696E6572000000001A000000") + f.readAll();
}

} // namespace

void TestAttachments::legacyContents_data()
{
    QTest::addColumn<int>("holds");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("packaged file") << int(Holds::Packaged) << "PDF";
    QTest::newRow("whole word-processor file") << int(Holds::WordDocument) << "DOC";
    QTest::newRow("newer suite's package stream") << int(Holds::Package) << "DOCX";
}

void TestAttachments::legacyContents()
{
    QFETCH(int, holds);
    QFETCH(QString, suffix);
    Office o;
    const QByteArray payload = Holds(holds) == Holds::Package
        ? officePackage() : "%PDF-1.4\n" + QByteArray(70000, 'z') + "\n%%EOF";
    const QByteArray stream = legacyStream(Holds(holds), payload);
    o.exec("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR, DOSYA, METIN) VALUES (20, 1, 'A', '5', 'GEL_20_1.DOC', :M)",
           {{"M", stream}});
    RecordAttachments a(o.session, Register::Incoming);
    QVERIFY(a.open(20, 2021));
    const Shown shown = a.show(0);
    QCOMPARE(shown.kind, Shown::Document);
    QCOMPARE(QFileInfo(shown.path).suffix(), suffix);
    const QByteArray out = readFile(shown.path);
    if (Holds(holds) != Holds::WordDocument)
        QCOMPARE(out, payload);
    else
        QCOMPARE(out, stream.mid(legacycontent::compoundOffset(o.local + "/none") < 0 ? 20 : 20)); // the compound file itself
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));

    // A blob of no known format is said so, and nothing is shown.
    o.exec("UPDATE GELTEXT SET METIN=:M WHERE KAYNO=20", {{"M", QByteArray(20, 'q') + stream.mid(20, 512)}});
    o.prompt.expectMessage(QStringLiteral("Veritabanından Dosya Alınamadı"));
    QCOMPARE(a.show(0).kind, Shown::Nothing);
    QVERIFY2(o.prompt.done(), qPrintable(o.prompt.report()));
}

void TestAttachments::helpersForLists()
{
    Office o(QStringLiteral("E"), QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("A"));
    o.db.createYear(QStringLiteral("2021"));
    RecordAttachments a(o.session, Register::Outgoing);
    QVERIFY(a.open(21, 2021));
    QVERIFY(a.load(1, -1, o.file("1.pdf", "%PDF-1.4 1")));
    QVERIFY(a.load(1, -1, o.file("2.pdf", "%PDF-1.4 2")));
    o.save(a);
    {
        fb::Transaction t(o.session.db.IBDATABASE);
        QCOMPARE(attachmentCount(t, Register::Outgoing, 21), 2);
        QCOMPARE(attachmentCounts(t, Register::Outgoing, {21, 22}), (QHash<int, int>{{21, 2}}));
    }
    fb::TwoPhaseTransaction unit(o.session.db.IBDATABASE, a.yearDatabase());
    deleteAllAttachments(unit, Register::Outgoing, 21);
    unit.commit();
    QCOMPARE(o.value("SELECT COUNT(*) FROM GIDTEXT").toInt(), 0);
    fb::Transaction t(o.session.db.IBTEXTDB);
    QCOMPARE(t.value("SELECT COUNT(*) FROM GIDTEXT").toInt(), 0);
}

QTEST_GUILESS_MAIN(TestAttachments)
#include "tst_attachments.moc"
