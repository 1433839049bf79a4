#include "ungentan.h"

#include "kit/gridparts.h"
#include "recordparts.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
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
    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));

    pages->addTab(buildGeneralPage(), QStringLiteral("Genel"));
    pages->addTab(buildNotesPage(), QStringLiteral("Açıklama"));
    pages->addTab(buildOtherPage(), QStringLiteral("Diğer"));

    saveButton = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = gridparts::button(this, QStringLiteral("F6-İptal"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {saveButton, cancelButton}));
    resize(620, 520);

    connect(provinceBox, &QComboBox::activated, this, [this] {
        // The same province again keeps its district.
        if (provinceBox->currentData().toString() != m_districtsOf)
            fillDistricts(provinceBox->currentData().toString());
    });
    connect(keepOnServerBox, &QComboBox::currentIndexChanged, this, &TFRMGENTAN::serverChoiceChanged);
    connect(addEmblemButton, &QPushButton::clicked, this, &TFRMGENTAN::EkleClick);
    connect(removeEmblemButton, &QPushButton::clicked, this, &TFRMGENTAN::SilClick);
    connect(saveButton, &QPushButton::clicked, this, &TFRMGENTAN::SpeedButton3Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMGENTAN::SpeedButton4Click);
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
}

QWidget *TFRMGENTAN::buildGeneralPage()
{
    auto *general = new QWidget(pages);
    auto *g = new QFormLayout(general);
    institutionEdit = new QLineEdit(general);
    institutionEdit->setObjectName(QStringLiteral("institutionEdit"));
    branchEdit = new QLineEdit(general);
    branchEdit->setObjectName(QStringLiteral("branchEdit"));
    yearEdit = new QLineEdit(general);
    yearEdit->setObjectName(QStringLiteral("yearEdit"));
    yearEdit->setInputMask(QStringLiteral("9999"));
    yearEdit->setMaximumWidth(80);
    colourBox = choiceBox(general, GeneralDefinitions::colours());
    colourBox->setObjectName(QStringLiteral("colourBox"));
    previewBox = choiceBox(general, GeneralDefinitions::yesNo());
    previewBox->setObjectName(QStringLiteral("previewBox"));
    provinceBox = new QComboBox(general);
    provinceBox->setObjectName(QStringLiteral("provinceBox"));
    districtBox = new QComboBox(general);
    districtBox->setObjectName(QStringLiteral("districtBox"));
    documentKindBox = choiceBox(general, GeneralDefinitions::fileTypes());
    documentKindBox->setObjectName(QStringLiteral("documentKindBox"));
    g->addRow(QStringLiteral("Kurum Adı"), institutionEdit);
    g->addRow(QStringLiteral("Birim Adı"), branchEdit);
    g->addRow(QStringLiteral("Çalışma Yılı"), yearEdit);
    g->addRow(QStringLiteral("Form Rengi"), colourBox);
    g->addRow(QStringLiteral("Yazıcı Önizleme"), previewBox);
    g->addRow(QStringLiteral("İli"), provinceBox);
    g->addRow(QStringLiteral("İlçesi"), districtBox);
    g->addRow(QStringLiteral("Geçerli Belge Türü"), documentKindBox);
    return general;
}

QWidget *TFRMGENTAN::buildNotesPage()
{
    auto *notes = new QWidget(pages);
    auto *n = new QFormLayout(notes);
    emblemImage = new QLabel(notes);
    emblemImage->setObjectName(QStringLiteral("emblemImage"));
    emblemImage->setFixedSize(160, 160);
    emblemImage->setFrameShape(QFrame::Box);
    emblemImage->setAlignment(Qt::AlignCenter);
    addEmblemButton = gridparts::button(notes, QStringLiteral("Ekle"));
    addEmblemButton->setObjectName(QStringLiteral("addEmblemButton"));
    removeEmblemButton = gridparts::button(notes, QStringLiteral("Sil"));
    removeEmblemButton->setObjectName(QStringLiteral("removeEmblemButton"));
    auto *logoButtons = new QVBoxLayout;
    logoButtons->addWidget(addEmblemButton);
    logoButtons->addWidget(removeEmblemButton);
    logoButtons->addStretch();
    auto *logoRow = new QHBoxLayout;
    logoRow->addWidget(emblemImage);
    logoRow->addLayout(logoButtons);
    logoRow->addStretch();
    letterHeadingEdit = new QPlainTextEdit(notes);
    letterHeadingEdit->setObjectName(QStringLiteral("letterHeadingEdit"));
    numberStateBox = choiceBox(notes, GeneralDefinitions::numbering());
    numberStateBox->setObjectName(QStringLiteral("numberStateBox"));
    n->addRow(QStringLiteral("Kurum Amblemi"), logoRow);
    n->addRow(QStringLiteral("Giden Evrak Başlık Açıklaması"), letterHeadingEdit);
    n->addRow(QStringLiteral("Sayı Dur"), numberStateBox);
    return notes;
}

QWidget *TFRMGENTAN::buildOtherPage()
{
    auto *other = new QWidget(pages);
    auto *o = new QFormLayout(other);
    keepOnServerBox = choiceBox(other, GeneralDefinitions::yesNo());
    keepOnServerBox->setObjectName(QStringLiteral("keepOnServerBox"));
    keepInDatabaseBox = choiceBox(other, GeneralDefinitions::yesNo());
    keepInDatabaseBox->setObjectName(QStringLiteral("keepInDatabaseBox"));
    keepOnTerminalBox = choiceBox(other, GeneralDefinitions::yesNo());
    keepOnTerminalBox->setObjectName(QStringLiteral("keepOnTerminalBox"));
    officeVersionBox = choiceBox(other, GeneralDefinitions::office());
    officeVersionBox->setObjectName(QStringLiteral("officeVersionBox"));
    readingModeBox = choiceBox(other, GeneralDefinitions::readModes());
    readingModeBox->setObjectName(QStringLiteral("readingModeBox"));
    localFolderEdit = new QLineEdit(other);
    localFolderEdit->setObjectName(QStringLiteral("localFolderEdit"));
    // This workstation's own, like the two above: the file server has its own limit.
    sizeLimitEdit = new QLineEdit(other);
    sizeLimitEdit->setObjectName(QStringLiteral("sizeLimitEdit"));
    sizeLimitEdit->setValidator(new QIntValidator(1, 10000, sizeLimitEdit));
    sizeLimitEdit->setMaximumWidth(80);
    sizeLimitEdit->setToolTip(QStringLiteral("Eklenebilecek en büyük belge, MB (boş: 100)"));
    serverGroup = new QGroupBox(QStringLiteral("Sunucu Bilgileri"), other);
    serverGroup->setObjectName(QStringLiteral("serverGroup"));
    auto *server = new QFormLayout(serverGroup);
    fileServerEdit = new QLineEdit(serverGroup);
    fileServerEdit->setObjectName(QStringLiteral("fileServerEdit"));
    serverPortEdit = new QLineEdit(serverGroup);
    serverPortEdit->setObjectName(QStringLiteral("serverPortEdit"));
    serverPortEdit->setMaximumWidth(80);
    server->addRow(QStringLiteral("Dosya Sunucu"), fileServerEdit);
    server->addRow(QStringLiteral("Sunucu Portu"), serverPortEdit);
    o->addRow(QStringLiteral("Sunucuda Saklansın"), keepOnServerBox);
    o->addRow(QStringLiteral("Veritabanında Saklansın"), keepInDatabaseBox);
    o->addRow(QStringLiteral("Terminalde Saklansın"), keepOnTerminalBox);
    o->addRow(QStringLiteral("Microsoft Office"), officeVersionBox);
    o->addRow(QStringLiteral("Belge Okuma Ortamı"), readingModeBox);
    o->addRow(QStringLiteral("Yerel Dosya Yolu"), localFolderEdit);
    o->addRow(QStringLiteral("Belge Boyut Sınırı (MB)"), sizeLimitEdit);
    o->addRow(serverGroup);
    deadlineGroup = new QGroupBox(QStringLiteral("Cevap Süreleri"), other);
    deadlineGroup->setObjectName(QStringLiteral("deadlineGroup"));
    auto *deadline = new QFormLayout(deadlineGroup);
    legalPeriodBox = new QSpinBox(deadlineGroup);
    legalPeriodBox->setObjectName(QStringLiteral("legalPeriodBox"));
    legalPeriodBox->setRange(1, 365);
    legalPeriodBox->setSuffix(QStringLiteral(" gün"));
    nearDaysBox = new QSpinBox(deadlineGroup);
    nearDaysBox->setObjectName(QStringLiteral("nearDaysBox"));
    nearDaysBox->setRange(0, 60);
    nearDaysBox->setSuffix(QStringLiteral(" gün"));
    deadline->addRow(QStringLiteral("Dilekçe Cevap Süresi"), legalPeriodBox);
    deadline->addRow(QStringLiteral("Yaklaşan Süre Uyarısı"), nearDaysBox);
    o->addRow(deadlineGroup);
    return other;
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
    yearEdit->setText(v.year);
    pages->setCurrentIndex(0);
    institutionEdit->setText(v.KURUM);
    branchEdit->setText(v.SUBE);
    provinceBox->clear();
    for (const auto &p : provinces)
        provinceBox->addItem(p.name, p.code);
    provinceBox->setCurrentIndex(provinceBox->findData(v.ILKOD));
    fillDistricts(v.ILKOD);
    districtBox->setCurrentIndex(districtBox->findData(v.ILCEKOD.toString()));

    select(colourBox, v.colour);
    select(previewBox, v.ONIZ);
    select(keepOnServerBox, v.SRVSAKLA);
    select(keepInDatabaseBox, v.VTSAKLA);
    select(keepOnTerminalBox, v.TRMSAKLA);
    select(officeVersionBox, v.MSVER);
    select(numberStateBox, v.ESDUR);
    select(readingModeBox, v.readMode);
    serverChoiceChanged();
    select(documentKindBox, v.ABT);
    letterHeadingEdit->setPlainText(v.BASLIK);
    fileServerEdit->setText(v.SRVIPNO);
    serverPortEdit->setText(v.SRVPORT);
    legalPeriodBox->setValue(v.CEVSURE);
    nearDaysBox->setValue(v.CEVYAKIN);
    localFolderEdit->setText(v.localFolder);
    sizeLimitEdit->setText(v.sizeLimit);
    showLogo();
    institutionEdit->setFocus();
}

void TFRMGENTAN::fillDistricts(const QString &ILKOD)
{
    QList<GeneralDefinitions::Place> districts;
    guarded(m_session, [&] { districts = m_definitions.districts(ILKOD); });
    m_districtsOf = ILKOD;
    districtBox->clear();
    for (const auto &d : districts)
        districtBox->addItem(d.name, d.code);
    districtBox->setCurrentIndex(-1);
}

void TFRMGENTAN::serverChoiceChanged()
{
    // Only "Evet" and "Hayır" decide; nothing chosen leaves the group as it is.
    if (keepOnServerBox->currentIndex() >= 0)
        serverGroup->setEnabled(keepOnServerBox->currentData().toString() == QLatin1String("E"));
}

void TFRMGENTAN::showLogo()
{
    QPixmap picture;
    if (!m_definitions.logo().isEmpty() && picture.loadFromData(m_definitions.logo()))
        emblemImage->setPixmap(picture.scaled(emblemImage->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        emblemImage->clear();
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
    v.KURUM = institutionEdit->text();
    v.SUBE = branchEdit->text();
    v.year = yearEdit->text();
    v.colour = colourBox->currentIndex();
    v.ONIZ = previewBox->currentIndex();
    v.ILKOD = provinceBox->currentIndex() < 0 ? QString() : provinceBox->currentData().toString();
    v.ILCEKOD = districtBox->currentIndex() < 0 ? QVariant() : districtBox->currentData();
    v.ABT = documentKindBox->currentIndex();
    v.BASLIK = letterHeadingEdit->toPlainText();
    v.ESDUR = numberStateBox->currentIndex();
    v.SRVSAKLA = keepOnServerBox->currentIndex();
    v.VTSAKLA = keepInDatabaseBox->currentIndex();
    v.TRMSAKLA = keepOnTerminalBox->currentIndex();
    v.MSVER = officeVersionBox->currentIndex();
    v.readMode = readingModeBox->currentIndex();
    v.localFolder = localFolderEdit->text();
    v.sizeLimit = sizeLimitEdit->text();
    v.SRVIPNO = fileServerEdit->text();
    v.SRVPORT = serverPortEdit->text();
    v.CEVSURE = legalPeriodBox->value();
    v.CEVYAKIN = nearDaysBox->value();
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
