#pragma once

#include "kit/kelmaform.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

/// "Dosya Kontrol İşlemi": the administrator's checks of the main database,
/// offered on the log box's pop-up menu. The log is emptied at each activation.
class TFRMDKONT : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMDKONT(Session &session, QWidget *parent = nullptr);

    void Generator1Click();
    void KullaniciHaklari1Click();
    void BelgeKontrolleri1Click();
    void BitBtn1Click();

protected:
    void FormActivate() override;

private:
    void log(const QString &line);
    template<class Check>
    void run(Check check);

    QLabel *backupWarningLabel; // Label1 the backup warning
    QPlainTextEdit *logEdit; // Memo1 the log
    QProgressBar *progressBar; // ProgressBar1
    QMenu *checksMenu; // PopupMenu1
    QAction *generatorCheckAction; // Generator1
    QAction *userRightsCheckAction; // KullaniciHaklari1
    QAction *documentCheckAction; // BelgeKontrolleri1
    QPushButton *exitButton; // BitBtn1 "ESC-Çıkış"
};
