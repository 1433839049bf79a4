#include "undilekce.h"

#include "attachmentviewers.h"
#include "recordwidgets.h"

#include "definitions/ui/unsdpbul.h"
#include "kit/buttonrow.h"
#include "kit/hakver.h"
#include "reports/ui/reportdesk.h"
#include "storage/ui/attachmentsgroup.h"
#include "storage/ui/documentview.h"

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
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace recordwidgets;

namespace {

const QString kRoutingNote = QStringLiteral(
    "Bu evrak başka bir kullanıcı veya birime havale edilecekse , burada belirtilecek. Ayrıca havale "
    "edilmiş ise alınıp alınmadığı ne işlem yapıldığı burada görülecek.");

} // namespace

TFRMDILEKCE::TFRMDILEKCE(Session &session, FormRunner &runner, QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
    , m_record(std::make_unique<PetitionRecord>(session))
{
    setWindowTitle(QStringLiteral("DİLEKCE BİLGİLERİ"));
    build();
    pickFileCode = [this] {
        TFRMSDPBUL finder(m_session, this);
        finder.tag = 1;
        m_runner.run(finder);
        return finder.tag == 1 ? finder.KOD : QString();
    };
}

TFRMDILEKCE::~TFRMDILEKCE() = default;

void TFRMDILEKCE::build()
{
    auto *right = new QVBoxLayout;
    right->addWidget(buildAttachmentsGroup(), 1);
    right->addWidget(buildAnswerGroup());
    right->addWidget(buildRoutingNote());

    auto *columns = new QHBoxLayout;
    columns->addLayout(buildRecordFields(), 3);
    columns->addLayout(right, 2);

    saveButton = named(new QPushButton(QStringLiteral("F5-Kayıt"), this), "saveButton");
    cancelButton = named(new QPushButton(QStringLiteral("F6-Vazgeç"), this), "cancelButton");
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttonRow({saveButton, cancelButton}));
    connectFields();
}

QLayout *TFRMDILEKCE::buildRecordFields()
{
    auto *grid = new QGridLayout;
    FormRows rows(this, grid);

    registerNumberEdit = numberBox(this, "registerNumberEdit");
    registerNumberEdit->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    registerDateEdit = dateBox(this, "registerDateEdit");
    keyLabel = named(new QLabel(this), "keyLabel");
    rows.add(QStringLiteral(" Kayıt &No / Tarihi"), registerNumberEdit, {registerNumberEdit, registerDateEdit, keyLabel});
    petitionDateEdit = dateBox(this, "petitionDateEdit");
    rows.add(QStringLiteral(" Dilekçe Tarih"), petitionDateEdit, {petitionDateEdit});

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
    rows.add(QStringLiteral(" Verildiği &Birim"), departmentCombo, {departmentCombo});
    receiverNameEdit = textBox(this, "receiverNameEdit", 20);
    fieldAction(receiverNameEdit, QStringLiteral("birim yetkilisi yazılır"), [this] {
        const int bkod = departmentCombo->currentData().toInt();
        for (const RegisterDepartment &d : std::as_const(m_departments)) {
            if (d.BKOD == bkod && bkod != 0) {
                receiverNameEdit->setText(d.YETKILI);
                receiverTitleEdit->setText(d.UNVAN);
            }
        }
    });
    rows.add(QStringLiteral(" Teslim Alan Adı S."), receiverNameEdit, {receiverNameEdit});
    receiverTitleEdit = textBox(this, "receiverTitleEdit", 20);
    rows.add(QStringLiteral(" Teslim Alan Görevi"), receiverTitleEdit, {receiverTitleEdit});

    deliveryKindCombo = deliveryBox(this, "deliveryKindCombo");
    deliveryNumberEdit = textBox(this, "deliveryNumberEdit", 15);
    deliveryNumberEdit->setMaximumWidth(130);
    deliveryNumberEdit->setPlaceholderText(QStringLiteral("boşsa kayıt no"));
    deliveryDateEdit = dateBox(this, "deliveryDateEdit");
    rows.add(QStringLiteral(" &Zimmet No / Tarihi"), deliveryKindCombo,
             {deliveryKindCombo, deliveryNumberEdit, deliveryDateEdit});
    confidentialityCombo = confidentialityBox(this, "confidentialityCombo");
    rows.add(QStringLiteral(" &Gizlilik Derecesi"), confidentialityCombo, {confidentialityCombo});
    fileNoteEdit = textBox(this, "fileNoteEdit", 20);
    rows.add(QStringLiteral("Dosya İşlemi "), fileNoteEdit, {fileNoteEdit});
    retentionEdit = numberBox(this, "retentionEdit");
    rows.add(QStringLiteral("Saklama Süresi "), retentionEdit, {retentionEdit});
    referenceEdit = textBox(this, "referenceEdit", 50);
    rows.add(QStringLiteral(" Evrak No(&Sayı)"), referenceEdit, {referenceEdit}, false);

    rows.addWide(buildApplicantGroup());
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

QWidget *TFRMDILEKCE::buildApplicantGroup()
{
    auto *group = named(new QGroupBox(QStringLiteral("Dilekçe Sahibi"), this), "applicantGroup");
    auto *grid = new QGridLayout(group);
    FormRows rows(group, grid);
    firstNameEdit = textBox(group, "firstNameEdit", 20);
    surnameEdit = textBox(group, "surnameEdit", 20);
    rows.add(QStringLiteral(" &Adı ve Soyadı"), firstNameEdit, {firstNameEdit, surnameEdit});
    identityEdit = textBox(group, "identityEdit", 15);
    rows.add(QStringLiteral(" T.C.&Kimlik No"), identityEdit, {identityEdit});
    phoneEdit = textBox(group, "phoneEdit", 15);
    emailEdit = textBox(group, "emailEdit", 50);
    rows.add(QStringLiteral(" &Telefon No"), phoneEdit, {phoneEdit, new QLabel(QStringLiteral("e-posta"), group), emailEdit});
    addressEdit = textBox(group, "addressEdit", 50);
    rows.add(QStringLiteral(" Ad&resi"), addressEdit, {addressEdit}, false);
    return group;
}

QWidget *TFRMDILEKCE::buildAttachmentsGroup()
{
    attachmentsGroup = named(new AttachmentsGroup(m_session, storage::Register::Petition, this), "attachmentsGroup");
    m_record->attachments = &attachmentsGroup->attachments();
    attachmentviewers::wire(*attachmentsGroup, m_session, m_runner, this,
                            [this]() -> reports::ReportDesk & { return reportDesk(); }, true);
    attachmentsGroup->printAttachment = [this] { printPicture(); };
    attachmentsGroup->grid()->setMinimumWidth(220);
    return attachmentsGroup;
}

QWidget *TFRMDILEKCE::buildAnswerGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Cevap Durumu"), this);
    auto *grid = new QGridLayout(group);
    answerAwaitedCombo = choiceBox(group, "answerAwaitedCombo", {QStringLiteral("Evet"), QStringLiteral("Hayır")});
    answerDateLabel = named(new QLabel(QStringLiteral("Son Cevap Tar"), group), "answerDateLabel");
    answerDateEdit = dateBox(group, "answerDateEdit");
    fieldAction(answerDateEdit, QStringLiteral("son cevap tarihi boşaltılır"), [this] { answerDateEdit->clear(); });
    answerStateLabel = named(new QLabel(group), "answerStateLabel");
    answerDetailsLabel = named(new QLabel(group), "answerDetailsLabel");
    auto *caption = new QLabel(QStringLiteral(" &Cevap Bekleniyor"), group);
    caption->setBuddy(answerAwaitedCombo);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(answerAwaitedCombo, 0, 1);
    grid->addWidget(answerDateLabel, 1, 0);
    grid->addWidget(answerDateEdit, 1, 1);
    grid->addWidget(answerStateLabel, 2, 0, 1, 2);
    grid->addWidget(answerDetailsLabel, 3, 0, 1, 2);
    return group;
}

QWidget *TFRMDILEKCE::buildRoutingNote()
{
    // Petitions are not routed from this screen; the group only explains.
    auto *group = new QGroupBox(QStringLiteral("Evrak Havale İşlemleri"), this);
    auto *box = new QVBoxLayout(group);
    routingNoteLabel = named(new QLabel(kRoutingNote, group), "routingNoteLabel");
    routingNoteLabel->setWordWrap(true);
    box->addWidget(routingNoteLabel);
    return group;
}

void TFRMDILEKCE::connectFields()
{
    connect(saveButton, &QPushButton::clicked, this, &TFRMDILEKCE::save);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMDILEKCE::cancel);
    connect(fileCodeButton, &QToolButton::clicked, this, &TFRMDILEKCE::fileCodeChosen);
    connect(fileCodeCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        m_record->setValue("SDP", textOf(fileCodeCombo->currentData().toString()));
        guarded(m_session, [this] { showFileCodeTexts(); });
    });
    connect(departmentCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            m_record->setValue("BIRKOD", departmentCombo->currentData().toInt() ? departmentCombo->currentData() : QVariant());
    });
    // Coded boxes write their column only when the user changes them: a stored
    // value that matches no entry is kept as it is.
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
    connect(answerAwaitedCombo, &QComboBox::currentIndexChanged, this, &TFRMDILEKCE::answerAwaitedChanged);
}

void TFRMDILEKCE::fileCodeChosen()
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

void TFRMDILEKCE::fillLookups()
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
    m_filling = false;
}

void TFRMDILEKCE::FormActivate()
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
        // The list opened the yearly database of the registration year; a new one is in the working year.
        const QDate date = m_record->value("GELTAR").toDate();
        attachmentsGroup->open(m_record->kayno(),
                               tag == 2 && date.isValid() ? date.year() : m_session.workingYear());
    } catch (const fb::Error &e) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Dilekçe açılamadı."), e.details());
        closeForm(0);
        return;
    }
    HAKVER(m_session, 3).govern(saveButton, tag == 2 ? rights::Flag::D : rights::Flag::K).apply();
    fileCodeCombo->setFocus();
}

void TFRMDILEKCE::showRecord()
{
    m_filling = true;
    PetitionRecord &r = *m_record;
    registerNumberEdit->setText(plain(r.value("DILNO")));
    registerDateEdit->setText(dateText(r.value("GELTAR")));
    keyLabel->setText(QStringLiteral("Kayıt anahtarı: %1").arg(r.kayno()));
    petitionDateEdit->setText(dateText(r.value("DILTAR")));
    const QString sdp = plain(r.value("SDP"));
    if (!sdp.isEmpty() && fileCodeCombo->findData(sdp) < 0)
        fileCodeCombo->addItem(sdp, sdp);
    fileCodeCombo->setCurrentIndex(qMax(0, fileCodeCombo->findData(sdp)));
    const int department = r.value("BIRKOD").toInt();
    if (department != 0 && departmentCombo->findData(department) < 0)
        departmentCombo->addItem(QStringLiteral("(%1)").arg(department), department);
    departmentCombo->setCurrentIndex(qMax(0, departmentCombo->findData(department)));
    receiverNameEdit->setText(plain(r.value("TESADI")));
    receiverTitleEdit->setText(plain(r.value("TESGOR")));
    showCode(deliveryKindCombo, deliveryCodes(), r.value("ZDUR"));
    deliveryNumberEdit->setText(plain(r.value("ZNO")));
    deliveryDateEdit->setText(dateText(r.value("ZTAR")));
    showCode(confidentialityCombo, confidentialityCodes(), r.value("GIZDER"));
    fileNoteEdit->setText(plain(r.value("DOSYA")));
    retentionEdit->setText(plain(r.value("KRMSURE")));
    referenceEdit->setText(plain(r.value("EVSAY")));
    firstNameEdit->setText(plain(r.value("ADI")));
    surnameEdit->setText(plain(r.value("SOYADI")));
    identityEdit->setText(plain(r.value("TCKNO")));
    phoneEdit->setText(plain(r.value("TEL1")));
    emailEdit->setText(plain(r.value("EMAIL")));
    addressEdit->setText(plain(r.value("ADRES")));
    subjectEdit->setPlainText(plain(r.value("KONU")));
    showCode(arrivalCombo, arrivalCodes(), r.value("GSEKLI"));
    arrivalNoteEdit->setText(plain(r.value("GACIK")));
    enclosureCountEdit->setText(plain(r.value("EKSAY")));
    enclosuresEdit->setPlainText(plain(r.value("EK")));
    showCode(answerAwaitedCombo, answerCodes(), r.value("CEVDUR"));
    answerDateEdit->setText(dateText(r.value("CEVTAR")));
    m_filling = false;
    showFileCodeTexts();
    showAnswer();
}

void TFRMDILEKCE::showFileCodeTexts()
{
    mainCodeLabel->setText(m_record->SACK1());
    fullCodeLabel->setText(m_record->SACK2());
}

void TFRMDILEKCE::showAnswer()
{
    const bool waits = plain(m_record->value("CEVDUR")) == QLatin1String("E");
    answerStateLabel->clear();
    answerDetailsLabel->clear();
    if (waits && m_record->mode() == PetitionRecord::Edit) {
        const QStringList a = m_record->CEVAPGETIR();
        answerStateLabel->setText(a.value(0));
        answerDetailsLabel->setText(a.value(1));
    }
    for (QWidget *w : std::initializer_list<QWidget *>{answerDateLabel, answerDateEdit, answerStateLabel, answerDetailsLabel})
        w->setVisible(waits);
}

void TFRMDILEKCE::answerAwaitedChanged(int i)
{
    if (m_filling || i < 0)
        return;
    if (m_record->mode() == PetitionRecord::Edit && !answerDetailsLabel->text().isEmpty()) {
        m_session.prompt().message(QStringLiteral(
            "Cevap verilmiş belgeyiyi değiştiremezsiniz\nÖnce Cevap durumunu kaldırınız."));
        m_filling = true;
        answerAwaitedCombo->setCurrentIndex(1 - i);
        m_filling = false;
        return;
    }
    m_record->setValue("CEVDUR", answerCodes()[i]);
    for (QWidget *w : std::initializer_list<QWidget *>{answerDateLabel, answerDateEdit, answerStateLabel, answerDetailsLabel})
        w->setVisible(i == 0);
}

bool TFRMDILEKCE::collect()
{
    PetitionRecord &r = *m_record;
    Prompt &prompt = m_session.prompt();
    QVariant d;
    struct DateField { QLineEdit *box; const char *column; };
    for (const DateField &f : {DateField{petitionDateEdit, "DILTAR"}, DateField{deliveryDateEdit, "ZTAR"},
                               DateField{answerDateEdit, "CEVTAR"}}) {
        if (!dateOf(prompt, f.box, PetitionRecord::caption(QLatin1String(f.column)), &d))
            return false;
        r.setValue(QLatin1String(f.column), d);
    }
    r.setValue("DILNO", numberOf(registerNumberEdit));
    r.setValue("SDP", textOf(fileCodeCombo->currentData().toString()));
    r.setValue("TESADI", textOf(receiverNameEdit->text()));
    r.setValue("TESGOR", textOf(receiverTitleEdit->text()));
    r.setValue("ZNO", textOf(deliveryNumberEdit->text().trimmed()));
    r.setValue("DOSYA", textOf(fileNoteEdit->text()));
    r.setValue("KRMSURE", numberOf(retentionEdit));
    r.setValue("EVSAY", textOf(referenceEdit->text()));
    r.setValue("ADI", textOf(firstNameEdit->text()));
    r.setValue("SOYADI", textOf(surnameEdit->text()));
    r.setValue("TCKNO", textOf(identityEdit->text()));
    r.setValue("TEL1", textOf(phoneEdit->text()));
    r.setValue("EMAIL", textOf(emailEdit->text()));
    r.setValue("ADRES", textOf(addressEdit->text()));
    r.setValue("KONU", textOf(subjectEdit->toPlainText()));
    r.setValue("GACIK", textOf(arrivalNoteEdit->text()));
    r.setValue("EKSAY", numberOf(enclosureCountEdit));
    r.setValue("EK", textOf(enclosuresEdit->toPlainText()));
    return true;
}

void TFRMDILEKCE::save()
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
    // The numbers the save would have given are not shown; what was typed stays.
    registerNumberEdit->setText(plain(m_record->value("DILNO")));
    deliveryNumberEdit->setText(plain(m_record->value("ZNO")));
    if (registerDateEdit->text().mid(6, 4) != m_session.workstation.year)
        registerDateEdit->setFocus();
}

void TFRMDILEKCE::cancel()
{
    guarded(m_session, [&] {
        m_record->cancel();
        attachmentsGroup->cancel();
    });
    // Whatever the rollback said, F6 leaves the screen: nothing was saved.
    closeForm(0);
}

reports::ReportDesk &TFRMDILEKCE::reportDesk()
{
    if (!m_reports)
        m_reports = std::make_unique<reports::ReportDesk>(m_session, this);
    return *m_reports;
}

void TFRMDILEKCE::printPicture()
{
    const QImage picture = attachmentsGroup->view()->picture();
    if (picture.isNull()) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Yazdırmak için önce bir resim belgesi seçiniz."));
        return;
    }
    guarded(m_session, [&] { reportDesk().printPicture(picture, false, false, true); });
}
