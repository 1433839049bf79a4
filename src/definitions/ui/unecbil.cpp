#include "unecbil.h"

#include "kit/gridparts.h"
#include "recordparts.h"

#include "core/session.h"
#include "core/guarded.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFRMECBIL::TFRMECBIL(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , m_record(session)
{
    setWindowTitle(QStringLiteral("EVRAK CİNSİ  BİLGİLERİ"));
    auto *kind = new QGroupBox(QStringLiteral("EVRAK CİNSİ"), this);
    auto *form = new QFormLayout(kind);
    codeLabel = new QLabel(kind);
    codeLabel->setObjectName(QStringLiteral("codeLabel"));
    sectionBox = new QComboBox(kind);
    sectionBox->setObjectName(QStringLiteral("sectionBox"));
    descriptionEdit = new QLineEdit(kind);
    descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    form->addRow(QStringLiteral(" Kodu"), codeLabel);
    form->addRow(QStringLiteral(" Bölümü"), sectionBox);
    form->addRow(QStringLiteral(" Açıklama"), descriptionEdit);

    auto *fields = new QGroupBox(QStringLiteral("EVRAK BİLGİLERİ TANIMI"), this);
    auto *fieldsLayout = new QVBoxLayout(fields);
    m_model = new RecordsModel(m_record.fields(),
                               {{QStringLiteral("SIRNO"), QStringLiteral("Sıra No")},
                                {QStringLiteral("TUR"), QStringLiteral("Türü"), &archivekinds::fieldTypes()},
                                {QStringLiteral("ECTAN"), QStringLiteral("Alan Adı")}},
                               this);
    fieldsGrid = gridparts::grid(fields, m_model, true);
    fieldsGrid->setObjectName(QStringLiteral("fieldsGrid"));
    fieldsGrid->setItemDelegate(new ChoiceDelegate(fieldsGrid));
    fieldsGrid->horizontalHeader()->resizeSection(0, 70);
    fieldsGrid->horizontalHeader()->resizeSection(1, 110);
    addFieldAction = new QAction(QStringLiteral("Alan Ekle"), fieldsGrid);
    addFieldAction->setObjectName(QStringLiteral("addFieldAction"));
    removeFieldAction = new QAction(QStringLiteral("Alan Sil"), fieldsGrid);
    removeFieldAction->setObjectName(QStringLiteral("removeFieldAction"));
    removeFieldAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    removeFieldAction->setShortcutContext(Qt::WidgetShortcut);
    fieldsGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    fieldsGrid->addAction(addFieldAction);
    fieldsGrid->addAction(removeFieldAction);
    fieldsLayout->addWidget(fieldsGrid);

    saveButton = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = gridparts::button(this, QStringLiteral("F6-Vazgeç"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(kind);
    layout->addWidget(fields, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {saveButton, cancelButton}));
    resize(560, 520);

    gridparts::appendOnDownOrInsert(fieldsGrid, [this] { return appendField(); });
    connect(addFieldAction, &QAction::triggered, this, [this] {
        const int row = appendField();
        fieldsGrid->setCurrentIndex(m_model->index(row, 2));
    });
    connect(removeFieldAction, &QAction::triggered, this, [this] {
        const int row = fieldsGrid->currentIndex().row();
        if (row < 0)
            return;
        m_record.fields().remove(row);
        m_model->refresh();
    });
    connect(saveButton, &QPushButton::clicked, this, &TFRMECBIL::BitBtn1Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMECBIL::BitBtn2Click);
    bindKey(saveButton, Qt::Key_F5);
    bindKey(cancelButton, Qt::Key_F6);
}

void TFRMECBIL::FormActivate()
{
    bool opened = false;
    guarded(m_session, [&] {
        if (tag == ArchiveKindRecord::Edit) {
            opened = m_record.openExisting(ECKOD);
        } else {
            m_record.openNew();
            opened = true;
        }
    });
    m_model->refresh();
    if (!opened) {
        recordparts::closeWhenShown(this);
        return;
    }
    codeLabel->setText(QString::number(m_record.ECKOD()));
    sectionBox->clear();
    for (const archivekinds::Section &s : m_record.sections())
        sectionBox->addItem(s.ETURADI, s.ECTUR);
    sectionBox->setCurrentIndex(sectionBox->findData(m_record.kind().value(0, QStringLiteral("ECTUR"))));
    descriptionEdit->setText(m_record.kind().value(0, QStringLiteral("ECINS")).toString());
    sectionBox->setFocus();
}

int TFRMECBIL::appendField()
{
    const int row = m_record.appendField();
    m_model->refresh();
    return row;
}

void TFRMECBIL::BitBtn1Click()
{
    // Leaving the grid closes an open cell; what it holds goes into the field.
    saveButton->setFocus();
    m_record.kind().setValue(0, QStringLiteral("ECINS"), descriptionEdit->text());
    m_record.kind().setValue(0, QStringLiteral("ECTUR"), sectionBox->currentIndex() < 0 ? QVariant() : sectionBox->currentData());
    bool saved = false;
    guarded(m_session, [&] { saved = m_record.save(); });
    if (!saved) {
        if (m_record.focusColumn() == QLatin1String("ECINS"))
            descriptionEdit->setFocus();
        else
            fieldsGrid->setFocus();
        return;
    }
    ECKOD = m_record.ECKOD();
    closeForm(1);
}

void TFRMECBIL::BitBtn2Click()
{
    m_record.cancel();
    closeForm(0);
}
