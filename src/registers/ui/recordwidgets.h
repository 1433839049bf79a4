#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class Prompt;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

/// The boxes the petition and archive screens are made of, and the way their
/// text becomes column values.
namespace recordwidgets {

/// Every widget is named as the member that holds it, so tests can find it.
template<class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit *textBox(QWidget *parent, const char *name, int width);
QLineEdit *numberBox(QWidget *parent, const char *name);
QLineEdit *dateBox(QWidget *parent, const char *name);
QComboBox *choiceBox(QWidget *parent, const char *name, const QStringList &items);
QPlainTextEdit *memo(QWidget *parent, const char *name, int height);

/// Caption in the left column, content to its right; a form builder's rows.
class FormRows
{
public:
    FormRows(QWidget *owner, QGridLayout *grid);
    void add(const QString &caption, QWidget *buddy, QLayout *content);
    void add(const QString &caption, QWidget *buddy, std::initializer_list<QWidget *> content, bool stretch = true);
    /// A row of content without a caption.
    void addPlain(std::initializer_list<QWidget *> content);
    /// A widget over both columns.
    void addWide(QWidget *widget);

private:
    QWidget *m_owner;
    QGridLayout *m_grid;
    int m_row = 0;
};
QHBoxLayout *hbox(std::initializer_list<QWidget *> widgets, bool stretch = true);

// The codes behind the choice boxes, in their order.
const QStringList &deliveryCodes();        ///< ZDUR: İç, Dış
const QStringList &confidentialityCodes(); ///< GIZDER: Özel, Kişiye Özel, Gizli, Çok Gizli
const QStringList &arrivalCodes();         ///< GSEKLI: Posta İle, Elden, e-Posta, Diğer
const QStringList &answerCodes();          ///< CEVDUR: Evet, Hayır
QComboBox *deliveryBox(QWidget *parent, const char *name);
QComboBox *confidentialityBox(QWidget *parent, const char *name);
QComboBox *arrivalBox(QWidget *parent, const char *name);

/// A field's own action (a default copied in, the field emptied): done by
/// double-click and, so that the keyboard reaches it, by F2 while the field
/// has focus. The tooltip says what it does and names both ways.
void fieldAction(QWidget *field, const QString &what, std::function<void()> action);
inline constexpr auto kFieldActionKey = Qt::Key_F2;

/// Sets a choice box from a stored code; a code no item has leaves it as it was.
void showCode(QComboBox *box, const QStringList &codes, const QVariant &value);

QString plain(const QVariant &v);
QString dateText(const QVariant &v);
QVariant textOf(const QString &t);
/// Empty is NULL; digits become a number.
QVariant numberOf(const QLineEdit *box);
/// Whether a masked date box holds nothing.
bool blankDate(const QString &text);
/// A date box's value into `out`: NULL when blank. False, after a message
/// naming `caption` and focus on the box, when it is no date.
bool dateOf(Prompt &prompt, QLineEdit *box, const QString &caption, QVariant *out);

} // namespace recordwidgets
