#include "personatwriter.h"

#include "formtest.h"
#include "sessionfixture.h"

#include "storage/attachments.h"
#include "texts/templates.h"
#include "texts/ui/unornek.h"
#include "texts/ui/unword.h"
#include "texts/wordfile.h"

#include <QProcess>
#include <QtTest>

// With LibreOffice itself: what it makes of our files and what we make of its.

namespace {

QByteArray letterBody(const QString &runs)
{
    return wordfile::make(QStringLiteral("<w:p>") + runs + QStringLiteral("</w:p>"));
}

/// An embedded-document stream as the older workstations stored a Word
/// document: the container header, then the .doc compound file.
QByteArray legacyStream(const QByteArray &doc)
{
    return QByteArray::fromHex("4F4C45436F6E7461696E6572000000001A000000") + doc;
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestWriterFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void writerSavedLetterIsFilledAndPrints();
    void legacyTemplateConvertedOnFirstEdit();

private:
    QTemporaryDir m_dir;
    PersonAtWriter m_writer;
    QString convert(const QByteArray &bytes, const QString &name, const QString &format)
    {
        const QString in = m_dir.filePath(name);
        PersonAtWriter::write(in, bytes);
        return m_writer.convert(in, format, m_dir.filePath(QStringLiteral("cikti")));
    }
};

void TestWriterFiles::initTestCase()
{
    if (texts::Office().program().isEmpty())
        QSKIP("LibreOffice (soffice) is not installed; these tests need it");
    m_writer.setProfileFolder(m_dir.filePath(QStringLiteral("profil")));
}

void TestWriterFiles::writerSavedLetterIsFilledAndPrints()
{
    // A placeholder half bold, saved again by Writer: its runs as Writer writes them.
    const QByteArray ours = letterBody(
        "<w:r><w:t xml:space=\"preserve\">Sayı: [SA</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>YI]</w:t></w:r>"
        "<w:r><w:t xml:space=\"preserve\"> Konu: [</w:t></w:r><w:r><w:rPr><w:i/></w:rPr><w:t>KONU]</w:t></w:r>"
        "<w:r><w:t xml:space=\"preserve\"> [TARIH] [KONU]</w:t></w:r>");
    const QString resaved = convert(ours, QStringLiteral("mektup.docx"), QStringLiteral("docx"));
    QVERIFY2(!resaved.isEmpty(), "LibreOffice did not convert the letter");
    const QByteArray writers = PersonAtWriter::read(resaved);
    QVERIFY(wordfile::isWordFile(writers));
    QVERIFY(writers != ours);

    const wordfile::Replaced filled = wordfile::replace(
        writers, texts::placeholders({QDate(2021, 8, 26), 412, QStringLiteral("İmar Planı Değişikliği — Iğdır")}));
    QCOMPARE(filled.count, 4);
    QCOMPARE(wordfile::plainText(filled.bytes).trimmed(),
             QStringLiteral("Sayı: 412 Konu: İmar Planı Değişikliği — Iğdır 26.08.2021 İmar Planı Değişikliği — Iğdır"));

    // Writer opens what we wrote: the attachment viewer shows it as a PDF.
    const QString pdf = convert(filled.bytes, QStringLiteral("dolu.docx"), QStringLiteral("pdf"));
    QVERIFY2(!pdf.isEmpty(), "LibreOffice did not open the filled letter");
    const QString text = pdfText(pdf).simplified();
    QVERIFY2(text.contains(QStringLiteral("Sayı: 412 Konu: İmar Planı Değişikliği — Iğdır 26.08.2021")), qPrintable(text));
}

void TestWriterFiles::legacyTemplateConvertedOnFirstEdit()
{
    const QString doc = convert(letterBody("<w:r><w:t xml:space=\"preserve\">Eski şablon [SAYI] — İğdır Ağrı</w:t></w:r>"),
                                QStringLiteral("eski.docx"), QStringLiteral("doc"));
    QVERIFY2(!doc.isEmpty(), "LibreOffice did not write the .doc");
    const QByteArray legacy = legacyStream(PersonAtWriter::read(doc));

    SessionFixture f;
    f.session.general.VTSAKLA = QStringLiteral("E");
    f.session.general.TRMSAKLA = QStringLiteral("H");
    f.session.general.SRVSAKLA = QStringLiteral("H");
    f.session.general.TEXTVT = QString();
    f.session.workstation.localFolder = f.dir.filePath(QStringLiteral("EVRAKLAR"));
    for (int kayno : {1, 2})
        f.exec("INSERT INTO SABLON (KAYNO, ACIK, METIN) VALUES (:K, 'Eski', :M)", {{"K", kayno}, {"M", legacy}});

    // The template editor converts it; the old content stays until F5.
    QString seen;
    m_writer.onEdit = [&](const QString &path) { seen = wordfile::plainText(PersonAtWriter::read(path)); };
    TFRMORNEK editor(f.session, m_writer, 1, QStringLiteral("Eski"));
    showActive(editor);
    QCOMPARE(seen.trimmed(), QStringLiteral("Eski şablon [SAYI] — İğdır Ağrı"));
    QCOMPARE(f.value("SELECT METIN FROM SABLON WHERE KAYNO=1").toByteArray(), legacy);
    QTest::keyClick(&editor, Qt::Key_F5);
    QCOMPARE(editor.tag, 1);
    const QByteArray now = f.value("SELECT METIN FROM SABLON WHERE KAYNO=1").toByteArray();
    QVERIFY(wordfile::isWordFile(now));
    QCOMPARE(wordfile::plainText(now).trimmed(), QStringLiteral("Eski şablon [SAYI] — İğdır Ağrı"));

    // A letter from a template still in the old form: converted, then filled.
    storage::RecordAttachments a(f.session, storage::Register::Outgoing);
    QVERIFY(a.open(3, 2021));
    TFRMWORD letter(f.session, m_writer, a, {QDate(2021, 8, 26), 12, QStringLiteral("Konu")});
    showActive(letter);
    f.prompt.expectQuestion(QStringLiteral("ONAYLIYORMUSUNUZ"), true);
    letter.POPUPCLICK(2);
    QCOMPARE(seen.trimmed(), QStringLiteral("Eski şablon 12 — İğdır Ağrı"));
    QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
}

QTEST_MAIN(TestWriterFiles)
#include "tst_writerfiles.moc"
