#pragma once

#include "kit/kelmaform.h"

#include "registers/incoming.h"

#include <functional>
#include <memory>

class AttachmentsGroup;
class FieldRows;
namespace reports {
class ReportDesk;
}
class QAction;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
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

    void save();
    void cancel();
    /// Department selection over the routing grid.
    void chooseDepartments();
    /// Pop-up "Sil" of the routing grid.
    void removeDepartment();
    /// Pop-up "Kurum Tanımı Ekle".
    void addNewBody();
    /// F7-Yazdır: the record sheet of what the screen shows.
    void printSheet();
    /// The screen's printed reports.
    reports::ReportDesk &reportDesk();

protected:
    void FormActivate() override;

private:
    void build();
    // One helper per group of the screen, top to bottom, then the right column.
    void buildDocumentGroup(FieldRows &rows);
    void buildRoutingGroup(FieldRows &rows);
    void buildClassificationGroup(FieldRows &rows);
    void buildSenderGroup(FieldRows &rows);
    void buildSubjectGroup(FieldRows &rows);
    QGroupBox *buildAttachmentsGroup();
    QGroupBox *buildRelatedGroup();
    QGroupBox *buildAnswerGroup();
    QHBoxLayout *buildButtons();
    void connectChoices();
    void fillLookups();
    void fillBodies();
    void showRecord();
    void openAttachments();
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
    std::unique_ptr<reports::ReportDesk> m_reports;

    // The fields, in screen order.
    QLineEdit *registerNumberEdit; // EditGELNO
    QLineEdit *registerDateEdit; // EditGELTAR
    QLabel *recordKeyLabel; // LabelKAYNO
    QComboBox *fileCodeBox; // ComboSDP
    QToolButton *findFileCodeButton; // SpeedButtonSDP
    QLabel *mainFileCodeLabel; // SACK1
    QLabel *fullFileCodeLabel; // SACK2
    QTableWidget *routingGrid; // GridBirim
    QToolButton *chooseDepartmentsButton; // SpeedButtonBirim
    QLineEdit *departmentSequenceEdit; // EditBSIRNO
    QLineEdit *receiverNameEdit; // EditTESADI
    QLineEdit *receiverTitleEdit; // EditTESGOR
    QComboBox *handoverKindBox; // ComboZDUR
    QLineEdit *handoverNumberEdit; // EditZNO
    QLineEdit *handoverDateEdit; // EditZTAR
    QComboBox *documentTypeBox; // ComboETKOD
    QComboBox *secrecyBox; // ComboGIZDER
    QLineEdit *secrecyNumberEdit; // EditGSIRNO
    QLineEdit *fileActionEdit; // EditDOSYA
    QLineEdit *retentionEdit; // EditKRMSURE
    QComboBox *senderBox; // ComboKURKOD
    QAction *addSenderAction; // "Kurum Tanımı Ekle"
    QToolButton *findSenderButton; // SpeedButtonKurum
    QLineEdit *senderDepartmentEdit; // EditBIRIM
    QLineEdit *documentNumberEdit; // EditEVSAY
    QLineEdit *documentDateEdit; // EditEVTAR
    QPlainTextEdit *subjectEdit; // MemoKONU
    QComboBox *arrivalBox; // ComboGSEKLI
    QLineEdit *arrivalNoteEdit; // EditGACIK
    QLineEdit *enclosureCountEdit; // EditEKSAY
    QPlainTextEdit *enclosuresEdit; // MemoEK
    AttachmentsGroup *attachmentsGroup;
    QLabel *relatedNumberLabel;
    QLabel *relatedDateLabel;
    QLabel *relatedDepartmentLabel;
    QLabel *relatedSubjectLabel;
    QPushButton *findRelatedButton;
    QPushButton *removeRelatedButton;
    QComboBox *answerExpectedBox; // ComboCEVDUR
    QLineEdit *answerDateEdit; // EditCEVTAR
    QLabel *answerStateLabel;
    QLabel *answerInfoLabel;
    QLabel *answerDateLabel;
    QPushButton *saveButton; // BitBtn1 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn2 "F6-Vazgeç"
    QPushButton *printButton; // BitBtn3 "F7-Yazdır"
};
