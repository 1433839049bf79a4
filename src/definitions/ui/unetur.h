#pragma once

#include "kit/kelmaform.h"
#include "definitions/documenttypes.h"

class QPushButton;
class QTableView;
class RecordsModel;

/// "EVRAKLAR" / "EVRAK TÜRÜ TANIMLARI": document types typed straight into a
/// grid. A row is checked when it is left; "ESC-Çıkış" writes and commits.
class TFRMETUR : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMETUR(Session &session, QWidget *parent = nullptr);

    DocumentTypes &types() { return m_types; }

    void KayitSilClick();
    void BitBtn1Click();

protected:
    void FormActivate() override;

private:
    void rowLeft(int previous);
    int appendRow();

    DocumentTypes m_types;
    RecordsModel *m_model;
    bool m_moving = false;

    QTableView *typesGrid; // DBGrid1 "Tür Açıklaması"
    QAction *deleteRowAction; // KayitSil pop-up "Kayıt Sil"
    QPushButton *exitButton; // BitBtn1 "ESC-Çıkış"
};
