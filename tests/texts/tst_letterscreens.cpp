#include "personatwriter.h"

#include "formtest.h"
#include "scriptedrunner.h"
#include "sessionfixture.h"

#include "db/fb/twophase.h"
#include "registers/ui/ungiden.h"
#include "storage/attachments.h"
#include "storage/ui/attachmentsgroup.h"
#include "texts/ui/unmetin.h"
#include "texts/ui/unornek.h"
#include "texts/ui/unsablon.h"
#include "texts/ui/unword.h"
#include "texts/wordfile.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using storage::RecordAttachments;
using storage::Register;

namespace {

const QString kEmptyDescription = QStringLiteral("DİKKAT! Örnek Şablon İçin Açıklama Belirtiniz..");
const QString kStillOpen = QStringLiteral("Writer'da hâlâ açık");

/// A session whose outgoing letters are kept as configured, in a local
/// folder of its own; templates are added through the test's connection.
struct Desk : SessionFixture
{
    QString local = dir.filePath(QStringLiteral("EVRAKLAR"));
    PersonAtWriter writer;

    explicit Desk(const QString &vt = QStringLiteral("E"), const QString &trm = QStringLiteral("H"),
                  const QString &textvt = QString())
    {
        session.general.VTSAKLA = vt;
        session.general.TRMSAKLA = trm;
        session.general.SRVSAKLA = QStringLiteral("H");
        session.general.TEXTVT = textvt;
        session.workstation.year = QStringLiteral("2021");
        session.workstation.localFolder = local;
        session.workstation.readMode = QStringLiteral("V");
        session.store()->setValue(QStringLiteral("YOL"), db.folder());
    }
    void addTemplate(int kayno, const QString &description, const QString &text)
    {
        exec("INSERT INTO SABLON (KAYNO, ACIK, METIN) VALUES (:K, :A, :M)",
             {{"K", kayno}, {"A", description},
              {"M", text.isNull() ? QVariant() : QVariant(wordfile::make(
                                                      "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>"))}});
    }
    QString storedText(int kayno)
    {
        return wordfile::plainText(value("SELECT METIN FROM SABLON WHERE KAYNO=:K", {{"K", kayno}}).toByteArray());
    }
    void save(RecordAttachments &a)
    {
        fb::TwoPhaseTransaction unit(session.db.IBDATABASE, a.yearDatabase());
        a.apply(unit);
        unit.commit();
        a.saved();
    }
};

QPushButton *button(QWidget &form, const char *name)
{
    return child<QPushButton>(form, name);
}

QList<QLineEdit *> descriptions(QWidget &form)
{
    return form.findChildren<QLineEdit *>(QStringLiteral("descriptionEdit"));
}

} // namespace

class TestLetterScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void templateList();
    void templateEditor();
    void templateButtonsActOnTheCurrentRow();
    void documentStillOpenOrEmpty();
    void withoutLibreOffice();
    void letterFromTemplateChosenByNumber();
    void letterStorage_data();
    void letterStorage();
    void attachmentText_data();
    void attachmentText();
    void unreadableLetterOpensNothing_data();
    void unreadableLetterOpensNothing();
    void outgoingScreenOpensTheLetterEditor();
    void hiddenPrint();
};

void TestLetterScreens::templateList()
{
    Desk d;
    ScriptedRunner runner;
    TFRMSABLON list(d.session, runner);
    list.office = &d.writer;
    showActive(list);
    QVERIFY(descriptions(list).isEmpty());

    QTest::keyClick(&list, Qt::Key_F2); // the first is number 1
    QTest::keyClick(&list, Qt::Key_F2);
    QCOMPARE(d.rows("SELECT KAYNO, ACIK FROM SABLON ORDER BY KAYNO"),
             (QList<QVariantList>{{1, QStringLiteral("Giden Evrak Örneği :1")}, {2, QStringLiteral("Giden Evrak Örneği :2")}}));
    // Another workstation's template counts: one above the largest stored.
    d.addTemplate(7, QStringLiteral("Başka"), QString());
    list.addTemplate();
    QCOMPARE(d.value("SELECT MAX(KAYNO) FROM SABLON").toInt(), 8);
    QCOMPARE(descriptions(list).size(), 4);
    QVERIFY(descriptions(list).last()->hasFocus());

    // An empty description is refused when its row is left, and at "Çıkış".
    QLineEdit *first = descriptions(list).first();
    first->setFocus();
    first->clear();
    d.prompt.expectMessage(kEmptyDescription);
    list.exitList();
    QVERIFY(list.isVisible());
    QCOMPARE(d.value("SELECT ACIK FROM SABLON WHERE KAYNO=1").toString(), QStringLiteral("Giden Evrak Örneği :1"));
    typeText(first, QStringLiteral("Kaymakamlık Yazısı İçin"));
    QTest::keyClick(first, Qt::Key_Return); // the row is left
    QCOMPARE(d.value("SELECT ACIK FROM SABLON WHERE KAYNO=1").toString(), QStringLiteral("Kaymakamlık Yazısı İçin"));

    // Delete asks; No keeps it.
    d.prompt.expectQuestion(QStringLiteral("BU ŞABLON SİLİNECEKTİR. ONAYLIYORMUSUNUZ"), false);
    list.removeTemplate(2);
    d.prompt.expectQuestion(QStringLiteral("BU ŞABLON SİLİNECEKTİR. ONAYLIYORMUSUNUZ"), true);
    list.removeTemplate(7);
    QCOMPARE(d.value("SELECT COUNT(*) FROM SABLON").toInt(), 3);
    QCOMPARE(descriptions(list).size(), 3);

    // A description typed and not left yet is written at "Çıkış".
    descriptions(list).last()->setText(QStringLiteral("Son"));
    QTest::keyClick(&list, Qt::Key_Escape);
    QVERIFY(!list.isVisible());
    QCOMPARE(list.tag, 1);
    QCOMPARE(d.value("SELECT ACIK FROM SABLON WHERE KAYNO=8").toString(), QStringLiteral("Son"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::templateEditor()
{
    Desk d;
    d.addTemplate(3, QStringLiteral("Genel"), QStringLiteral("Eski metin"));
    d.writer.onEdit = [](const QString &path) {
        // Writer shows what was stored; the person writes and saves.
        QCOMPARE(wordfile::plainText(PersonAtWriter::read(path)), QStringLiteral("Eski metin\n"));
        PersonAtWriter::save(path, {QStringLiteral("Sayı: [SAYI]"), QStringLiteral("Konu: [KONU] — Şükrü Ağaoğlu")});
    };
    ScriptedRunner runner;
    runner.then([](KelmaForm &f) {
        QCOMPARE(f.metaObject()->className(), "TFRMORNEK");
        QVERIFY(child<QLabel>(f, "noteLabel")->text().contains(QStringLiteral("SABLON_3.docx")));
        button(f, "saveButton")->click();
        QCOMPARE(f.tag, 1);
    });
    TFRMSABLON list(d.session, runner);
    list.office = &d.writer;
    showActive(list);
    QTest::keyClick(&list, Qt::Key_F4); // the row with the focus: the only one
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(d.writer.opened.size(), 1);
    QCOMPARE(d.storedText(3), QStringLiteral("Sayı: [SAYI]\nKonu: [KONU] — Şükrü Ağaoğlu\n"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::templateButtonsActOnTheCurrentRow()
{
    Desk d;
    d.addTemplate(1, QStringLiteral("Bir"), QStringLiteral("Birinci"));
    d.addTemplate(2, QStringLiteral("İki"), QStringLiteral("İkinci"));
    d.addTemplate(3, QStringLiteral("Üç"), QStringLiteral("Üçüncü"));
    ScriptedRunner runner;
    TFRMSABLON list(d.session, runner);
    list.office = &d.writer;
    showActive(list);
    QCOMPARE(descriptions(list).size(), 3);

    // A mouse click takes the focus to the button; the row entered last is still the one meant.
    descriptions(list).at(2)->setFocus();
    d.prompt.expectQuestion(QStringLiteral("BU ŞABLON SİLİNECEKTİR. ONAYLIYORMUSUNUZ"), true);
    QTest::mouseClick(button(list, "deleteButton"), Qt::LeftButton);
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
    QCOMPARE(d.rows("SELECT KAYNO FROM SABLON ORDER BY KAYNO"), (QList<QVariantList>{{1}, {2}}));

    // Alt and the button's letter moves the focus as well.
    d.writer.onEdit = [](const QString &path) { PersonAtWriter::save(path, {QStringLiteral("Yeni")}); };
    runner.then([](KelmaForm &f) {
        QVERIFY(child<QLabel>(f, "noteLabel")->text().contains(QStringLiteral("SABLON_2.docx")));
        button(f, "saveButton")->click();
    });
    QTest::mouseClick(descriptions(list).at(1), Qt::LeftButton);
    QTest::keyClick(&list, Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(d.storedText(2), QStringLiteral("Yeni\n"));
    QCOMPARE(d.storedText(1), QStringLiteral("Birinci\n"));

    // The editor's window has gone; the list is the clerk's window again.
    list.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    d.prompt.expectQuestion(QStringLiteral("BU ŞABLON SİLİNECEKTİR. ONAYLIYORMUSUNUZ"), true);
    QTest::keyClick(&list, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
    QCOMPARE(d.rows("SELECT KAYNO FROM SABLON ORDER BY KAYNO"), (QList<QVariantList>{{1}}));
}

void TestLetterScreens::documentStillOpenOrEmpty()
{
    Desk d;
    d.addTemplate(1, QStringLiteral("Genel"), QStringLiteral("Saklı"));
    d.writer.onEdit = [](const QString &path) {
        PersonAtWriter::save(path, {QStringLiteral("Yeni")});
        PersonAtWriter::keepOpen(path);
    };
    TFRMORNEK editor(d.session, d.writer, 1, QStringLiteral("Genel"));
    showActive(editor);
    const QString path = d.writer.opened.value(0);

    // Still open in Writer: told, nothing taken, the editor stays.
    d.prompt.expectQuestion(kStillOpen, false);
    QTest::keyClick(&editor, Qt::Key_F5);
    QVERIFY(editor.isVisible());
    QCOMPARE(d.storedText(1), QStringLiteral("Saklı\n"));
    // F4 does not open it twice.
    d.prompt.expectMessage(QStringLiteral("zaten açık"));
    QTest::keyClick(&editor, Qt::Key_F4);
    QCOMPARE(d.writer.opened.size(), 1);

    // Closed in Writer, but saved empty: never stored over the template.
    PersonAtWriter::close(path);
    PersonAtWriter::save(path, {QStringLiteral("   ")});
    d.prompt.expectMessage(QStringLiteral("DİKKAT! Belge boş"));
    QTest::keyClick(&editor, Qt::Key_F5);
    QVERIFY(editor.isVisible());
    // Saved in another format by mistake: said, not stored.
    PersonAtWriter::write(path, "{\\rtf1 Yeni}");
    d.prompt.expectMessage(QStringLiteral("Word (.docx)"));
    QTest::keyClick(&editor, Qt::Key_F5);
    QCOMPARE(d.storedText(1), QStringLiteral("Saklı\n"));

    // Writer went away without removing its lock: the person may take the file as saved.
    PersonAtWriter::save(path, {QStringLiteral("Son hali")});
    PersonAtWriter::keepOpen(path);
    d.prompt.expectQuestion(kStillOpen, true);
    QTest::keyClick(&editor, Qt::Key_F5);
    QVERIFY(!editor.isVisible());
    QCOMPARE(d.storedText(1), QStringLiteral("Son hali\n"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));

    // F6 while Writer has it open asks; No keeps the editor.
    TFRMORNEK second(d.session, d.writer, 1, QStringLiteral("Genel"));
    showActive(second);
    d.prompt.expectQuestion(QStringLiteral("alınmayacaktır"), false);
    QTest::keyClick(&second, Qt::Key_F6);
    QVERIFY(second.isVisible());
    d.prompt.expectQuestion(QStringLiteral("alınmayacaktır"), true);
    QTest::keyClick(&second, Qt::Key_F6);
    QVERIFY(!second.isVisible());
    QCOMPARE(second.tag, 0);
    QCOMPARE(d.storedText(1), QStringLiteral("Son hali\n"));
    PersonAtWriter::close(d.writer.opened.last()); // Writer closes later; its working folder goes with the editor
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::withoutLibreOffice()
{
    Desk d;
    d.writer.installed = false;
    d.addTemplate(1, QStringLiteral("Genel"), QStringLiteral("Saklı"));
    RecordAttachments a(d.session, Register::Outgoing);
    QVERIFY(a.open(5, 2021));
    TFRMORNEK editor(d.session, d.writer, 1, QStringLiteral("Genel"));
    TFRMWORD letter(d.session, d.writer, a, {QDate(2021, 8, 26), 0, QStringLiteral("Konu")});
    for (KelmaForm *f : {static_cast<KelmaForm *>(&editor), static_cast<KelmaForm *>(&letter)}) {
        d.prompt.expectMessage(QStringLiteral("LibreOffice Writer bulunamadı"));
        f->show();
        QTRY_VERIFY(!f->isVisible());
        QCOMPARE(f->tag, 0);
    }
    QVERIFY(d.writer.opened.isEmpty());
    QCOMPARE(a.rowCount(), 0);
    QCOMPARE(d.storedText(1), QStringLiteral("Saklı\n"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::letterFromTemplateChosenByNumber()
{
    Desk d;
    // Two templates of one description: each entry loads its own.
    d.addTemplate(1, QStringLiteral("Resmi Yazı"), QStringLiteral("Birinci [SAYI]"));
    d.addTemplate(2, QStringLiteral("Resmi Yazı"), QStringLiteral("Sayı: [SA</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>YI] Konu: [KONU] Tarih: [TARIH]"));
    RecordAttachments a(d.session, Register::Outgoing);
    QVERIFY(a.open(5, 2021));
    TFRMWORD letter(d.session, d.writer, a, {QDate(2021, 8, 26), 0, QStringLiteral("İmar Planı Değişikliği")});
    showActive(letter);
    QVERIFY(d.writer.opened.isEmpty()); // nothing to edit before a template is chosen

    auto *menu = child<QMenu>(letter, "templateMenu");
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions()[0]->text(), QStringLiteral("Resmi Yazı"));
    QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Resmi Yazı"));
    const QString question = QStringLiteral("DİKKAT Bu Evrak İçeriği Silinip Belirtilen Şablon bilgisi yüklenecektir. ONAYLIYORMUSUNUZ");
    d.prompt.expectQuestion(question, false);
    menu->actions()[1]->trigger();
    QVERIFY(d.writer.opened.isEmpty());
    d.prompt.expectQuestion(question, true);
    menu->actions()[1]->trigger();
    QCOMPARE(d.writer.opened.size(), 1);
    const QString path = d.writer.opened[0];
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("GID_5_1.docx"));
    // Not numbered yet: the number is empty.
    QCOMPARE(wordfile::plainText(PersonAtWriter::read(path)),
             QStringLiteral("Sayı:  Konu: İmar Planı Değişikliği Tarih: 26.08.2021\n"));

    // The person adds a line in Writer and saves; F5 makes it the record's next attachment.
    PersonAtWriter::save(path, {wordfile::plainText(PersonAtWriter::read(path)).trimmed(), QStringLiteral("Gereğini arz ederim.")});
    QTest::keyClick(&letter, Qt::Key_F5);
    QCOMPARE(letter.tag, 1);
    QCOMPARE(a.rowCount(), 1);
    QCOMPARE(a.value(0, "SIRNO").toInt(), 1);
    QCOMPARE(a.value(0, "TUR").toString(), QStringLiteral("A"));
    QCOMPARE(a.value(0, "BELTUR").toString(), QStringLiteral("5"));
    QCOMPARE(a.value(0, "OCN").toString(), QStringLiteral("Word.Document"));
    QCOMPARE(a.value(0, "DOSYA").toString(), QStringLiteral("GID_5_1.DOCX"));
    QCOMPARE(a.nextSirno(), 2);
    // Staged in TEMP for the folder and the file server, as every attachment is.
    QCOMPARE(wordfile::plainText(PersonAtWriter::read(a.stagedFile(1))),
             QStringLiteral("Sayı:  Konu: İmar Planı Değişikliği Tarih: 26.08.2021\nGereğini arz ederim.\n"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::letterStorage_data()
{
    QTest::addColumn<QString>("vt");
    QTest::addColumn<QString>("trm");
    QTest::addColumn<QString>("textvt");
    QTest::newRow("in the row") << "E" << "H" << "";
    QTest::newRow("in the yearly database") << "E" << "H" << "A";
    QTest::newRow("in the folder only") << "H" << "E" << "";
}

void TestLetterScreens::letterStorage()
{
    QFETCH(QString, vt);
    QFETCH(QString, trm);
    QFETCH(QString, textvt);
    Desk d(vt, trm, textvt);
    const QString yearPath = d.db.createYear(QStringLiteral("2021"));
    d.addTemplate(1, QStringLiteral("Yazı"), QStringLiteral("[SAYI] sayılı yazı"));
    // A letter already there keeps its number.
    d.exec("INSERT INTO GIDTEXT (KAYNO, SIRNO, TUR, BELTUR, DOSYA) VALUES (6, 1, 'E', '1', 'GID_6_1.JPG')");
    RecordAttachments a(d.session, Register::Outgoing);
    QVERIFY(a.open(6, 2021));
    TFRMWORD letter(d.session, d.writer, a, {QDate(2021, 3, 4), 88, QStringLiteral("Konu")});
    showActive(letter);
    d.prompt.expectQuestion(QStringLiteral("ONAYLIYORMUSUNUZ"), true);
    letter.POPUPCLICK(1);
    QTest::keyClick(&letter, Qt::Key_F5);
    QCOMPARE(letter.tag, 1);
    d.save(a);

    const QVariantList row = d.rows("SELECT SIRNO, BELTUR, TUR, OCN, BELKAYNO, METIN FROM GIDTEXT WHERE KAYNO=6 AND SIRNO=2").value(0);
    QCOMPARE(row.value(1).toString(), QStringLiteral("5"));
    QCOMPARE(row.value(2).toString(), QStringLiteral("A"));
    QCOMPARE(row.value(3).toString(), QStringLiteral("Word.Document"));
    QByteArray stored;
    if (vt == u"E" && textvt.isEmpty()) {
        stored = row.value(5).toByteArray();
    } else {
        QVERIFY(row.value(5).isNull());
    }
    if (textvt == u"A") {
        fb::Attachment year;
        year.open(TempDatabase::options(yearPath, QString()));
        fb::Transaction t(year);
        stored = t.value("SELECT METIN FROM GIDTEXT WHERE BELKAYNO=:B", {{"B", row.value(4)}}).toByteArray();
        QCOMPARE(t.value("SELECT OCN FROM GIDTEXT WHERE BELKAYNO=:B", {{"B", row.value(4)}}).toString(),
                 QStringLiteral("Word.Document"));
    }
    if (trm == u"E")
        stored = PersonAtWriter::read(d.local + QStringLiteral("/GIDEN/GID_6_2.DOCX"));
    QCOMPARE(wordfile::plainText(stored), QStringLiteral("88 sayılı yazı\n"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::attachmentText_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::addColumn<QString>("file");
    QTest::newRow("double-click") << false << "GID_9_1.DOCX";
    QTest::newRow("Enter") << true << "GID_9_1.DOCX";
    // The older workstations' editor kept the letter in the row with no file name.
    QTest::newRow("older workstation's row") << false << QString();
}

void TestLetterScreens::attachmentText()
{
    QFETCH(bool, byKeyboard);
    QFETCH(QString, file);
    Desk d;
    d.exec("INSERT INTO GIDTEXT (KAYNO, SIRNO, TUR, BELTUR, DOSYA, OCN, METIN) VALUES (9, 1, 'A', '5', :D, "
           "'Word.Document', :M)",
           {{"D", file.isEmpty() ? QVariant() : QVariant(file)},
            {"M", wordfile::make("<w:p><w:r><w:t>Önceki yazı</w:t></w:r></w:p>")}});
    d.writer.onEdit = [](const QString &path) {
        QCOMPARE(wordfile::plainText(PersonAtWriter::read(path)), QStringLiteral("Önceki yazı\n"));
        PersonAtWriter::save(path, {QStringLiteral("Düzeltilmiş yazı")});
    };
    ScriptedRunner runner;
    runner.then([](KelmaForm &f) {
        QCOMPARE(f.metaObject()->className(), "TFRMMETIN");
        button(f, "saveButton")->click();
    });
    // The record screen's callback; the group runs it on a double-click of the row, or Enter.
    AttachmentsGroup group(d.session, Register::Outgoing);
    QVERIFY(group.open(9, 2021));
    RecordAttachments &a = group.attachments();
    group.editText = [&](int row) {
        if (!TFRMMETIN::edits(a.value(row, "BELTUR").toString()))
            return false;
        TFRMMETIN editor(d.session, d.writer, a, row);
        runner.run(editor);
        return editor.tag == 1;
    };
    if (byKeyboard) {
        group.grid()->selectRow(0);
        QTest::keyClick(group.grid(), Qt::Key_Return);
    } else {
        emit group.grid()->cellDoubleClicked(0, 1);
    }
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(a.rowCount(), 1);
    QCOMPARE(a.value(0, "SIRNO").toInt(), 1);
    QCOMPARE(group.grid()->rowCount(), 1);
    // Nothing is written before the record's own save.
    QCOMPARE(wordfile::plainText(d.value("SELECT METIN FROM GIDTEXT WHERE KAYNO=9").toByteArray()), QStringLiteral("Önceki yazı\n"));
    d.save(a);
    QCOMPARE(wordfile::plainText(d.value("SELECT METIN FROM GIDTEXT WHERE KAYNO=9").toByteArray()),
             QStringLiteral("Düzeltilmiş yazı\n"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::unreadableLetterOpensNothing_data()
{
    QTest::addColumn<bool>("yearly");
    QTest::newRow("local reading, file missing") << false;
    QTest::newRow("yearly database closed") << true;
}

void TestLetterScreens::unreadableLetterOpensNothing()
{
    QFETCH(bool, yearly);
    Desk d(yearly ? QStringLiteral("E") : QStringLiteral("H"), yearly ? QStringLiteral("H") : QStringLiteral("E"),
           yearly ? QStringLiteral("A") : QString());
    if (!yearly)
        d.session.workstation.readMode = QStringLiteral("Y");
    d.exec("INSERT INTO GIDTEXT (KAYNO, SIRNO, TUR, BELTUR, DOSYA, OCN, BELKAYNO) VALUES (9, 1, 'A', '5', "
           "'GID_9_1.DOCX', 'Word.Document', 4)");
    RecordAttachments a(d.session, Register::Outgoing);
    if (yearly)
        d.prompt.expectMessage(QStringLiteral("DİKKAT! TEXT Veritabanı açılamadı")); // no 2021 database here
    QCOMPARE(a.open(9, 2021), !yearly);
    TFRMMETIN editor(d.session, d.writer, a, 0);
    d.prompt.expectMessage(QStringLiteral("DİKKAT! Yazının saklanan belgesi okunamadı"));
    editor.show();
    QTRY_VERIFY(!editor.isVisible());
    QCOMPARE(editor.tag, 0);
    // No blank letter was opened, so none can be saved over the stored one.
    QVERIFY(d.writer.opened.isEmpty());
    QVERIFY(!a.isDirty());
    QCOMPARE(d.value("SELECT DOSYA FROM GIDTEXT WHERE KAYNO=9").toString(), QStringLiteral("GID_9_1.DOCX"));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::outgoingScreenOpensTheLetterEditor()
{
    Desk d;
    ScriptedRunner runner;
    TFRMGIDEN screen(d.session, runner);
    auto *group = child<AttachmentsGroup>(screen, "attachmentsGroup");
    QVERIFY(group->open(5, 2021));
    child<QLineEdit>(screen, "dateEdit")->setText(QStringLiteral("26/08/2021"));
    child<QLineEdit>(screen, "numberEdit")->clear();
    child<QPlainTextEdit>(screen, "subjectEdit")->setPlainText(QStringLiteral("Yazılı ve kaydedilmemiş konu"));
    const texts::LetterFields fields = screen.letterFields();
    QCOMPARE(fields.date, QDate(2021, 8, 26));
    QCOMPARE(fields.number, 0);
    QCOMPARE(fields.subject, QStringLiteral("Yazılı ve kaydedilmemiş konu"));

    runner.then([](KelmaForm &f) {
        QCOMPARE(f.metaObject()->className(), "TFRMWORD");
        button(f, "cancelButton")->click();
    });
    if (!texts::Office().available())
        d.prompt.expectMessage(QStringLiteral("LibreOffice Writer bulunamadı"));
    child<QAction>(screen, "editTextAction")->trigger();
    QVERIFY2(runner.done(), qPrintable(runner.report()));
    QCOMPARE(group->attachments().rowCount(), 0);
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

void TestLetterScreens::hiddenPrint()
{
    Desk d;
    d.addTemplate(1, QStringLiteral("Genel"), QStringLiteral("Yazdırılacak Şablon"));
    TFRMORNEK editor(d.session, d.writer, 1, QStringLiteral("Genel"));
    QString printed;
    editor.printLetter = [&](const QByteArray &html) { printed = QString::fromUtf8(html); };
    showActive(editor);
    auto *print = button(editor, "printButton");
    QVERIFY(!print->isVisible());
    print->click();
    QVERIFY2(printed.contains(QStringLiteral("Yazdırılacak Şablon")), qPrintable(printed));
    QVERIFY2(d.prompt.done(), qPrintable(d.prompt.report()));
}

QTEST_MAIN(TestLetterScreens)
#include "tst_letterscreens.moc"
