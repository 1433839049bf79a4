#pragma once

#include "kit/kelmaform.h"
#include "definitions/departments.h"

#include <QMap>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RowsModel;

/// "KURUM BİLGİLERİ": one external body. Tag before: 0 new (how the register
/// screens open it), 1 change the body BKOD; after: 1 saved (BKOD is the
/// saved body, for the register screen to take), 0 cancelled.
class TFRMKURBIL : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMKURBIL(Session &session, QWidget *parent = nullptr);

    int BKOD = 0;


    const QList<BodyName> &similar() const { return m_similar; }

    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void FormActivate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void kindChanged();
    void nameChanged();

    BirimRecord m_record;
    QList<BodyName> m_similar;
    RowsModel *m_model;
    bool m_lastKeyBlank = false;

    QLabel *codeLabel; // LBKOD " Kurum Kodu"
    QComboBox *personKindBox; // ComboBox1 " Kişilik Türü"
    QLabel *nameCaptionLabel; // LBIRIM the name box's caption, by kind
    QLabel *contactCaptionLabel; // LYETKILI the YETKILI box's caption, by kind
    QTableView *similarGrid; // DBGrid1 "Benzer Kurum Listesi"
    QPushButton *saveButton; // BitBtn1 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn2 "F6-Vazgeç"
    /// The boxes by column: BIRIM, YETKILI, UNVAN, EMAIL.
    QMap<QString, QLineEdit *> edits;
};
