#pragma once

#include "kit/kelmaform.h"

#include "registers/archive.h"

#include <array>
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

/// "ARŞİV EVRAK BİLGİLERİ": one archive record. Set `tag` (1 new, 2 change)
/// and, for a change, `kayno` before showing. Everything typed, the
/// additional information included, stays on the screen until F5 or F6.
class TFRMARSIV : public KelmaForm
{
    Q_OBJECT

public:
    TFRMARSIV(Session &session, FormRunner &runner, QWidget *parent = nullptr);
    ~TFRMARSIV() override;

    int kayno = 0;

    /// The file-plan finder; returns the chosen code, or nothing.
    std::function<QString()> pickFileCode;
    ArchiveRecord &record() { return *m_record; }

    /// The screen's printed reports: the letter of both "Yazdır" buttons.
    reports::ReportDesk &reportDesk();

    void save();
    void cancel();
    /// "Yazdır" (both): the letter of the current text attachment, with the logo.
    void print();

protected:
    void FormActivate() override;

private:
    void build();
    QLayout *buildRecordFields();
    QWidget *buildAttachmentsGroup();
    QWidget *buildAttributesGroup();
    void connectFields();
    void fillLookups();
    void showRecord();
    void showFileCodeTexts();
    void showAuthorised();
    /// EKBILKAPAT and EKBILDOLDUR: hides and empties the six pairs, then shows
    /// the kind's attributes with their values.
    void showAttributes();
    void departmentChosen();
    void kindChosen();
    void fileCodeChosen();
    bool collect();
    const RegisterDepartment *currentDepartment() const;

    FormRunner &m_runner;
    std::unique_ptr<ArchiveRecord> m_record;
    std::unique_ptr<reports::ReportDesk> m_reports;
    QList<RegisterDepartment> m_departments;
    bool m_filling = false;

    QLineEdit *registerNumberEdit;   // ARSNO
    QLineEdit *registerDateEdit;     // ARSTAR
    QLabel *keyLabel;
    QComboBox *fileCodeCombo;        // SDP
    QToolButton *fileCodeButton;
    QLabel *mainCodeLabel;           // SACK1
    QLabel *fullCodeLabel;           // SACK2
    QComboBox *departmentCombo;      // BIRKOD
    QLineEdit *authorisedNameEdit;   // YETADI
    QLineEdit *authorisedTitleEdit;  // YETGOR
    QComboBox *deliveryKindCombo;    // ZDUR
    QLineEdit *deliveryNumberEdit;   // ZNO
    QLineEdit *deliveryDateEdit;     // ZTAR
    QComboBox *confidentialityCombo; // GIZDER
    QLineEdit *fileNoteEdit;         // DOSYA
    QLineEdit *retentionEdit;        // KRMSURE
    QComboBox *kindCombo;            // ECKOD
    QLineEdit *referenceEdit;        // EVSAY
    QLineEdit *documentDateEdit;     // EVTAR
    QPlainTextEdit *subjectEdit;     // KONU
    QComboBox *arrivalCombo;         // GSEKLI
    QLineEdit *arrivalNoteEdit;      // GACIK
    QLineEdit *enclosureCountEdit;   // EKSAY
    QPlainTextEdit *enclosuresEdit;  // EK
    AttachmentsGroup *attachmentsGroup;
    std::array<QLabel *, ArchiveRecord::kShownAttributes> attributeLabels;   // ST1 … ST6
    std::array<QLineEdit *, ArchiveRecord::kShownAttributes> attributeEdits; // ME1 … ME6
    QPushButton *saveButton;         // F5-Kayıt
    QPushButton *cancelButton;       // F6-Vazgeç
    QPushButton *printLetterButton;  // "Yazdır" at the bottom
};
