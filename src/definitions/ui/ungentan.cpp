#include "ungentan.h"

#include "kit/gridparts.h"
#include "recordparts.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QComboBox *choiceBox(QWidget *parent, const Choices &items)
{
    auto *box = new QComboBox(parent);
    for (const Choice &c : items)
        box->addItem(c.caption, c.code);
    box->setCurrentIndex(-1);
    return box;
}

/// A value that matches no item leaves the box as it was.
void select(QComboBox *box, int index)
{
    if (index >= 0)
        box->setCurrentIndex(index);
}

} // namespace

TFRMGENTAN::TFRMGENTAN(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , m_definitions(session)
{
    setWindowTitle(QStringLiteral("GENEL TANIMLAR"));
    PageControl1 = new QTabWidget(this);

    auto *general = new QWidget(PageControl1);
    auto *g = new QFormLayout(general);
    EditKURUM = new QLineEdit(general);
    EditSUBE = new QLineEdit(general);
    MaskEdit1 = new QLineEdit(general);
    MaskEdit1->setInputMask(QStringLiteral("9999"));
    MaskEdit1->setMaximumWidth(80);
    ComboRenk = choiceBox(general, GeneralDefinitions::colours());
    ComboONIZ = choiceBox(general, GeneralDefinitions::yesNo());
    ComboIL = new QComboBox(general);
    ComboILCE = new QComboBox(general);
    ComboABT = choiceBox(general, GeneralDefinitions::fileTypes());
    g->addRow(QStringLiteral("Kurum Adı"), EditKURUM);
    g->addRow(QStringLiteral("Birim Adı"), EditSUBE);
    g->addRow(QStringLiteral("Çalışma Yılı"), MaskEdit1);
    g->addRow(QStringLiteral("Form Rengi"), ComboRenk);
    g->addRow(QStringLiteral("Yazıcı Önizleme"), ComboONIZ);
    g->addRow(QStringLiteral("İli"), ComboIL);
    g->addRow(QStringLiteral("İlçesi"), ComboILCE);
    g->addRow(QStringLiteral("Geçerli Belge Türü"), ComboABT);
    PageControl1->addTab(general, QStringLiteral("Genel"));

    auto *notes = new QWidget(PageControl1);
    auto *n = new QFormLayout(notes);
    ImageLOGO = new QLabel(notes);
    ImageLOGO->setFixedSize(160, 160);
    ImageLOGO->setFrameShape(QFrame::Box);
    ImageLOGO->setAlignment(Qt::AlignCenter);
    BitBtnEkle = gridparts::button(notes, QStringLiteral("Ekle"));
    BitBtnSil = gridparts::button(notes, QStringLiteral("Sil"));
    auto *logoButtons = new QVBoxLayout;
    logoButtons->addWidget(BitBtnEkle);
    logoButtons->addWidget(BitBtnSil);
    logoButtons->addStretch();
    auto *logoRow = new QHBoxLayout;
    logoRow->addWidget(ImageLOGO);
    logoRow->addLayout(logoButtons);
    logoRow->addStretch();
    MemoBASLIK = new QPlainTextEdit(notes);
    ComboESDUR = choiceBox(notes, GeneralDefinitions::numbering());
    n->addRow(QStringLiteral("Kurum Amblemi"), logoRow);
    n->addRow(QStringLiteral("Giden Evrak Başlık Açıklaması"), MemoBASLIK);
    n->addRow(QStringLiteral("Sayı Dur"), ComboESDUR);
    PageControl1->addTab(notes, QStringLiteral("Açıklama"));

    auto *other = new QWidget(PageControl1);
    auto *o = new QFormLayout(other);
    ComboSRVSAKLA = choiceBox(other, GeneralDefinitions::yesNo());
    ComboVTSAKLA = choiceBox(other, GeneralDefinitions::yesNo());
    ComboTRMSAKLA = choiceBox(other, GeneralDefinitions::yesNo());
    ComboMSVER = choiceBox(other, GeneralDefinitions::office());
    ComboOKUMA = choiceBox(other, GeneralDefinitions::readModes());
    EDLOCAL = new QLineEdit(other);
    GroupSunucu = new QGroupBox(QStringLiteral("Sunucu Bilgileri"), other);
    auto *server = new QFormLayout(GroupSunucu);
    EditSRVIPNO = new QLineEdit(GroupSunucu);
    EditSRVPORT = new QLineEdit(GroupSunucu);
    EditSRVPORT->setMaximumWidth(80);
    server->addRow(QStringLiteral("Dosya Sunucu"), EditSRVIPNO);
    server->addRow(QStringLiteral("Sunucu Portu"), EditSRVPORT);
    o->addRow(QStringLiteral("Sunucuda Saklansın"), ComboSRVSAKLA);
    o->addRow(QStringLiteral("Veritabanında Saklansın"), ComboVTSAKLA);
    o->addRow(QStringLiteral("Terminalde Saklansın"), ComboTRMSAKLA);
    o->addRow(QStringLiteral("Microsoft Office"), ComboMSVER);
    o->addRow(QStringLiteral("Belge Okuma Ortamı"), ComboOKUMA);
    o->addRow(QStringLiteral("Yerel Dosya Yolu"), EDLOCAL);
    o->addRow(GroupSunucu);
    PageControl1->addTab(other, QStringLiteral("Diğer"));

    SpeedButton3 = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    SpeedButton4 = gridparts::button(this, QStringLiteral("F6-İptal"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {SpeedButton3, SpeedButton4}));
    resize(620, 520);

    connect(ComboIL, &QComboBox::activated, this, [this] {
        // The same province again keeps its district.
        if (ComboIL->currentData().toString() != m_districtsOf)
            fillDistricts(ComboIL->currentData().toString());
    });
    connect(ComboSRVSAKLA, &QComboBox::currentIndexChanged, this, &TFRMGENTAN::serverChoiceChanged);
    connect(BitBtnEkle, &QPushButton::clicked, this, &TFRMGENTAN::EkleClick);
    connect(BitBtnSil, &QPushButton::clicked, this, &TFRMGENTAN::SilClick);
    connect(SpeedButton3, &QPushButton::clicked, this, &TFRMGENTAN::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TFRMGENTAN::SpeedButton4Click);
    bindKey(SpeedButton3, Qt::Key_F5);
    bindKey(SpeedButton4, Qt::Key_F6);
}

void TFRMGENTAN::FormActivate()
{
    GeneralDefinitions::Values v;
    QList<GeneralDefinitions::Place> provinces;
    const bool opened = guarded(m_session, [&] {
        v = m_definitions.open();
        provinces = m_definitions.provinces();
    });
    if (!opened) {
        // Empty boxes saved would wipe the institution's settings.
        recordparts::closeWhenShown(this);
        return;
    }
    MaskEdit1->setText(v.year);
    PageControl1->setCurrentIndex(0);
    EditKURUM->setText(v.KURUM);
    EditSUBE->setText(v.SUBE);
    ComboIL->clear();
    for (const auto &p : provinces)
        ComboIL->addItem(p.name, p.code);
    ComboIL->setCurrentIndex(ComboIL->findData(v.ILKOD));
    fillDistricts(v.ILKOD);
    ComboILCE->setCurrentIndex(ComboILCE->findData(v.ILCEKOD.toString()));

    select(ComboRenk, v.colour);
    select(ComboONIZ, v.ONIZ);
    select(ComboSRVSAKLA, v.SRVSAKLA);
    select(ComboVTSAKLA, v.VTSAKLA);
    select(ComboTRMSAKLA, v.TRMSAKLA);
    select(ComboMSVER, v.MSVER);
    select(ComboESDUR, v.ESDUR);
    select(ComboOKUMA, v.readMode);
    serverChoiceChanged();
    select(ComboABT, v.ABT);
    MemoBASLIK->setPlainText(v.BASLIK);
    EditSRVIPNO->setText(v.SRVIPNO);
    EditSRVPORT->setText(v.SRVPORT);
    EDLOCAL->setText(v.localFolder);
    showLogo();
    EditKURUM->setFocus();
}

void TFRMGENTAN::fillDistricts(const QString &ILKOD)
{
    QList<GeneralDefinitions::Place> districts;
    guarded(m_session, [&] { districts = m_definitions.districts(ILKOD); });
    m_districtsOf = ILKOD;
    ComboILCE->clear();
    for (const auto &d : districts)
        ComboILCE->addItem(d.name, d.code);
    ComboILCE->setCurrentIndex(-1);
}

void TFRMGENTAN::serverChoiceChanged()
{
    // Only "Evet" and "Hayır" decide; nothing chosen leaves the group as it is.
    if (ComboSRVSAKLA->currentIndex() >= 0)
        GroupSunucu->setEnabled(ComboSRVSAKLA->currentData().toString() == QLatin1String("E"));
}

void TFRMGENTAN::showLogo()
{
    QPixmap picture;
    if (!m_definitions.logo().isEmpty() && picture.loadFromData(m_definitions.logo()))
        ImageLOGO->setPixmap(picture.scaled(ImageLOGO->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        ImageLOGO->clear();
}

void TFRMGENTAN::EkleClick()
{
    const QString file = m_session.prompt().openFile(
        QStringLiteral("Kurum Amblemi"),
        QStringLiteral("Resimler (*.bmp *.ico *.png *.jpg *.jpeg);;Bitmap (*.bmp);;Simge (*.ico);;"
                       "PNG (*.png);;JPEG (*.jpg *.jpeg)"));
    if (file.isEmpty())
        return;
    bool stored = false;
    guarded(m_session, [&] { stored = m_definitions.addLogo(file); });
    if (stored)
        showLogo();
}

void TFRMGENTAN::SilClick()
{
    m_definitions.clearLogo();
    showLogo();
}

void TFRMGENTAN::SpeedButton3Click()
{
    GeneralDefinitions::Values v;
    v.KURUM = EditKURUM->text();
    v.SUBE = EditSUBE->text();
    v.year = MaskEdit1->text();
    v.colour = ComboRenk->currentIndex();
    v.ONIZ = ComboONIZ->currentIndex();
    v.ILKOD = ComboIL->currentIndex() < 0 ? QString() : ComboIL->currentData().toString();
    v.ILCEKOD = ComboILCE->currentIndex() < 0 ? QVariant() : ComboILCE->currentData();
    v.ABT = ComboABT->currentIndex();
    v.BASLIK = MemoBASLIK->toPlainText();
    v.ESDUR = ComboESDUR->currentIndex();
    v.SRVSAKLA = ComboSRVSAKLA->currentIndex();
    v.VTSAKLA = ComboVTSAKLA->currentIndex();
    v.TRMSAKLA = ComboTRMSAKLA->currentIndex();
    v.MSVER = ComboMSVER->currentIndex();
    v.readMode = ComboOKUMA->currentIndex();
    v.localFolder = EDLOCAL->text();
    v.SRVIPNO = EditSRVIPNO->text();
    v.SRVPORT = EditSRVPORT->text();
    bool saved = false;
    guarded(m_session, [&] { saved = m_definitions.save(v); });
    if (!saved)
        return;
    closeForm(1);
}

void TFRMGENTAN::SpeedButton4Click()
{
    closeForm(0);
}
