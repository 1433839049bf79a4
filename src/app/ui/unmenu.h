#pragma once

#include <QMainWindow>
#include <QTimer>

class FormRunner;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class Session;

/// The main window: home of the run. Its first showing runs the activation
/// sequence once; it closes only through "&Program Sonu" or when start-up ends
/// the run.
class TFRMMENU : public QMainWindow
{
    Q_OBJECT

public:
    TFRMMENU(Session &session, FormRunner &runner, QWidget *parent = nullptr);

    bool mayClose = false;

    /// The activation sequence; does nothing once it has completed.
    void FormActivate();
    /// "&Program Sonu".
    void MenuCikClick();
    /// Hidden "SYSTEM" item (Ctrl+S).
    void SYSTEM1Click();
    /// One tick of the minute timer.
    void Timer1Timer();

    // Status elements.
    QLabel *LKURUM;
    QLabel *Label5;
    QLabel *LBRM;
    QLabel *LUSR;
    QLabel *LUSRACK;
    QLabel *LBLYIL;
    QLabel *LBLTARIH;
    QLabel *LBLGUN;
    QLabel *STSAAT;
    QLabel *LVER;
    QLabel *LYDUR;
    QLabel *LSRV;
    QLabel *LSVER;
    QLabel *Image2;
    QGroupBox *GroupBox2;

    QAction *MenuCik;
    QAction *SYSTEM1;
    QTimer Timer1;

signals:
    /// The run is over (closed through an allowed path).
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenu();
    void endProgram();
    void showClock();
    void showLogo();
    void applyColour();

    Session &m_session;
    FormRunner &m_runner;
};
