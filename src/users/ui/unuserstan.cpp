#include "unuserstan.h"

#include "kit/buttonrow.h"
#include "core/guarded.h"
#include "unhaklar.h"
#include "unsifre.h"
#include "unuser.h"

#include "users/rights.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *grid(QWidget *parent, const QStringList &headers)
{
    auto *g = new QTableWidget(0, int(headers.size()), parent);
    g->setHorizontalHeaderLabels(headers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setTabKeyNavigation(false);
    g->setAlternatingRowColors(true);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 8);
    return g;
}

void setRow(QTableWidget *g, int row, const QStringList &cells)
{
    for (int c = 0; c < cells.size(); ++c)
        g->setItem(row, c, new QTableWidgetItem(cells[c]));
}

/// Flags no screen reads are greyed: they can be stored but change nothing.
void markRightsRow(QTableWidget *g, int row, const rights::CodeUse &use)
{
    g->item(row, 0)->setToolTip(use.governs);
    const bool effect[] = {use.G, use.K, use.D, use.S};
    for (int c = 1; c < 5; ++c) {
        if (effect[c - 1])
            continue;
        QTableWidgetItem *item = g->item(row, c);
        item->setForeground(g->palette().color(QPalette::Disabled, QPalette::Text));
        item->setToolTip(QStringLiteral("Bu yetki hiçbir ekranı etkilemez."));
    }
}

} // namespace

TFRMUSERSTAN::TFRMUSERSTAN(Session &session, FormRunner &runner, QWidget *parent)
    : KelmaForm(session, parent)
    , m_runner(runner)
    , m_admin(session)
    , m_hakver(session, 22)
{
    setWindowTitle(QStringLiteral("KULLANICI VE YETKİ TANIMLARI"));

    auto *left = new QGroupBox(QStringLiteral("KULLANICI LİSTESİ"), this);
    usersGrid = grid(left, {QStringLiteral("Kullanıcı Adı"), QStringLiteral("Açıklama")});
    usersGrid->setObjectName(QStringLiteral("usersGrid"));
    usersGrid->setColumnWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("Kullanıcı Adı")) + 32);
    usersGrid->horizontalHeader()->setStretchLastSection(true);
    (new QVBoxLayout(left))->addWidget(usersGrid);

    auto *right = new QGroupBox(QStringLiteral("YETKİLER"), this);
    rightsGrid = grid(right, {QStringLiteral("Bölümler"), QStringLiteral("Giriş"), QStringLiteral("Kayıt"),
                           QStringLiteral("Değiş"), QStringLiteral("Silme")});
    rightsGrid->setObjectName(QStringLiteral("rightsGrid"));
    rightsGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    const int flagWidth = fontMetrics().horizontalAdvance(QStringLiteral("Hayır")) + 32;
    for (int c = 1; c < 5; ++c)
        rightsGrid->setColumnWidth(c, flagWidth);
    hintLabel = new QLabel(QStringLiteral("Yetki işlemleri için ÇİFT tıklayınız...."), right);
    hintLabel->setObjectName(QStringLiteral("hintLabel"));
    legendLabel = new QLabel(QStringLiteral("Gri yazılan yetkiler hiçbir ekranı etkilemez."), right);
    legendLabel->setObjectName(QStringLiteral("legendLabel"));
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->addWidget(rightsGrid);
    rightLayout->addWidget(hintLabel);
    rightLayout->addWidget(legendLabel);

    auto *grids = new QHBoxLayout;
    grids->addWidget(left, 2);
    grids->addWidget(right, 3);

    newUserButton = new QPushButton(QStringLiteral("F2-Yeni Kullanıcı"), this);
    newUserButton->setObjectName(QStringLiteral("newUserButton"));
    changeButton = new QPushButton(QStringLiteral("F4-Değiştir"), this);
    changeButton->setObjectName(QStringLiteral("changeButton"));
    deleteUserButton = new QPushButton(QStringLiteral("F10-Kullanıcı Sil"), this);
    deleteUserButton->setObjectName(QStringLiteral("deleteUserButton"));
    exitButton = new QPushButton(QStringLiteral("ESC-Çıkış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    // The three user buttons on the left, the way out on the right.
    QHBoxLayout *buttons = buttonRow({exitButton});
    for (QPushButton *b : {deleteUserButton, changeButton, newUserButton}) {
        b->setAutoDefault(false);
        buttons->insertWidget(0, b);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);
    resize(860, 520);

    // In no menu, so never seen; its shortcut works while the screen is open.
    passwordAction = new QAction(QStringLiteral("Şifre"), this);
    passwordAction->setObjectName(QStringLiteral("passwordAction"));
    passwordAction->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    passwordAction->setShortcutContext(Qt::WindowShortcut);
    addAction(passwordAction);

    connect(newUserButton, &QPushButton::clicked, this, &TFRMUSERSTAN::BitBtn1Click);
    connect(changeButton, &QPushButton::clicked, this, &TFRMUSERSTAN::BitBtn2Click);
    connect(deleteUserButton, &QPushButton::clicked, this, &TFRMUSERSTAN::BitBtn3Click);
    connect(exitButton, &QPushButton::clicked, this, &TFRMUSERSTAN::BitBtn4Click);
    connect(passwordAction, &QAction::triggered, this, &TFRMUSERSTAN::ifre1Click);
    // Double-click, or Enter for the keyboard.
    connect(rightsGrid, &QTableWidget::activated, this, &TFRMUSERSTAN::DBGrid2DblClick);
    connect(usersGrid, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous) {
        if (row != previous)
            readRights(0);
    });
    bindKey(newUserButton, Qt::Key_F2);
    bindKey(changeButton, Qt::Key_F4);
    bindKey(deleteUserButton, Qt::Key_F10);
    bindKey(exitButton, Qt::Key_Escape);
    m_hakver.govern(newUserButton, rights::Flag::K)
        .govern(changeButton, rights::Flag::D)
        .govern(deleteUserButton, rights::Flag::S);
}

void TFRMUSERSTAN::FormActivate()
{
    readUsers(0);
    m_hakver.apply();
    m_addRight = m_session.K;
    usersGrid->setFocus();
}

const users::UserRow *TFRMUSERSTAN::selectedUser() const
{
    const int row = usersGrid->currentRow();
    return row >= 0 && row < m_users.size() ? &m_users[row] : nullptr;
}

bool TFRMUSERSTAN::selectUser(const QString &name)
{
    for (int i = 0; i < m_users.size(); ++i) {
        if (m_users[i].USR == name) {
            usersGrid->setCurrentCell(i, 0);
            return true;
        }
    }
    return false;
}

void TFRMUSERSTAN::readUsers(int keepHno)
{
    guarded(m_session, [&] { m_users = users::allUsers(m_session.db.IBTransaction1); });
    const QSignalBlocker quiet(usersGrid);
    usersGrid->setRowCount(int(m_users.size()));
    int current = 0;
    for (int i = 0; i < m_users.size(); ++i) {
        setRow(usersGrid, i, {m_users[i].USR, m_users[i].ACIK});
        if (m_users[i].HNO == keepHno)
            current = i;
    }
    if (!m_users.isEmpty())
        usersGrid->setCurrentCell(current, 0);
    readRights(0);
}

void TFRMUSERSTAN::readRights(int keepKod)
{
    m_rights.clear();
    if (const users::UserRow *u = selectedUser())
        guarded(m_session, [&] { m_rights = users::rightsOf(m_session.db.IBTransaction1, u->HNO); });
    // Rows of codes that mean nothing would show without a name.
    m_rights.removeIf([](const users::RightsRow &r) { return rights::caption(r.KOD).isEmpty(); });
    rightsGrid->setRowCount(int(m_rights.size()));
    int current = 0;
    for (int i = 0; i < m_rights.size(); ++i) {
        const users::RightsRow &r = m_rights[i];
        setRow(rightsGrid, i, {rights::caption(r.KOD), users::flagText(r.G), users::flagText(r.K),
                            users::flagText(r.D), users::flagText(r.S)});
        markRightsRow(rightsGrid, i, rights::codeUse(r.KOD));
        if (r.KOD == keepKod)
            current = i;
    }
    if (!m_rights.isEmpty())
        rightsGrid->setCurrentCell(current, 0);
}

bool TFRMUSERSTAN::confirmed()
{
    TFRMSIFRE prompt(m_session, this);
    m_runner.run(prompt);
    if (prompt.tag != 1)
        return false;
    bool ok = false;
    guarded(m_session, [&] { ok = m_admin.confirm(prompt.typed()); });
    return ok;
}

void TFRMUSERSTAN::BitBtn1Click()
{
    TFRMUSER screen(m_session, this);
    screen.tag = users::UserRecord::New;
    m_runner.run(screen);
    readUsers(screen.tag == 1 ? screen.hno : (selectedUser() ? selectedUser()->HNO : 0));
}

void TFRMUSERSTAN::BitBtn2Click()
{
    const users::UserRow *selected = selectedUser();
    if (!selected || !m_admin.mayChange(*selected) || !confirmed())
        return;
    const int hno = selected->HNO;
    TFRMUSER screen(m_session, this);
    screen.hno = hno;
    screen.tag = users::UserRecord::Change;
    m_runner.run(screen);
    readUsers(hno);
}

void TFRMUSERSTAN::BitBtn3Click()
{
    if (!selectedUser() || !confirmed())
        return;
    const users::UserRow selected = *selectedUser();
    if (!m_admin.mayDelete(selected))
        return;
    if (!m_session.prompt().question(QStringLiteral("BU KULLANICI SİLİNECEKTİR ONAYLIYORMUSUNUZ")))
        return;
    guarded(m_session, [&] { m_admin.deleteUser(selected.HNO); });
    readUsers(0);
}

void TFRMUSERSTAN::BitBtn4Click()
{
    closeForm(0);
}

void TFRMUSERSTAN::DBGrid2DblClick()
{
    const users::UserRow *selected = selectedUser();
    const int row = rightsGrid->currentRow();
    if (!selected || row < 0 || row >= m_rights.size())
        return;
    if (!m_admin.mayEditRights(*selected, m_addRight))
        return;
    const int kod = m_rights[row].KOD;
    TFRMHAKLAR screen(m_session, this);
    screen.hno = selected->HNO;
    screen.kod = kod;
    screen.userName = selected->USR;
    m_runner.run(screen);
    readRights(kod);
}

void TFRMUSERSTAN::ifre1Click()
{
    if (const users::UserRow *u = selectedUser())
        if (const std::optional<QString> password = m_admin.revealPassword(*u))
            m_session.prompt().message(*password);
}
