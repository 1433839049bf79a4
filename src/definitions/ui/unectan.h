#pragma once

#include "kit/kelmaform.h"
#include "definitions/archivekinds.h"

class FormRunner;
class QPushButton;
class QTableView;
class RowsModel;

/// "EVRAK CİNSİ TANIMLARI" / "EVRAK LİSTESİ": the archive document kinds with
/// the fields of the current one.
class TFRMECTANIM : public KelmaForm
{
    Q_OBJECT

public:
    TFRMECTANIM(Session &session, FormRunner &runner, QWidget *parent = nullptr);

    const QList<archivekinds::Kind> &kinds() const { return m_kinds; }
    const QList<archivekinds::Field> &fields() const { return m_fields; }

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn4Click();

protected:
    void FormActivate() override;

private:
    void readKinds(int eckod);
    void kindMoved(int row);

    FormRunner &m_runner;
    QList<archivekinds::Kind> m_kinds;
    QList<archivekinds::Field> m_fields;
    RowsModel *m_kindModel;
    RowsModel *m_fieldModel;

    QTableView *kindsGrid; // DBGrid1 kinds: "Evrak Cinsi Açıklaması", "Bölümü"
    QTableView *fieldsGrid; // DBGrid2 fields of the current kind: "Alan Adı", "Türü"
    QPushButton *addButton; // BitBtn1 "F2-Ekle"
    QPushButton *changeButton; // BitBtn2 "F4-Değiştir"
    QPushButton *deleteButton; // BitBtn3 "F10-Sil": does nothing
    QPushButton *exitButton; // BitBtn4 "ESC-Çıkış"
};
