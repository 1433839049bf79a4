#pragma once

#include "kit/kelmaform.h"

#include "registers/petition.h"

#include <functional>
#include <memory>

namespace reports {
class ReportDesk;
}
class AttachmentsGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

/// "DİLEKCE BİLGİLERİ": one citizen's petition. Set `tag` (1 new, 2 change)
/// and, for a change, `kayno` before showing. Everything typed stays on the
/// screen until F5 saves it in one go or F6 drops it.
class TFRMDILEKCE : public KelmaForm
{
    Q_OBJECT

public:
    TFRMDILEKCE(Session &session, FormRunner &runner, QWidget *parent = nullptr);
    ~TFRMDILEKCE() override;

    int kayno = 0;

    /// The file-plan finder; returns the chosen code, or nothing.
    std::function<QString()> pickFileCode;

    PetitionRecord &record() { return *m_record; }

    /// The screen's printed reports: the picture print of "Yazdır" and of the picture viewer.
    reports::ReportDesk &reportDesk();

    void save();
    void cancel();
    /// Attachment "Yazdır": the picture shown, on a page of its own.
    void printPicture();

protected:
    void FormActivate() override;

private:
    void build();
    QLayout *buildRecordFields();
    QWidget *buildApplicantGroup();
    QWidget *buildAttachmentsGroup();
    QWidget *buildAnswerGroup();
    QWidget *buildRoutingNote();
    void connectFields();
    void fillLookups();
    void showRecord();
    void showFileCodeTexts();
    void showAnswer();
    void answerAwaitedChanged(int index);
    void fileCodeChosen();
    bool collect();

    FormRunner &m_runner;
    std::unique_ptr<PetitionRecord> m_record;
    std::unique_ptr<reports::ReportDesk> m_reports;
    QList<RegisterDepartment> m_departments;
    bool m_filling = false;

    QLineEdit *registerNumberEdit;   // DILNO
    QLineEdit *registerDateEdit;     // GELTAR
    QLabel *keyLabel;
    QLineEdit *petitionDateEdit;     // DILTAR
    QComboBox *fileCodeCombo;        // SDP
    QToolButton *fileCodeButton;     // SpeedButton2
    QLabel *mainCodeLabel;           // SACK1
    QLabel *fullCodeLabel;           // SACK2
    QComboBox *departmentCombo;      // BIRKOD
    QLineEdit *receiverNameEdit;     // TESADI
    QLineEdit *receiverTitleEdit;    // TESGOR
    QComboBox *deliveryKindCombo;    // ZDUR
    QLineEdit *deliveryNumberEdit;   // ZNO
    QLineEdit *deliveryDateEdit;     // ZTAR
    QComboBox *confidentialityCombo; // GIZDER
    QLineEdit *fileNoteEdit;         // DOSYA
    QLineEdit *retentionEdit;        // KRMSURE
    QLineEdit *referenceEdit;        // EVSAY
    QLineEdit *firstNameEdit;        // ADI
    QLineEdit *surnameEdit;          // SOYADI
    QLineEdit *identityEdit;         // TCKNO
    QLineEdit *phoneEdit;            // TEL1
    QLineEdit *emailEdit;            // EMAIL
    QLineEdit *addressEdit;          // ADRES
    QPlainTextEdit *subjectEdit;     // KONU
    QComboBox *arrivalCombo;         // GSEKLI
    QLineEdit *arrivalNoteEdit;      // GACIK
    QLineEdit *enclosureCountEdit;   // EKSAY
    QPlainTextEdit *enclosuresEdit;  // EK
    AttachmentsGroup *attachmentsGroup;
    QComboBox *answerAwaitedCombo;   // CEVDUR
    QLabel *answerDateLabel;
    QLineEdit *answerDateEdit;       // CEVTAR
    QLabel *answerStateLabel;
    QLabel *answerDetailsLabel;
    QLabel *routingNoteLabel;
    QPushButton *saveButton;         // F5-Kayıt
    QPushButton *cancelButton;       // F6-Vazgeç
};
