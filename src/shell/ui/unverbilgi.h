#pragma once

#include "kit/kelmaform.h"
#include "shell/programupdate.h"

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

/// "VERSİYON BİLGİSİ": the running version, the release notes the version
/// service returns, and the update. The notes arrive while the window stays
/// usable; Escape ends a slow exchange and closes.
class TFRMVERBILGI : public KelmaForm
{
    Q_OBJECT

public:
    TFRMVERBILGI(Session &session, const QString &version, const update::ServiceAddress &service,
                 QWidget *parent = nullptr);

    /// "Güncelle" runs this, then the window closes (also after a No).
    std::function<void()> PRGGUNCELLE;

    update::ServiceExchange &exchange() { return m_exchange; }

protected:
    void FormActivate() override;

private:
    void VERGETIR();
    void updateClick();
    void exitClick();

    QLabel *versionLabel;        // LBLVER
    QPushButton *updateButton;   // "Güncelle"
    QPlainTextEdit *notesMemo;   // release notes
    QLabel *statusLabel;
    QPushButton *exitButton;     // "ESC-Çıkış"

    update::ServiceAddress m_service;
    update::ServiceExchange m_exchange;
};
