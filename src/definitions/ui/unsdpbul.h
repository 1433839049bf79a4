#pragma once

#include "kit/kelmaform.h"
#include "definitions/fileplan.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;
class RowsModel;

/// "STANDART DOSYA PLANI LİSTESİ": the register screens choose a file-plan
/// code here. Callers set tag 1 and run it; after a run with tag 1, KOD holds
/// the chosen leaf code.
class TFRMSDPBUL : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMSDPBUL(Session &session, QWidget *parent = nullptr);

    /// The chosen code, after tag 1.
    QString KOD;

    RowsModel *codeModel() const { return m_codes; }
    /// The code of the code list's current row; empty when there is none.
    QString currentCode() const;

    void SORGULA();
    /// Double-click or Enter: returns the current code unless it has sub-codes.
    void choose();
    void BitBtn1Click();
    void AnaHesapKontroluClick();

protected:
    void FormActivate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showCodes();
    void mainCodeMoved(int row);

    fileplan::Search m_search;
    QList<fileplan::Code> m_mains;
    RowsModel *m_codes;
    RowsModel *m_mainModel;
    fileplan::Mode m_mode = fileplan::Mode::ByCode;
    bool m_lastKeyBlank = false;
    bool m_quiet = false; ///< while the screen itself fills a box

    QLineEdit *codeEdit; // Edit1 " Kodu"
    QLineEdit *descriptionEdit; // Edit2 " Açıklama"
    QCheckBox *wordSearchCheck; // CheckBox1 "Kelime Ara"
    QTableView *codesGrid; // DBGrid1 the code list
    QTableView *mainCodesGrid; // DBGrid2 "ANA KODLAR"
    QLineEdit *moveToDescriptionEdit; // Edit3 moves "ANA KODLAR" to a description
    QPushButton *exitButton; // BitBtn1 "ESC-Çıkış"
    QPushButton *addCodeButton; // BitBtn2 "F2-Kod Ekle": hidden, does nothing
    QAction *mainCodeCheckAction; // AnaHesapKontrolu
};
