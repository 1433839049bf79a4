#pragma once

#include <array>
#include <functional>

#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QStringList>
#include <QTimer>

struct UpdatePlan;
class FormRunner;
class QAction;
class QFrame;
class QGroupBox;
class QMenu;
class QPushButton;
class QVBoxLayout;
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
    /// Checks the document file server and shows what it said in fileServerLabel and fileServerVersionLabel.
    void SRVKONTROL();
    /// One tick of the minute timer.
    void Timer1Timer();

    /// Hides the menu entries the user's rights take away.
    void MENUYAP();
    /// Reads the general settings and shows the institution and department.
    void TANIMOKU();
    /// Refreshes the notification panel.
    void EVDURGUNC();
    /// Refreshes the counts of overdue and near reply deadlines.
    void refreshDeadlines();
    /// A click on a deadline count: its list, filtered to those rows.
    void openDeadlines(int which);
    /// "Süresi Geçen Evraklar": the overdue documents per department.
    void overdueReportClick();
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

    /// The minute timer of the clock and the notifications.
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
    QFrame *buildTitleBand(QWidget *central);
    QVBoxLayout *buildBody(QWidget *central);
    void buildNotifications(QWidget *central);
    void buildStatus();
    void buildMenu();
    QMenu *addGroup(const QString &caption);
    void buildDocumentsMenu();
    void buildReportsMenu();
    void buildSettingsMenu();
    QAction *item(QMenu *menu, const QString &caption, int code, void (TFRMMENU::*handler)());
    bool logIn();
    void showUser();
    void endProgram();
    void showClock();
    /// The working-year warning: shown while the year is not today's.
    void showYearWarning();
    void showLogo();
    void applyColour();

    Session &m_session;
    FormRunner &m_runner;
    QMap<int, QAction *> m_coded;
    QList<QList<int>> m_groupCodes;
    QList<QMenu *> m_groups;
    QWidget *m_serverSeparator = nullptr;
    bool m_refreshing = false;

    // Status elements.
    QLabel *institutionLabel; // LKURUM
    QLabel *productTitleLabel; // Label5
    QLabel *departmentLabel; // LBRM
    QLabel *userLabel; // LUSR
    QLabel *userDescriptionLabel; // LUSRACK
    QLabel *yearLabel; // LBLYIL
    QLabel *dateLabel; // LBLTARIH
    QLabel *dayLabel; // LBLGUN
    QLabel *clockLabel; // STSAAT
    ClickableLabel *versionLabel; // LVER
    QLabel *yearWarningLabel; // LYDUR
    QLabel *fileServerLabel; // LSRV
    QLabel *fileServerVersionLabel; // LSVER
    QLabel *emblemImage; // Image2
    ClickableLabel *logoImage; // Image1
    QGroupBox *notificationsGroup; // GroupBox2 "Evrak Durumu"
    QLabel *notificationCaption1; // ST1
    QLabel *notificationCaption2; // ST2
    QLabel *notificationCaption3; // ST3
    QLabel *notificationCount1; // SS1
    QLabel *notificationCount2; // SS2
    QLabel *notificationCount3; // SS3
    QGroupBox *deadlinesGroup; // "Cevap Süreleri"
    // Overdue and near incoming documents, overdue and near petitions; the
    // captions are buttons so that Alt and a letter opens a list too.
    std::array<QPushButton *, 4> deadlineCaptions;
    std::array<ClickableLabel *, 4> deadlineCounts;
    // The menu.
    QMenu *documentsMenu; // Evrakilemleri1 "Evrak İşlemleri"
    QMenu *documentsSubmenu; // Evrakilemleri2 "Evrak İşlemleri" › "Evrak İşlemleri"
    QMenu *reportsMenu; // Raporlar1
    QMenu *settingsMenu; // Parametreler1
    QAction *incomingAction; // GelenEvrak1
    QAction *outgoingAction; // GidenEvrak1
    QAction *petitionAction; // Dileke1
    QAction *archiveFilesAction; // ArivDosyalar1
    QAction *workflowAction; // lAkYnetimi1
    QAction *generalListAction; // GenelListe1
    QAction *incomingListAction; // GelenYazlarDefteri1
    QAction *outgoingListAction; // GidenYazlarDefteri1
    QAction *petitionListAction; // DilekeDefteri1
    QAction *archiveListAction; // ArivListesi1
    QAction *workflowReportsAction; // lAkRaporlar1
    QAction *overdueReportAction;
    QAction *generalDefinitionsAction; // GenelTanmlar1
    QAction *userDefinitionsAction; // KullancTanmlar1
    QAction *departmentDefinitionsAction; // BirimTanmlar1
    QAction *bodyDefinitionsAction; // KurumTanmlar1
    QAction *documentTypeDefinitionsAction; // EvrakTrTanmlar1
    QAction *archiveKindDefinitionsAction; // EvrakCinsiTanmlar1
    QAction *documentTemplateAction; // Evrakablonu1
    QAction *filePlanAction; // StandartDosyaPlan1
    QAction *fileCheckAction; // DosyaKontrollemi1
    QAction *changePasswordAction; // ifreDei1
    QAction *userMonitoringAction; // Kullanclzleme1
    QAction *programEndAction; // MenuCik
    QAction *systemAction; // SYSTEM1
};
