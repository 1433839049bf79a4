#include "ungelen.h"

#include "unbrmekle.h"

#include "definitions/ui/unkurbil.h"
#include "definitions/ui/unkurbul.h"
#include "definitions/ui/unsdpbul.h"
#include "kit/hakver.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"

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

const QString kNotYet = QStringLiteral("Bu ekran henüz kullanıma hazır değil.");

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
    auto *grid = new QGridLayout;
    int row = 0;
    auto label = [&](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto line = [&](const QString &text, QWidget *buddy, QLayout *content) {
        grid->addWidget(label(text, buddy), row, 0, Qt::AlignRight | Qt::AlignTop);
        grid->addLayout(content, row++, 1);
    };
    auto hbox = [](std::initializer_list<QWidget *> ws, bool stretch = true) {
        auto *h = new QHBoxLayout;
        for (QWidget *w : ws)
            h->addWidget(w);
        if (stretch)
            h->addStretch();
        return h;
    };

    EditGELNO = numberBox(this);
    EditGELNO->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    EditGELTAR = dateBox(this);
    LabelKAYNO = new QLabel(this);
    LabelKAYNO->setToolTip(QStringLiteral("Kayıt anahtarı"));
    line(QStringLiteral(" Kayıt &No / Tarihi"), EditGELNO, hbox({EditGELNO, EditGELTAR, LabelKAYNO}));

    ComboSDP = new QComboBox(this);
    ComboSDP->setMinimumContentsLength(40);
    SpeedButtonSDP = new QToolButton(this);
    SpeedButtonSDP->setText(QStringLiteral("..."));
    SpeedButtonSDP->setToolTip(QStringLiteral("Standart Dosya Planı"));
    line(QStringLiteral("Std. &Dosya Kodu"), ComboSDP, hbox({ComboSDP, SpeedButtonSDP}));
    SACK1 = new QLabel(this);
    SACK2 = new QLabel(this);
    grid->addLayout(hbox({SACK1}), row++, 1);
    grid->addLayout(hbox({SACK2}), row++, 1);

    GridBirim = new QTableWidget(0, 2, this);
    GridBirim->setHorizontalHeaderLabels({QStringLiteral("Kodu"), QStringLiteral("Birim Adı")});
    GridBirim->horizontalHeader()->setStretchLastSection(true);
    GridBirim->verticalHeader()->hide();
    GridBirim->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridBirim->setSelectionMode(QAbstractItemView::SingleSelection);
    GridBirim->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridBirim->setMaximumHeight(110);
    GridBirim->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *sil = new QAction(QStringLiteral("Sil"), GridBirim);
    sil->setShortcut(Qt::Key_Delete);
    sil->setShortcutContext(Qt::WidgetShortcut);
    GridBirim->addAction(sil);
    connect(sil, &QAction::triggered, this, &TFRMGELEN::removeDepartment);
    SpeedButtonBirim = new QToolButton(this);
    SpeedButtonBirim->setText(QStringLiteral("..."));
    SpeedButtonBirim->setToolTip(QStringLiteral("Birim Seçimi"));
    EditBSIRNO = numberBox(this);
    EditBSIRNO->setToolTip(QStringLiteral("Birim Sıra Numarası"));
    EditBSIRNO->setPlaceholderText(QStringLiteral("Birim Sıra No"));
    auto *birim = new QHBoxLayout;
    birim->addWidget(GridBirim, 1);
    auto *birimSide = new QVBoxLayout;
    birimSide->addWidget(SpeedButtonBirim);
    birimSide->addWidget(EditBSIRNO);
    birimSide->addStretch();
    birim->addLayout(birimSide);
    line(QStringLiteral(" Verildiği &Birim"), GridBirim, birim);

    EditTESADI = textBox(this, 20);
    line(QStringLiteral(" Teslim Alan Adı S."), EditTESADI, hbox({EditTESADI}));
    EditTESGOR = textBox(this, 20);
    line(QStringLiteral(" Teslim Alan Görevi"), EditTESGOR, hbox({EditTESGOR}));

    ComboZDUR = choiceBox(this, {QStringLiteral("İç"), QStringLiteral("Dış")});
    EditZNO = textBox(this, 15);
    EditZNO->setMaximumWidth(130);
    EditZNO->setPlaceholderText(QStringLiteral("kayıtta verilir"));
    EditZTAR = dateBox(this);
    line(QStringLiteral(" &Zimmet Dur./No/Tar:"), ComboZDUR, hbox({ComboZDUR, EditZNO, EditZTAR}));

    ComboETKOD = new QComboBox(this);
    line(QStringLiteral(" Evrak &Türü"), ComboETKOD, hbox({ComboETKOD}));
    ComboGIZDER = choiceBox(this, {QStringLiteral("Hizmete Özel"), QStringLiteral("Kişiye Özel"),
                                   QStringLiteral("Gizli"), QStringLiteral("Çok Gizli")});
    EditGSIRNO = numberBox(this);
    EditGSIRNO->setToolTip(QStringLiteral("Gizlilik No"));
    line(QStringLiteral(" &Gizlilik Derecesi"), ComboGIZDER, hbox({ComboGIZDER, EditGSIRNO}));
    EditDOSYA = textBox(this, 20);
    line(QStringLiteral("Dosya İşlemi "), EditDOSYA, hbox({EditDOSYA}));
    EditKRMSURE = numberBox(this);
    EditKRMSURE->setFocusPolicy(Qt::ClickFocus); // skipped by Tab
    line(QStringLiteral("Saklama Süresi "), EditKRMSURE, hbox({EditKRMSURE}));

    ComboKURKOD = new QComboBox(this);
    ComboKURKOD->setMinimumContentsLength(40);
    ComboKURKOD->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *kurumEkle = new QAction(QStringLiteral("Kurum Tanımı Ekle"), ComboKURKOD);
    kurumEkle->setObjectName(QStringLiteral("KurumTanimiEkle"));
    ComboKURKOD->addAction(kurumEkle);
    connect(kurumEkle, &QAction::triggered, this, &TFRMGELEN::addNewBody);
    SpeedButtonKurum = new QToolButton(this);
    SpeedButtonKurum->setText(QStringLiteral("..."));
    SpeedButtonKurum->setToolTip(QStringLiteral("Kurum Bul"));
    line(QStringLiteral(" Geldiği &Yer"), ComboKURKOD, hbox({ComboKURKOD, SpeedButtonKurum}));
    EditBIRIM = textBox(this, 50);
    line(QStringLiteral("Gönderen Birim"), EditBIRIM, hbox({EditBIRIM}, false));
    EditEVSAY = textBox(this, 50);
    EditEVTAR = dateBox(this);
    line(QStringLiteral(" Evrak No (&Sayı)/Tarih"), EditEVSAY, hbox({EditEVSAY, EditEVTAR}, false));
    MemoKONU = new QPlainTextEdit(this);
    MemoKONU->setTabChangesFocus(true);
    MemoKONU->setMaximumHeight(70);
    MemoKONU->viewport()->installEventFilter(this);
    line(QStringLiteral(" K&onusu (Özü)"), MemoKONU, hbox({MemoKONU}, false));
    ComboGSEKLI = choiceBox(this, {QStringLiteral("Posta İle"), QStringLiteral("Elden"),
                                   QStringLiteral("e-Posta"), QStringLiteral("Diğer")});
    EditGACIK = textBox(this, 40);
    line(QStringLiteral(" Geliş Şekli"), ComboGSEKLI, hbox({ComboGSEKLI, EditGACIK}, false));
    EditEKSAY = numberBox(this);
    MemoEK = new QPlainTextEdit(this);
    MemoEK->setTabChangesFocus(true);
    MemoEK->setMaximumHeight(50);
    line(QStringLiteral(" &Eki"), EditEKSAY, hbox({EditEKSAY, MemoEK}, false));

    // Right-hand column: attachments, related document, answer.
    GroupBelge = new QGroupBox(QStringLiteral("Gelen Evrak"), this);
    auto *belge = new QVBoxLayout(GroupBelge);
    auto *belgeButtons = new QHBoxLayout;
    for (const char *caption : {"Ekle", "Değiş", "Sil", "Yazdır", "Detay"}) {
        auto *b = new QPushButton(QString::fromUtf8(caption), GroupBelge);
        b->setObjectName(QStringLiteral("Belge") + QString::fromUtf8(caption));
        b->setEnabled(false);
        b->setToolTip(QStringLiteral("Belge ekleme bu sürümde henüz yok."));
        belgeButtons->addWidget(b);
    }
    auto *belgeNote = new QLabel(QStringLiteral("Taranmış sayfa ve dosya ekleme bu sürümde henüz yok."), GroupBelge);
    belgeNote->setWordWrap(true);
    belge->addWidget(belgeNote);
    belge->addStretch();
    belge->addLayout(belgeButtons);

    auto *ilgili = new QGroupBox(QStringLiteral("İlgili Olduğu Evrak Bilgileri (Giden Evrak İçin Cevap İse Belirtiniz)"), this);
    auto *ilgiliGrid = new QGridLayout(ilgili);
    LabelIlgNo = new QLabel(ilgili);
    LabelIlgTarih = new QLabel(ilgili);
    LabelIlgBirim = new QLabel(ilgili);
    LabelIlgKonu = new QLabel(ilgili);
    LabelIlgKonu->setWordWrap(true);
    int r = 0;
    for (auto [caption, value] : {std::pair{" Evrak No ", LabelIlgNo}, {" Tarihi", LabelIlgTarih},
                                  {" Birimi", LabelIlgBirim}, {" Konusu (Özü)", LabelIlgKonu}}) {
        ilgiliGrid->addWidget(new QLabel(QString::fromUtf8(caption), ilgili), r, 0);
        ilgiliGrid->addWidget(value, r++, 1);
    }
    ButtonIlgBul = new QPushButton(QStringLiteral("Bul"), ilgili);
    ButtonIlgSil = new QPushButton(QStringLiteral("Sil"), ilgili);
    ilgiliGrid->addLayout(hbox({ButtonIlgBul, ButtonIlgSil}), r, 1);

    auto *cevap = new QGroupBox(QStringLiteral("Cevap Durumu"), this);
    auto *cevapGrid = new QGridLayout(cevap);
    ComboCEVDUR = choiceBox(cevap, {QStringLiteral("Evet"), QStringLiteral("Hayır")});
    EditCEVTAR = dateBox(cevap);
    EditCEVTAR->installEventFilter(this);
    LabelCevtar = new QLabel(QStringLiteral("Son Cevap Tar"), cevap);
    LabelCevapDurum = new QLabel(cevap);
    LabelCevapBilgi = new QLabel(cevap);
    auto *cevapLabel = new QLabel(QStringLiteral(" &Cevap Bekleniyor"), cevap);
    cevapLabel->setBuddy(ComboCEVDUR);
    cevapGrid->addWidget(cevapLabel, 0, 0);
    cevapGrid->addWidget(ComboCEVDUR, 0, 1);
    cevapGrid->addWidget(LabelCevtar, 1, 0);
    cevapGrid->addWidget(EditCEVTAR, 1, 1);
    cevapGrid->addWidget(LabelCevapDurum, 2, 0, 1, 2);
    cevapGrid->addWidget(LabelCevapBilgi, 3, 0, 1, 2);

    auto *right = new QVBoxLayout;
    right->addWidget(GroupBelge, 1);
    right->addWidget(ilgili);
    right->addWidget(cevap);

    BitBtn1 = new QPushButton(QStringLiteral("F5-Kayıt"), this);
    BitBtn2 = new QPushButton(QStringLiteral("F6-Vazgeç"), this);
    BitBtn3 = new QPushButton(QStringLiteral("F7-Yazdır"), this);
    for (QPushButton *b : {BitBtn1, BitBtn2, BitBtn3})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);

    auto *columns = new QHBoxLayout;
    columns->addLayout(grid, 3);
    columns->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &TFRMGELEN::save);
    connect(BitBtn2, &QPushButton::clicked, this, &TFRMGELEN::cancel);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { m_session.prompt().message(kNotYet); });
    bindKey(BitBtn1, Qt::Key_F5);
    bindKey(BitBtn2, Qt::Key_F6);
    bindKey(BitBtn3, Qt::Key_F7);

    connect(SpeedButtonSDP, &QToolButton::clicked, this, [this] {
        if (!pickFileCode) {
            m_session.prompt().message(kNotYet);
            return;
        }
        const QString code = pickFileCode();
        if (code.isEmpty())
            return;
        int i = ComboSDP->findData(code);
        if (i < 0) {
            ComboSDP->addItem(code, code);
            i = ComboSDP->count() - 1;
        }
        ComboSDP->setCurrentIndex(i);
    });
    connect(ComboSDP, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        m_record->setValue("SDP", textOf(ComboSDP->currentData().toString()));
        guarded(m_session, [this] { showFileCodeTexts(); });
    });
    connect(SpeedButtonKurum, &QToolButton::clicked, this, [this] {
        if (!pickBody) {
            m_session.prompt().message(kNotYet);
            return;
        }
        if (const int body = pickBody(); body > 0)
            ComboKURKOD->setCurrentIndex(qMax(0, ComboKURKOD->findData(body)));
    });
    connect(SpeedButtonBirim, &QToolButton::clicked, this, &TFRMGELEN::chooseDepartments);
    connect(GridBirim, &QTableWidget::currentCellChanged, this, &TFRMGELEN::routingRowChanged);
    connect(EditTESADI, &QLineEdit::textEdited, this, &TFRMGELEN::storeReceiver);
    connect(EditTESGOR, &QLineEdit::textEdited, this, &TFRMGELEN::storeReceiver);
    // Coded boxes write their column only when the user changes them: a stored
    // value that matches no entry is kept as it is.
    connect(ComboZDUR, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("ZDUR", kZDUR[i]);
    });
    connect(ComboGSEKLI, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_filling && i >= 0)
            m_record->setValue("GSEKLI", kGSEKLI[i]);
    });
    connect(ComboGIZDER, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_filling || i < 0)
            return;
        guarded(m_session, [&] { m_record->setGIZDER(kGIZDER[i]); });
        EditGSIRNO->setText(plain(m_record->value("GSIRNO")));
    });
    connect(ComboCEVDUR, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_filling || i < 0)
            return;
        if (m_record->mode() == IncomingRecord::Edit && !LabelCevapBilgi->text().isEmpty()) {
            m_session.prompt().message(QStringLiteral(
                "Cevap verilmiş belgeyiyi değiştiremezsiniz\nÖnce Cevap durumunu kaldırınız."));
            m_filling = true;
            ComboCEVDUR->setCurrentIndex(1 - i);
            m_filling = false;
            return;
        }
        m_record->setValue("CEVDUR", kCEVDUR[i]);
        for (QWidget *w : std::initializer_list<QWidget *>{LabelCevtar, EditCEVTAR, LabelCevapDurum, LabelCevapBilgi})
            w->setVisible(i == 0);
    });
    connect(ButtonIlgBul, &QPushButton::clicked, this, [this] { m_session.prompt().message(kNotYet); });
    connect(ButtonIlgSil, &QPushButton::clicked, this, [this] {
        if (m_record->removeReply()) {
            for (QLabel *l : {LabelIlgNo, LabelIlgTarih, LabelIlgBirim, LabelIlgKonu})
                l->clear();
        }
    });
}

bool TFRMGELEN::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == MemoKONU->viewport()) {
            MemoKONU->setPlainText(SACK2->text());
            return true;
        }
        if (watched == EditCEVTAR) {
            EditCEVTAR->clear();
            return true;
        }
    }
    return KelmaForm::eventFilter(watched, event);
}

void TFRMGELEN::fillLookups()
{
    m_filling = true;
    Connections &db = m_session.db;
    ComboSDP->clear();
    ComboSDP->addItem(QString(), QString());
    for (const QVariantList &r : db.IBTransaction1.rows(QStringLiteral(
             "SELECT KOD,ACIK FROM SDP WHERE TUR='D' ORDER BY ACIK")))
        ComboSDP->addItem(QStringLiteral("%1  %2").arg(r[0].toString(), r[1].toString()), r[0]);
    fillBodies();
    ComboETKOD->clear();
    ComboETKOD->addItem(QString(), QVariant());
    for (const QVariantList &r : db.IBTransaction1.rows(QStringLiteral("SELECT ETKOD,EVTUR FROM EVTUR ORDER BY ETKOD")))
        ComboETKOD->addItem(r[1].toString(), r[0]);
    m_filling = false;
}

void TFRMGELEN::fillBodies()
{
    const bool filling = m_filling;
    m_filling = true;
    fb::Transaction &t = m_session.db.IBTransaction2;
    // Read afresh so that bodies other workstations added are there.
    t.commit();
    ComboKURKOD->clear();
    ComboKURKOD->addItem(QString(), 0);
    for (const QVariantList &r : t.rows(QStringLiteral(
             "SELECT BKOD,BIRIM FROM BIRIM WHERE TUR='K' ORDER BY BIRIM")))
        ComboKURKOD->addItem(r[1].toString(), r[0]);
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
        .govern(BitBtn1, tag == 2 ? rights::Flag::D : rights::Flag::K)
        .apply();
    HAKVER(m_session, 24)
        .govern(ComboKURKOD->actions().value(0), rights::Flag::K)
        .govern(SpeedButtonKurum, rights::Flag::G)
        .apply();
    ComboSDP->setFocus();
}

void TFRMGELEN::showRecord()
{
    m_filling = true;
    IncomingRecord &r = *m_record;
    EditGELNO->setText(plain(r.value("GELNO")));
    EditGELTAR->setText(dateText(r.value("GELTAR")));
    LabelKAYNO->setText(QStringLiteral("Kayıt anahtarı: %1").arg(r.kayno()));
    const int sdp = ComboSDP->findData(plain(r.value("SDP")));
    if (sdp < 0 && !plain(r.value("SDP")).isEmpty())
        ComboSDP->addItem(plain(r.value("SDP")), r.value("SDP"));
    ComboSDP->setCurrentIndex(qMax(0, ComboSDP->findData(plain(r.value("SDP")))));
    EditBSIRNO->setText(plain(r.value("BSIRNO")));
    if (int i = indexOf(kZDUR, r.value("ZDUR")); i >= 0)
        ComboZDUR->setCurrentIndex(i);
    EditZNO->setText(plain(r.value("ZNO")));
    EditZTAR->setText(dateText(r.value("ZTAR")));
    ComboETKOD->setCurrentIndex(qMax(0, ComboETKOD->findData(r.value("ETKOD"))));
    if (int i = indexOf(kGIZDER, r.value("GIZDER")); i >= 0)
        ComboGIZDER->setCurrentIndex(i);
    EditGSIRNO->setText(plain(r.value("GSIRNO")));
    EditDOSYA->setText(plain(r.value("DOSYA")));
    EditKRMSURE->setText(plain(r.value("KRMSURE")));
    ComboKURKOD->setCurrentIndex(qMax(0, ComboKURKOD->findData(r.value("KURKOD").toInt())));
    EditBIRIM->setText(plain(r.value("BIRIM")));
    EditEVSAY->setText(plain(r.value("EVSAY")));
    EditEVTAR->setText(dateText(r.value("EVTAR")));
    MemoKONU->setPlainText(plain(r.value("KONU")));
    if (int i = indexOf(kGSEKLI, r.value("GSEKLI")); i >= 0)
        ComboGSEKLI->setCurrentIndex(i);
    EditGACIK->setText(plain(r.value("GACIK")));
    EditEKSAY->setText(plain(r.value("EKSAY")));
    MemoEK->setPlainText(plain(r.value("EK")));
    if (int i = indexOf(kCEVDUR, r.value("CEVDUR")); i >= 0)
        ComboCEVDUR->setCurrentIndex(i);
    EditCEVTAR->setText(dateText(r.value("CEVTAR")));
    m_filling = false;
    showFileCodeTexts();
    showRouting();
    showRelated();
    showAnswer();
}

void TFRMGELEN::showFileCodeTexts()
{
    SACK1->setText(m_record->SACK1());
    SACK2->setText(m_record->SACK2());
}

void TFRMGELEN::showRelated()
{
    const QStringList t = m_record->mode() == IncomingRecord::Edit || m_record->replyChosen()
        ? m_record->ILGIGETIR() : QStringList{QString(), QString(), QString(), QString()};
    LabelIlgNo->setText(t.value(0));
    LabelIlgTarih->setText(t.value(1));
    LabelIlgBirim->setText(t.value(2));
    LabelIlgKonu->setText(t.value(3));
}

void TFRMGELEN::showAnswer()
{
    const bool waits = plain(m_record->value("CEVDUR")) == QLatin1String("E");
    LabelCevapDurum->clear();
    LabelCevapBilgi->clear();
    if (waits && m_record->mode() == IncomingRecord::Edit) {
        const QStringList a = m_record->CEVAPGETIR();
        LabelCevapDurum->setText(a.value(0));
        LabelCevapBilgi->setText(a.value(1));
    }
    for (QWidget *w : std::initializer_list<QWidget *>{LabelCevtar, EditCEVTAR, LabelCevapDurum, LabelCevapBilgi})
        w->setVisible(waits);
}

void TFRMGELEN::showRouting()
{
    CachedRecords &rows = m_record->routing().rows();
    m_filling = true;
    GridBirim->setRowCount(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        GridBirim->setItem(r, 0, new QTableWidgetItem(plain(rows.value(r, "BKOD"))));
        GridBirim->setItem(r, 1, new QTableWidgetItem(plain(rows.value(r, "BIRIM"))));
    }
    m_filling = false;
    if (rows.rowCount() > 0)
        GridBirim->setCurrentCell(0, 1);
    routingRowChanged();
}

void TFRMGELEN::routingRowChanged()
{
    if (m_filling)
        return;
    const int r = GridBirim->currentRow();
    CachedRecords &rows = m_record->routing().rows();
    const bool any = r >= 0 && r < rows.rowCount();
    EditTESADI->setEnabled(any);
    EditTESGOR->setEnabled(any);
    EditTESADI->setText(any ? plain(rows.value(r, "TESADI")) : QString());
    EditTESGOR->setText(any ? plain(rows.value(r, "TESGOR")) : QString());
}

void TFRMGELEN::storeReceiver()
{
    const int r = GridBirim->currentRow();
    CachedRecords &rows = m_record->routing().rows();
    if (r < 0 || r >= rows.rowCount())
        return;
    rows.setValue(r, "TESADI", textOf(EditTESADI->text()));
    rows.setValue(r, "TESGOR", textOf(EditTESGOR->text()));
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
        m_record->routing().remove(GridBirim->currentRow());
        showRouting();
    });
}

void TFRMGELEN::addNewBody()
{
    guarded(m_session, [&] {
        if (!addBody) {
            m_session.prompt().message(kNotYet);
            return;
        }
        const int body = addBody();
        if (body <= 0)
            return;
        // Only the body list: everything typed so far stays in its boxes.
        fillBodies();
        ComboKURKOD->setCurrentIndex(qMax(0, ComboKURKOD->findData(body)));
    });
}

bool TFRMGELEN::collect()
{
    IncomingRecord &r = *m_record;
    struct DateField { QLineEdit *box; const char *column; };
    for (const DateField &f : {DateField{EditZTAR, "ZTAR"}, DateField{EditEVTAR, "EVTAR"},
                               DateField{EditCEVTAR, "CEVTAR"}}) {
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
    r.setValue("GELNO", numberOf(EditGELNO));
    r.setValue("SDP", textOf(ComboSDP->currentData().toString()));
    r.setValue("BSIRNO", numberOf(EditBSIRNO));
    r.setValue("ZNO", textOf(EditZNO->text().trimmed()));
    r.setValue("ETKOD", ComboETKOD->currentData());
    r.setValue("GSIRNO", numberOf(EditGSIRNO));
    r.setValue("DOSYA", textOf(EditDOSYA->text()));
    r.setValue("KRMSURE", numberOf(EditKRMSURE));
    r.setValue("KURKOD", ComboKURKOD->currentData().toInt() ? ComboKURKOD->currentData() : QVariant());
    r.setValue("BIRIM", textOf(EditBIRIM->text()));
    r.setValue("EVSAY", textOf(EditEVSAY->text()));
    r.setValue("KONU", textOf(MemoKONU->toPlainText()));
    r.setValue("GACIK", textOf(EditGACIK->text()));
    r.setValue("EKSAY", numberOf(EditEKSAY));
    r.setValue("EK", textOf(MemoEK->toPlainText()));
    return true;
}

void TFRMGELEN::save()
{
    if (!collect())
        return;
    bool saved = false;
    guarded(m_session, [&] { saved = m_record->save(EditGELTAR->text()); });
    if (saved) {
        closeForm(1);
        return;
    }
    // The numbers the save would have given are not shown; what was typed stays.
    EditGELNO->setText(plain(m_record->value("GELNO")));
    EditZNO->setText(plain(m_record->value("ZNO")));
    EditGSIRNO->setText(plain(m_record->value("GSIRNO")));
    if (EditGELTAR->text().mid(6, 4) != m_session.workstation.year)
        EditGELTAR->setFocus();
}

void TFRMGELEN::cancel()
{
    guarded(m_session, [&] { m_record->cancel(); });
    // Whatever the rollback said, F6 leaves the screen: nothing was saved.
    closeForm(0);
}
