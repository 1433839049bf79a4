#pragma once

#include "kit/kelmaform.h"

#include "registers/pickers.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QLabel;
class QPushButton;
class QTableView;
class RowsModel;

/// What the related-document pickers share: filters over a read-only grid,
/// "F5-Seç" (also F5, Enter and a double-click) and "ESC-Çıkış". After a run,
/// tag 1 and KAYNO the chosen row's key (0 from an empty grid), or tag 0.
class RecordPicker : public KelmaForm
{
    Q_OBJECT

public:
    RecordPicker(Session &session, const QString &caption, const QString &heading, QStringList headers,
                 QWidget *parent = nullptr);

    int KAYNO = 0;

    const QList<pickers::Row> &rows() const { return m_rows; }
    /// Builds the query from the filters and shows its rows.
    void SORGULA();
    void choose();

protected:
    void FormActivate() override;
    /// Refills the look-up filters ("TÜMÜ" first) at each opening.
    virtual void refillFilters() = 0;
    virtual pickers::Query query() = 0;
    /// Where a picker puts its filters, under "Filtre Seçeneekleri".
    QFormLayout *filters() const { return m_filters; }
    /// A look-up filter box of bodies ('K') or departments ('B').
    void refillNames(QComboBox *combo, QChar tur);
    int codeOf(QComboBox *combo, QChar tur);

private:
    QLabel *m_heading;
    QFormLayout *m_filters;
    QTableView *m_documentsGrid;
    QPushButton *m_chooseButton;
    QPushButton *m_exitButton;
    RowsModel *m_model;
    QList<pickers::Row> m_rows;
    bool m_filling = false;
};

/// Incoming or outgoing documents that wait for an answer and have none.
class AwaitingPicker : public RecordPicker
{
    Q_OBJECT

public:
    using Build = pickers::Query (*)(int body, int department);
    AwaitingPicker(Session &session, const QString &caption, const QString &heading, Build build,
                   QWidget *parent = nullptr);

protected:
    void refillFilters() override;
    pickers::Query query() override;

private:
    Build m_build;
    QComboBox *m_bodyFilterCombo;       // "Gittiği Yer"
    QComboBox *m_departmentFilterCombo; // "Gönderen Birim"
};

/// "GELEN EVRAK LİSTESİ": the incoming document an outgoing letter answers.
class TFRMGELBUL : public AwaitingPicker
{
    Q_OBJECT

public:
    explicit TFRMGELBUL(Session &session, QWidget *parent = nullptr);
    /// Runs the picker; the chosen KAYNO, or 0.
    static int pick(Session &session, FormRunner &runner, QWidget *parent);
};

/// "GİDEN EVRAK LİSTESİ": the outgoing letter an incoming document answers.
class TFRMGIDBUL : public AwaitingPicker
{
    Q_OBJECT

public:
    explicit TFRMGIDBUL(Session &session, QWidget *parent = nullptr);
    static int pick(Session &session, FormRunner &runner, QWidget *parent);
};

/// "DİLEKÇE ARAMA": the petition an outgoing letter answers. Its two answer
/// filters keep their choice from one opening to the next.
class TFRMDILBUL : public RecordPicker
{
    Q_OBJECT

public:
    explicit TFRMDILBUL(Session &session, QWidget *parent = nullptr);
    static int pick(Session &session, FormRunner &runner, QWidget *parent);

protected:
    void refillFilters() override;
    pickers::Query query() override;

private:
    QComboBox *m_departmentFilterCombo; // "Verildiği Birim"
    QLineEdit *m_applicantFilterEdit; // "Dilekçeyi Veren"
    QComboBox *m_awaitedFilterCombo;    // "Cevap Bekleniyor"
    QComboBox *m_answeredFilterCombo;   // "Cevap Verildi"
};
