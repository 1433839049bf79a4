// Attachments through the real record screens: what F5 writes into the main
// and the yearly database, what a failed save keeps, the numbering of a row
// added after a deletion, and the file server seen from the incoming screen.

#include "registers/ui/ungelen.h"
#include "registers/ui/ungiden.h"
#include "storage/ui/attachmentsgroup.h"
#include "storage/ui/documentview.h"

#include "../storage/runningserver.h"

#include "formtest.h"
#include "scriptedrunner.h"
#include "sessionfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

/// A workstation keeping contents in the database and files in its local
/// folder, working year 2021; with TEXTVT 'A' the contents go to TEXT2021.
struct Desk : SessionFixture
{
    ScriptedRunner runner;
    fb::Attachment year;
    QString local = dir.filePath(QStringLiteral("EVRAKLAR"));

    explicit Desk(const QString &textvt)
    {
        exec("INSERT INTO BIRIM (BKOD,BIRIM,TUR,YETKILI,UNVAN,ONEK) VALUES (1,'YAZI İŞLERİ','B','AHMET YILMAZ','MÜDÜR','YZ-')");
        session.workstation.year = QStringLiteral("2021");
        session.workstation.localFolder = local;
        session.workstation.readMode = QStringLiteral("V");
        session.LUSR = QStringLiteral("ZIRVO");
        session.general.UDUR = QStringLiteral("0");
        session.general.VTSAKLA = QStringLiteral("E");
        session.general.TRMSAKLA = QStringLiteral("E");
        session.general.SRVSAKLA = QStringLiteral("H");
        session.general.TEXTVT = textvt;
        session.store()->setValue(QStringLiteral("YOL"), db.folder());
        if (textvt == u"A")
            year.open(TempDatabase::options(db.createYear(QStringLiteral("2021")), QString()));
    }
    QVariant inYear(const QString &sql)
    {
        fb::Transaction t(year);
        return t.value(sql);
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QStringList filesIn(const QString &sub) const
    {
        return QDir(QDir(local).filePath(sub)).entryList(QDir::Files);
    }
};

QByteArray jpeg()
{
    QImage image(64, 40, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "JPEG");
    return bytes;
}

QByteArray pdf()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter p(&writer);
    p.drawText(QPointF(100, 100), QStringLiteral("Ek belge"));
    p.end();
    return bytes;
}

/// The record screen of a register, opened on a new record as the list opens it.
struct Screen
{
    std::unique_ptr<KelmaForm> form;
    bool outgoing;

    Screen(Desk &d, bool outgoingRegister, int tag = 1, int kayno = 0)
        : outgoing(outgoingRegister)
    {
        if (outgoing) {
            auto s = std::make_unique<TFRMGIDEN>(d.session, d.runner);
            s->tag = tag;
            s->kayno = kayno;
            form = std::move(s);
        } else {
            auto s = std::make_unique<TFRMGELEN>(d.session, d.runner);
            s->tag = tag;
            s->kayno = kayno;
            form = std::move(s);
        }
        showActive(*form);
        if (outgoing && tag == 1) {
            auto *combo = child<QComboBox>(*form, "departmentCombo");
            combo->setCurrentIndex(combo->findText(QStringLiteral("YAZI İŞLERİ")));
        }
    }
    int kayno() const
    {
        return outgoing ? static_cast<TFRMGIDEN &>(*form).kayno : static_cast<TFRMGELEN &>(*form).kayno;
    }
    AttachmentsGroup *group() const { return child<AttachmentsGroup>(*form, "attachmentsGroup"); }
    QTableWidget *grid() const { return child<QTableWidget>(*group(), "attachmentsGrid"); }
    /// "Ekle" on the incoming screen, "Belge Ekle" › "Dosya Ekle" on the outgoing one.
    void add(Desk &d, const QString &path)
    {
        d.prompt.expectOpenFile(path);
        if (outgoing)
            form->findChild<QAction *>(QStringLiteral("addFileAction"))->trigger();
        else
            QTest::mouseClick(child<QPushButton>(*group(), "addButton"), Qt::LeftButton);
    }
    QStringList numbers() const
    {
        QStringList out;
        for (int r = 0; r < grid()->rowCount(); ++r)
            out << grid()->item(r, 0)->text();
        return out;
    }
    QString table() const { return outgoing ? QStringLiteral("GIDTEXT") : QStringLiteral("GELTEXT"); }
    QString records() const { return outgoing ? QStringLiteral("GIDEN") : QStringLiteral("GELEN"); }
    QString prefix() const { return outgoing ? QStringLiteral("GID_") : QStringLiteral("GEL_"); }
    QString folder() const { return outgoing ? QStringLiteral("GIDEN") : QStringLiteral("GELEN"); }
};

} // namespace

class TestRecordAttachments : public QObject
{
    Q_OBJECT

private slots:
    void saveWritesRecordAndAttachmentsTogether_data();
    void saveWritesRecordAndAttachmentsTogether();
    void failedSaveKeepsEverything_data();
    void failedSaveKeepsEverything();
    void cancelDropsTheOpeningsFiles_data();
    void cancelDropsTheOpeningsFiles();
    void numberAfterDeleteAndAdd();
    void fileServerFromTheScreen();
};

void TestRecordAttachments::saveWritesRecordAndAttachmentsTogether_data()
{
    QTest::addColumn<bool>("outgoing");
    QTest::addColumn<QString>("textvt");
    QTest::newRow("incoming, contents in the rows") << false << QString();
    QTest::newRow("incoming, yearly database") << false << QStringLiteral("A");
    QTest::newRow("outgoing, contents in the rows") << true << QString();
    QTest::newRow("outgoing, yearly database") << true << QStringLiteral("A");
}

void TestRecordAttachments::saveWritesRecordAndAttachmentsTogether()
{
    QFETCH(bool, outgoing);
    QFETCH(QString, textvt);
    Desk d(textvt);
    Screen s(d, outgoing);
    const QString k = QString::number(s.kayno());
    s.add(d, d.file(QStringLiteral("tarama.jpg"), jpeg()));
    s.add(d, d.file(QStringLiteral("rapor.pdf"), pdf()));
    QCOMPARE(s.numbers(), QStringList({"1", "2"}));
    QCOMPARE(d.filesIn("TEMP"), QStringList({s.prefix() + k + "_1.JPG", s.prefix() + k + "_2.PDF"}));
    // Nothing reaches the database before F5.
    QCOMPARE(d.value("SELECT COUNT(*) FROM " + s.table()).toInt(), 0);

    QTest::keyClick(s.form.get(), Qt::Key_F5);
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
    QVERIFY(!s.form->isVisible());
    QCOMPARE(d.value("SELECT COUNT(*) FROM " + s.records()).toInt(), 1);
    fb::Transaction t(d.own);
    const auto rows = t.rows("SELECT SIRNO, DOSYA, BELTUR, BELKAYNO, OCTET_LENGTH(METIN) FROM " + s.table()
                             + " WHERE KAYNO=:K ORDER BY SIRNO", {{"K", s.kayno()}});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][1].toString(), s.prefix() + k + "_1.JPG");
    QCOMPARE(rows[1][1].toString(), s.prefix() + k + "_2.PDF");
    QCOMPARE(rows[0][2].toString() + rows[1][2].toString(), QStringLiteral("14"));
    if (textvt == u"A") {
        // Each row names its content in TEXT2021, byte for byte the chosen file.
        for (int r = 0; r < 2; ++r) {
            QVERIFY(rows[r][3].toInt() > 0);
            QVERIFY(rows[r][4].isNull());
        }
        fb::Transaction y(d.year);
        QCOMPARE(y.value("SELECT METIN FROM " + s.table() + " WHERE BELKAYNO=:B", {{"B", rows[0][3]}}).toByteArray(),
                 jpeg());
        QCOMPARE(y.value("SELECT COUNT(*) FROM " + s.table()).toInt(), 2);
    } else {
        QCOMPARE(rows[1][4].toLongLong(), qint64(pdf().size()));
    }
    // The files went to the register's folder; TEMP is empty.
    QCOMPARE(d.filesIn(s.folder()).size(), 2);
    QVERIFY(d.filesIn("TEMP").isEmpty());
}

void TestRecordAttachments::failedSaveKeepsEverything_data()
{
    QTest::addColumn<bool>("outgoing");
    QTest::addColumn<bool>("inYear");
    QTest::newRow("incoming, the yearly database refuses the content") << false << true;
    QTest::newRow("incoming, the main database refuses the record") << false << false;
    QTest::newRow("outgoing, the yearly database refuses the content") << true << true;
    QTest::newRow("outgoing, the main database refuses the record") << true << false;
}

void TestRecordAttachments::failedSaveKeepsEverything()
{
    QFETCH(bool, outgoing);
    QFETCH(bool, inYear);
    Desk d(QStringLiteral("A"));
    Screen s(d, outgoing);
    // One side refuses its part: the other must not keep its own.
    fb::Attachment &refusing = inYear ? d.year : d.own;
    const QString table = inYear ? s.table() : s.records();
    {
        fb::Transaction t(refusing);
        t.executeRaw("CREATE EXCEPTION E_DOLU 'disk dolu'");
        t.commit();
    }
    {
        fb::Transaction t(refusing);
        t.executeRaw("CREATE TRIGGER DOLU FOR " + table + " BEFORE INSERT AS BEGIN EXCEPTION E_DOLU; END");
        t.commit();
    }
    s.add(d, d.file(QStringLiteral("rapor.pdf"), pdf()));
    d.prompt.expectError(QStringLiteral("DİKKAT! Kayıt yapılamadı; yazdıklarınız ekranda duruyor."));
    QTest::keyClick(s.form.get(), Qt::Key_F5);
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
    QVERIFY(s.form->isVisible());
    QCOMPARE(d.value("SELECT COUNT(*) FROM " + s.records()).toInt(), 0);
    QCOMPARE(d.value("SELECT COUNT(*) FROM " + s.table()).toInt(), 0);
    QCOMPARE(d.inYear("SELECT COUNT(*) FROM " + s.table()).toInt(), 0);
    QCOMPARE(s.numbers(), QStringList({"1"}));
    QCOMPARE(d.filesIn("TEMP").size(), 1);

    // Once the database takes it again, the next F5 saves all of it.
    {
        fb::Transaction t(refusing);
        t.executeRaw("DROP TRIGGER DOLU");
        t.commit();
    }
    QTest::keyClick(s.form.get(), Qt::Key_F5);
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
    QVERIFY(!s.form->isVisible());
    QCOMPARE(d.value("SELECT COUNT(*) FROM " + s.table()).toInt(), 1);
    QCOMPARE(d.inYear("SELECT COUNT(*) FROM " + s.table()).toInt(), 1);
}

void TestRecordAttachments::cancelDropsTheOpeningsFiles_data()
{
    QTest::addColumn<bool>("outgoing");
    QTest::newRow("incoming") << false;
    QTest::newRow("outgoing") << true;
}

void TestRecordAttachments::cancelDropsTheOpeningsFiles()
{
    QFETCH(bool, outgoing);
    Desk d(QStringLiteral("A"));
    Screen s(d, outgoing);
    s.add(d, d.file(QStringLiteral("rapor.pdf"), pdf()));
    QCOMPARE(d.filesIn("TEMP").size(), 1);
    QTest::keyClick(s.form.get(), Qt::Key_F6);
    QVERIFY(!s.form->isVisible());
    QVERIFY(d.filesIn("TEMP").isEmpty());
    QCOMPARE(d.value("SELECT COUNT(*) FROM " + s.table()).toInt(), 0);
    QCOMPARE(d.inYear("SELECT COUNT(*) FROM " + s.table()).toInt(), 0);
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestRecordAttachments::numberAfterDeleteAndAdd()
{
    Desk d{QString()};
    // A new record: two added, the second deleted, one more added — it takes 2, not a number in use.
    {
        Screen s(d, false);
        s.add(d, d.file(QStringLiteral("a.pdf"), pdf()));
        s.add(d, d.file(QStringLiteral("b.jpg"), jpeg()));
        s.grid()->selectRow(1);
        d.prompt.expectQuestion(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?"), true);
        QTest::mouseClick(child<QPushButton>(*s.group(), "deleteButton"), Qt::LeftButton);
        s.add(d, d.file(QStringLiteral("c.txt"), "düz metin"));
        QCOMPARE(s.numbers(), QStringList({"1", "2"}));
        QTest::keyClick(s.form.get(), Qt::Key_F5);
        QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
        QVERIFY(!s.form->isVisible());
        QCOMPARE(d.value("SELECT LIST(DOSYA, ',') FROM (SELECT DOSYA FROM GELTEXT ORDER BY SIRNO)").toString(),
                 QStringLiteral("GEL_%1_1.PDF,GEL_%1_2.TXT").arg(s.kayno()));
    }
    // A saved record with 1 to 3: 3 deleted and one added in the same opening is 4.
    d.exec("INSERT INTO GELEN (KAYNO,GELNO,GELTAR,ZDUR,GIZDER,CEVDUR,KONU) VALUES (70,5,'2021-03-01','D','Ö','H','Eski')");
    for (int n : {1, 2, 3})
        d.exec("INSERT INTO GELTEXT (KAYNO,SIRNO,TUR,BELTUR,DOSYA) VALUES (70,:S,'A','8','x.txt')", {{"S", n}});
    Screen s(d, false, 2, 70);
    QCOMPARE(s.numbers(), QStringList({"1", "2", "3"}));
    s.grid()->selectRow(2);
    d.prompt.expectQuestion(QStringLiteral("Silinecektir"), true);
    QTest::mouseClick(child<QPushButton>(*s.group(), "deleteButton"), Qt::LeftButton);
    s.add(d, d.file(QStringLiteral("d.pdf"), pdf()));
    QCOMPARE(s.numbers(), QStringList({"1", "2", "4"}));
    QTest::keyClick(s.form.get(), Qt::Key_F5);
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
    QCOMPARE(d.value("SELECT LIST(SIRNO, ',') FROM (SELECT SIRNO FROM GELTEXT WHERE KAYNO=70 ORDER BY SIRNO)").toString(),
             QStringLiteral("1,2,4"));
}

void TestRecordAttachments::fileServerFromTheScreen()
{
    // Files only on the server: no blob, no local copy.
    Desk d{QString()};
    d.session.general.VTSAKLA = QStringLiteral("H");
    d.session.general.TRMSAKLA = QStringLiteral("H");
    d.session.general.SRVSAKLA = QStringLiteral("E");
    d.session.general.SRVIPNO = QStringLiteral("127.0.0.1");
    QTemporaryDir serverFolder;
    quint16 gonePort;
    {
        RunningServer gone(serverFolder.path());
        gonePort = gone.port();
    }
    d.session.general.SRVPORT = QString::number(gonePort);

    // The server is down at F5: the record is saved, the file waits in BEKLEYEN,
    // the clerk is told and asked whether to send it again.
    int first = 0;
    {
        Screen s(d, false);
        first = s.kayno();
        s.add(d, d.file(QStringLiteral("tarama.jpg"), jpeg()));
        d.prompt.expectMessage(QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.\nGEL_%1_1.JPG").arg(first));
        d.prompt.expectQuestion(QStringLiteral("Tekrar gönderilsin mi?"), false);
        QTest::keyClick(s.form.get(), Qt::Key_F5);
        QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
        QVERIFY(!s.form->isVisible());
        QCOMPARE(d.value("SELECT DOSYA FROM GELTEXT WHERE KAYNO=:K", {{"K", first}}).toString(),
                 QStringLiteral("GEL_%1_1.JPG").arg(first));
        QVERIFY(d.filesIn("TEMP").isEmpty());
        QVERIFY(d.filesIn("BEKLEYEN").contains(QStringLiteral("GEL_%1_1.JPG").arg(first)));
    }

    // The server is back: the next save, of another record, sends what waited.
    RunningServer server(serverFolder.path());
    d.session.general.SRVPORT = server.portText();
    {
        Screen s(d, false);
        QTest::keyClick(s.form.get(), Qt::Key_F5);
        QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
        QVERIFY(d.filesIn("TEMP").isEmpty());
        QVERIFY(d.filesIn("BEKLEYEN").isEmpty());
        QVERIFY(QFile::exists(serverFolder.filePath(QStringLiteral("GEL_%1_1.JPG").arg(first))));
    }

    // Reading from the server: the picture comes from it, though no blob holds
    // it, and a double-click opens the picture viewer through the screen's runner.
    d.session.workstation.readMode = QStringLiteral("S");
    Screen s(d, false, 2, first);
    QCOMPARE(s.numbers(), QStringList({"1"}));
    auto *view = child<DocumentView>(*s.group(), "documentView");
    QCOMPARE(view->page(), DocumentView::Page::Picture);
    QString title;
    d.runner.then([&](KelmaForm &f) { title = f.windowTitle(); });
    QTest::mouseDClick(child<QLabel>(*view, "pictureLabel"), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("RESİM"));
    // "Detay" opens the documents window the same way.
    d.runner.then([&](KelmaForm &f) { title = f.windowTitle(); });
    QTest::mouseClick(child<QPushButton>(*s.group(), "detailButton"), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("BELGELER"));
    QVERIFY2(d.runner.done(), qPrintable(d.runner.report()));
    QTest::keyClick(s.form.get(), Qt::Key_F6);
    QVERIFY(d.filesIn("TEMPOKU").isEmpty());
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

QTEST_MAIN(TestRecordAttachments)
#include "tst_recordattachments.moc"
