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
    LECKOD = new QLabel(kind);
    ComboBox1 = new QComboBox(kind);
    Edit1 = new QLineEdit(kind);
    form->addRow(QStringLiteral(" Kodu"), LECKOD);
    form->addRow(QStringLiteral(" Bölümü"), ComboBox1);
    form->addRow(QStringLiteral(" Açıklama"), Edit1);

    auto *fields = new QGroupBox(QStringLiteral("EVRAK BİLGİLERİ TANIMI"), this);
    auto *fieldsLayout = new QVBoxLayout(fields);
    m_model = new RecordsModel(m_record.fields(),
                               {{QStringLiteral("SIRNO"), QStringLiteral("Sıra No")},
                                {QStringLiteral("TUR"), QStringLiteral("Türü"), &archivekinds::fieldTypes()},
                                {QStringLiteral("ECTAN"), QStringLiteral("Alan Adı")}},
                               this);
    DBGrid1 = gridparts::grid(fields, m_model, true);
    DBGrid1->setItemDelegate(new ChoiceDelegate(DBGrid1));
    DBGrid1->horizontalHeader()->resizeSection(0, 70);
    DBGrid1->horizontalHeader()->resizeSection(1, 110);
    AlanEkle = new QAction(QStringLiteral("Alan Ekle"), DBGrid1);
    AlanSil = new QAction(QStringLiteral("Alan Sil"), DBGrid1);
    AlanSil->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    AlanSil->setShortcutContext(Qt::WidgetShortcut);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    DBGrid1->addAction(AlanEkle);
    DBGrid1->addAction(AlanSil);
    fieldsLayout->addWidget(DBGrid1);

    BitBtn1 = gridparts::button(this, QStringLiteral("F5-Kayıt"));
    BitBtn2 = gridparts::button(this, QStringLiteral("F6-Vazgeç"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(kind);
    layout->addWidget(fields, 1);
    layout->addWidget(gridparts::buttonBar(this, {}, {BitBtn1, BitBtn2}));
    resize(560, 520);

    gridparts::appendOnDownOrInsert(DBGrid1, [this] { return appendField(); });
    connect(AlanEkle, &QAction::triggered, this, [this] {
        const int row = appendField();
        DBGrid1->setCurrentIndex(m_model->index(row, 2));
    });
    connect(AlanSil, &QAction::triggered, this, [this] {
        const int row = DBGrid1->currentIndex().row();
        if (row < 0)
            return;
        m_record.fields().remove(row);
        m_model->refresh();
    });
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMECBIL::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFRMECBIL::BitBtn2Click);
    bindKey(BitBtn1, Qt::Key_F5);
    bindKey(BitBtn2, Qt::Key_F6);
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
    LECKOD->setText(QString::number(m_record.ECKOD()));
    ComboBox1->clear();
    for (const archivekinds::Section &s : m_record.sections())
        ComboBox1->addItem(s.ETURADI, s.ECTUR);
    ComboBox1->setCurrentIndex(ComboBox1->findData(m_record.kind().value(0, QStringLiteral("ECTUR"))));
    Edit1->setText(m_record.kind().value(0, QStringLiteral("ECINS")).toString());
    ComboBox1->setFocus();
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
    BitBtn1->setFocus();
    m_record.kind().setValue(0, QStringLiteral("ECINS"), Edit1->text());
    m_record.kind().setValue(0, QStringLiteral("ECTUR"), ComboBox1->currentIndex() < 0 ? QVariant() : ComboBox1->currentData());
    bool saved = false;
    guarded(m_session, [&] { saved = m_record.save(); });
    if (!saved) {
        if (m_record.focusColumn() == QLatin1String("ECINS"))
            Edit1->setFocus();
        else
            DBGrid1->setFocus();
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
