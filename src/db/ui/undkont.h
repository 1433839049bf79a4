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

    QLabel *Label1;         ///< the backup warning
    QPlainTextEdit *Memo1;  ///< the log
    QProgressBar *ProgressBar1;
    QMenu *PopupMenu1;
    QAction *Generator1;
    QAction *KullaniciHaklari1;
    QAction *BelgeKontrolleri1;
    QPushButton *BitBtn1;   ///< "ESC-Çıkış"

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
};
