#pragma once

#include "kit/kelmaform.h"

#include "registers/outgoing.h"
#include "texts/templates.h"

#include <functional>
#include <memory>

namespace reports {
class ReportDesk;
}
class QComboBox;
class QGridLayout;
class AttachmentsGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class QVBoxLayout;

/// "GİDEN EVRAK BİLGİLERİ": one outgoing letter. Set `tag` (1 new, 2 change)
/// and, for a change, `kayno` before showing. Everything typed stays on the
/// screen until F5 saves it in one go or F6 drops it.
class TFRMGIDEN : public KelmaForm
{
    Q_OBJECT

public:
    TFRMGIDEN(Session &session, FormRunner &runner, QWidget *parent = nullptr);
    ~TFRMGIDEN() override;

    int kayno = 0;

    // Look-ups other screens provide; each returns the chosen key, or nothing.
    std::function<QString()> pickFileCode; ///< file-plan finder
    std::function<int()> pickBody;         ///< external-body finder
    std::function<int()> addBody;          ///< new external body; its BKOD when saved
    std::function<int()> pickIncoming;     ///< incoming document awaiting an answer
    std::function<int()> pickPetition;     ///< petition
    /// The letter's date, number and subject as the screen shows them.
    texts::LetterFields letterFields() const;
    /// "Kayıt Yazdır" in place of the record sheet (tests); without it the sheet prints.
    std::function<void()> printRecordSheet;
    /// "Kayıt Yazdır": the record sheet of what the screen shows (set-up first, then the preview).
    void printSheet();
    /// The screen's printed reports.
    reports::ReportDesk &reportDesk();

    OutgoingRecord &record() { return *m_record; }

    void save();
    void cancel();
    /// "Bul" menu entries.
    void answerIncoming();
    void answerPetition();
    /// "Sil" of the related document.
    void removeRelated();
    /// Recipients: add (departments or a body, by delivery kind), new body, pop-up "Sil".
    void addRecipients();
    void addNewBody();
    void removeRecipient();
    /// "Belge Ekle" → "Metin Düzenle".
    void METINDUZENLE();

protected:
    void FormActivate() override;

private:
    void build();
    void buildRegisterPart(QGridLayout *grid, int &row);
    void buildSenderPart(QGridLayout *grid, int &row);
    void buildDeliveryPart(QGridLayout *grid, int &row);
    void buildLetterPart(QGridLayout *grid, int &row);
    QGroupBox *buildAttachmentsGroup();
    QGroupBox *buildRelatedGroup();
    QGroupBox *buildAnswerGroup();
    void buildButtons(QVBoxLayout *layout);
    void connectFields();
    void connectCodedBoxes();
    /// A Word attachment's double-click opens the text editor.
    void connectTextEditor();

    void fillLookups();
    void showRecord();
    void showFileCodeTexts();
    void showSender();
    void showRecipients();
    void showRelated();
    void showAnswer();
    void setAnswerVisible(bool visible);
    void departmentChosen();
    void chooseRelated(const std::function<int()> &picker, const QString &ilgdur);
    bool collect();

    FormRunner &m_runner;
    std::unique_ptr<OutgoingRecord> m_record;
    std::unique_ptr<reports::ReportDesk> m_reports;
    bool m_filling = false;

    // The fields, in screen order.
    QLineEdit *m_numberEdit;             // GIDNO
    QLineEdit *m_dateEdit;               // GIDTAR
    QLabel *m_keyLabel;                  // KAYNO
    QComboBox *m_fileCodeCombo;          // SDP
    QToolButton *m_fileCodeButton;       // SpeedButton3
    QLabel *m_mainFileCodeLabel;         // SACK1
    QLabel *m_fileCodeLabel;             // SACK2
    QComboBox *m_departmentCombo;        // BIRKOD
    QLineEdit *m_departmentNumberEdit;   // BSIRNO
    QLineEdit *m_signerNameEdit;         // TESADI
    QLineEdit *m_signerTitleEdit;        // TESGOR
    QComboBox *m_deliveryCombo;          // ZDUR
    QLineEdit *m_deliveryNumberEdit;     // ZNO
    QLineEdit *m_deliveryDateEdit;       // ZTAR
    QComboBox *m_confidentialityCombo;   // GIZDER
    QLineEdit *m_confidentialityNumberEdit; // GSIRNO
    QLineEdit *m_fileNoteEdit;           // DOSYA
    QLineEdit *m_retentionEdit;          // KRMSURE
    QTableWidget *m_recipientsGrid;      // EVBRM, TUR 2
    QToolButton *m_addRecipientButton;   // SpeedButton13
    QToolButton *m_newBodyButton;        // SpeedButton2
    QLineEdit *m_addresseeEdit;          // BIRIM
    QLineEdit *m_referenceEdit;          // EVSAY
    QLineEdit *m_referenceDateEdit;      // EVTAR
    QPlainTextEdit *m_subjectEdit;       // KONU
    QComboBox *m_dispatchCombo;          // GSEKLI
    QLineEdit *m_dispatchNoteEdit;       // GACIK
    QLineEdit *m_enclosureCountEdit;     // EKSAY
    QPlainTextEdit *m_enclosuresEdit;    // EK
    AttachmentsGroup *m_attachmentsGroup;
    QPushButton *m_addDocumentButton;    // "Belge Ekle", the group's add button
    QLabel *m_relatedKindLabel;
    QLabel *m_relatedNumberLabel;
    QLabel *m_relatedDateLabel;
    QLabel *m_relatedUnitLabel;
    QLabel *m_relatedSubjectLabel;
    QPushButton *m_findRelatedButton;    // SpeedButton1
    QMenu *m_findRelatedMenu;
    QPushButton *m_removeRelatedButton;  // SpeedButton11
    QComboBox *m_replyAwaitedCombo;      // CEVDUR
    QLabel *m_replyDateLabel;            // "Son Cevap Tar"
    QLineEdit *m_replyDateEdit;          // CEVTAR
    QLabel *m_replyStateLabel;
    QLabel *m_replyDetailsLabel;
    QPushButton *m_saveButton;           // F5-Kayıt
    QPushButton *m_cancelButton;         // F6-Vazgeç
    QPushButton *m_printButton;          // F7-Yazdır
};
