#pragma once

#include "kit/kelmaform.h"
#include "definitions/generaldefinitions.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QPushButton;
class QTabWidget;

/// "GENEL TANIMLAR": the institution's settings and the workstation's own.
/// Tag after: 1 saved (the main window then refreshes), 0 cancelled.
class TFRMGENTAN : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMGENTAN(Session &session, QWidget *parent = nullptr);

    // "Genel"
    // "Açıklama"
    // "Diğer"

    void SpeedButton3Click();
    void SpeedButton4Click();
    void EkleClick();
    void SilClick();

protected:
    void FormActivate() override;

private:
    QWidget *buildGeneralPage();
    QWidget *buildNotesPage();
    QWidget *buildOtherPage();
    void fillDistricts(const QString &ILKOD);
    void showLogo();
    void serverChoiceChanged();

    GeneralDefinitions m_definitions;
    QString m_districtsOf; ///< the province whose districts are listed

    QTabWidget *pages; // PageControl1
    QLineEdit *institutionEdit; // EditKURUM "Kurum Adı"
    QLineEdit *branchEdit; // EditSUBE "Birim Adı"
    QLineEdit *yearEdit; // MaskEdit1 "Çalışma Yılı"
    QComboBox *colourBox; // ComboRenk "Form Rengi"
    QComboBox *previewBox; // ComboONIZ "Yazıcı Önizleme"
    QComboBox *provinceBox; // ComboIL "İli"
    QComboBox *districtBox; // ComboILCE "İlçesi"
    QComboBox *documentKindBox; // ComboABT "Geçerli Belge Türü"
    QLabel *emblemImage; // ImageLOGO "Kurum Amblemi"
    QPushButton *addEmblemButton; // BitBtnEkle emblem "Ekle"
    QPushButton *removeEmblemButton; // BitBtnSil emblem "Sil"
    QPlainTextEdit *letterHeadingEdit; // MemoBASLIK "Giden Evrak Başlık Açıklaması"
    QComboBox *numberStateBox; // ComboESDUR "Sayı Dur"
    QComboBox *keepOnServerBox; // ComboSRVSAKLA "Sunucuda Saklansın"
    QComboBox *keepInDatabaseBox; // ComboVTSAKLA "Veritabanında Saklansın"
    QComboBox *keepOnTerminalBox; // ComboTRMSAKLA "Terminalde Saklansın"
    QComboBox *officeVersionBox; // ComboMSVER "Microsoft Office"
    QComboBox *readingModeBox; // ComboOKUMA "Belge Okuma Ortamı"
    QLineEdit *localFolderEdit; // EDLOCAL "Yerel Dosya Yolu"
    QLineEdit *sizeLimitEdit;   // BELGESINIR, the largest attachment in MB
    QGroupBox *serverGroup; // GroupSunucu "Sunucu Bilgileri"
    QLineEdit *fileServerEdit; // EditSRVIPNO "Dosya Sunucu"
    QLineEdit *serverPortEdit; // EditSRVPORT "Sunucu Portu"
    QGroupBox *deadlineGroup; // "Cevap Süreleri"
    QSpinBox *legalPeriodBox; // CEVSURE
    QSpinBox *nearDaysBox; // CEVYAKIN
    QPushButton *saveButton; // SpeedButton3 "F5-Kayıt"
    QPushButton *cancelButton; // SpeedButton4 "F6-İptal"
};
