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

    QLabel *LECKOD;       ///< " Kodu"
    QComboBox *ComboBox1; ///< " Bölümü"
    QLineEdit *Edit1;     ///< " Açıklama"
    QTableView *DBGrid1;  ///< "Sıra No", "Türü", "Alan Adı"
    QAction *AlanEkle;
    QAction *AlanSil;
    QPushButton *BitBtn1; ///< "F5-Kayıt"
    QPushButton *BitBtn2; ///< "F6-Vazgeç"

    ArchiveKindRecord &record() { return m_record; }

    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void FormActivate() override;

private:
    int appendField();

    ArchiveKindRecord m_record;
    RecordsModel *m_model;
};
