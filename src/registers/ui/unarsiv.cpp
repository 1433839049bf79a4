#include "unarsiv.h"

#include "attachmentviewers.h"
#include "recordwidgets.h"

#include "definitions/ui/unsdpbul.h"
#include "kit/buttonrow.h"
#include "reports/ui/reportdesk.h"
#include "storage/ui/attachmentsgroup.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/error.h"

#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace recordwidgets;

TFRMARSIV::TFRMARSIV(Session &session, FormRunner &runner, QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
    , m_record(std::make_unique<ArchiveRecord>(session))
{
    setWindowTitle(QStringLiteral("ARŞİV EVRAK BİLGİLERİ"));
    build();
    pickFileCode = [this] {
        TFRMSDPBUL finder(m_session, this);
        finder.tag = 1;
        m_runner.run(finder);
        return finder.tag == 1 ? finder.KOD : QString();
    };
}

TFRMARSIV::~TFRMARSIV() = default;

void TFRMARSIV::build()
{
    auto *right = new QVBoxLayout;
    right->addWidget(buildAttachmentsGroup(), 1);
    right->addWidget(buildAttributesGroup());

    auto *columns = new QHBoxLayout;
    columns->addLayout(buildRecordFields(), 3);
    columns->addLayout(right, 2);

    saveButton = named(new QPushButton(QStringLiteral("F5-Kayıt"), this), "saveButton");
    cancelButton = named(new QPushButton(QStringLiteral("F6-Vazgeç"), this), "cancelButton");
    printLetterButton = named(new QPushButton(QStringLiteral("Yazdır"), this), "printLetterButton");
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttonRow({printLetterButton, saveButton, cancelButton}));
    connectFields();
}

QLayout *TFRMARSIV::buildRecordFields()
{
    auto *grid = new QGridLayout;
    FormRows rows(this, grid);

    registerNumberEdit = numberBox(this, "registerNumberEdit");
    registerNumberEdit->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    registerDateEdit = dateBox(this, "registerDateEdit");
    keyLabel = named(new QLabel(this), "keyLabel");
    rows.add(QStringLiteral(" Kayıt &No / Tarihi"), registerNumberEdit, {registerNumberEdit, registerDateEdit, keyLabel});

    fileCodeCombo = named(new QComboBox(this), "fileCodeCombo");
    fileCodeCombo->setMinimumContentsLength(40);
    fileCodeButton = named(new QToolButton(this), "fileCodeButton");
    fileCodeButton->setText(QStringLiteral("..."));
    fileCodeButton->setToolTip(QStringLiteral("Standart Dosya Planı"));
    rows.add(QStringLiteral("Std. &Dosya Kodu"), fileCodeCombo, {fileCodeCombo, fileCodeButton});
    mainCodeLabel = named(new QLabel(this), "mainCodeLabel");
    fullCodeLabel = named(new QLabel(this), "fullCodeLabel");
    rows.addPlain({mainCodeLabel});
    rows.addPlain({fullCodeLabel});

    departmentCombo = named(new QComboBox(this), "departmentCombo");
    departmentCombo->setMinimumContentsLength(30);
    rows.add(QStringLiteral(" İlgili Birimi &Birim"), departmentCombo, {departmentCombo});
    authorisedNameEdit = textBox(this, "authorisedNameEdit", 20);
    authorisedTitleEdit = textBox(this, "authorisedTitleEdit", 20);
    for (QLineEdit *e : {authorisedNameEdit, authorisedTitleEdit}) {
        fieldAction(e, QStringLiteral("birim yetkilisi yazılır"), [this] {
            if (const RegisterDepartment *d = currentDepartment()) {
                m_record->takeAuthorisedFrom(*d);
                showAuthorised();
            }
        });
    }
    rows.add(QStringLiteral(" Yet.Adı Soyadı/Ünv"), authorisedNameEdit, {authorisedNameEdit, authorisedTitleEdit});

    deliveryKindCombo = deliveryBox(this, "deliveryKindCombo");
    deliveryNumberEdit = textBox(this, "deliveryNumberEdit", 15);
    deliveryNumberEdit->setMaximumWidth(130);
    deliveryDateEdit = dateBox(this, "deliveryDateEdit");
    rows.add(QStringLiteral(" &Zimmet No / Tarihi"), deliveryKindCombo,
             {deliveryKindCombo, deliveryNumberEdit, deliveryDateEdit});
    confidentialityCombo = confidentialityBox(this, "confidentialityCombo");
    rows.add(QStringLiteral(" &Gizlilik Derecesi"), confidentialityCombo, {confidentialityCombo});
    fileNoteEdit = textBox(this, "fileNoteEdit", 20);
    rows.add(QStringLiteral("Dosya İşlemi "), fileNoteEdit, {fileNoteEdit});
    retentionEdit = numberBox(this, "retentionEdit");
    rows.add(QStringLiteral("Saklama Süresi "), retentionEdit, {retentionEdit});

    kindCombo = named(new QComboBox(this), "kindCombo");
    kindCombo->setMinimumContentsLength(30);
    rows.add(QStringLiteral(" Arşiv Evrak &Cinsi"), kindCombo, {kindCombo});
    referenceEdit = textBox(this, "referenceEdit", 50);
    documentDateEdit = dateBox(this, "documentDateEdit");
    rows.add(QStringLiteral(" Evrak No(&Sayı)/Tarih"), referenceEdit, {referenceEdit, documentDateEdit}, false);
    subjectEdit = memo(this, "subjectEdit", 70);
    fieldAction(subjectEdit, QStringLiteral("dosya kodunun açıklaması konuya yazılır"), [this] { subjectEdit->setPlainText(fullCodeLabel->text()); });
    rows.add(QStringLiteral(" K&onusu (Özü)"), subjectEdit, {subjectEdit}, false);
    arrivalCombo = arrivalBox(this, "arrivalCombo");
    arrivalNoteEdit = textBox(this, "arrivalNoteEdit", 40);
    rows.add(QStringLiteral(" Geliş Şekli"), arrivalCombo, {arrivalCombo, arrivalNoteEdit}, false);
    enclosureCountEdit = numberBox(this, "enclosureCountEdit");
    enclosuresEdit = memo(this, "enclosuresEdit", 50);
    rows.add(QStringLiteral(" &Eki"), enclosureCountEdit, {enclosureCountEdit, enclosuresEdit}, false);
    return grid;
}

QWidget *TFRMARSIV::buildAttachmentsGroup()
{
    // Its grid carries the description (ACIK) the clerk types per attachment.
    attachmentsGroup = named(new AttachmentsGroup(m_session, storage::Register::Archive, this), "attachmentsGroup");
    m_record->attachments = &attachmentsGroup->attachments();
    attachmentviewers::wire(*attachmentsGroup, m_session, m_runner, this,
                            [this]() -> reports::ReportDesk & { return reportDesk(); }, false);
    attachmentsGroup->printAttachment = [this] { print(); };
    // The archive screen has no documents window.
    attachmentsGroup->findChild<QPushButton *>(QStringLiteral("detailButton"))->hide();
    // Its grid shows number, type and description; the content number and class name stay behind.
    QTableWidget *grid = attachmentsGroup->grid();
    grid->setColumnHidden(2, true);
    grid->setColumnHidden(3, true);
    grid->setMinimumWidth(280);
    return attachmentsGroup;
}

QWidget *TFRMARSIV::buildAttributesGroup()
{
    auto *group = named(new QGroupBox(QStringLiteral("Ek Bilgiler"), this), "attributesGroup");
    auto *grid = new QGridLayout(group);
    static const char *const labels[] = {"attributeLabel1", "attributeLabel2", "attributeLabel3",
                                         "attributeLabel4", "attributeLabel5", "attributeLabel6"};
    static const char *const edits[] = {"attributeEdit1", "attributeEdit2", "attributeEdit3",
                                        "attributeEdit4", "attributeEdit5", "attributeEdit6"};
    for (int i = 0; i < ArchiveRecord::kShownAttributes; ++i) {
        attributeLabels[i] = named(new QLabel(group), labels[i]);
        attributeEdits[i] = textBox(group, edits[i], 100);
        attributeEdits[i]->setMinimumWidth(200);
        attributeLabels[i]->setBuddy(attributeEdits[i]);
        grid->addWidget(attributeLabels[i], i, 0, Qt::AlignRight);
        grid->addWidget(attributeEdits[i], i, 1);
    }
    grid->setRowStretch(ArchiveRecord::kShownAttributes, 1);
    group->setMinimumHeight(200);
    return group;
}

void TFRMARSIV::connectFields()
{
    connect(saveButton, &QPushButton::clicked, this, &TFRMARSIV::save);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMARSIV::cancel);
    connect(printLetterButton, &QPushButton::clicked, this, &TFRMARSIV::print);
    connect(fileCodeButton, &QToolButton::clicked, this, &TFRMARSIV::fileCodeChosen);
    connect(fileCodeCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        m_record->setValue("SDP", textOf(fileCodeCombo->currentData().toString()));
        guarded(m_session, [this] { showFileCodeTexts(); });
    });
    connect(departmentCombo, &QComboBox::currentIndexChanged, this, &TFRMARSIV::departmentChosen);
    connect(kindCombo, &QComboBox::currentIndexChanged, this, &TFRMARSIV::kindChosen);
    connect(deliveryKindCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("ZDUR", deliveryCodes()[i]);
    });
    connect(confidentialityCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("GIZDER", confidentialityCodes()[i]);
    });
    connect(arrivalCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("GSEKLI", arrivalCodes()[i]);
    });
}

const RegisterDepartment *TFRMARSIV::currentDepartment() const
{
    const int bkod = departmentCombo->currentData().toInt();
    for (const RegisterDepartment &d : m_departments) {
        if (d.BKOD == bkod && bkod != 0)
            return &d;
    }
    return nullptr;
}

void TFRMARSIV::fileCodeChosen()
{
    const QString code = pickFileCode ? pickFileCode() : QString();
    if (code.isEmpty())
        return;
    int i = fileCodeCombo->findData(code);
    if (i < 0) {
        fileCodeCombo->addItem(code, code);
        i = fileCodeCombo->count() - 1;
    }
    fileCodeCombo->setCurrentIndex(i);
}

void TFRMARSIV::departmentChosen()
{
    if (m_filling)
        return;
    if (const RegisterDepartment *d = currentDepartment()) {
        // What is typed in the authorised-person boxes is kept when the user says No.
        m_record->setValue("YETADI", textOf(authorisedNameEdit->text()));
        m_record->setValue("YETGOR", textOf(authorisedTitleEdit->text()));
        m_record->setDepartment(*d);
    } else {
        m_record->setValue("BIRKOD", QVariant());
    }
    showAuthorised();
}

void TFRMARSIV::kindChosen()
{
    if (m_filling)
        return;
    guarded(m_session, [this] { m_record->setKind(kindCombo->currentData().toInt()); });
    showAttributes();
}

void TFRMARSIV::fillLookups()
{
    m_filling = true;
    fileCodeCombo->clear();
    fileCodeCombo->addItem(QString(), QString());
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(QStringLiteral(
             "SELECT KOD,ACIK FROM SDP WHERE TUR='D' ORDER BY ACIK")))
        fileCodeCombo->addItem(QStringLiteral("%1  %2").arg(r[0].toString(), r[1].toString()), r[0]);
    m_departments = m_record->departments();
    departmentCombo->clear();
    if (m_session.userDepartment == 0)
        departmentCombo->addItem(QString(), 0);
    for (const RegisterDepartment &d : std::as_const(m_departments))
        departmentCombo->addItem(d.BIRIM, d.BKOD);
    kindCombo->clear();
    kindCombo->addItem(QString(), 0);
    for (const ArchiveKind &k : m_record->kinds())
        kindCombo->addItem(k.ECINS, k.ECKOD);
    m_filling = false;
}

void TFRMARSIV::FormActivate()
{
    if (m_session.printReturn)
        return;
    try {
        fillLookups();
        if (tag == 2) {
            if (!m_record->openExisting(kayno)) {
                closeForm(0);
                return;
            }
        } else {
            m_record->openNew();
            kayno = m_record->kayno();
        }
        showRecord();
        // The list opened the yearly database of the record's year; a new one is in the working year.
        const QDate date = m_record->value("ARSTAR").toDate();
        attachmentsGroup->open(m_record->kayno(),
                               tag == 2 && date.isValid() ? date.year() : m_session.workingYear());
    } catch (const fb::Error &e) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Arşiv kaydı açılamadı."), e.details());
        closeForm(0);
        return;
    }
    fileCodeCombo->setFocus();
}

void TFRMARSIV::showRecord()
{
    m_filling = true;
    ArchiveRecord &r = *m_record;
    registerNumberEdit->setText(plain(r.value("ARSNO")));
    registerDateEdit->setText(dateText(r.value("ARSTAR")));
    keyLabel->setText(QStringLiteral("Kayıt anahtarı: %1").arg(r.kayno()));
    const QString sdp = plain(r.value("SDP"));
    if (!sdp.isEmpty() && fileCodeCombo->findData(sdp) < 0)
        fileCodeCombo->addItem(sdp, sdp);
    fileCodeCombo->setCurrentIndex(qMax(0, fileCodeCombo->findData(sdp)));
    const int department = r.value("BIRKOD").toInt();
    if (department != 0 && departmentCombo->findData(department) < 0)
        departmentCombo->addItem(QStringLiteral("(%1)").arg(department), department);
    departmentCombo->setCurrentIndex(qMax(0, departmentCombo->findData(department)));
    const int kind = r.value("ECKOD").toInt();
    if (kind > 0 && kindCombo->findData(kind) < 0)
        kindCombo->addItem(QStringLiteral("(%1)").arg(kind), kind);
    kindCombo->setCurrentIndex(qMax(0, kindCombo->findData(kind)));
    showCode(deliveryKindCombo, deliveryCodes(), r.value("ZDUR"));
    deliveryNumberEdit->setText(plain(r.value("ZNO")));
    deliveryDateEdit->setText(dateText(r.value("ZTAR")));
    showCode(confidentialityCombo, confidentialityCodes(), r.value("GIZDER"));
    fileNoteEdit->setText(plain(r.value("DOSYA")));
    retentionEdit->setText(plain(r.value("KRMSURE")));
    referenceEdit->setText(plain(r.value("EVSAY")));
    documentDateEdit->setText(dateText(r.value("EVTAR")));
    subjectEdit->setPlainText(plain(r.value("KONU")));
    showCode(arrivalCombo, arrivalCodes(), r.value("GSEKLI"));
    arrivalNoteEdit->setText(plain(r.value("GACIK")));
    enclosureCountEdit->setText(plain(r.value("EKSAY")));
    enclosuresEdit->setPlainText(plain(r.value("EK")));
    m_filling = false;
    showAuthorised();
    showFileCodeTexts();
    showAttributes();
}

void TFRMARSIV::showAuthorised()
{
    authorisedNameEdit->setText(plain(m_record->value("YETADI")));
    authorisedTitleEdit->setText(plain(m_record->value("YETGOR")));
}

void TFRMARSIV::showFileCodeTexts()
{
    mainCodeLabel->setText(m_record->SACK1());
    fullCodeLabel->setText(m_record->SACK2());
}

void TFRMARSIV::showAttributes()
{
    for (int i = 0; i < ArchiveRecord::kShownAttributes; ++i) {
        attributeLabels[i]->hide();
        attributeEdits[i]->hide();
        attributeLabels[i]->clear();
        attributeEdits[i]->setInputMask(QString());
        attributeEdits[i]->clear();
    }
    const QList<ArchiveAttribute> &attributes = m_record->attributes();
    for (int i = 0; i < attributes.size() && i < ArchiveRecord::kShownAttributes; ++i) {
        const ArchiveAttribute &a = attributes[i];
        attributeLabels[i]->setText(a.ECTAN);
        if (a.isDate())
            attributeEdits[i]->setInputMask(QStringLiteral("99/99/9999;_"));
        attributeEdits[i]->setText(a.value);
        attributeLabels[i]->show();
        attributeEdits[i]->show();
    }
}

bool TFRMARSIV::collect()
{
    ArchiveRecord &r = *m_record;
    Prompt &prompt = m_session.prompt();
    QVariant d;
    if (!dateOf(prompt, deliveryDateEdit, ArchiveRecord::caption(QStringLiteral("ZTAR")), &d))
        return false;
    r.setValue("ZTAR", d);
    if (!dateOf(prompt, documentDateEdit, ArchiveRecord::caption(QStringLiteral("EVTAR")), &d))
        return false;
    r.setValue("EVTAR", d);
    r.setValue("ARSNO", numberOf(registerNumberEdit));
    r.setValue("SDP", textOf(fileCodeCombo->currentData().toString()));
    r.setValue("YETADI", textOf(authorisedNameEdit->text()));
    r.setValue("YETGOR", textOf(authorisedTitleEdit->text()));
    r.setValue("ZNO", textOf(deliveryNumberEdit->text().trimmed()));
    r.setValue("DOSYA", textOf(fileNoteEdit->text()));
    r.setValue("KRMSURE", numberOf(retentionEdit));
    r.setValue("EVSAY", textOf(referenceEdit->text()));
    r.setValue("KONU", textOf(subjectEdit->toPlainText()));
    r.setValue("GACIK", textOf(arrivalNoteEdit->text()));
    r.setValue("EKSAY", numberOf(enclosureCountEdit));
    r.setValue("EK", textOf(enclosuresEdit->toPlainText()));
    for (int i = 0; i < r.attributes().size() && i < ArchiveRecord::kShownAttributes; ++i) {
        const QString typed = attributeEdits[i]->text();
        r.setAttributeValue(i, r.attributes()[i].isDate() && blankDate(typed) ? QString() : typed);
    }
    return true;
}

void TFRMARSIV::save()
{
    if (!collect())
        return;
    bool saved = false;
    guarded(m_session, [&] { saved = m_record->save(registerDateEdit->text()); });
    if (saved) {
        // BEKLEYEN keeps, and a message names, whatever did not reach the folder or the server.
        guarded(m_session, [&] { attachmentsGroup->saved(); });
        closeForm(1);
        return;
    }
    registerNumberEdit->setText(plain(m_record->value("ARSNO")));
    if (registerDateEdit->text().mid(6, 4) != m_session.workstation.year)
        registerDateEdit->setFocus();
}

void TFRMARSIV::cancel()
{
    guarded(m_session, [&] {
        m_record->cancel();
        attachmentsGroup->cancel();
    });
    // Whatever the rollback said, F6 leaves the screen: nothing was saved.
    closeForm(0);
}

reports::ReportDesk &TFRMARSIV::reportDesk()
{
    if (!m_reports)
        m_reports = std::make_unique<reports::ReportDesk>(m_session, this);
    return *m_reports;
}

void TFRMARSIV::print()
{
    // Only a text (rich or plain) makes a letter; a picture's or a PDF's bytes would print as noise.
    const QModelIndexList selected = attachmentsGroup->grid()->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    const QString beltur = row < 0 ? QString() : attachmentsGroup->attachments().value(row, "BELTUR").toString().trimmed();
    if (beltur != u"7" && beltur != u"8") {
        m_session.prompt().message(QStringLiteral("Bu Bir Text Belgesi Değildir."));
        return;
    }
    guarded(m_session, [&] {
        const QByteArray text = attachmentsGroup->attachments().contentOf(row);
        reportDesk().printLetter(text);
    });
}
