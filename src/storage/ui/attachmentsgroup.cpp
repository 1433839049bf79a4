#include "attachmentsgroup.h"

#include "documentview.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace storage;

namespace {

QString captionOf(Register r)
{
    switch (r) {
    case Register::Incoming: return QStringLiteral("Gelen Evrak");
    case Register::Outgoing: return QStringLiteral("Giden Evrak");
    case Register::Petition: return QStringLiteral("Dilekçe");
    case Register::Archive: return QStringLiteral("Arşiv Belgeleri");
    }
    return {};
}

QPushButton *button(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

AttachmentsGroup::AttachmentsGroup(Session &session, Register kind, QWidget *parent)
    : QGroupBox(captionOf(kind), parent)
    , m_session(session)
    , m_kind(kind)
    , m_attachments(std::make_unique<RecordAttachments>(session, kind))
{
    auto *layout = new QVBoxLayout(this);
    auto *split = new QSplitter(Qt::Horizontal, this);
    attachmentsGrid = new QTableWidget(0, 5, split);
    attachmentsGrid->setObjectName(QStringLiteral("attachmentsGrid"));
    attachmentsGrid->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("Tür"),
                                                QStringLiteral("Belge Kayıt No"), QStringLiteral("OCN"),
                                                QStringLiteral("Açıklama")});
    attachmentsGrid->horizontalHeaderItem(2)->setToolTip(QStringLiteral("Belge Kayıt No"));
    attachmentsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    attachmentsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    attachmentsGrid->verticalHeader()->hide();
    attachmentsGrid->horizontalHeader()->setStretchLastSection(true);
    // The description is the archive's; the other registers do not write it.
    attachmentsGrid->setColumnHidden(4, kind != Register::Archive);
    updateEditing();
    attachmentsGrid->installEventFilter(this);
    for (int c : {0, 1, 2})
        attachmentsGrid->setColumnWidth(c, c == 2 ? 60 : 44);
    documentView = new DocumentView(split);
    documentView->setObjectName(QStringLiteral("documentView"));
    split->addWidget(attachmentsGrid);
    split->addWidget(documentView);
    // The grid keeps room for its number, type and content columns beside the view.
    attachmentsGrid->setMinimumWidth(200);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);

    auto *buttons = new QHBoxLayout;
    // Mnemonics the record screens' own captions do not use. Every letter of
    // "Yazdır" and "Detay" is taken on some screen; the grid prints on Ctrl+P and
    // takes Insert and Delete as well.
    m_addButton = button(this, QStringLiteral("Ek&le"), "addButton");
    changeButton = button(this, QStringLiteral("De&ğiş"), "changeButton");
    deleteButton = button(this, QStringLiteral("S&il"), "deleteButton");
    printButton = button(this, QStringLiteral("Yazdır"), "printButton");
    printButton->setToolTip(QStringLiteral("Yazdır (Ctrl+P)"));
    detailButton = button(this, QStringLiteral("Detay"), "detailButton");
    for (QPushButton *b : {m_addButton, changeButton, deleteButton, printButton, detailButton})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(m_addButton, &QPushButton::clicked, this, &AttachmentsGroup::add);
    connect(changeButton, &QPushButton::clicked, this, &AttachmentsGroup::change);
    connect(deleteButton, &QPushButton::clicked, this, &AttachmentsGroup::removeSelected);
    connect(printButton, &QPushButton::clicked, this, &AttachmentsGroup::printSelected);
    connect(detailButton, &QPushButton::clicked, this, [this] {
        if (openDetails)
            openDetails();
    });
    connect(documentView, &DocumentView::pictureDoubleClicked, this, [this] {
        if (openPicture && !documentView->picture().isNull())
            openPicture(documentView->picture());
    });
    connect(attachmentsGrid, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!m_filling)
            showSelected();
    });
    connect(attachmentsGrid, &QTableWidget::cellDoubleClicked, this, &AttachmentsGroup::editRow);
    connect(attachmentsGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling || item->column() != 4 || !m_canChange)
            return;
        m_attachments->setDescription(item->row(), item->text());
    });
}

AttachmentsGroup::~AttachmentsGroup() = default;

bool AttachmentsGroup::open(int kayno, int year)
{
    // Only the screens that have a documents window show "Detay".
    detailButton->setVisible(bool(openDetails));
    bool ok = false;
    guarded(m_session, [&] { ok = m_attachments->open(kayno, year); });
    documentView->clear();
    fillGrid(0);
    return ok;
}

void AttachmentsGroup::setRights(bool add, bool change, bool remove)
{
    m_addButton->setEnabled(add);
    changeButton->setEnabled(change);
    deleteButton->setEnabled(remove);
    m_canChange = change;
    m_canDelete = remove;
    updateEditing();
}

void AttachmentsGroup::updateEditing()
{
    // The description is written only by who may change the record's attachments.
    const bool editable = m_kind == Register::Archive && m_canChange;
    attachmentsGrid->setEditTriggers(editable ? QAbstractItemView::AllEditTriggers
                                              : QAbstractItemView::NoEditTriggers);
}

int AttachmentsGroup::selectedRow() const
{
    const QModelIndexList rows = attachmentsGrid->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void AttachmentsGroup::fillGrid(int select)
{
    m_filling = true;
    const RecordAttachments &a = *m_attachments;
    attachmentsGrid->setRowCount(a.rowCount());
    for (int r = 0; r < a.rowCount(); ++r) {
        const QStringList texts = {a.value(r, "SIRNO").toString(), shownType(a.value(r, "BELTUR").toString()),
                                   a.value(r, "BELKAYNO").toString(), a.value(r, "OCN").toString(),
                                   a.value(r, "ACIK").toString()};
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            if (c != 4)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            attachmentsGrid->setItem(r, c, item);
        }
    }
    m_filling = false;
    if (select >= 0 && select < a.rowCount())
        attachmentsGrid->selectRow(select);
    else
        documentView->clear();
}

void AttachmentsGroup::add()
{
    if (!m_addButton->isEnabled())
        return;
    bool added = false;
    guarded(m_session, [&] { added = m_attachments->BELGEYUKLE(1); });
    if (added)
        fillGrid(m_attachments->rowCount() - 1);
}

void AttachmentsGroup::change()
{
    const int row = selectedRow();
    if (!changeButton->isEnabled() || row < 0)
        return;
    bool changed = false;
    guarded(m_session, [&] { changed = m_attachments->BELGEYUKLE(2, row); });
    if (changed) {
        fillGrid(row);
        showSelected();
    }
}

void AttachmentsGroup::removeSelected()
{
    const int row = selectedRow();
    if (!deleteButton->isEnabled() || row < 0)
        return;
    if (m_attachments->remove(row)) {
        documentView->clear();
        fillGrid(std::min(row, m_attachments->rowCount() - 1));
    }
}

void AttachmentsGroup::showSelected()
{
    const int row = selectedRow();
    Shown shown;
    guarded(m_session, [&] { shown = m_attachments->show(row); });
    if (shown.kind == Shown::Nothing)
        documentView->clear(shown.message);
    else
        documentView->showFile(shown.path);
}

AfterSave AttachmentsGroup::saved()
{
    const AfterSave after = m_attachments->saved();
    fillGrid(selectedRow());
    return after;
}

void AttachmentsGroup::cancel()
{
    documentView->clear();
    m_attachments->cancel();
    fillGrid(-1);
}

bool AttachmentsGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == attachmentsGrid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Insert) {
            add();
            return true;
        }
        // Enter is the double-click of the keyboard: a picture opens in the viewer,
        // a text attachment in its editor.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && selectedRow() >= 0) {
            if (openPicture && !documentView->picture().isNull())
                openPicture(documentView->picture());
            else if (editText)
                editRow(selectedRow());
            return true;
        }
        if (key->key() == Qt::Key_Delete) { // an open cell editor takes its own keys
            removeSelected();
            return true;
        }
        if (key->matches(QKeySequence::Print)) {
            if (printButton->isEnabled())
                printSelected();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void AttachmentsGroup::printSelected()
{
    if (printAttachment)
        printAttachment();
    else
        m_session.prompt().message(QStringLiteral("Bu Bir Text Belgesi Değildir."));
}

void AttachmentsGroup::editRow(int row)
{
    if (editText && m_canChange && editText(row))
        refresh(row);
}

void AttachmentsGroup::refresh(int select)
{
    fillGrid(select);
    showSelected();
}
