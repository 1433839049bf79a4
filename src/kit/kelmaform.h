#pragma once

#include <QDialog>
#include <QKeySequence>

class QAbstractButton;
class Session;

/// What every KELMA screen shares: it is modal, paints itself with the colour
/// scheme, reports its result in its tag, and refuses to be closed by the window
/// frame (or Escape) until one of its own actions has set the may-close flag.
class KelmaForm : public QDialog
{
    Q_OBJECT

public:
    KelmaForm(Session &session, QWidget *parent = nullptr);

    /// Mode before showing (1 new, 2 change, …); result after (1 saved or chosen, 0 cancelled).
    int tag = 0;
    bool mayClose = false;

    /// Closes through the form's own action: sets may-close first.
    void closeForm(int resultTag);

    /// A key that presses a button, doing nothing while the button is disabled or hidden.
    void bindKey(QAbstractButton *button, const QKeySequence &key);

    /// Paints background and panels with the scheme when one applies, with
    /// text colours that stay readable on them.
    static void paintScheme(QWidget *form, const Session &session);
    /// A label that warns: red, or what reads as a warning on the scheme.
    static void markWarning(QWidget *label);

    Session &session() { return m_session; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    /// Called each time the form is shown (its activation). A database or
    /// other error it throws is shown through the prompt by the base class.
    virtual void FormActivate() {}

    Session &m_session;

private:
    void activateGuarded();

    bool m_painted = false;
    bool m_activating = false;
};

/// Shows a form modally. Tests replace it to play the person at the screen.
class FormRunner
{
public:
    virtual ~FormRunner() = default;
    virtual void run(KelmaForm &form);
};
