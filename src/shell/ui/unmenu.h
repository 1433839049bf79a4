#pragma once

#include <functional>

#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QStringList>
#include <QTimer>

struct UpdatePlan;
class FormRunner;
class QAction;
class QGroupBox;
class QMenu;
class Session;

/// A label that can be clicked, like the pictures and the version text of the
/// main window.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

/// The main window: home of the run. Its first showing runs the activation
/// sequence once; it closes only through "&Program Sonu" or when start-up ends
/// the run.
class TFRMMENU : public QMainWindow
{
    Q_OBJECT

public:
    TFRMMENU(Session &session, FormRunner &runner, QWidget *parent = nullptr);

    bool mayClose = false;
    /// The program's arguments: user name and password log in without the dialog.
    QStringList arguments;
    /// Stands in for the update in tests; empty: the real one.
    std::function<bool(const UpdatePlan &)> updateRunner;

    /// The activation sequence; does nothing once it has completed.
    void FormActivate();
    /// "&Program Sonu".
    void MenuCikClick();
    /// Hidden "SYSTEM" item (Ctrl+S).
    void SYSTEM1Click();
    /// Checks the document file server and shows what it said in LSRV and LSVER.
    void SRVKONTROL();
    /// One tick of the minute timer.
    void Timer1Timer();

    /// Hides the menu entries the user's rights take away.
    void MENUYAP();
    /// Reads the general settings and shows the institution and department.
    void TANIMOKU();
    /// Refreshes the notification panel.
    void EVDURGUNC();
    /// After the general definitions were saved: settings, working year (the
    /// screen's year field), colour, emblem, file server.
    void GenelTanimlarRefresh(const QString &yearField);

    // Menu handlers, in menu order.
    void GelenEvrak1Click();
    void GidenEvrak1Click();
    void Dileke1Click();
    void ArivDosyalar1Click();
    void GenelListe1Click();
    void GelenYazlarDefteri1Click();
    void GidenYazlarDefteri1Click();
    void DilekeDefteri1Click();
    void GenelTanmlar1Click();
    void KullancTanmlar1Click();
    void BirimTanmlar1Click();
    void KurumTanmlar1Click();
    void EvrakTrTanmlar1Click();
    void EvrakCinsiTanmlar1Click();
    void Evrakablonu1Click();
    void DosyaKontrollemi1Click();
    void ifreDei1Click();
    void LVERClick();
    /// The program update; true when it was handed over (the caller ends the run).
    bool runUpdate();
    void Image1Click();

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
    ClickableLabel *LVER;
    QLabel *LYDUR;
    QLabel *LSRV;
    QLabel *LSVER;
    QLabel *Image2;
    ClickableLabel *Image1;
    QGroupBox *GroupBox2;
    QLabel *ST1, *ST2, *ST3;
    QLabel *SS1, *SS2, *SS3;

    // The menu.
    QMenu *Evrakilemleri1; ///< "Evrak İşlemleri"
    QMenu *Evrakilemleri2; ///< "Evrak İşlemleri" › "Evrak İşlemleri"
    QMenu *Raporlar1;
    QMenu *Parametreler1;
    QAction *GelenEvrak1;
    QAction *GidenEvrak1;
    QAction *Dileke1;
    QAction *ArivDosyalar1;
    QAction *lAkYnetimi1;
    QAction *GenelListe1;
    QAction *GelenYazlarDefteri1;
    QAction *GidenYazlarDefteri1;
    QAction *DilekeDefteri1;
    QAction *ArivListesi1;
    QAction *lAkRaporlar1;
    QAction *GenelTanmlar1;
    QAction *KullancTanmlar1;
    QAction *BirimTanmlar1;
    QAction *KurumTanmlar1;
    QAction *EvrakTrTanmlar1;
    QAction *EvrakCinsiTanmlar1;
    QAction *Evrakablonu1;
    QAction *StandartDosyaPlan1;
    QAction *DosyaKontrollemi1;
    QAction *ifreDei1;
    QAction *Kullanclzleme1;
    QAction *MenuCik;
    QAction *SYSTEM1;
    QTimer Timer1;

    /// The entry a screen code governs.
    QAction *menuItem(int code) const { return m_coded.value(code); }

signals:
    /// The run is over (closed through an allowed path).
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildStatus();
    void buildMenu();
    QAction *item(QMenu *menu, const QString &caption, int code, void (TFRMMENU::*handler)());
    bool logIn();
    void showUser();
    void endProgram();
    void showClock();
    void showLogo();
    void applyColour();
    void notAvailable();
    void openList();

    Session &m_session;
    FormRunner &m_runner;
    QMap<int, QAction *> m_coded;
    QList<QList<int>> m_groupCodes;
    QList<QMenu *> m_groups;
    QWidget *m_serverSeparator = nullptr;
    bool m_refreshing = false;
};
