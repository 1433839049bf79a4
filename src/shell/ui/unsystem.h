#pragma once

#include "kit/kelmaform.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

/// "SİSTEM TANIMLARI": where the database is. Mode 1 when the connection failed
/// at start, 2 from the hidden SYSTEM item; tag 1 after a save, 0 after cancel.
class TFRMSYSTEM : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMSYSTEM(Session &session, QWidget *parent = nullptr);

    void BitBtn2Click();
    void BitBtn5Click();
    void SpeedButton2Click();

protected:
    void FormActivate() override;

private:
    void recompute();

    QLineEdit *hostEdit; // Edit1 "Ana Makina": database host
    QLineEdit *folderEdit; // Edit2 "Veritabanı Yolu": database folder
    QLabel *databaseFileLabel; // STDOSYA "Veritabanı Dosyası"
    QLabel *databaseNameLabel; // STFULL
    QPushButton *saveButton; // BitBtn2 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn5 "F6-Vazgeç"
    QToolButton *chooseFolderButton; // SpeedButton2
};
