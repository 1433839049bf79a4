#pragma once

#include "kit/kelmaform.h"
#include "lists/subjectsearch.h"

#include <QString>

#include <atomic>
#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QThread;

/// "KONU ARAMA": finds a document of one register by words of its subject.
/// The caller sets `selector` ("1" incoming … "4" archive) before showing it
/// and reads `tag` (1 chosen, 0 cancelled) and `chosenKayno` right after.
class TFRMKONUARA : public KelmaForm
{
    Q_OBJECT
public:
    explicit TFRMKONUARA(Session &session, QWidget *parent = nullptr);
    ~TFRMKONUARA() override;

    QString selector = QStringLiteral("1");
    int chosenKayno = 0;

    /// Whether this opening's subjects are all loaded.
    bool isLoaded() const { return m_loaded; }
    /// Whether the grid shows every match of the text as it stands.
    bool isSettled() const;
    /// Matches shown for the text as it stands.
    int matchCount() const;

public slots:
    void reject() override;

protected:
    void FormActivate() override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SORGULA();
    void choose();
    void cancel();
    void startLoading();
    void stopLoading();
    void letGo();
    void indexGrew(std::shared_ptr<const subjectsearch::SubjectIndex> index);
    void answered(const subjectsearch::Answer &answer);
    void showStatus();

    QRadioButton *subjectFieldRadio;  // RadioGroup1 "Konu"
    QButtonGroup *searchFieldGroup;
    QLineEdit *searchEdit;            // "Arama Bilgisi"
    QLabel *resultsHeading;
    QTableView *resultsGrid;
    QLabel *statusLabel;
    QPushButton *chooseButton;
    QPushButton *exitButton;
    subjectsearch::ResultModel *resultModel;

    std::unique_ptr<subjectsearch::BackgroundSearch> m_search;
    bool m_loaded = false;
    qsizetype m_rowsLoaded = 0;
    QString m_loadFailure;
    quint64 m_asked = 0;       // the latest request
    quint64 m_shown = 0;       // the request whose rows the grid shows
    bool m_shownComplete = false;
    QString m_shownText;
    bool m_choicePending = false; // Enter or F5 before the text's rows came
    QThread *m_loader = nullptr;
    std::shared_ptr<std::atomic_bool> m_cancelLoad;
};
