#include "ungiden.h"

#include "attachmentviewers.h"
#include "recordpicker.h"
#include "reports/ui/reportdesk.h"
#include "storage/ui/attachmentsgroup.h"
#include "recordwidgets.h"
#include "unbrmekle.h"

#include "definitions/ui/unkurbil.h"
#include "definitions/ui/unkurbul.h"
#include "definitions/ui/unsdpbul.h"
#include "kit/hakver.h"
#include "storage/ui/attachmentsgroup.h"
#include "texts/ui/unmetin.h"
#include "texts/ui/unword.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/error.h"

#include <QAction>
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

template<class W>
W *named(W *w, const char *name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLineEdit *textBox(QWidget *parent, const char *name, int width)
{
    auto *e = named(new QLineEdit(parent), name);
    e->setMaxLength(width);
    return e;
}

QLineEdit *numberBox(QWidget *parent, const char *name)
{
    auto *e = named(new QLineEdit(parent), name);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,12}")), e));
    e->setMaximumWidth(110);
    return e;
}

QLineEdit *dateBox(QWidget *parent, const char *name)
{
    auto *e = named(new QLineEdit(parent), name);
    e->setInputMask(QStringLiteral("99/99/9999;_"));
    e->setMaximumWidth(110);
    return e;
}

QComboBox *choiceBox(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = named(new QComboBox(parent), name);
    c->addItems(items);
    return c;
}

QToolButton *dotsButton(QWidget *parent, const char *name, const QString &tip)
{
    auto *b = named(new QToolButton(parent), name);
    b->setText(QStringLiteral("..."));
    b->setToolTip(tip);
    return b;
}

QHBoxLayout *hbox(std::initializer_list<QWidget *> ws, bool stretch = true)
{
    auto *h = new QHBoxLayout;
    for (QWidget *w : ws)
        h->addWidget(w);
    if (stretch)
        h->addStretch();
    return h;
}

void addLine(QGridLayout *grid, int &row, const QString &caption, QWidget *buddy, QLayout *content)
{
    auto *l = new QLabel(caption, grid->parentWidget());
    l->setBuddy(buddy);
    grid->addWidget(l, row, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addLayout(content, row++, 1);
}

QString dateText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
}

QString plain(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QVariant numberOf(const QLineEdit *e)
{
    const QString t = e->text().trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t.toLongLong());
}

QVariant textOf(const QString &t)
{
    return t.isEmpty() ? QVariant() : QVariant(t);
}

void selectCode(QComboBox *box, const QStringList &codes, const QVariant &v)
{
    // A stored value outside the listed codes leaves the box as it was.
    if (const int i = int(codes.indexOf(plain(v))); i >= 0)
        box->setCurrentIndex(i);
}

} // namespace

TFRMGIDEN::TFRMGIDEN(Session &session, FormRunner &runner, QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
    , m_record(std::make_unique<OutgoingRecord>(session))
{
    setWindowTitle(QStringLiteral("GİDEN EVRAK BİLGİLERİ"));
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
    pickIncoming = [this] { return TFRMGELBUL::pick(m_session, m_runner, this); };
    pickPetition = [this] { return TFRMDILBUL::pick(m_session, m_runner, this); };
    connectTextEditor();
}

TFRMGIDEN::~TFRMGIDEN() = default;

void TFRMGIDEN::build()
{
    auto *grid = new QGridLayout;
    int row = 0;
    buildRegisterPart(grid, row);
    buildSenderPart(grid, row);
    buildDeliveryPart(grid, row);
    buildLetterPart(grid, row);

    auto *right = new QVBoxLayout;
    right->addWidget(buildAttachmentsGroup(), 1);
    right->addWidget(buildRelatedGroup());
    right->addWidget(buildAnswerGroup());

    auto *columns = new QHBoxLayout;
    columns->addLayout(grid, 3);
    columns->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    buildButtons(layout);
    connectFields();
    connectCodedBoxes();
}

void TFRMGIDEN::buildRegisterPart(QGridLayout *grid, int &row)
{
    m_numberEdit = numberBox(this, "numberEdit");
    m_numberEdit->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    m_dateEdit = dateBox(this, "dateEdit");
    m_keyLabel = named(new QLabel(this), "keyLabel");
    addLine(grid, row, QStringLiteral(" Kayıt &No / Tarihi"), m_numberEdit, hbox({m_numberEdit, m_dateEdit, m_keyLabel}));

    m_fileCodeCombo = named(new QComboBox(this), "fileCodeCombo");
    m_fileCodeCombo->setMinimumContentsLength(40);
    m_fileCodeButton = dotsButton(this, "fileCodeButton", QStringLiteral("Standart Dosya Planı"));
    addLine(grid, row, QStringLiteral("Std. &Dosya Kodu"), m_fileCodeCombo, hbox({m_fileCodeCombo, m_fileCodeButton}));
    m_mainFileCodeLabel = named(new QLabel(this), "mainFileCodeLabel");
    m_fileCodeLabel = named(new QLabel(this), "fileCodeLabel");
    grid->addLayout(hbox({m_mainFileCodeLabel}), row++, 1);
    grid->addLayout(hbox({m_fileCodeLabel}), row++, 1);
}

void TFRMGIDEN::buildSenderPart(QGridLayout *grid, int &row)
{
    m_departmentCombo = named(new QComboBox(this), "departmentCombo");
    m_departmentCombo->setMinimumContentsLength(30);
    m_departmentNumberEdit = numberBox(this, "departmentNumberEdit");
    m_departmentNumberEdit->setToolTip(QStringLiteral("Birim Sıra Numarası"));
    addLine(grid, row, QStringLiteral(" Gönderen &Birim / Sıra No"), m_departmentCombo,
            hbox({m_departmentCombo, m_departmentNumberEdit}));
    m_signerNameEdit = textBox(this, "signerNameEdit", 20);
    addLine(grid, row, QStringLiteral(" Gönderen Adı Soyadı"), m_signerNameEdit, hbox({m_signerNameEdit}));
    m_signerTitleEdit = textBox(this, "signerTitleEdit", 20);
    for (QLineEdit *e : {m_signerNameEdit, m_signerTitleEdit}) {
        recordwidgets::fieldAction(e, QStringLiteral("birim yetkilisi yazılır"), [this] {
            m_record->recopySigner();
            m_signerNameEdit->setText(plain(m_record->value("TESADI")));
            m_signerTitleEdit->setText(plain(m_record->value("TESGOR")));
        });
    }
    addLine(grid, row, QStringLiteral(" Gönderen Görevi"), m_signerTitleEdit, hbox({m_signerTitleEdit}));
}

void TFRMGIDEN::buildDeliveryPart(QGridLayout *grid, int &row)
{
    m_deliveryCombo = choiceBox(this, "deliveryCombo", {QStringLiteral("İç"), QStringLiteral("Dış")});
    m_deliveryNumberEdit = textBox(this, "deliveryNumberEdit", 15);
    m_deliveryNumberEdit->setMaximumWidth(130);
    m_deliveryNumberEdit->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    m_deliveryDateEdit = dateBox(this, "deliveryDateEdit");
    addLine(grid, row, QStringLiteral(" &Zimmet Dur./No/Tar:"), m_deliveryCombo,
            hbox({m_deliveryCombo, m_deliveryNumberEdit, m_deliveryDateEdit}));
    m_confidentialityCombo = choiceBox(this, "confidentialityCombo",
                                       {QStringLiteral("Hizmete Özel"), QStringLiteral("Kişiye Özel"),
                                        QStringLiteral("Gizli"), QStringLiteral("Çok Gizli")});
    m_confidentialityNumberEdit = numberBox(this, "confidentialityNumberEdit");
    m_confidentialityNumberEdit->setToolTip(QStringLiteral("Gizlilik No"));
    addLine(grid, row, QStringLiteral(" &Gizlilik Derecesi"), m_confidentialityCombo,
            hbox({m_confidentialityCombo, m_confidentialityNumberEdit}));
    m_fileNoteEdit = textBox(this, "fileNoteEdit", 20);
    addLine(grid, row, QStringLiteral("Dosya İşlemi "), m_fileNoteEdit, hbox({m_fileNoteEdit}));
    m_retentionEdit = numberBox(this, "retentionEdit");
    addLine(grid, row, QStringLiteral("Saklama Süresi "), m_retentionEdit, hbox({m_retentionEdit}));

    m_recipientsGrid = named(new QTableWidget(0, 2, this), "recipientsGrid");
    m_recipientsGrid->setHorizontalHeaderLabels({QStringLiteral("Kodu"), QStringLiteral("Birim Adı")});
    m_recipientsGrid->horizontalHeader()->setStretchLastSection(true);
    m_recipientsGrid->verticalHeader()->hide();
    m_recipientsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_recipientsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_recipientsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_recipientsGrid->setMaximumHeight(110);
    m_recipientsGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *sil = named(new QAction(QStringLiteral("Sil"), m_recipientsGrid), "removeRecipientAction");
    sil->setShortcut(Qt::Key_Delete);
    sil->setShortcutContext(Qt::WidgetShortcut);
    m_recipientsGrid->addAction(sil);
    connect(sil, &QAction::triggered, this, &TFRMGIDEN::removeRecipient);
    m_addRecipientButton = dotsButton(this, "addRecipientButton", QStringLiteral("Gönderildiği Yer Ekle"));
    m_newBodyButton = named(new QToolButton(this), "newBodyButton");
    m_newBodyButton->setText(QStringLiteral("+"));
    m_newBodyButton->setToolTip(QStringLiteral("Kurum Tanımı Ekle"));
    auto *side = new QVBoxLayout;
    side->addWidget(m_addRecipientButton);
    side->addWidget(m_newBodyButton);
    side->addStretch();
    auto *recipients = new QHBoxLayout;
    recipients->addWidget(m_recipientsGrid, 1);
    recipients->addLayout(side);
    addLine(grid, row, QStringLiteral(" Gönderildiği &Yer"), m_recipientsGrid, recipients);
}

void TFRMGIDEN::buildLetterPart(QGridLayout *grid, int &row)
{
    m_addresseeEdit = textBox(this, "addresseeEdit", 50);
    addLine(grid, row, QStringLiteral("Gönderildiği Birim"), m_addresseeEdit, hbox({m_addresseeEdit}, false));
    m_referenceEdit = textBox(this, "referenceEdit", 50);
    m_referenceDateEdit = dateBox(this, "referenceDateEdit");
    addLine(grid, row, QStringLiteral(" Evrak No(&Sayı)/Tarih"), m_referenceEdit,
            hbox({m_referenceEdit, m_referenceDateEdit}, false));
    m_subjectEdit = named(new QPlainTextEdit(this), "subjectEdit");
    m_subjectEdit->setTabChangesFocus(true);
    m_subjectEdit->setMaximumHeight(70);
    recordwidgets::fieldAction(m_subjectEdit, QStringLiteral("dosya kodunun açıklaması konuya yazılır"),
                               [this] { m_subjectEdit->setPlainText(m_fileCodeLabel->text()); });
    addLine(grid, row, QStringLiteral(" K&onusu (Özü)"), m_subjectEdit, hbox({m_subjectEdit}, false));
    m_dispatchCombo = choiceBox(this, "dispatchCombo", {QStringLiteral("Posta İle"), QStringLiteral("Elden"),
                                                         QStringLiteral("e-Posta"), QStringLiteral("Diğer")});
    m_dispatchNoteEdit = textBox(this, "dispatchNoteEdit", 40);
    addLine(grid, row, QStringLiteral(" Gönderiliş Şekli"), m_dispatchCombo, hbox({m_dispatchCombo, m_dispatchNoteEdit}, false));
    m_enclosureCountEdit = numberBox(this, "enclosureCountEdit");
    m_enclosuresEdit = named(new QPlainTextEdit(this), "enclosuresEdit");
    m_enclosuresEdit->setTabChangesFocus(true);
    m_enclosuresEdit->setMaximumHeight(50);
    addLine(grid, row, QStringLiteral(" &Eki"), m_enclosureCountEdit, hbox({m_enclosureCountEdit, m_enclosuresEdit}, false));
}

QGroupBox *TFRMGIDEN::buildAttachmentsGroup()
{
    m_attachmentsGroup = named(new AttachmentsGroup(m_session, storage::Register::Outgoing, this), "attachmentsGroup");
    m_record->setAttachments(&m_attachmentsGroup->attachments());
    attachmentviewers::wire(*m_attachmentsGroup, m_session, m_runner, this,
                            [this]() -> reports::ReportDesk & { return reportDesk(); }, false);
    // The group's add button is this screen's "Belge Ekle": a file, or the letter's text.
    m_addDocumentButton = m_attachmentsGroup->addButton();
    m_addDocumentButton->setText(QStringLiteral("Belge Ek&le"));
    m_addDocumentButton->setAutoDefault(false);
    auto *menu = new QMenu(m_addDocumentButton);
    auto *file = named(menu->addAction(QStringLiteral("Dosya Ekle")), "addFileAction");
    connect(file, &QAction::triggered, m_attachmentsGroup, &AttachmentsGroup::add);
    auto *metin = named(menu->addAction(QStringLiteral("Metin Düzenle")), "editTextAction");
    connect(metin, &QAction::triggered, this, &TFRMGIDEN::METINDUZENLE);
    m_addDocumentButton->setMenu(menu);
    return m_attachmentsGroup;
}

QGroupBox *TFRMGIDEN::buildRelatedGroup()
{
    auto *group = new QGroupBox(QStringLiteral("İlgili Olduğu Evrak Bilgileri (Gelen Evrak İçin Cevap İse Belirtiniz)"), this);
    auto *grid = new QGridLayout(group);
    m_relatedKindLabel = named(new QLabel(group), "relatedKindLabel");
    m_relatedNumberLabel = named(new QLabel(group), "relatedNumberLabel");
    m_relatedDateLabel = named(new QLabel(group), "relatedDateLabel");
    m_relatedUnitLabel = named(new QLabel(group), "relatedUnitLabel");
    m_relatedSubjectLabel = named(new QLabel(group), "relatedSubjectLabel");
    m_relatedSubjectLabel->setWordWrap(true);
    int r = 0;
    for (auto [caption, value] : {std::pair{" Türü", m_relatedKindLabel}, {" Evrak No ", m_relatedNumberLabel},
                                  {" Tarihi", m_relatedDateLabel}, {" Birimi", m_relatedUnitLabel},
                                  {" Konusu (Özü)", m_relatedSubjectLabel}}) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), group), r, 0);
        grid->addWidget(value, r++, 1);
    }
    m_findRelatedButton = named(new QPushButton(QStringLiteral("Bul"), group), "findRelatedButton");
    m_findRelatedMenu = new QMenu(m_findRelatedButton);
    connect(named(m_findRelatedMenu->addAction(QStringLiteral("Gelen Evrak Cevabı")), "incomingReplyAction"),
            &QAction::triggered, this, &TFRMGIDEN::answerIncoming);
    connect(named(m_findRelatedMenu->addAction(QStringLiteral("Dilekçe Cevabı")), "petitionReplyAction"),
            &QAction::triggered, this, &TFRMGIDEN::answerPetition);
    m_removeRelatedButton = named(new QPushButton(QStringLiteral("Sil"), group), "removeRelatedButton");
    for (QPushButton *b : {m_findRelatedButton, m_removeRelatedButton})
        b->setAutoDefault(false);
    grid->addLayout(hbox({m_findRelatedButton, m_removeRelatedButton}), r, 1);
    return group;
}

QGroupBox *TFRMGIDEN::buildAnswerGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Cevap Durumu"), this);
    auto *grid = new QGridLayout(group);
    m_replyAwaitedCombo = choiceBox(group, "replyAwaitedCombo", {QStringLiteral("Evet"), QStringLiteral("Hayır")});
    m_replyDateEdit = dateBox(group, "replyDateEdit");
    recordwidgets::fieldAction(m_replyDateEdit, QStringLiteral("son cevap tarihi boşaltılır"), [this] { m_replyDateEdit->clear(); });
    m_replyDateLabel = named(new QLabel(QStringLiteral("Son Cevap Tar"), group), "replyDateLabel");
    m_replyStateLabel = named(new QLabel(group), "replyStateLabel");
    m_replyDetailsLabel = named(new QLabel(group), "replyDetailsLabel");
    auto *caption = new QLabel(QStringLiteral(" &Cevap Bekleniyor"), group);
    caption->setBuddy(m_replyAwaitedCombo);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(m_replyAwaitedCombo, 0, 1);
    grid->addWidget(m_replyDateLabel, 1, 0);
    grid->addWidget(m_replyDateEdit, 1, 1);
    grid->addWidget(m_replyStateLabel, 2, 0, 1, 2);
    grid->addWidget(m_replyDetailsLabel, 3, 0, 1, 2);
    return group;
}

void TFRMGIDEN::buildButtons(QVBoxLayout *layout)
{
    m_saveButton = named(new QPushButton(QStringLiteral("F5-Kayıt"), this), "saveButton");
    m_cancelButton = named(new QPushButton(QStringLiteral("F6-Vazgeç"), this), "cancelButton");
    m_printButton = named(new QPushButton(QStringLiteral("F7-Yazdır"), this), "printButton");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {m_saveButton, m_cancelButton, m_printButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    auto *print = new QMenu(m_printButton);
    connect(named(print->addAction(QStringLiteral("Kayıt Yazdır")), "printRecordAction"), &QAction::triggered, this, [this] {
        if (printRecordSheet)
            printRecordSheet();
        else
            printSheet();
    });
    connect(named(print->addAction(QStringLiteral("Evrak Yazdır")), "printDocumentAction"), &QAction::triggered, this,
            [this] { m_session.prompt().message(QStringLiteral("Bu Bir Text Belgesi Değildir.")); });
    m_printButton->setMenu(print);

    connect(m_saveButton, &QPushButton::clicked, this, &TFRMGIDEN::save);
    connect(m_cancelButton, &QPushButton::clicked, this, &TFRMGIDEN::cancel);
    bindKey(m_saveButton, Qt::Key_F5);
    bindKey(m_cancelButton, Qt::Key_F6);
    bindKey(m_printButton, Qt::Key_F7);
}

void TFRMGIDEN::connectFields()
{
    connect(m_fileCodeButton, &QToolButton::clicked, this, [this] {
        const QString code = pickFileCode ? pickFileCode() : QString();
        if (code.isEmpty())
            return;
        if (m_fileCodeCombo->findData(code) < 0)
            m_fileCodeCombo->addItem(code, code);
        m_fileCodeCombo->setCurrentIndex(m_fileCodeCombo->findData(code));
    });
    connect(m_fileCodeCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        m_record->setValue("SDP", textOf(m_fileCodeCombo->currentData().toString()));
        guarded(m_session, [this] { showFileCodeTexts(); });
    });
    connect(m_departmentCombo, &QComboBox::currentIndexChanged, this, &TFRMGIDEN::departmentChosen);
    connect(m_addRecipientButton, &QToolButton::clicked, this, &TFRMGIDEN::addRecipients);
    connect(m_newBodyButton, &QToolButton::clicked, this, &TFRMGIDEN::addNewBody);
    connect(m_findRelatedButton, &QPushButton::clicked, this, [this] {
        m_findRelatedMenu->popup(m_findRelatedButton->mapToGlobal(QPoint(m_findRelatedButton->width(), 0)));
    });
    connect(m_removeRelatedButton, &QPushButton::clicked, this, &TFRMGIDEN::removeRelated);
}

void TFRMGIDEN::connectCodedBoxes()
{
    // Coded boxes write their column only when the user changes them: a stored
    // value that matches no entry is kept as it is.
    connect(m_deliveryCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_filling || i < 0)
            return;
        m_record->setZDUR(kZDUR[i]);
        showRecipients();
    });
    connect(m_dispatchCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("GSEKLI", kGSEKLI[i]);
    });
    connect(m_confidentialityCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_filling || i < 0)
            return;
        guarded(m_session, [&] { m_record->setGIZDER(kGIZDER[i]); });
        m_confidentialityNumberEdit->setText(plain(m_record->value("GSIRNO")));
    });
    connect(m_replyAwaitedCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_filling || i < 0)
            return;
        bool changed = false;
        guarded(m_session, [&] { changed = m_record->setCEVDUR(kCEVDUR[i]); });
        if (!changed) {
            m_filling = true;
            m_replyAwaitedCombo->setCurrentIndex(1 - i);
            m_filling = false;
            return;
        }
        setAnswerVisible(i == 0);
    });
}

void TFRMGIDEN::fillLookups()
{
    m_filling = true;
    m_fileCodeCombo->clear();
    m_fileCodeCombo->addItem(QString(), QString());
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(QStringLiteral(
             "SELECT KOD,ACIK FROM SDP WHERE TUR='D' ORDER BY ACIK")))
        m_fileCodeCombo->addItem(QStringLiteral("%1  %2").arg(r[0].toString(), r[1].toString()), r[0]);
    m_filling = false;
}

void TFRMGIDEN::FormActivate()
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
    HAKVER(m_session, 2).govern(m_saveButton, tag == 2 ? rights::Flag::D : rights::Flag::K).apply();
    HAKVER(m_session, 24).govern(m_newBodyButton, rights::Flag::G).apply();
    // The contents of a letter live in the attachment database of its own year;
    // without it the rows are shown and left as they are. No right governs them here.
    const QDate date = m_record->value("GIDTAR").toDate();
    const bool yearOpen = m_attachmentsGroup->open(m_record->kayno(), date.isValid() ? date.year() : m_session.workingYear());
    m_attachmentsGroup->setRights(yearOpen, yearOpen, yearOpen);
    m_fileCodeCombo->setFocus();
}

void TFRMGIDEN::showRecord()
{
    m_filling = true;
    OutgoingRecord &r = *m_record;
    m_numberEdit->setText(plain(r.value("GIDNO")));
    m_dateEdit->setText(dateText(r.value("GIDTAR")));
    m_keyLabel->setText(QStringLiteral("Kayıt anahtarı: %1").arg(r.kayno()));
    const QString sdp = plain(r.value("SDP"));
    if (!sdp.isEmpty() && m_fileCodeCombo->findData(sdp) < 0)
        m_fileCodeCombo->addItem(sdp, sdp);
    m_fileCodeCombo->setCurrentIndex(qMax(0, m_fileCodeCombo->findData(sdp)));
    m_departmentCombo->clear();
    m_departmentCombo->addItem(QString(), 0);
    for (const SendingDepartment &d : r.departments())
        m_departmentCombo->addItem(d.BIRIM, d.BKOD);
    const int birkod = r.value("BIRKOD").toInt();
    if (birkod != 0 && m_departmentCombo->findData(birkod) < 0)
        m_departmentCombo->addItem(QString::number(birkod), birkod);
    m_departmentCombo->setCurrentIndex(qMax(0, m_departmentCombo->findData(birkod)));
    selectCode(m_deliveryCombo, kZDUR, r.value("ZDUR"));
    m_deliveryNumberEdit->setText(plain(r.value("ZNO")));
    m_deliveryDateEdit->setText(dateText(r.value("ZTAR")));
    selectCode(m_confidentialityCombo, kGIZDER, r.value("GIZDER"));
    m_confidentialityNumberEdit->setText(plain(r.value("GSIRNO")));
    m_fileNoteEdit->setText(plain(r.value("DOSYA")));
    m_retentionEdit->setText(plain(r.value("KRMSURE")));
    m_addresseeEdit->setText(plain(r.value("BIRIM")));
    m_referenceDateEdit->setText(dateText(r.value("EVTAR")));
    m_subjectEdit->setPlainText(plain(r.value("KONU")));
    selectCode(m_dispatchCombo, kGSEKLI, r.value("GSEKLI"));
    m_dispatchNoteEdit->setText(plain(r.value("GACIK")));
    m_enclosureCountEdit->setText(plain(r.value("EKSAY")));
    m_enclosuresEdit->setPlainText(plain(r.value("EK")));
    selectCode(m_replyAwaitedCombo, kCEVDUR, r.value("CEVDUR"));
    m_replyDateEdit->setText(dateText(r.value("CEVTAR")));
    m_filling = false;
    showSender();
    showFileCodeTexts();
    showRecipients();
    showRelated();
    showAnswer();
}

void TFRMGIDEN::showSender()
{
    m_departmentNumberEdit->setText(plain(m_record->value("BSIRNO")));
    m_signerNameEdit->setText(plain(m_record->value("TESADI")));
    m_signerTitleEdit->setText(plain(m_record->value("TESGOR")));
    m_referenceEdit->setText(plain(m_record->value("EVSAY")));
}

void TFRMGIDEN::showFileCodeTexts()
{
    m_mainFileCodeLabel->setText(m_record->SACK1());
    m_fileCodeLabel->setText(m_record->SACK2());
}

void TFRMGIDEN::showRecipients()
{
    CachedRecords &rows = m_record->routing().rows();
    m_recipientsGrid->setRowCount(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        m_recipientsGrid->setItem(r, 0, new QTableWidgetItem(plain(rows.value(r, "BKOD"))));
        m_recipientsGrid->setItem(r, 1, new QTableWidgetItem(m_record->recipientName(r)));
    }
    if (rows.rowCount() > 0)
        m_recipientsGrid->setCurrentCell(0, 1);
}

void TFRMGIDEN::showRelated()
{
    QStringList t;
    guarded(m_session, [&] { t = m_record->ILGIGETIR(); });
    QList<QLabel *> labels = {m_relatedKindLabel, m_relatedNumberLabel, m_relatedDateLabel, m_relatedUnitLabel,
                              m_relatedSubjectLabel};
    for (int i = 0; i < labels.size(); ++i)
        labels[i]->setText(t.value(i));
}

void TFRMGIDEN::showAnswer()
{
    const bool waits = plain(m_record->value("CEVDUR")) == QLatin1String("E");
    m_replyStateLabel->clear();
    m_replyDetailsLabel->clear();
    if (waits && m_record->mode() == OutgoingRecord::Edit) {
        const QStringList a = m_record->CEVAPGETIR();
        m_replyStateLabel->setText(a.value(0));
        m_replyDetailsLabel->setText(a.value(1));
    }
    setAnswerVisible(waits);
}

void TFRMGIDEN::setAnswerVisible(bool visible)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_replyDateLabel, m_replyDateEdit, m_replyStateLabel,
                                                       m_replyDetailsLabel})
        w->setVisible(visible);
}

void TFRMGIDEN::departmentChosen()
{
    if (m_filling)
        return;
    const int bkod = m_departmentCombo->currentData().toInt();
    bool followed = false;
    guarded(m_session, [&] { followed = m_record->setDepartment(bkod); });
    if (followed)
        showSender();
}

void TFRMGIDEN::addRecipients()
{
    guarded(m_session, [&] {
        if (plain(m_record->value("ZDUR")) == QStringLiteral("İ")) {
            TFRMBRMEKLE1 dialog(m_session, m_record->routing(), this);
            connect(&dialog, &TFRMBRMEKLE::routed, this, &TFRMGIDEN::showRecipients);
            m_runner.run(dialog);
        } else if (const int body = pickBody ? pickBody() : 0; body > 0) {
            m_record->addRecipientBody(body);
        }
        showRecipients();
    });
}

void TFRMGIDEN::addNewBody()
{
    if (plain(m_record->value("ZDUR")) == QStringLiteral("İ") || !addBody)
        return;
    guarded(m_session, [&] {
        if (const int body = addBody(); body > 0)
            m_record->addRecipientBody(body);
        showRecipients();
    });
}

void TFRMGIDEN::removeRecipient()
{
    guarded(m_session, [&] {
        m_record->routing().remove(m_recipientsGrid->currentRow());
        showRecipients();
    });
}

void TFRMGIDEN::chooseRelated(const std::function<int()> &picker, const QString &ilgdur)
{
    if (!picker)
        return;
    const int chosen = picker();
    if (chosen <= 0)
        return;
    m_record->reply().choose(chosen, ilgdur);
    showRelated();
}

void TFRMGIDEN::answerIncoming()
{
    chooseRelated(pickIncoming, related::kIncoming);
}

void TFRMGIDEN::answerPetition()
{
    chooseRelated(pickPetition, related::kPetition);
}

void TFRMGIDEN::removeRelated()
{
    if (m_record->reply().remove(m_session.prompt())) {
        for (QLabel *l : {m_relatedKindLabel, m_relatedNumberLabel, m_relatedDateLabel, m_relatedUnitLabel,
                          m_relatedSubjectLabel})
            l->clear();
    }
}

void TFRMGIDEN::METINDUZENLE()
{
    // The letter joins the record's attachments, which the group keeps until F5.
    AttachmentsGroup *group = m_attachmentsGroup;
    if (TFRMWORD::write(m_session, m_runner, this, group->attachments(), letterFields()))
        group->refresh(group->attachments().rowCount() - 1);
}

void TFRMGIDEN::connectTextEditor()
{
    AttachmentsGroup *group = m_attachmentsGroup;
    group->editText = [this, group](int row) {
        if (!TFRMMETIN::edits(group->attachments().value(row, QStringLiteral("BELTUR")).toString().trimmed()))
            return false;
        return TFRMMETIN::edit(m_session, m_runner, this, group->attachments(), row);
    };
}

texts::LetterFields TFRMGIDEN::letterFields() const
{
    // A subject typed and not saved yet counts: the letter is written from the screen.
    return {QDate::fromString(m_dateEdit->text(), QStringLiteral("dd/MM/yyyy")), m_numberEdit->text().trimmed().toInt(),
            m_subjectEdit->toPlainText()};
}

bool TFRMGIDEN::collect()
{
    OutgoingRecord &r = *m_record;
    struct DateField { QLineEdit *box; const char *column; };
    for (const DateField &f : {DateField{m_deliveryDateEdit, "ZTAR"}, DateField{m_referenceDateEdit, "EVTAR"},
                               DateField{m_replyDateEdit, "CEVTAR"}}) {
        if (f.box->text().remove(u'/').trimmed().isEmpty()) {
            r.setValue(QLatin1String(f.column), QVariant());
            continue;
        }
        const QDate d = QDate::fromString(f.box->text(), QStringLiteral("dd/MM/yyyy"));
        if (!d.isValid()) {
            m_session.prompt().message(QStringLiteral("DİKKAT! «%1» geçerli bir tarih değil (gün/ay/yıl).")
                                           .arg(OutgoingRecord::caption(QLatin1String(f.column))));
            f.box->setFocus();
            return false;
        }
        r.setValue(QLatin1String(f.column), d);
    }
    r.setValue("GIDNO", numberOf(m_numberEdit));
    r.setValue("SDP", textOf(m_fileCodeCombo->currentData().toString()));
    r.setValue("BSIRNO", numberOf(m_departmentNumberEdit));
    r.setValue("TESADI", textOf(m_signerNameEdit->text()));
    r.setValue("TESGOR", textOf(m_signerTitleEdit->text()));
    r.setValue("ZNO", textOf(m_deliveryNumberEdit->text().trimmed()));
    r.setValue("GSIRNO", numberOf(m_confidentialityNumberEdit));
    r.setValue("DOSYA", textOf(m_fileNoteEdit->text()));
    r.setValue("KRMSURE", numberOf(m_retentionEdit));
    r.setValue("BIRIM", textOf(m_addresseeEdit->text()));
    r.setValue("EVSAY", textOf(m_referenceEdit->text()));
    r.setValue("KONU", textOf(m_subjectEdit->toPlainText()));
    r.setValue("GACIK", textOf(m_dispatchNoteEdit->text()));
    r.setValue("EKSAY", numberOf(m_enclosureCountEdit));
    r.setValue("EK", textOf(m_enclosuresEdit->toPlainText()));
    return true;
}

void TFRMGIDEN::save()
{
    if (!collect())
        return;
    bool saved = false;
    guarded(m_session, [&] { saved = m_record->save(m_dateEdit->text()); });
    if (saved) {
        // BEKLEYEN keeps, and a message names, whatever did not reach the folder or the server.
        guarded(m_session, [&] { m_attachmentsGroup->saved(); });
        closeForm(1);
        return;
    }
    // The numbers the save would have given are not shown; what was typed stays.
    m_numberEdit->setText(plain(m_record->value("GIDNO")));
    m_deliveryNumberEdit->setText(plain(m_record->value("ZNO")));
    m_confidentialityNumberEdit->setText(plain(m_record->value("GSIRNO")));
    showSender();
    if (m_dateEdit->text().mid(6, 4) != m_session.workstation.year)
        m_dateEdit->setFocus();
}

void TFRMGIDEN::cancel()
{
    guarded(m_session, [&] {
        m_record->cancel();
        m_attachmentsGroup->cancel();
    });
    closeForm(0);
}

reports::ReportDesk &TFRMGIDEN::reportDesk()
{
    if (!m_reports)
        m_reports = std::make_unique<reports::ReportDesk>(m_session, this);
    return *m_reports;
}

void TFRMGIDEN::printSheet()
{
    // The sheet carries what the screen shows, saved or not.
    reports::RecordSheet sheet;
    sheet.number = m_numberEdit->text();
    sheet.date = m_dateEdit->text();
    sheet.fileHeading = m_mainFileCodeLabel->text();
    sheet.fileCode = m_fileCodeLabel->text();
    sheet.department = m_departmentCombo->currentText();
    sheet.receiverName = m_signerNameEdit->text();
    sheet.receiverTitle = m_signerTitleEdit->text();
    sheet.handOverKind = m_deliveryCombo->currentText();
    sheet.handOverNumber = m_deliveryNumberEdit->text();
    sheet.handOverDate = m_deliveryDateEdit->text();
    sheet.confidentiality = m_confidentialityCombo->currentText();
    sheet.fileAction = m_fileNoteEdit->text();
    sheet.keepingPeriod = m_retentionEdit->text();
    QStringList places;
    for (int r = 0; r < m_recipientsGrid->rowCount(); ++r) {
        if (const QTableWidgetItem *name = m_recipientsGrid->item(r, 1))
            places << name->text();
    }
    sheet.body = places.join(QStringLiteral(", "));
    sheet.unit = m_addresseeEdit->text();
    sheet.documentNumber = m_referenceEdit->text();
    sheet.documentDate = m_referenceDateEdit->text();
    sheet.way = m_dispatchCombo->currentText();
    sheet.enclosures = m_enclosureCountEdit->text();
    sheet.enclosureText = m_enclosuresEdit->toPlainText();
    sheet.subject = m_subjectEdit->toPlainText();
    guarded(m_session, [&] { reportDesk().printOutgoingSheet(sheet); });
}
