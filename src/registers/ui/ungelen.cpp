#include "ungelen.h"

#include "attachmentviewers.h"
#include "recordpicker.h"
#include "reports/ui/reportdesk.h"
#include "storage/ui/attachmentsgroup.h"
#include "recordwidgets.h"
#include "unbrmekle.h"

#include "definitions/ui/unkurbil.h"
#include "definitions/ui/unkurbul.h"
#include "definitions/ui/unsdpbul.h"
#include "kit/fieldrows.h"
#include "kit/hakver.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "registers/lookups.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The codes behind the choice boxes, in their order.
const QStringList kZDUR = {QStringLiteral("İ"), QStringLiteral("D")};
const QStringList kGIZDER = {QStringLiteral("Ö"), QStringLiteral("K"), QStringLiteral("G"), QStringLiteral("Ç")};
const QStringList kGSEKLI = {QStringLiteral("P"), QStringLiteral("E"), QStringLiteral("M"), QStringLiteral("D")};
const QStringList kCEVDUR = {QStringLiteral("E"), QStringLiteral("H")};

QLineEdit *textBox(QWidget *parent, int width)
{
    auto *e = new QLineEdit(parent);
    e->setMaxLength(width);
    return e;
}

QLineEdit *numberBox(QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,12}")), e));
    e->setMaximumWidth(110);
    return e;
}

QLineEdit *dateBox(QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setInputMask(QStringLiteral("99/99/9999;_"));
    e->setMaximumWidth(110);
    return e;
}

QComboBox *choiceBox(QWidget *parent, const QStringList &items)
{
    auto *c = new QComboBox(parent);
    c->addItems(items);
    return c;
}

QString dateText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
}

QString plain(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

/// A number box's value: empty is NULL; digits become a number.
QVariant numberOf(const QLineEdit *e)
{
    const QString t = e->text().trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t.toLongLong());
}

QVariant textOf(const QString &t)
{
    return t.isEmpty() ? QVariant() : QVariant(t);
}

int indexOf(const QStringList &codes, const QVariant &v)
{
    return static_cast<int>(codes.indexOf(plain(v)));
}

} // namespace

TFRMGELEN::TFRMGELEN(Session &session, FormRunner &runner, QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
    , m_record(std::make_unique<IncomingRecord>(session))
{
    setWindowTitle(QStringLiteral("GELEN EVRAK BİLGİLERİ"));
    build();

    pickFileCode = [this] {
        TFRMSDPBUL finder(m_session, this);
        finder.tag = 1;
        m_runner.run(finder);
        return finder.tag == 1 ? finder.KOD : QString();
    };
    pickBody = [this] {
        TFRMKURBUL finder(m_session, this);
        finder.tag = 1;
        m_runner.run(finder);
        return finder.tag == 1 ? finder.BKOD : 0;
    };
    addBody = [this] {
        TFRMKURBIL body(m_session, this);
        body.tag = 0;
        m_runner.run(body);
        return body.tag == 1 ? body.BKOD : 0;
    };
}

TFRMGELEN::~TFRMGELEN() = default;

void TFRMGELEN::build()
{
    FieldRows rows(this);
    buildDocumentGroup(rows);
    buildRoutingGroup(rows);
    buildClassificationGroup(rows);
    buildSenderGroup(rows);
    buildSubjectGroup(rows);

    auto *right = new QVBoxLayout;
    right->addWidget(buildAttachmentsGroup(), 1);
    right->addWidget(buildRelatedGroup());
    right->addWidget(buildAnswerGroup());

    auto *columns = new QHBoxLayout;
    columns->addLayout(rows.layout(), 3);
    columns->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buildButtons());

    connectChoices();
}

void TFRMGELEN::buildDocumentGroup(FieldRows &rows)
{
    registerNumberEdit = numberBox(this);
    registerNumberEdit->setObjectName(QStringLiteral("registerNumberEdit"));
    registerNumberEdit->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    registerDateEdit = dateBox(this);
    registerDateEdit->setObjectName(QStringLiteral("registerDateEdit"));
    recordKeyLabel = new QLabel(this);
    recordKeyLabel->setObjectName(QStringLiteral("recordKeyLabel"));
    recordKeyLabel->setToolTip(QStringLiteral("Kayıt anahtarı"));
    rows.add(QStringLiteral(" Kayıt &No / Tarihi"), registerNumberEdit,
             FieldRows::side({registerNumberEdit, registerDateEdit, recordKeyLabel}));

    fileCodeBox = new QComboBox(this);
    fileCodeBox->setObjectName(QStringLiteral("fileCodeBox"));
    fileCodeBox->setMinimumContentsLength(40);
    findFileCodeButton = new QToolButton(this);
    findFileCodeButton->setObjectName(QStringLiteral("findFileCodeButton"));
    findFileCodeButton->setText(QStringLiteral("..."));
    findFileCodeButton->setToolTip(QStringLiteral("Standart Dosya Planı"));
    rows.add(QStringLiteral("Std. &Dosya Kodu"), fileCodeBox, FieldRows::side({fileCodeBox, findFileCodeButton}));
    mainFileCodeLabel = new QLabel(this);
    mainFileCodeLabel->setObjectName(QStringLiteral("mainFileCodeLabel"));
    fullFileCodeLabel = new QLabel(this);
    fullFileCodeLabel->setObjectName(QStringLiteral("fullFileCodeLabel"));
    rows.add(FieldRows::side({mainFileCodeLabel}));
    rows.add(FieldRows::side({fullFileCodeLabel}));

    connect(findFileCodeButton, &QToolButton::clicked, this, [this] {
        const QString code = pickFileCode();
        if (code.isEmpty())
            return;
        int i = fileCodeBox->findData(code);
        if (i < 0) {
            fileCodeBox->addItem(code, code);
            i = fileCodeBox->count() - 1;
        }
        fileCodeBox->setCurrentIndex(i);
    });
    connect(fileCodeBox, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        m_record->setValue("SDP", textOf(fileCodeBox->currentData().toString()));
        guarded(m_session, [this] { showFileCodeTexts(); });
    });
}

void TFRMGELEN::buildRoutingGroup(FieldRows &rows)
{
    routingGrid = new QTableWidget(0, 2, this);
    routingGrid->setObjectName(QStringLiteral("routingGrid"));
    routingGrid->setHorizontalHeaderLabels({QStringLiteral("Kodu"), QStringLiteral("Birim Adı")});
    routingGrid->horizontalHeader()->setStretchLastSection(true);
    routingGrid->verticalHeader()->hide();
    routingGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    routingGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    routingGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    routingGrid->setMaximumHeight(110);
    routingGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *removeAction = new QAction(QStringLiteral("Sil"), routingGrid);
    removeAction->setObjectName(QStringLiteral("removeDepartmentAction"));
    removeAction->setShortcut(Qt::Key_Delete);
    removeAction->setShortcutContext(Qt::WidgetShortcut);
    routingGrid->addAction(removeAction);
    chooseDepartmentsButton = new QToolButton(this);
    chooseDepartmentsButton->setObjectName(QStringLiteral("chooseDepartmentsButton"));
    chooseDepartmentsButton->setText(QStringLiteral("..."));
    chooseDepartmentsButton->setToolTip(QStringLiteral("Birim Seçimi"));
    departmentSequenceEdit = numberBox(this);
    departmentSequenceEdit->setObjectName(QStringLiteral("departmentSequenceEdit"));
    departmentSequenceEdit->setToolTip(QStringLiteral("Birim Sıra Numarası"));
    departmentSequenceEdit->setPlaceholderText(QStringLiteral("Birim Sıra No"));
    auto *routing = new QHBoxLayout;
    routing->addWidget(routingGrid, 1);
    auto *routingSide = new QVBoxLayout;
    routingSide->addWidget(chooseDepartmentsButton);
    routingSide->addWidget(departmentSequenceEdit);
    routingSide->addStretch();
    routing->addLayout(routingSide);
    rows.add(QStringLiteral(" Verildiği &Birim"), routingGrid, routing);

    receiverNameEdit = textBox(this, 20);
    receiverNameEdit->setObjectName(QStringLiteral("receiverNameEdit"));
    rows.add(QStringLiteral(" Teslim Alan Adı S."), receiverNameEdit, FieldRows::side({receiverNameEdit}));
    receiverTitleEdit = textBox(this, 20);
    receiverTitleEdit->setObjectName(QStringLiteral("receiverTitleEdit"));
    rows.add(QStringLiteral(" Teslim Alan Görevi"), receiverTitleEdit, FieldRows::side({receiverTitleEdit}));

    handoverKindBox = choiceBox(this, {QStringLiteral("İç"), QStringLiteral("Dış")});
    handoverKindBox->setObjectName(QStringLiteral("handoverKindBox"));
    handoverNumberEdit = textBox(this, 15);
    handoverNumberEdit->setObjectName(QStringLiteral("handoverNumberEdit"));
    handoverNumberEdit->setMaximumWidth(130);
    handoverNumberEdit->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    handoverDateEdit = dateBox(this);
    handoverDateEdit->setObjectName(QStringLiteral("handoverDateEdit"));
    rows.add(QStringLiteral(" &Zimmet Dur./No/Tar:"), handoverKindBox,
             FieldRows::side({handoverKindBox, handoverNumberEdit, handoverDateEdit}));

    connect(removeAction, &QAction::triggered, this, &TFRMGELEN::removeDepartment);
    connect(chooseDepartmentsButton, &QToolButton::clicked, this, &TFRMGELEN::chooseDepartments);
    connect(routingGrid, &QTableWidget::currentCellChanged, this, &TFRMGELEN::routingRowChanged);
    connect(receiverNameEdit, &QLineEdit::textEdited, this, &TFRMGELEN::storeReceiver);
    connect(receiverTitleEdit, &QLineEdit::textEdited, this, &TFRMGELEN::storeReceiver);
}

void TFRMGELEN::buildClassificationGroup(FieldRows &rows)
{
    documentTypeBox = new QComboBox(this);
    documentTypeBox->setObjectName(QStringLiteral("documentTypeBox"));
    rows.add(QStringLiteral(" Evrak &Türü"), documentTypeBox, FieldRows::side({documentTypeBox}));
    secrecyBox = choiceBox(this, {QStringLiteral("Hizmete Özel"), QStringLiteral("Kişiye Özel"),
                                  QStringLiteral("Gizli"), QStringLiteral("Çok Gizli")});
    secrecyBox->setObjectName(QStringLiteral("secrecyBox"));
    secrecyNumberEdit = numberBox(this);
    secrecyNumberEdit->setObjectName(QStringLiteral("secrecyNumberEdit"));
    secrecyNumberEdit->setToolTip(QStringLiteral("Gizlilik No"));
    rows.add(QStringLiteral(" &Gizlilik Derecesi"), secrecyBox, FieldRows::side({secrecyBox, secrecyNumberEdit}));
    fileActionEdit = textBox(this, 20);
    fileActionEdit->setObjectName(QStringLiteral("fileActionEdit"));
    rows.add(QStringLiteral("Dosya İşlemi "), fileActionEdit, FieldRows::side({fileActionEdit}));
    retentionEdit = numberBox(this);
    retentionEdit->setObjectName(QStringLiteral("retentionEdit"));
    retentionEdit->setFocusPolicy(Qt::ClickFocus); // skipped by Tab
    rows.add(QStringLiteral("Saklama Süresi "), retentionEdit, FieldRows::side({retentionEdit}));
}

void TFRMGELEN::buildSenderGroup(FieldRows &rows)
{
    senderBox = new QComboBox(this);
    senderBox->setObjectName(QStringLiteral("senderBox"));
    senderBox->setMinimumContentsLength(40);
    senderBox->setContextMenuPolicy(Qt::ActionsContextMenu);
    addSenderAction = new QAction(QStringLiteral("Kurum Tanımı Ekle"), senderBox);
    addSenderAction->setObjectName(QStringLiteral("addSenderAction"));
    senderBox->addAction(addSenderAction);
    findSenderButton = new QToolButton(this);
    findSenderButton->setObjectName(QStringLiteral("findSenderButton"));
    findSenderButton->setText(QStringLiteral("..."));
    findSenderButton->setToolTip(QStringLiteral("Kurum Bul"));
    rows.add(QStringLiteral(" Geldiği &Yer"), senderBox, FieldRows::side({senderBox, findSenderButton}));
    senderDepartmentEdit = textBox(this, 50);
    senderDepartmentEdit->setObjectName(QStringLiteral("senderDepartmentEdit"));
    rows.add(QStringLiteral("Gönderen Birim"), senderDepartmentEdit, FieldRows::side({senderDepartmentEdit}, false));
    documentNumberEdit = textBox(this, 50);
    documentNumberEdit->setObjectName(QStringLiteral("documentNumberEdit"));
    documentDateEdit = dateBox(this);
    documentDateEdit->setObjectName(QStringLiteral("documentDateEdit"));
    rows.add(QStringLiteral(" Evrak No (&Sayı)/Tarih"), documentNumberEdit,
             FieldRows::side({documentNumberEdit, documentDateEdit}, false));

    connect(addSenderAction, &QAction::triggered, this, &TFRMGELEN::addNewBody);
    connect(findSenderButton, &QToolButton::clicked, this, [this] {
        if (const int body = pickBody(); body > 0)
            senderBox->setCurrentIndex(qMax(0, senderBox->findData(body)));
    });
}

void TFRMGELEN::buildSubjectGroup(FieldRows &rows)
{
    subjectEdit = new QPlainTextEdit(this);
    subjectEdit->setObjectName(QStringLiteral("subjectEdit"));
    subjectEdit->setTabChangesFocus(true);
    subjectEdit->setMaximumHeight(70);
    recordwidgets::fieldAction(subjectEdit, QStringLiteral("dosya kodunun açıklaması konuya yazılır"),
                               [this] { subjectEdit->setPlainText(fullFileCodeLabel->text()); });
    rows.add(QStringLiteral(" K&onusu (Özü)"), subjectEdit, FieldRows::side({subjectEdit}, false));
    arrivalBox = choiceBox(this, {QStringLiteral("Posta İle"), QStringLiteral("Elden"),
                                  QStringLiteral("e-Posta"), QStringLiteral("Diğer")});
    arrivalBox->setObjectName(QStringLiteral("arrivalBox"));
    arrivalNoteEdit = textBox(this, 40);
    arrivalNoteEdit->setObjectName(QStringLiteral("arrivalNoteEdit"));
    rows.add(QStringLiteral(" Geliş Şekli"), arrivalBox, FieldRows::side({arrivalBox, arrivalNoteEdit}, false));
    enclosureCountEdit = numberBox(this);
    enclosureCountEdit->setObjectName(QStringLiteral("enclosureCountEdit"));
    enclosuresEdit = new QPlainTextEdit(this);
    enclosuresEdit->setObjectName(QStringLiteral("enclosuresEdit"));
    enclosuresEdit->setTabChangesFocus(true);
    enclosuresEdit->setMaximumHeight(50);
    rows.add(QStringLiteral(" &Eki"), enclosureCountEdit, FieldRows::side({enclosureCountEdit, enclosuresEdit}, false));
}

QGroupBox *TFRMGELEN::buildAttachmentsGroup()
{
    attachmentsGroup = new AttachmentsGroup(m_session, storage::Register::Incoming, this);
    attachmentsGroup->setObjectName(QStringLiteral("attachmentsGroup"));
    m_record->setAttachments(&attachmentsGroup->attachments());
    attachmentviewers::wire(*attachmentsGroup, m_session, m_runner, this,
                            [this]() -> reports::ReportDesk & { return reportDesk(); }, true);
    return attachmentsGroup;
}

QGroupBox *TFRMGELEN::buildRelatedGroup()
{
    auto *group = new QGroupBox(QStringLiteral("İlgili Olduğu Evrak Bilgileri (Giden Evrak İçin Cevap İse Belirtiniz)"), this);
    group->setObjectName(QStringLiteral("relatedGroup"));
    auto *grid = new QGridLayout(group);
    relatedNumberLabel = new QLabel(group);
    relatedNumberLabel->setObjectName(QStringLiteral("relatedNumberLabel"));
    relatedDateLabel = new QLabel(group);
    relatedDateLabel->setObjectName(QStringLiteral("relatedDateLabel"));
    relatedDepartmentLabel = new QLabel(group);
    relatedDepartmentLabel->setObjectName(QStringLiteral("relatedDepartmentLabel"));
    relatedSubjectLabel = new QLabel(group);
    relatedSubjectLabel->setObjectName(QStringLiteral("relatedSubjectLabel"));
    relatedSubjectLabel->setWordWrap(true);
    int r = 0;
    for (auto [caption, value] : {std::pair{" Evrak No ", relatedNumberLabel}, {" Tarihi", relatedDateLabel},
                                  {" Birimi", relatedDepartmentLabel}, {" Konusu (Özü)", relatedSubjectLabel}}) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), group), r, 0);
        grid->addWidget(value, r++, 1);
    }
    findRelatedButton = new QPushButton(QStringLiteral("Bul"), group);
    findRelatedButton->setObjectName(QStringLiteral("findRelatedButton"));
    removeRelatedButton = new QPushButton(QStringLiteral("Sil"), group);
    removeRelatedButton->setObjectName(QStringLiteral("removeRelatedButton"));
    grid->addLayout(FieldRows::side({findRelatedButton, removeRelatedButton}), r, 1);

    connect(findRelatedButton, &QPushButton::clicked, this, [this] {
        int chosen = 0;
        guarded(m_session, [&] { chosen = TFRMGIDBUL::pick(m_session, m_runner, this); });
        if (chosen > 0) {
            m_record->chooseReply(chosen);
            showRelated();
        }
    });
    connect(removeRelatedButton, &QPushButton::clicked, this, [this] {
        if (m_record->removeReply()) {
            for (QLabel *l : {relatedNumberLabel, relatedDateLabel, relatedDepartmentLabel, relatedSubjectLabel})
                l->clear();
        }
    });
    return group;
}

QGroupBox *TFRMGELEN::buildAnswerGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Cevap Durumu"), this);
    group->setObjectName(QStringLiteral("answerGroup"));
    auto *grid = new QGridLayout(group);
    answerExpectedBox = choiceBox(group, {QStringLiteral("Evet"), QStringLiteral("Hayır")});
    answerExpectedBox->setObjectName(QStringLiteral("answerExpectedBox"));
    answerDateEdit = dateBox(group);
    answerDateEdit->setObjectName(QStringLiteral("answerDateEdit"));
    recordwidgets::fieldAction(answerDateEdit, QStringLiteral("son cevap tarihi boşaltılır"),
                               [this] { answerDateEdit->clear(); });
    answerDateLabel = new QLabel(QStringLiteral("Son Cevap Tar"), group);
    answerDateLabel->setObjectName(QStringLiteral("answerDateLabel"));
    answerStateLabel = new QLabel(group);
    answerStateLabel->setObjectName(QStringLiteral("answerStateLabel"));
    answerInfoLabel = new QLabel(group);
    answerInfoLabel->setObjectName(QStringLiteral("answerInfoLabel"));
    auto *expectedLabel = new QLabel(QStringLiteral(" &Cevap Bekleniyor"), group);
    expectedLabel->setBuddy(answerExpectedBox);
    grid->addWidget(expectedLabel, 0, 0);
    grid->addWidget(answerExpectedBox, 0, 1);
    grid->addWidget(answerDateLabel, 1, 0);
    grid->addWidget(answerDateEdit, 1, 1);
    grid->addWidget(answerStateLabel, 2, 0, 1, 2);
    grid->addWidget(answerInfoLabel, 3, 0, 1, 2);
    return group;
}

QHBoxLayout *TFRMGELEN::buildButtons()
{
    saveButton = new QPushButton(QStringLiteral("F5-Kayıt"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = new QPushButton(QStringLiteral("F6-Vazgeç"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    printButton = new QPushButton(QStringLiteral("F7-Yazdır"), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : {saveButton, cancelButton, printButton}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }

    connect(saveButton, &QPushButton::clicked, this, &TFRMGELEN::save);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMGELEN::cancel);
    connect(printButton, &QPushButton::clicked, this, &TFRMGELEN::printSheet);
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
    bindKey(printButton, Qt::Key_F7);
    return row;
}

void TFRMGELEN::connectChoices()
{
    // Coded boxes write their column only when the user changes them: a stored
    // value that matches no entry is kept as it is.
    connect(handoverKindBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("ZDUR", kZDUR[i]);
    });
    connect(arrivalBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("GSEKLI", kGSEKLI[i]);
    });
    connect(secrecyBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_filling || i < 0)
            return;
        guarded(m_session, [&] { m_record->setGIZDER(kGIZDER[i]); });
        secrecyNumberEdit->setText(plain(m_record->value("GSIRNO")));
    });
    connect(answerExpectedBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_filling || i < 0)
            return;
        if (m_record->mode() == IncomingRecord::Edit && !answerInfoLabel->text().isEmpty()) {
            m_session.prompt().message(QStringLiteral(
                "Cevap verilmiş belgeyiyi değiştiremezsiniz\nÖnce Cevap durumunu kaldırınız."));
            m_filling = true;
            answerExpectedBox->setCurrentIndex(1 - i);
            m_filling = false;
            return;
        }
        m_record->setValue("CEVDUR", kCEVDUR[i]);
        for (QWidget *w : std::initializer_list<QWidget *>{answerDateLabel, answerDateEdit, answerStateLabel, answerInfoLabel})
            w->setVisible(i == 0);
    });
}

void TFRMGELEN::fillLookups()
{
    m_filling = true;
    fileCodeBox->clear();
    fileCodeBox->addItem(QString(), QString());
    for (const LookupItem &i : lookups::fileCodes(m_session))
        fileCodeBox->addItem(QStringLiteral("%1  %2").arg(i.key.toString(), i.text), i.key);
    fillBodies();
    documentTypeBox->clear();
    documentTypeBox->addItem(QString(), QVariant());
    for (const LookupItem &i : lookups::documentTypes(m_session))
        documentTypeBox->addItem(i.text, i.key);
    m_filling = false;
}

void TFRMGELEN::fillBodies()
{
    const bool filling = m_filling;
    m_filling = true;
    senderBox->clear();
    senderBox->addItem(QString(), 0);
    for (const LookupItem &i : lookups::externalBodies(m_session))
        senderBox->addItem(i.text, i.key);
    m_filling = filling;
}

void TFRMGELEN::FormActivate()
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
    } catch (const fb::Error &e) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Evrak açılamadı."), e.details());
        closeForm(0);
        return;
    }
    HAKVER(m_session, 1)
        .govern(saveButton, tag == 2 ? rights::Flag::D : rights::Flag::K)
        .apply();
    openAttachments();
    HAKVER(m_session, 24)
        .govern(addSenderAction, rights::Flag::K)
        .govern(findSenderButton, rights::Flag::G)
        .apply();
    fileCodeBox->setFocus();
}

void TFRMGELEN::openAttachments()
{
    // The contents of a record live in the attachment database of its own year.
    const QDate date = m_record->value("GELTAR").toDate();
    const bool yearOpen = attachmentsGroup->open(m_record->kayno(), date.isValid() ? date.year() : m_session.workingYear());
    // Code 1 as HAKVER left it: "Ekle" needs K in a new record; "Değiş" D and "Sil" S in a saved one.
    auto allowed = [this](rights::Flag f) {
        return !rights::inForce(m_session) || rights::current(m_session, f) == QLatin1String("E");
    };
    const bool isNew = tag != 2;
    attachmentsGroup->setRights(yearOpen && (!isNew || allowed(rights::Flag::K)),
                                yearOpen && (isNew || allowed(rights::Flag::D)),
                                yearOpen && (isNew || allowed(rights::Flag::S)));
}

void TFRMGELEN::showRecord()
{
    m_filling = true;
    IncomingRecord &r = *m_record;
    registerNumberEdit->setText(plain(r.value("GELNO")));
    registerDateEdit->setText(dateText(r.value("GELTAR")));
    recordKeyLabel->setText(QStringLiteral("Kayıt anahtarı: %1").arg(r.kayno()));
    const int sdp = fileCodeBox->findData(plain(r.value("SDP")));
    if (sdp < 0 && !plain(r.value("SDP")).isEmpty())
        fileCodeBox->addItem(plain(r.value("SDP")), r.value("SDP"));
    fileCodeBox->setCurrentIndex(qMax(0, fileCodeBox->findData(plain(r.value("SDP")))));
    departmentSequenceEdit->setText(plain(r.value("BSIRNO")));
    if (int i = indexOf(kZDUR, r.value("ZDUR")); i >= 0)
        handoverKindBox->setCurrentIndex(i);
    handoverNumberEdit->setText(plain(r.value("ZNO")));
    handoverDateEdit->setText(dateText(r.value("ZTAR")));
    documentTypeBox->setCurrentIndex(qMax(0, documentTypeBox->findData(r.value("ETKOD"))));
    if (int i = indexOf(kGIZDER, r.value("GIZDER")); i >= 0)
        secrecyBox->setCurrentIndex(i);
    secrecyNumberEdit->setText(plain(r.value("GSIRNO")));
    fileActionEdit->setText(plain(r.value("DOSYA")));
    retentionEdit->setText(plain(r.value("KRMSURE")));
    senderBox->setCurrentIndex(qMax(0, senderBox->findData(r.value("KURKOD").toInt())));
    senderDepartmentEdit->setText(plain(r.value("BIRIM")));
    documentNumberEdit->setText(plain(r.value("EVSAY")));
    documentDateEdit->setText(dateText(r.value("EVTAR")));
    subjectEdit->setPlainText(plain(r.value("KONU")));
    if (int i = indexOf(kGSEKLI, r.value("GSEKLI")); i >= 0)
        arrivalBox->setCurrentIndex(i);
    arrivalNoteEdit->setText(plain(r.value("GACIK")));
    enclosureCountEdit->setText(plain(r.value("EKSAY")));
    enclosuresEdit->setPlainText(plain(r.value("EK")));
    if (int i = indexOf(kCEVDUR, r.value("CEVDUR")); i >= 0)
        answerExpectedBox->setCurrentIndex(i);
    answerDateEdit->setText(dateText(r.value("CEVTAR")));
    m_filling = false;
    showFileCodeTexts();
    showRouting();
    showRelated();
    showAnswer();
}

void TFRMGELEN::showFileCodeTexts()
{
    mainFileCodeLabel->setText(m_record->SACK1());
    fullFileCodeLabel->setText(m_record->SACK2());
}

void TFRMGELEN::showRelated()
{
    const QStringList t = m_record->mode() == IncomingRecord::Edit || m_record->replyChosen()
        ? m_record->ILGIGETIR() : QStringList{QString(), QString(), QString(), QString()};
    relatedNumberLabel->setText(t.value(0));
    relatedDateLabel->setText(t.value(1));
    relatedDepartmentLabel->setText(t.value(2));
    relatedSubjectLabel->setText(t.value(3));
}

void TFRMGELEN::showAnswer()
{
    const bool waits = plain(m_record->value("CEVDUR")) == QLatin1String("E");
    answerStateLabel->clear();
    answerInfoLabel->clear();
    if (waits && m_record->mode() == IncomingRecord::Edit) {
        const QStringList a = m_record->CEVAPGETIR();
        answerStateLabel->setText(a.value(0));
        answerInfoLabel->setText(a.value(1));
    }
    for (QWidget *w : std::initializer_list<QWidget *>{answerDateLabel, answerDateEdit, answerStateLabel, answerInfoLabel})
        w->setVisible(waits);
}

void TFRMGELEN::showRouting()
{
    CachedRecords &rows = m_record->routing().rows();
    m_filling = true;
    routingGrid->setRowCount(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        routingGrid->setItem(r, 0, new QTableWidgetItem(plain(rows.value(r, "BKOD"))));
        routingGrid->setItem(r, 1, new QTableWidgetItem(plain(rows.value(r, "BIRIM"))));
    }
    m_filling = false;
    if (rows.rowCount() > 0)
        routingGrid->setCurrentCell(0, 1);
    routingRowChanged();
}

void TFRMGELEN::routingRowChanged()
{
    if (m_filling)
        return;
    const int r = routingGrid->currentRow();
    CachedRecords &rows = m_record->routing().rows();
    const bool any = r >= 0 && r < rows.rowCount();
    receiverNameEdit->setEnabled(any);
    receiverTitleEdit->setEnabled(any);
    receiverNameEdit->setText(any ? plain(rows.value(r, "TESADI")) : QString());
    receiverTitleEdit->setText(any ? plain(rows.value(r, "TESGOR")) : QString());
}

void TFRMGELEN::storeReceiver()
{
    const int r = routingGrid->currentRow();
    CachedRecords &rows = m_record->routing().rows();
    if (r < 0 || r >= rows.rowCount())
        return;
    rows.setValue(r, "TESADI", textOf(receiverNameEdit->text()));
    rows.setValue(r, "TESGOR", textOf(receiverTitleEdit->text()));
}

void TFRMGELEN::chooseDepartments()
{
    guarded(m_session, [&] {
        TFRMBRMEKLE dialog(m_session, m_record->routing(), this);
        connect(&dialog, &TFRMBRMEKLE::routed, this, &TFRMGELEN::showRouting);
        m_runner.run(dialog);
        showRouting();
    });
}

void TFRMGELEN::removeDepartment()
{
    guarded(m_session, [&] {
        m_record->routing().remove(routingGrid->currentRow());
        showRouting();
    });
}

void TFRMGELEN::addNewBody()
{
    guarded(m_session, [&] {
        const int body = addBody();
        if (body <= 0)
            return;
        // Only the body list: everything typed so far stays in its boxes.
        fillBodies();
        senderBox->setCurrentIndex(qMax(0, senderBox->findData(body)));
    });
}

bool TFRMGELEN::collect()
{
    IncomingRecord &r = *m_record;
    struct DateField { QLineEdit *box; const char *column; };
    for (const DateField &f : {DateField{handoverDateEdit, "ZTAR"}, DateField{documentDateEdit, "EVTAR"},
                               DateField{answerDateEdit, "CEVTAR"}}) {
        const QString digits = f.box->text().remove(u'/').trimmed();
        if (digits.isEmpty()) {
            r.setValue(QLatin1String(f.column), QVariant());
            continue;
        }
        const QDate d = QDate::fromString(f.box->text(), QStringLiteral("dd/MM/yyyy"));
        if (!d.isValid()) {
            m_session.prompt().message(QStringLiteral("DİKKAT! «%1» geçerli bir tarih değil (gün/ay/yıl).")
                                           .arg(IncomingRecord::caption(QLatin1String(f.column))));
            f.box->setFocus();
            return false;
        }
        r.setValue(QLatin1String(f.column), d);
    }
    r.setValue("GELNO", numberOf(registerNumberEdit));
    r.setValue("SDP", textOf(fileCodeBox->currentData().toString()));
    r.setValue("BSIRNO", numberOf(departmentSequenceEdit));
    r.setValue("ZNO", textOf(handoverNumberEdit->text().trimmed()));
    r.setValue("ETKOD", documentTypeBox->currentData());
    r.setValue("GSIRNO", numberOf(secrecyNumberEdit));
    r.setValue("DOSYA", textOf(fileActionEdit->text()));
    r.setValue("KRMSURE", numberOf(retentionEdit));
    r.setValue("KURKOD", senderBox->currentData().toInt() ? senderBox->currentData() : QVariant());
    r.setValue("BIRIM", textOf(senderDepartmentEdit->text()));
    r.setValue("EVSAY", textOf(documentNumberEdit->text()));
    r.setValue("KONU", textOf(subjectEdit->toPlainText()));
    r.setValue("GACIK", textOf(arrivalNoteEdit->text()));
    r.setValue("EKSAY", numberOf(enclosureCountEdit));
    r.setValue("EK", textOf(enclosuresEdit->toPlainText()));
    return true;
}

void TFRMGELEN::save()
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
    registerNumberEdit->setText(plain(m_record->value("GELNO")));
    handoverNumberEdit->setText(plain(m_record->value("ZNO")));
    secrecyNumberEdit->setText(plain(m_record->value("GSIRNO")));
    if (registerDateEdit->text().mid(6, 4) != m_session.workstation.year)
        registerDateEdit->setFocus();
}

void TFRMGELEN::cancel()
{
    guarded(m_session, [&] {
        m_record->cancel();
        attachmentsGroup->cancel();
    });
    // Whatever the rollback said, F6 leaves the screen: nothing was saved.
    closeForm(0);
}

void TFRMGELEN::printSheet()
{
    // The sheet carries what the screen shows, saved or not.
    reports::RecordSheet sheet;
    sheet.number = registerNumberEdit->text();
    sheet.date = registerDateEdit->text();
    sheet.fileHeading = mainFileCodeLabel->text();
    sheet.fileCode = fullFileCodeLabel->text();
    if (routingGrid->rowCount() > 0 && routingGrid->columnCount() > 0 && routingGrid->item(0, 0))
        sheet.department = routingGrid->item(0, 0)->text();
    sheet.receiverName = receiverNameEdit->text();
    sheet.receiverTitle = receiverTitleEdit->text();
    sheet.handOverKind = handoverKindBox->currentText();
    sheet.handOverNumber = handoverNumberEdit->text();
    sheet.handOverDate = handoverDateEdit->text();
    sheet.documentType = documentTypeBox->currentText();
    sheet.confidentiality = secrecyBox->currentText();
    sheet.fileAction = fileActionEdit->text();
    sheet.keepingPeriod = retentionEdit->text();
    sheet.body = senderBox->currentText();
    sheet.unit = senderDepartmentEdit->text();
    sheet.documentNumber = documentNumberEdit->text();
    sheet.documentDate = documentDateEdit->text();
    sheet.way = arrivalBox->currentText();
    sheet.enclosures = enclosureCountEdit->text();
    sheet.enclosureText = enclosuresEdit->toPlainText();
    sheet.subject = subjectEdit->toPlainText();
    guarded(m_session, [&] { reportDesk().printIncomingSheet(sheet); });
}

reports::ReportDesk &TFRMGELEN::reportDesk()
{
    if (!m_reports)
        m_reports = std::make_unique<reports::ReportDesk>(m_session, this);
    return *m_reports;
}
