#include "unsdpbul.h"

#include "kit/gridparts.h"

#include "core/session.h"
#include "core/turkish.h"
#include "core/guarded.h"

#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QColor kMaroon(0x80, 0x00, 0x00);

QVariant codeCell(const fileplan::Code &c, int column)
{
    return column == 0 ? c.KOD : c.ACIK;
}

} // namespace

TFRMSDPBUL::TFRMSDPBUL(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
    , m_search(session)
{
    setWindowTitle(QStringLiteral("STANDART DOSYA PLANI LİSTESİ"));

    auto *Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *boxes = new QFormLayout(Panel1);
    Edit1 = new QLineEdit(Panel1);
    Edit2 = new QLineEdit(Panel1);
    CheckBox1 = new QCheckBox(QStringLiteral("Kelime Ara"), Panel1);
    auto *descriptionRow = new QHBoxLayout;
    descriptionRow->addWidget(Edit2, 1);
    descriptionRow->addWidget(CheckBox1);
    boxes->addRow(QStringLiteral(" Kodu"), Edit1);
    boxes->addRow(QStringLiteral(" Açıklama"), descriptionRow);

    m_codes = new RowsModel({QStringLiteral("H.Kodu"), QStringLiteral("Hesap Adı")}, this);
    DBGrid1 = gridparts::grid(this, m_codes);
    DBGrid1->horizontalHeader()->resizeSection(0, 120);
    AnaHesapKontrolu = new QAction(QStringLiteral("Ana Hesap Kontrolü"), DBGrid1);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    DBGrid1->addAction(AnaHesapKontrolu);
    auto *hint = new QLabel(
        QStringLiteral("Seçmek İçin İlgili Hesap Üzerinde Çift Tıklayınız veya ENTER tuşunu kullanınız:"), this);

    auto *Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto *mainsLayout = new QVBoxLayout(Panel2);
    Edit3 = new QLineEdit(Panel2);
    m_mainModel = new RowsModel({QStringLiteral("Kod"), QStringLiteral("Hesap Adı")}, this);
    DBGrid2 = gridparts::grid(Panel2, m_mainModel);
    DBGrid2->horizontalHeader()->resizeSection(0, 50);
    mainsLayout->addWidget(gridparts::heading(Panel2, QStringLiteral("ANA KODLAR")));
    mainsLayout->addWidget(Edit3);
    mainsLayout->addWidget(DBGrid2, 1);

    BitBtn2 = gridparts::button(this, QStringLiteral("F2-Kod Ekle"));
    BitBtn2->hide();
    BitBtn1 = gridparts::button(this, QStringLiteral("ESC-Çıkış"));

    auto *left = new QVBoxLayout;
    left->addWidget(Panel1);
    left->addWidget(hint);
    left->addWidget(DBGrid1, 1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addWidget(Panel2, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(gridparts::buttonBar(this, {BitBtn2}, {BitBtn1}));
    resize(960, 620);

    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(Edit1, &QLineEdit::textChanged, this, [this] {
        if (!m_quiet)
            SORGULA();
    });
    connect(Edit2, &QLineEdit::textChanged, this, [this] {
        if (!m_quiet)
            SORGULA();
    });
    connect(Edit1, &QLineEdit::returnPressed, this, &TFRMSDPBUL::choose);
    connect(Edit2, &QLineEdit::returnPressed, this, &TFRMSDPBUL::choose);
    connect(CheckBox1, &QCheckBox::toggled, this, [this] {
        if (m_mode == fileplan::Mode::ByDescription)
            SORGULA();
    });
    connect(DBGrid2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { mainCodeMoved(current.row()); });
    connect(Edit3, &QLineEdit::textChanged, this, [this](const QString &text) {
        const int row = fileplan::firstDescribedAs(m_mains, text);
        if (row >= 0)
            DBGrid2->setCurrentIndex(m_mainModel->index(row, 0));
    });
    gridparts::onChoose(DBGrid1, [this] { choose(); });
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMSDPBUL::BitBtn1Click);
    connect(AnaHesapKontrolu, &QAction::triggered, this, &TFRMSDPBUL::AnaHesapKontroluClick);
    bindKey(BitBtn1, Qt::Key_Escape);
}

void TFRMSDPBUL::FormActivate()
{
    KOD.clear();
    m_mode = fileplan::Mode::ByCode;
    m_lastKeyBlank = false;
    SORGULA();
    guarded(m_session, [this] { m_mains = fileplan::mainCodes(m_session.db.IBTransaction1); });
    m_mainModel->reset(int(m_mains.size()), [this](int row, int column, int role) {
        return role == Qt::DisplayRole ? codeCell(m_mains[row], column) : QVariant();
    });
    const int start = fileplan::startRow(m_mains);
    if (start >= 0)
        DBGrid2->setCurrentIndex(m_mainModel->index(start, 0));
    DBGrid1->setFocus();
}

void TFRMSDPBUL::mainCodeMoved(int row)
{
    if (row < 0 || row >= m_mains.size())
        return;
    m_mode = fileplan::Mode::ByCode;
    m_quiet = true;
    Edit1->setText(m_mains[row].KOD);
    m_quiet = false;
    SORGULA();
}

void TFRMSDPBUL::SORGULA()
{
    const QString text = m_mode == fileplan::Mode::ByCode ? Edit1->text() : Edit2->text();
    guarded(m_session, [&] { m_search.SORGULA(m_mode, text, CheckBox1->isChecked(), m_lastKeyBlank); });
    showCodes();
}

void TFRMSDPBUL::showCodes()
{
    m_codes->reset(int(m_search.rows().size()), [this](int row, int column, int role) -> QVariant {
        if (role == Qt::DisplayRole)
            return codeCell(m_search.rows()[row], column);
        if (role == Qt::ForegroundRole) {
            switch (m_search.shade(row)) {
            case fileplan::Shade::HasSubCodes: return QColor(Qt::red);
            case fileplan::Shade::Main: return kMaroon;
            case fileplan::Shade::Plain: break;
            }
        }
        return {};
    });
    if (!m_search.rows().isEmpty())
        DBGrid1->setCurrentIndex(m_codes->index(0, 0));
}

QString TFRMSDPBUL::currentCode() const
{
    const int row = DBGrid1->currentIndex().row();
    return row >= 0 && row < m_search.rows().size() ? m_search.rows()[row].KOD : QString();
}

void TFRMSDPBUL::choose()
{
    const QString code = currentCode();
    if (code.isEmpty())
        return;
    bool may = false;
    guarded(m_session, [&] { may = fileplan::mayChoose(m_session, code); });
    if (!may)
        return;
    KOD = code;
    closeForm(1);
}

void TFRMSDPBUL::BitBtn1Click()
{
    closeForm(0);
}

void TFRMSDPBUL::AnaHesapKontroluClick()
{
    guarded(m_session, [this] { fileplan::markLeaves(m_session); });
}

bool TFRMSDPBUL::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // Coming back from a message box is no entering of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        QLineEdit *other = watched == Edit1 ? Edit2 : Edit1;
        m_quiet = true;
        other->clear();
        m_quiet = false;
        m_mode = watched == Edit1 ? fileplan::Mode::ByCode : fileplan::Mode::ByDescription;
        SORGULA();
    } else if (event->type() == QEvent::KeyPress && watched == Edit2) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (typed.size() == 1) {
            m_lastKeyBlank = typed == QLatin1String(" ");
            const QChar upper = turkish::BuyukHarf(typed[0]);
            if (upper != typed[0]) {
                Edit2->insert(QString(upper));
                return true;
            }
        }
    }
    return KelmaForm::eventFilter(watched, event);
}
