#pragma once

#include "kit/kelmaform.h"
#include "kit/hakver.h"

#include "core/session.h"
#include "lists/listmodel.h"
#include "lists/registerlist.h"

#include <QList>
#include <QTimer>

#include <functional>
#include <memory>

class TFRMKONUARA;
namespace reports {
class ReportDesk;
}
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

/// The window of a register's list, made from its description: the filters
/// above, the read-only grid, the actions below. Set `mode` before showing.
/// A register's list derives from it only to open its own record screen.
class RegisterListForm : public KelmaForm
{
    Q_OBJECT

public:
    RegisterListForm(Session &session, FormRunner &runner, lists::ListDescription description,
                     QWidget *parent = nullptr);
    ~RegisterListForm() override;

    lists::RegisterList::Mode mode = lists::RegisterList::Mode::Work;

    /// "F3-Konu Ara": the subject search for a register selector; the KAYNO
    /// found, or 0.
    std::function<int(const QString &registerSelector)> subjectSearch;
    /// "F7-Yazdır": prints the register book from the list's rows, in list order.
    std::function<void(lists::RegisterList &list)> printRegister;

    lists::RegisterList &list() { return m_list; }
    /// The printed reports of this window, made the first time they are asked for.
    reports::ReportDesk &reportDesk();
    /// Reads the rest of the rows now, instead of in the background.
    void readAll();
    /// The grid's current row; -1 when none.
    int currentRow() const;
    void setCurrentRow(int row);

    void SpeedButton1Click(); ///< F2 new
    void SpeedButton2Click(); ///< F4 change, double-click
    void SpeedButton3Click(); ///< F10 delete
    void SpeedButton4Click(); ///< F3 subject search
    void SpeedButton5Click(); ///< exit
    void SpeedButton6Click(); ///< F7 print
    void Onayla1Click();

protected:
    void FormActivate() override;
    /// Opens the register's record screen: new (kayno 0) or change.
    virtual void openRecord(int kayno) = 0;

    /// "F3-Konu Ara" when no hook is set: the subject search dialog.
    int searchSubject(const QString &selector);
    /// "F7-Yazdır" when no hook is set: the register book of the shown rows.
    void printBook();

    FormRunner &m_runner;
    std::unique_ptr<TFRMKONUARA> m_subjectSearch;
    std::unique_ptr<reports::ReportDesk> m_reports;

private:
    void buildFilters(QWidget *panel);
    void buildButtons();
    void showFilters();
    void filterChosen(int filter, int index);
    /// The list was (re)opened: show its first rows, read the rest in the
    /// background, then stand on `kayno`'s row (or the last row when 0).
    void showRows(int kayno = 0);
    void readSome();
    void currentChanged();
    void refreshAfterVanished();

    lists::RegisterList m_list;
    lists::ListModel m_model;
    HAKVER m_rights;
    HAKVER m_approvalRights;
    QTimer m_reader;
    int m_standOn = 0;
    bool m_approvalAllowed = true; ///< by the rights, before the row's own say

    QList<QComboBox *> filterCombos; ///< named after their filters
    QLineEdit *subjectEdit;
    QLineEdit *kaynoEdit;
    QTableView *listGrid;      // DBGrid1
    QMenu *gridMenu;
    QAction *approveAction;    // Onayla1
    QPushButton *newButton;    // SpeedButton1
    QPushButton *changeButton; // SpeedButton2
    QPushButton *deleteButton; // SpeedButton3
    QPushButton *searchButton; // SpeedButton4
    QPushButton *exitButton;   // SpeedButton5
    QPushButton *printButton;  // SpeedButton6
};

/// Shows the list of kind L that lives under `owner` for the whole run (made
/// the first time), in `mode`, with filter presets (none from the menu).
template<class L>
L &showRegisterList(QWidget &owner, Session &session, FormRunner &runner, lists::RegisterList::Mode mode,
                    std::function<bool(const QString &)> openYear, const QHash<QString, int> &presets = {})
{
    auto *list = owner.findChild<L *>(QString(), Qt::FindDirectChildrenOnly);
    if (!list)
        list = new L(session, runner, &owner);
    list->mode = mode;
    list->list().openYearDatabase = std::move(openYear);
    list->list().presets = presets;
    // A list opened from the menu starts without the print screen's return mark.
    session.printReturn = false;
    runner.run(*list);
    return *list;
}
