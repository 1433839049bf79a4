#include "kelmaform.h"

#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/error.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QMenuBar>
#include <QTabWidget>

KelmaForm::KelmaForm(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setModal(true);
}

void KelmaForm::closeForm(int resultTag)
{
    tag = resultTag;
    mayClose = true;
    const int result = resultTag == 1 ? Accepted : Rejected;
    if (m_activating) {
        // Still inside show(): exec() has not started its loop, and a done()
        // now would leave it waiting for ever. Close once the loop runs.
        QMetaObject::invokeMethod(this, [this, result] { done(result); }, Qt::QueuedConnection);
        return;
    }
    done(result);
}

void KelmaForm::bindKey(QAbstractButton *button, const QKeySequence &key)
{
    auto *action = new QAction(this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, button, [button] {
        if (button->isEnabled() && button->isVisible())
            button->click();
    });
    addAction(action);
}

namespace {

QColor qcolor(const ColourScheme::Rgb &c)
{
    return QColor(c.red, c.green, c.blue);
}

const char *const kWarning = "kelmaWarning";

bool isPanel(const QWidget *w)
{
    return qobject_cast<const QGroupBox *>(w)
        || (qobject_cast<const QFrame *>(w) && w->objectName().startsWith(QLatin1String("Panel")));
}

/// Background and text of a widget; the text stays readable on the background.
void paint(QWidget *w, const ColourScheme::Rgb &background)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, qcolor(background));
    p.setColor(QPalette::WindowText, qcolor(ColourScheme::textOn(background)));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

void KelmaForm::markWarning(QWidget *label)
{
    label->setProperty(kWarning, true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, qcolor(ColourScheme::plainWarning()));
    label->setPalette(p);
}

void KelmaForm::paintScheme(QWidget *form, const Session &session)
{
    if (!session.colours.applies())
        return;
    const ColourScheme::Rgb formColour = session.colours.formRgb();
    const ColourScheme::Rgb panelColour = session.colours.panelRgb();
    paint(form, formColour);
    const QList<QWidget *> children = form->findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (isPanel(w))
            paint(w, panelColour);
    }
    for (QWidget *w : children) {
        if (isPanel(w))
            continue;
        // Pop-up menus and other windows keep the platform's own colours.
        bool inWindow = w->isWindow();
        bool onPanel = false;
        for (QWidget *up = w->parentWidget(); up && up != form; up = up->parentWidget()) {
            inWindow = inWindow || up->isWindow();
            onPanel = onPanel || isPanel(up);
        }
        if (inWindow)
            continue;
        const ColourScheme::Rgb behind = onPanel ? panelColour : formColour;
        // Set on each widget, not left to propagation: a widget under a style
        // sheet keeps the colours it had when the sheet was applied.
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, qcolor(w->property(kWarning).toBool() ? ColourScheme::warningOn(behind)
                                                                                : ColourScheme::textOn(behind)));
        // Menu bar entries are written in the button text colour.
        if (qobject_cast<QMenuBar *>(w))
            p.setColor(QPalette::ButtonText, qcolor(ColourScheme::textOn(behind)));
        w->setPalette(p);
    }
}

void KelmaForm::reject()
{
    // Escape and the frame's close go through here: refused until may-close is set.
    if (mayClose)
        QDialog::reject();
}

void KelmaForm::closeEvent(QCloseEvent *event)
{
    if (!mayClose) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void KelmaForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is shown again by the system: that
    // is no new opening, and must not start the screen over.
    if (event->spontaneous())
        return;
    if (!m_painted) {
        // Once, when the form and all its children exist.
        paintScheme(this, m_session);
        m_painted = true;
    }
    mayClose = false;
    m_activating = true;
    activateGuarded();
    m_activating = false;
}

void KelmaForm::activateGuarded()
{
    // An error out of an activation would otherwise leave through the event
    // loop and end the program; it is shown and the screen stays as it got.
    try {
        FormActivate();
    } catch (const fb::Error &e) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Veritabanı hatası: %1").arg(e.message()), e.details());
    } catch (const std::exception &e) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Beklenmeyen hata: %1").arg(QString::fromLocal8Bit(e.what())));
    }
}

void FormRunner::run(KelmaForm &form)
{
    form.exec();
}
