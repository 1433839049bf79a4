#include "recordwidgets.h"

#include "core/prompt.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QShortcut>

namespace recordwidgets {

namespace {

class DoubleClick : public QObject
{
public:
    DoubleClick(QObject *parent, std::function<void()> action) : QObject(parent), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick)
            return QObject::eventFilter(watched, event);
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void fieldAction(QWidget *field, const QString &what, std::function<void()> action)
{
    auto *key = new QShortcut(QKeySequence(kFieldActionKey), field);
    key->setContext(Qt::WidgetShortcut);
    QObject::connect(key, &QShortcut::activated, field, action);
    // A text area gets its mouse events through its viewport.
    auto *area = qobject_cast<QAbstractScrollArea *>(field);
    QWidget *clicked = area ? area->viewport() : field;
    clicked->installEventFilter(new DoubleClick(field, std::move(action)));
    field->setToolTip(QStringLiteral("F2 ya da çift tıklama: %1").arg(what));
}

QLineEdit *textBox(QWidget *parent, const char *name, int width)
{
    auto *e = named(new QLineEdit(parent), name);
    e->setMaxLength(width);
    return e;
}

QLineEdit *numberBox(QWidget *parent, const char *name)
{
    auto *e = named(new QLineEdit(parent), name);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), e));
    e->setMaximumWidth(110);
    return e;
}

QLineEdit *dateBox(QWidget *parent, const char *name)
{
    auto *e = named(new QLineEdit(parent), name);
    e->setInputMask(QStringLiteral("99/99/9999;_"));
    // Wide enough for the whole date in any column it sits in.
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    e->setMaximumWidth(120);
    return e;
}

QComboBox *choiceBox(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = named(new QComboBox(parent), name);
    c->addItems(items);
    return c;
}

QPlainTextEdit *memo(QWidget *parent, const char *name, int height)
{
    auto *m = named(new QPlainTextEdit(parent), name);
    m->setTabChangesFocus(true);
    m->setMaximumHeight(height);
    return m;
}

FormRows::FormRows(QWidget *owner, QGridLayout *grid)
    : m_owner(owner)
    , m_grid(grid)
{
}

void FormRows::add(const QString &caption, QWidget *buddy, QLayout *content)
{
    auto *label = new QLabel(caption, m_owner);
    label->setBuddy(buddy);
    m_grid->addWidget(label, m_row, 0, Qt::AlignRight | Qt::AlignTop);
    m_grid->addLayout(content, m_row++, 1);
}

void FormRows::add(const QString &caption, QWidget *buddy, std::initializer_list<QWidget *> content, bool stretch)
{
    add(caption, buddy, hbox(content, stretch));
}

void FormRows::addPlain(std::initializer_list<QWidget *> content)
{
    m_grid->addLayout(hbox(content), m_row++, 1);
}

void FormRows::addWide(QWidget *widget)
{
    m_grid->addWidget(widget, m_row++, 0, 1, 2);
}

QHBoxLayout *hbox(std::initializer_list<QWidget *> widgets, bool stretch)
{
    auto *h = new QHBoxLayout;
    for (QWidget *w : widgets)
        h->addWidget(w);
    if (stretch)
        h->addStretch();
    return h;
}

const QStringList &deliveryCodes()
{
    static const QStringList c = {QStringLiteral("İ"), QStringLiteral("D")};
    return c;
}

const QStringList &confidentialityCodes()
{
    static const QStringList c = {QStringLiteral("Ö"), QStringLiteral("K"), QStringLiteral("G"), QStringLiteral("Ç")};
    return c;
}

const QStringList &arrivalCodes()
{
    static const QStringList c = {QStringLiteral("P"), QStringLiteral("E"), QStringLiteral("M"), QStringLiteral("D")};
    return c;
}

const QStringList &answerCodes()
{
    static const QStringList c = {QStringLiteral("E"), QStringLiteral("H")};
    return c;
}

QComboBox *deliveryBox(QWidget *parent, const char *name)
{
    return choiceBox(parent, name, {QStringLiteral("İç"), QStringLiteral("Dış")});
}

QComboBox *confidentialityBox(QWidget *parent, const char *name)
{
    return choiceBox(parent, name, {QStringLiteral("Özel"), QStringLiteral("Kişiye Özel"),
                                    QStringLiteral("Gizli"), QStringLiteral("Çok Gizli")});
}

QComboBox *arrivalBox(QWidget *parent, const char *name)
{
    return choiceBox(parent, name, {QStringLiteral("Posta İle"), QStringLiteral("Elden"),
                                    QStringLiteral("e-Posta"), QStringLiteral("Diğer")});
}

void showCode(QComboBox *box, const QStringList &codes, const QVariant &value)
{
    if (const int i = static_cast<int>(codes.indexOf(plain(value))); i >= 0)
        box->setCurrentIndex(i);
}

QString plain(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QString dateText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
}

QVariant textOf(const QString &t)
{
    return t.isEmpty() ? QVariant() : QVariant(t);
}

QVariant numberOf(const QLineEdit *box)
{
    const QString t = box->text().trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t.toLongLong());
}

bool blankDate(const QString &text)
{
    return QString(text).remove(u'/').trimmed().isEmpty();
}

bool dateOf(Prompt &prompt, QLineEdit *box, const QString &caption, QVariant *out)
{
    if (blankDate(box->text())) {
        *out = QVariant();
        return true;
    }
    const QDate d = QDate::fromString(box->text(), QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid()) {
        prompt.message(QStringLiteral("DİKKAT! «%1» geçerli bir tarih değil (gün/ay/yıl).").arg(caption));
        box->setFocus();
        return false;
    }
    *out = d;
    return true;
}

} // namespace recordwidgets
