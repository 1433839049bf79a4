#include "unhaklar.h"

#include "kit/buttonrow.h"
#include "core/guarded.h"

#include "users/rights.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QButtonGroup *choice(QWidget *parent, QGridLayout *grid, int at, const QString &caption)
{
    auto *box = new QGroupBox(caption, parent);
    auto *yes = new QRadioButton(QStringLiteral("Evet"), box);
    auto *no = new QRadioButton(QStringLiteral("Hayır"), box);
    auto *row = new QHBoxLayout(box);
    row->addWidget(yes);
    row->addWidget(no);
    auto *group = new QButtonGroup(box);
    group->addButton(yes, 0);
    group->addButton(no, 1);
    grid->addWidget(box, at / 2, at % 2);
    return group;
}

void showFlag(QButtonGroup *group, const QString &flag)
{
    // Neither choice for a flag that is neither: nothing the user did not pick is written.
    group->setExclusive(false);
    group->button(0)->setChecked(flag == QLatin1String("E"));
    group->button(1)->setChecked(flag == QLatin1String("H"));
    group->setExclusive(true);
}

/// A flag no screen reads is kept as stored and cannot be picked.
void showEffect(QButtonGroup *group, bool takesEffect)
{
    auto *box = qobject_cast<QGroupBox *>(group->button(0)->parentWidget());
    box->setEnabled(takesEffect);
    box->setToolTip(takesEffect ? QString() : QStringLiteral("Bu yetki bu bölümde hiçbir ekranı etkilemez."));
}

QString chosen(const QButtonGroup *group, const QString &was)
{
    switch (group->checkedId()) {
    case 0: return QStringLiteral("E");
    case 1: return QStringLiteral("H");
    default: return was;
    }
}

} // namespace

TFRMHAKLAR::TFRMHAKLAR(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("KULLANICI YETKİLERİ"));
    titleLabel = new QLabel(this);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    auto *grid = new QGridLayout;
    entryRightChoice = choice(this, grid, 0, QStringLiteral("Giriş Yetkisi"));
    entryRightChoice->setObjectName(QStringLiteral("entryRightChoice"));
    addRightChoice = choice(this, grid, 1, QStringLiteral("Kayıt Yetkisi"));
    addRightChoice->setObjectName(QStringLiteral("addRightChoice"));
    deleteRightChoice = choice(this, grid, 2, QStringLiteral("Silme Yetkisi"));
    deleteRightChoice->setObjectName(QStringLiteral("deleteRightChoice"));
    changeRightChoice = choice(this, grid, 3, QStringLiteral("Değişiklik Yetkisi"));
    changeRightChoice->setObjectName(QStringLiteral("changeRightChoice"));

    governsLabel = new QLabel(this);
    governsLabel->setObjectName(QStringLiteral("governsLabel"));
    governsLabel->setWordWrap(true);

    const SaveCancel buttons = saveCancelButtons(*this);
    saveButton = buttons.save;
    saveButton->setObjectName(QStringLiteral("saveButton"));
    cancelButton = buttons.cancel;
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel);
    layout->addLayout(grid);
    layout->addWidget(governsLabel);
    layout->addLayout(buttons.row);

    connect(saveButton, &QPushButton::clicked, this, &TFRMHAKLAR::BitBtn2Click);
    connect(cancelButton, &QPushButton::clicked, this, &TFRMHAKLAR::BitBtn5Click);
}

void TFRMHAKLAR::FormActivate()
{
    std::optional<users::RightsRow> row;
    guarded(m_session, [&] { row = users::rightsRow(m_session.db.IBTransaction1, hno, kod); });
    m_row = row.value_or(users::RightsRow{kod, {}, {}, {}, {}});
    const QString section = rights::caption(kod);
    titleLabel->setText(QStringLiteral("%1 — %2").arg(userName, section.isEmpty() ? QString::number(kod) : section));
    showFlag(entryRightChoice, m_row.G);
    showFlag(addRightChoice, m_row.K);
    showFlag(deleteRightChoice, m_row.S);
    showFlag(changeRightChoice, m_row.D);
    const rights::CodeUse use = rights::codeUse(kod);
    showEffect(entryRightChoice, use.G);
    showEffect(addRightChoice, use.K);
    showEffect(deleteRightChoice, use.S);
    showEffect(changeRightChoice, use.D);
    governsLabel->setText(use.governs.isEmpty()
                              ? QStringLiteral("Bu bölüm hiçbir ekranı yönetmez.")
                              : use.governs + QStringLiteral("\nGri seçenekler bu bölümde hiçbir ekranı etkilemez."));
    saveButton->setEnabled(row.has_value());
    for (QButtonGroup *g : {entryRightChoice, addRightChoice, deleteRightChoice, changeRightChoice}) {
        if (g->button(0)->isEnabled()) {
            g->button(0)->setFocus();
            break;
        }
    }
}

void TFRMHAKLAR::BitBtn2Click()
{
    users::RightsRow r = m_row;
    r.G = chosen(entryRightChoice, m_row.G);
    r.K = chosen(addRightChoice, m_row.K);
    r.S = chosen(deleteRightChoice, m_row.S);
    r.D = chosen(changeRightChoice, m_row.D);
    if (guarded(m_session, [&] { users::UserAdmin(m_session).saveRights(hno, r); }))
        closeForm(1);
}

void TFRMHAKLAR::BitBtn5Click()
{
    closeForm(0);
}
