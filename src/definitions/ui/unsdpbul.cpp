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
    codeEdit = new QLineEdit(Panel1);
    codeEdit->setObjectName(QStringLiteral("codeEdit"));
    descriptionEdit = new QLineEdit(Panel1);
    descriptionEdit->setObjectName(QStringLiteral("descriptionEdit"));
    wordSearchCheck = new QCheckBox(QStringLiteral("Kelime Ara"), Panel1);
    wordSearchCheck->setObjectName(QStringLiteral("wordSearchCheck"));
    auto *descriptionRow = new QHBoxLayout;
    descriptionRow->addWidget(descriptionEdit, 1);
    descriptionRow->addWidget(wordSearchCheck);
    boxes->addRow(QStringLiteral(" Kodu"), codeEdit);
    boxes->addRow(QStringLiteral(" Açıklama"), descriptionRow);

    m_codes = new RowsModel({QStringLiteral("H.Kodu"), QStringLiteral("Hesap Adı")}, this);
    codesGrid = gridparts::grid(this, m_codes);
    codesGrid->setObjectName(QStringLiteral("codesGrid"));
    codesGrid->horizontalHeader()->resizeSection(0, 120);
    mainCodeCheckAction = new QAction(QStringLiteral("Ana Hesap Kontrolü"), codesGrid);
    mainCodeCheckAction->setObjectName(QStringLiteral("mainCodeCheckAction"));
    codesGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    codesGrid->addAction(mainCodeCheckAction);
    auto *hint = new QLabel(
        QStringLiteral("Seçmek İçin İlgili Hesap Üzerinde Çift Tıklayınız veya ENTER tuşunu kullanınız:"), this);

    auto *Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto *mainsLayout = new QVBoxLayout(Panel2);
    moveToDescriptionEdit = new QLineEdit(Panel2);
    moveToDescriptionEdit->setObjectName(QStringLiteral("moveToDescriptionEdit"));
    m_mainModel = new RowsModel({QStringLiteral("Kod"), QStringLiteral("Hesap Adı")}, this);
    mainCodesGrid = gridparts::grid(Panel2, m_mainModel);
    mainCodesGrid->setObjectName(QStringLiteral("mainCodesGrid"));
    mainCodesGrid->horizontalHeader()->resizeSection(0, 50);
    mainsLayout->addWidget(gridparts::heading(Panel2, QStringLiteral("ANA KODLAR")));
    mainsLayout->addWidget(moveToDescriptionEdit);
    mainsLayout->addWidget(mainCodesGrid, 1);

    addCodeButton = gridparts::button(this, QStringLiteral("F2-Kod Ekle"));
    addCodeButton->setObjectName(QStringLiteral("addCodeButton"));
    addCodeButton->hide();
    exitButton = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    exitButton->setObjectName(QStringLiteral("exitButton"));

    auto *left = new QVBoxLayout;
    left->addWidget(Panel1);
    left->addWidget(hint);
    left->addWidget(codesGrid, 1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addWidget(Panel2, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(gridparts::buttonBar(this, {addCodeButton}, {exitButton}));
    resize(960, 620);

    codeEdit->installEventFilter(this);
    descriptionEdit->installEventFilter(this);
    connect(codeEdit, &QLineEdit::textChanged, this, [this] {
        if (!m_quiet)
            SORGULA();
    });
    connect(descriptionEdit, &QLineEdit::textChanged, this, [this] {
        if (!m_quiet)
            SORGULA();
    });
    connect(codeEdit, &QLineEdit::returnPressed, this, &TFRMSDPBUL::choose);
    connect(descriptionEdit, &QLineEdit::returnPressed, this, &TFRMSDPBUL::choose);
    connect(wordSearchCheck, &QCheckBox::toggled, this, [this] {
        if (m_mode == fileplan::Mode::ByDescription)
            SORGULA();
    });
    connect(mainCodesGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { mainCodeMoved(current.row()); });
    connect(moveToDescriptionEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        const int row = fileplan::firstDescribedAs(m_mains, text);
        if (row >= 0)
            mainCodesGrid->setCurrentIndex(m_mainModel->index(row, 0));
    });
    gridparts::onChoose(codesGrid, [this] { choose(); });
    connect(exitButton, &QPushButton::clicked, this, &TFRMSDPBUL::BitBtn1Click);
    connect(mainCodeCheckAction, &QAction::triggered, this, &TFRMSDPBUL::AnaHesapKontroluClick);
    bindKey(exitButton, Qt::Key_Escape);
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
        mainCodesGrid->setCurrentIndex(m_mainModel->index(start, 0));
    codesGrid->setFocus();
}

void TFRMSDPBUL::mainCodeMoved(int row)
{
    if (row < 0 || row >= m_mains.size())
        return;
    m_mode = fileplan::Mode::ByCode;
    m_quiet = true;
    codeEdit->setText(m_mains[row].KOD);
    m_quiet = false;
    SORGULA();
}

void TFRMSDPBUL::SORGULA()
{
    const QString text = m_mode == fileplan::Mode::ByCode ? codeEdit->text() : descriptionEdit->text();
    guarded(m_session, [&] { m_search.SORGULA(m_mode, text, wordSearchCheck->isChecked(), m_lastKeyBlank); });
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
        codesGrid->setCurrentIndex(m_codes->index(0, 0));
}

QString TFRMSDPBUL::currentCode() const
{
    const int row = codesGrid->currentIndex().row();
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
        QLineEdit *other = watched == codeEdit ? descriptionEdit : codeEdit;
        m_quiet = true;
        other->clear();
        m_quiet = false;
        m_mode = watched == codeEdit ? fileplan::Mode::ByCode : fileplan::Mode::ByDescription;
        SORGULA();
    } else if (event->type() == QEvent::KeyPress && watched == descriptionEdit) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (typed.size() == 1) {
            m_lastKeyBlank = typed == QLatin1String(" ");
            const QChar upper = turkish::BuyukHarf(typed[0]);
            if (upper != typed[0]) {
                descriptionEdit->insert(QString(upper));
                return true;
            }
        }
    }
    return KelmaForm::eventFilter(watched, event);
}
