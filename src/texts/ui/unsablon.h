#pragma once

#include "kit/kelmaform.h"

#include "texts/office.h"
#include "texts/templates.h"

#include <QList>

class FormRunner;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

/// "GİDEN EVRAK ŞABLONLARI LİSTESİ": the letter templates as a column of
/// panels, each with its description and the pictures to edit and delete it.
/// Every change is written as it is made: a description when its row is left.
class TFRMSABLON : public KelmaForm
{
    Q_OBJECT

public:
    TFRMSABLON(Session &session, FormRunner &runner, QWidget *parent = nullptr);

    /// Writer, for the template editor; tests put the person at Writer here.
    texts::Office *office;

    /// "Şablon Ekle".
    void addTemplate();
    /// The edit picture (F4) of the current template (the row last entered), or of `kayno`.
    void editTemplate(int kayno);
    /// The delete picture (F10).
    void removeTemplate(int kayno);
    /// "Çıkış": writes the row still being edited, then closes.
    void exitList();

protected:
    void FormActivate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        int kayno;
        QString stored;
        QLineEdit *edit;
    };
    void fill(int focusKayno = 0);
    /// Writes a changed description; false (after the message) when empty.
    bool leave(Row &row);
    Row *current();

    FormRunner &m_runner;
    texts::Office m_office;
    QList<Row> m_rows;
    int m_currentKayno = 0; ///< the row the F4/F10 buttons act on: the last one entered
    QScrollArea *templatesArea;   // ScrollBox1: the column of panels
    QWidget *templatesColumn;
    QVBoxLayout *m_column;
    QPushButton *addButton;       // "Şablon Ekle"
    QPushButton *editButton;      // F4 on the current row
    QPushButton *deleteButton;    // F10 on the current row
    QPushButton *exitButton;      // "Çıkış"
};
