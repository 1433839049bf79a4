#pragma once

#include "kit/kelmaform.h"
#include "definitions/departments.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;
class RowsModel;

/// "EVRAK DIŞ KURUMLAR LİSTESİ": the register screens pick the sending or
/// receiving body here. Callers set tag 1 and run it; after a run with tag 1,
/// BKOD holds the chosen body.
class TFRMKURBUL : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMKURBUL(Session &session, QWidget *parent = nullptr);

    /// The chosen body, after tag 1.
    int BKOD = 0;

    const QList<BodyName> &rows() const { return m_rows; }

    void SORGULA();
    /// Enter or a double-click: takes the current body.
    void choose();
    void BitBtn1Click();

protected:
    void FormActivate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<BodyName> m_rows;
    RowsModel *m_model;
    bool m_lastKeyBlank = false;

    QLineEdit *nameEdit; // Edit1 " Kurum Adı"
    QCheckBox *wordSearchCheck; // CheckBox1 "Kelime Ara"
    QTableView *bodiesGrid; // DBGrid1 "Dış Kurum Adı"
    QPushButton *exitButton; // BitBtn1 "ESC-Çıkış"
    QPushButton *addCodeButton; // BitBtn2 "F2-Kod Ekle": hidden, does nothing
};
