#include "unsablon.h"

#include "unornek.h"

#include "core/guarded.h"
#include "core/prompt.h"
#include "core/session.h"
#include "kit/buttonrow.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TFRMSABLON::TFRMSABLON(Session &session, FormRunner &runner, QWidget *parent)
    : KelmaForm(session, parent)
    , office(&m_office)
    , m_runner(runner)
{
    setWindowTitle(QStringLiteral("Giden Evrak Örneği"));
    resize(620, 460);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("GİDEN EVRAK ŞABLONLARI LİSTESİ"), this);
    title->setObjectName(QStringLiteral("titleLabel"));
    QFont f = title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    templatesArea = new QScrollArea(this);
    templatesArea->setObjectName(QStringLiteral("templatesArea"));
    templatesArea->setWidgetResizable(true);
    templatesColumn = new QWidget(templatesArea);
    templatesColumn->setObjectName(QStringLiteral("templatesColumn"));
    m_column = new QVBoxLayout(templatesColumn);
    m_column->addStretch();
    templatesArea->setWidget(templatesColumn);
    layout->addWidget(templatesArea, 1);

    addButton = new QPushButton(QStringLiteral("F2-Şablon &Ekle"), this);
    addButton->setObjectName(QStringLiteral("addButton"));
    editButton = new QPushButton(QStringLiteral("F4-&Düzenle"), this);
    editButton->setObjectName(QStringLiteral("editButton"));
    deleteButton = new QPushButton(QStringLiteral("F10-&Sil"), this);
    deleteButton->setObjectName(QStringLiteral("deleteButton"));
    exitButton = new QPushButton(QStringLiteral("Çıkış"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    layout->addLayout(buttonRow({addButton, editButton, deleteButton, exitButton}));
    bindKey(addButton, Qt::Key_F2);
    bindKey(editButton, Qt::Key_F4);
    bindKey(deleteButton, Qt::Key_F10);
    bindKey(exitButton, Qt::Key_Escape);
    connect(addButton, &QPushButton::clicked, this, &TFRMSABLON::addTemplate);
    connect(editButton, &QPushButton::clicked, this, [this] {
        if (Row *r = current())
            editTemplate(r->kayno);
    });
    connect(deleteButton, &QPushButton::clicked, this, [this] {
        if (Row *r = current())
            removeTemplate(r->kayno);
    });
    connect(exitButton, &QPushButton::clicked, this, &TFRMSABLON::exitList);
}

void TFRMSABLON::FormActivate()
{
    guarded(m_session, [this] { fill(); });
}

void TFRMSABLON::fill(int focusKayno)
{
    const QList<texts::Template> templates = texts::Templates(m_session).list();
    for (Row &r : m_rows)
        r.edit->disconnect(this);
    while (m_column->count() > 1) {
        QLayoutItem *item = m_column->takeAt(0);
        delete item->widget();
        delete item;
    }
    m_rows.clear();
    for (const texts::Template &t : templates) {
        auto *panel = new QFrame(templatesColumn);
        panel->setObjectName(QStringLiteral("templatePanel"));
        panel->setFrameShape(QFrame::StyledPanel);
        auto *row = new QHBoxLayout(panel);
        row->addWidget(new QLabel(QStringLiteral("Açıklama"), panel));
        auto *edit = new QLineEdit(t.description, panel);
        edit->setObjectName(QStringLiteral("descriptionEdit"));
        edit->setMaxLength(texts::Templates::descriptionLength);
        edit->setProperty("kayno", t.kayno);
        row->addWidget(edit, 1);
        auto *editPicture = new QToolButton(panel);
        editPicture->setObjectName(QStringLiteral("editPicture"));
        editPicture->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
        editPicture->setToolTip(QStringLiteral("Düzenlemek İçin Tıklayınız.."));
        editPicture->setFocusPolicy(Qt::NoFocus);
        auto *deletePicture = new QToolButton(panel);
        deletePicture->setObjectName(QStringLiteral("deletePicture"));
        deletePicture->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
        deletePicture->setToolTip(QStringLiteral("Örneği Buradan Silebilirsiniz"));
        deletePicture->setFocusPolicy(Qt::NoFocus);
        row->addWidget(editPicture);
        row->addWidget(deletePicture);
        m_column->insertWidget(m_column->count() - 1, panel);
        m_rows.append({t.kayno, t.description, edit});
        const int kayno = t.kayno;
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::editingFinished, this, [this, kayno] {
            for (Row &r : m_rows) {
                if (r.kayno == kayno)
                    guarded(m_session, [&] { leave(r); });
            }
        });
        connect(editPicture, &QToolButton::clicked, this, [this, kayno] { editTemplate(kayno); });
        connect(deletePicture, &QToolButton::clicked, this, [this, kayno] { removeTemplate(kayno); });
    }
    m_currentKayno = 0;
    for (Row &r : m_rows) {
        if (r.kayno == focusKayno || (focusKayno == 0 && &r == &m_rows.first())) {
            m_currentKayno = r.kayno;
            r.edit->setFocus();
            templatesArea->ensureWidgetVisible(r.edit);
        }
    }
    editButton->setEnabled(!m_rows.isEmpty());
    deleteButton->setEnabled(!m_rows.isEmpty());
}

bool TFRMSABLON::eventFilter(QObject *watched, QEvent *event)
{
    // The row last entered stays current while a button takes the focus.
    if (event->type() == QEvent::FocusIn) {
        for (const Row &r : std::as_const(m_rows)) {
            if (r.edit == watched)
                m_currentKayno = r.kayno;
        }
    }
    return KelmaForm::eventFilter(watched, event);
}

TFRMSABLON::Row *TFRMSABLON::current()
{
    for (Row &r : m_rows) {
        if (r.kayno == m_currentKayno)
            return &r;
    }
    return m_rows.isEmpty() ? nullptr : &m_rows.first();
}

bool TFRMSABLON::leave(Row &row)
{
    const QString text = row.edit->text();
    if (text == row.stored)
        return true;
    if (!texts::Templates(m_session).describe(row.kayno, text)) {
        row.edit->setFocus();
        return false;
    }
    row.stored = text;
    return true;
}

void TFRMSABLON::addTemplate()
{
    for (Row &r : m_rows) {
        if (!leave(r))
            return;
    }
    guarded(m_session, [this] {
        const texts::Template added = texts::Templates(m_session).add();
        fill(added.kayno);
    });
}

void TFRMSABLON::editTemplate(int kayno)
{
    if (kayno == 0)
        return;
    for (Row &r : m_rows) {
        if (r.kayno == kayno) {
            bool left = false;
            guarded(m_session, [&] { left = leave(r); });
            if (!left)
                return;
            TFRMORNEK editor(m_session, *office, kayno, r.stored, this);
            m_runner.run(editor);
            r.edit->setFocus();
            return;
        }
    }
}

void TFRMSABLON::removeTemplate(int kayno)
{
    guarded(m_session, [&] {
        if (texts::Templates(m_session).remove(kayno))
            fill();
    });
}

void TFRMSABLON::exitList()
{
    bool left = false;
    guarded(m_session, [&] {
        for (Row &r : m_rows) {
            if (!leave(r))
                return;
        }
        left = true;
    });
    if (left)
        closeForm(1);
}
