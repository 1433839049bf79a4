#pragma once

#include "kit/kelmaform.h"

#include "registers/incoming.h"

#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

/// "GELEN EVRAK BİLGİLERİ": one incoming document. Set `tag` (1 new, 2 change)
/// and, for a change, `kayno` before showing. Everything typed stays on the
/// screen until F5 saves it in one go or F6 drops it.
class TFRMGELEN : public KelmaForm
{
    Q_OBJECT

public:
    TFRMGELEN(Session &session, FormRunner &runner, QWidget *parent = nullptr);
    ~TFRMGELEN() override;

    int kayno = 0;

    // Look-ups other screens provide; each returns the chosen key, or nothing.
    std::function<QString()> pickFileCode;   ///< file-plan finder
    std::function<int()> pickBody;           ///< external-body finder
    std::function<int()> addBody;            ///< new external body; its BKOD when saved

    IncomingRecord &record() { return *m_record; }

    // The fields, in screen order.
    QLineEdit *EditGELNO, *EditGELTAR;
    QLabel *LabelKAYNO;
    QComboBox *ComboSDP;
    QToolButton *SpeedButtonSDP;
    QLabel *SACK1, *SACK2;
    QTableWidget *GridBirim;
    QToolButton *SpeedButtonBirim;
    QLineEdit *EditBSIRNO, *EditTESADI, *EditTESGOR;
    QComboBox *ComboZDUR;
    QLineEdit *EditZNO, *EditZTAR;
    QComboBox *ComboETKOD, *ComboGIZDER;
    QLineEdit *EditGSIRNO, *EditDOSYA, *EditKRMSURE;
    QComboBox *ComboKURKOD;
    QToolButton *SpeedButtonKurum;
    QLineEdit *EditBIRIM, *EditEVSAY, *EditEVTAR;
    QPlainTextEdit *MemoKONU;
    QComboBox *ComboGSEKLI;
    QLineEdit *EditGACIK, *EditEKSAY;
    QPlainTextEdit *MemoEK;
    QGroupBox *GroupBelge;
    QLabel *LabelIlgNo, *LabelIlgTarih, *LabelIlgBirim, *LabelIlgKonu;
    QPushButton *ButtonIlgBul, *ButtonIlgSil;
    QComboBox *ComboCEVDUR;
    QLineEdit *EditCEVTAR;
    QLabel *LabelCevapDurum, *LabelCevapBilgi, *LabelCevtar;
    QPushButton *BitBtn1; ///< F5-Kayıt
    QPushButton *BitBtn2; ///< F6-Vazgeç
    QPushButton *BitBtn3; ///< F7-Yazdır

    void save();
    void cancel();
    /// Department selection over the routing grid.
    void chooseDepartments();
    /// Pop-up "Sil" of the routing grid.
    void removeDepartment();
    /// Pop-up "Kurum Tanımı Ekle".
    void addNewBody();

protected:
    void FormActivate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void fillLookups();
    void fillBodies();
    void showRecord();
    void showRouting();
    void showFileCodeTexts();
    void showRelated();
    void showAnswer();
    bool collect();
    void routingRowChanged();
    void storeReceiver();

    FormRunner &m_runner;
    std::unique_ptr<IncomingRecord> m_record;
    bool m_filling = false;
};
