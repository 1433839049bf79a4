#pragma once

#include "kit/kelmaform.h"
#include "definitions/departments.h"

class FormRunner;
class QLabel;
class QPushButton;
class QTableView;
class RowsModel;

/// What the department and body lists share: the grid of one kind, its record
/// screen for F2 and F4, and deletion.
class BirimListForm : public KelmaForm
{
    Q_OBJECT

public:

    const BirimList &list() const { return m_list; }
    /// BKOD of the current row; 0 when there is none.
    int currentBKOD() const;

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();

protected:
    struct Column
    {
        QString header;
        QString column;
    };
    BirimListForm(Session &session, FormRunner &runner, BirimKind kind, const QString &caption,
                  const QString &heading, QList<Column> columns, QWidget *parent);

    void FormActivate() override;
    /// Runs the record screen in a mode (0 new, 1 change) on a code; the code
    /// saved, or 0 when it was cancelled.
    virtual int runRecord(int mode, int bkod) = 0;
    /// What a cell of the grid shows.
    virtual QString cellText(const QString &column, const QVariant &value) const;

    template <class Record>
    int runRecordScreen(int mode, int bkod)
    {
        Record record(m_session, this);
        record.tag = mode;
        record.BKOD = bkod;
        m_runner.run(record);
        return record.tag == 1 ? record.BKOD : 0;
    }

    FormRunner &m_runner;

private:
    void readAndSelect(int bkod);

    BirimList m_list;
    QList<Column> m_columns;
    RowsModel *m_model;

    QTableView *listGrid; // DBGrid1
    QPushButton *addButton; // BitBtn1 "F2-Ekle"
    QPushButton *changeButton; // BitBtn2 "F4-Değiştir"
    QPushButton *deleteButton; // BitBtn3 "F10-Sil"
    QPushButton *exitButton; // BitBtn4 "ESC-Çıkış"
};

/// "BİRİM TANIMLARI": the institution's departments.
class TFRMBIRLST : public BirimListForm
{
    Q_OBJECT

public:
    TFRMBIRLST(Session &session, FormRunner &runner, QWidget *parent = nullptr);

protected:
    int runRecord(int mode, int bkod) override;
};

/// "KURUM TANIMLARI": the external bodies.
class TFRMKURLST : public BirimListForm
{
    Q_OBJECT

public:
    TFRMKURLST(Session &session, FormRunner &runner, QWidget *parent = nullptr);

protected:
    int runRecord(int mode, int bkod) override;
    QString cellText(const QString &column, const QVariant &value) const override;
};
