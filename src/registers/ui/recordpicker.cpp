#include "recordpicker.h"

#include "kit/gridparts.h"

#include "core/guarded.h"
#include "core/session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QComboBox *filterCombo(QWidget *parent, const char *name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setMinimumContentsLength(30);
    return c;
}

} // namespace

RecordPicker::RecordPicker(Session &session, const QString &caption, const QString &heading,
                           QStringList headers, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(caption);
    m_model = new RowsModel(std::move(headers), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gridparts::heading(this, QStringLiteral("Filtre Seçeneekleri")));
    m_filters = new QFormLayout;
    layout->addLayout(m_filters);
    m_heading = gridparts::heading(this, heading);
    layout->addWidget(m_heading);
    m_documentsGrid = gridparts::grid(this, m_model);
    m_documentsGrid->setObjectName(QStringLiteral("documentsGrid"));
    layout->addWidget(m_documentsGrid, 1);
    m_chooseButton = gridparts::button(this, QStringLiteral("F5-Seç"));
    m_chooseButton->setObjectName(QStringLiteral("chooseButton"));
    m_exitButton = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    layout->addWidget(gridparts::buttonBar(this, {}, {m_chooseButton, m_exitButton}));
    resize(820, 480);

    connect(m_chooseButton, &QPushButton::clicked, this, &RecordPicker::choose);
    connect(m_exitButton, &QPushButton::clicked, this, [this] { closeForm(0); });
    gridparts::onChoose(m_documentsGrid, [this] { choose(); });
    bindKey(m_chooseButton, Qt::Key_F5);
    bindKey(m_exitButton, Qt::Key_Escape);
}

void RecordPicker::FormActivate()
{
    KAYNO = 0;
    m_filling = true;
    guarded(m_session, [this] { refillFilters(); });
    m_filling = false;
    SORGULA();
    m_documentsGrid->setFocus();
}

void RecordPicker::SORGULA()
{
    if (m_filling)
        return;
    guarded(m_session, [this] {
        m_rows = pickers::rows(m_session.db.IBTransaction1, query());
    });
    m_model->reset(int(m_rows.size()), [this](int row, int column, int role) -> QVariant {
        if (role != Qt::DisplayRole)
            return {};
        return m_rows.value(row).cells.value(column);
    });
    if (!m_rows.isEmpty())
        m_documentsGrid->selectRow(0);
}

void RecordPicker::choose()
{
    const int row = m_documentsGrid->currentIndex().row();
    KAYNO = row >= 0 && row < m_rows.size() ? m_rows[row].KAYNO : 0;
    closeForm(1);
}

void RecordPicker::refillNames(QComboBox *combo, QChar tur)
{
    combo->clear();
    combo->addItem(QStringLiteral("TÜMÜ"));
    combo->addItems(pickers::names(m_session.db.IBTransaction1, tur));
    combo->setCurrentIndex(0);
}

int RecordPicker::codeOf(QComboBox *combo, QChar tur)
{
    int code = -1;
    guarded(m_session, [&] {
        code = pickers::lookUp(m_session.db.IBTransaction1, tur, combo->currentIndex(), combo->currentText());
    });
    return code;
}

AwaitingPicker::AwaitingPicker(Session &session, const QString &caption, const QString &heading, Build build,
                               QWidget *parent)
    : RecordPicker(session, caption, heading, pickers::incomingHeaders(), parent)
    , m_build(build)
{
    m_bodyFilterCombo = filterCombo(this, "bodyFilterCombo");
    m_departmentFilterCombo = filterCombo(this, "departmentFilterCombo");
    filters()->addRow(QStringLiteral("Gittiği Yer"), m_bodyFilterCombo);
    filters()->addRow(QStringLiteral("Gönderen Birim"), m_departmentFilterCombo);
    for (QComboBox *c : {m_bodyFilterCombo, m_departmentFilterCombo})
        connect(c, &QComboBox::currentIndexChanged, this, &RecordPicker::SORGULA);
}

void AwaitingPicker::refillFilters()
{
    refillNames(m_bodyFilterCombo, u'K');
    refillNames(m_departmentFilterCombo, u'B');
}

pickers::Query AwaitingPicker::query()
{
    return m_build(codeOf(m_bodyFilterCombo, u'K'), codeOf(m_departmentFilterCombo, u'B'));
}

namespace {

template<class Picker>
int runPicker(Session &session, FormRunner &runner, QWidget *parent)
{
    Picker picker(session, parent);
    runner.run(picker);
    return picker.tag == 1 ? picker.KAYNO : 0;
}

} // namespace

TFRMGELBUL::TFRMGELBUL(Session &session, QWidget *parent)
    : AwaitingPicker(session, QStringLiteral("GELEN EVRAK LİSTESİ"),
                     QStringLiteral("GELEN EVRAK LİSTESİ (CEVAP BEKLEYEN)"), &pickers::incoming, parent)
{
}

int TFRMGELBUL::pick(Session &session, FormRunner &runner, QWidget *parent)
{
    return runPicker<TFRMGELBUL>(session, runner, parent);
}

TFRMGIDBUL::TFRMGIDBUL(Session &session, QWidget *parent)
    : AwaitingPicker(session, QStringLiteral("GİDEN EVRAK LİSTESİ"),
                     QStringLiteral("GİDEN EVRAK LİSTESİ (CEVAP BEKLEYEN)"), &pickers::outgoing, parent)
{
}

int TFRMGIDBUL::pick(Session &session, FormRunner &runner, QWidget *parent)
{
    return runPicker<TFRMGIDBUL>(session, runner, parent);
}

TFRMDILBUL::TFRMDILBUL(Session &session, QWidget *parent)
    : RecordPicker(session, QStringLiteral("DİLEKÇE ARAMA"), QStringLiteral("DİLEKÇE LİSTESİ (CEVAP BEKLEYEN)"),
                   pickers::petitionHeaders(), parent)
{
    m_departmentFilterCombo = filterCombo(this, "departmentFilterCombo");
    m_applicantFilterEdit = new QLineEdit(this);
    m_applicantFilterEdit->setObjectName(QStringLiteral("applicantFilterEdit"));
    m_awaitedFilterCombo = filterCombo(this, "awaitedFilterCombo");
    m_awaitedFilterCombo->addItems({QStringLiteral("Tümü"), QStringLiteral("Evet"), QStringLiteral("Hayır")});
    m_answeredFilterCombo = filterCombo(this, "answeredFilterCombo");
    m_answeredFilterCombo->addItems({QStringLiteral("Tümü"), QStringLiteral("Hayır"), QStringLiteral("Evet")});
    filters()->addRow(QStringLiteral("Verildiği Birim"), m_departmentFilterCombo);
    filters()->addRow(QStringLiteral("Dilekçeyi Veren"), m_applicantFilterEdit);
    filters()->addRow(QStringLiteral("Cevap Bekleniyor"), m_awaitedFilterCombo);
    filters()->addRow(QStringLiteral("Cevap Verildi"), m_answeredFilterCombo);
    for (QComboBox *c : {m_departmentFilterCombo, m_awaitedFilterCombo, m_answeredFilterCombo})
        connect(c, &QComboBox::currentIndexChanged, this, &RecordPicker::SORGULA);
    connect(m_applicantFilterEdit, &QLineEdit::textChanged, this, &RecordPicker::SORGULA);
}

void TFRMDILBUL::refillFilters()
{
    refillNames(m_departmentFilterCombo, u'B');
}

pickers::Query TFRMDILBUL::query()
{
    pickers::PetitionFilter f;
    f.department = codeOf(m_departmentFilterCombo, u'B');
    f.name = m_applicantFilterEdit->text();
    f.awaited = m_awaitedFilterCombo->currentText();
    f.answered = m_answeredFilterCombo->currentText();
    return pickers::petitions(f);
}

int TFRMDILBUL::pick(Session &session, FormRunner &runner, QWidget *parent)
{
    return runPicker<TFRMDILBUL>(session, runner, parent);
}
