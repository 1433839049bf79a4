#pragma once

#include "kit/kelmaform.h"
#include "definitions/archivekinds.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordsModel;

/// "EVRAK CİNSİ  BİLGİLERİ": one archive kind with its fields. Tag before: 0
/// new, 1 change the kind ECKOD; after: 1 saved (ECKOD is the saved kind), 0
/// cancelled.
class TFRMECBIL : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMECBIL(Session &session, QWidget *parent = nullptr);

    int ECKOD = 0;

    ArchiveKindRecord &record() { return m_record; }

    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void FormActivate() override;

private:
    int appendField();

    ArchiveKindRecord m_record;
    RecordsModel *m_model;

    QLabel *codeLabel; // LECKOD " Kodu"
    QComboBox *sectionBox; // ComboBox1 " Bölümü"
    QLineEdit *descriptionEdit; // Edit1 " Açıklama"
    QTableView *fieldsGrid; // DBGrid1 "Sıra No", "Türü", "Alan Adı"
    QAction *addFieldAction; // AlanEkle
    QAction *removeFieldAction; // AlanSil
    QPushButton *saveButton; // BitBtn1 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn2 "F6-Vazgeç"
};
