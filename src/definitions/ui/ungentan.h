#pragma once

#include "kit/kelmaform.h"
#include "definitions/generaldefinitions.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

/// "GENEL TANIMLAR": the institution's settings and the workstation's own.
/// Tag after: 1 saved (the main window then refreshes), 0 cancelled.
class TFRMGENTAN : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMGENTAN(Session &session, QWidget *parent = nullptr);

    QTabWidget *PageControl1;
    // "Genel"
    QLineEdit *EditKURUM;     ///< "Kurum Adı"
    QLineEdit *EditSUBE;      ///< "Birim Adı"
    QLineEdit *MaskEdit1;     ///< "Çalışma Yılı"
    QComboBox *ComboRenk;     ///< "Form Rengi"
    QComboBox *ComboONIZ;     ///< "Yazıcı Önizleme"
    QComboBox *ComboIL;       ///< "İli"
    QComboBox *ComboILCE;     ///< "İlçesi"
    QComboBox *ComboABT;      ///< "Geçerli Belge Türü"
    // "Açıklama"
    QLabel *ImageLOGO;        ///< "Kurum Amblemi"
    QPushButton *BitBtnEkle;  ///< emblem "Ekle"
    QPushButton *BitBtnSil;   ///< emblem "Sil"
    QPlainTextEdit *MemoBASLIK; ///< "Giden Evrak Başlık Açıklaması"
    QComboBox *ComboESDUR;    ///< "Sayı Dur"
    // "Diğer"
    QComboBox *ComboSRVSAKLA; ///< "Sunucuda Saklansın"
    QComboBox *ComboVTSAKLA;  ///< "Veritabanında Saklansın"
    QComboBox *ComboTRMSAKLA; ///< "Terminalde Saklansın"
    QComboBox *ComboMSVER;    ///< "Microsoft Office"
    QComboBox *ComboOKUMA;    ///< "Belge Okuma Ortamı"
    QLineEdit *EDLOCAL;       ///< "Yerel Dosya Yolu"
    QGroupBox *GroupSunucu;   ///< "Sunucu Bilgileri"
    QLineEdit *EditSRVIPNO;   ///< "Dosya Sunucu"
    QLineEdit *EditSRVPORT;   ///< "Sunucu Portu"

    QPushButton *SpeedButton3; ///< "F5-Kayıt"
    QPushButton *SpeedButton4; ///< "F6-İptal"

    void SpeedButton3Click();
    void SpeedButton4Click();
    void EkleClick();
    void SilClick();

protected:
    void FormActivate() override;

private:
    void fillDistricts(const QString &ILKOD);
    void showLogo();
    void serverChoiceChanged();

    GeneralDefinitions m_definitions;
    QString m_districtsOf; ///< the province whose districts are listed
};
