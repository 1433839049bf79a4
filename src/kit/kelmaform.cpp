#include "kelmaform.h"

#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/error.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
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

void KelmaForm::paintScheme(QWidget *form, const Session &session)
{
    if (!session.colours.applies())
        return;
    int r, g, b;
    ColourScheme::rgb(ColourScheme::number(session.colours.form), &r, &g, &b);
    const QColor formColour(r, g, b);
    ColourScheme::rgb(ColourScheme::number(session.colours.panel), &r, &g, &b);
    const QColor panelColour(r, g, b);
    QPalette p = form->palette();
    p.setColor(QPalette::Window, formColour);
    form->setPalette(p);
    form->setAutoFillBackground(true);
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (qobject_cast<QGroupBox *>(w) || (qobject_cast<QFrame *>(w) && w->objectName().startsWith(QLatin1String("Panel")))) {
            QPalette pp = w->palette();
            pp.setColor(QPalette::Window, panelColour);
            w->setPalette(pp);
            w->setAutoFillBackground(true);
        }
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
