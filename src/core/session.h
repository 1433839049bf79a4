#pragma once

#include "colours.h"
#include "connections.h"
#include "datetexts.h"
#include "generalsettings.h"
#include "workstation.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "clock.h"
#include "prompt.h"
#include <QSettings>

/// The program-wide values of one run, made once in main and handed to every
/// screen and logic object. Nothing else is global.
class Session
{
public:
    Session(Prompt &prompt, Clock &clock, std::function<std::unique_ptr<QSettings>()> openStore);

    Prompt &prompt() { return m_prompt; }
    Clock &clock() { return m_clock; }
    /// The workstation's settings store, opened afresh for each use.
    std::unique_ptr<QSettings> store() const { return m_openStore(); }

    Connections db;

    // Workstation values and what is computed from them at start.
    WorkstationSettings workstation;
    ColourScheme colours;
    bool connectionFailed = false;
    /// While true the main window's activation sequence does nothing.
    bool activationGuard = false;
    bool versionOk = false;
    QString textYear;      ///< year of the open attachment database
    bool textOpen = false; ///< whether opening it last succeeded

    // The logged-in user.
    int userNumber = 0;
    int userDepartment = 0;
    QString LUSR;    ///< user label: the name typed at login
    QString LUSRACK; ///< the user's full name

    /// The logged-in user's rights rows as loaded at login (GRDUSER): code,
    /// G, K, D, S each; only the first 50 take part in look-ups.
    QList<QStringList> GRDUSER;
    // Current rights after a look-up: "E" or "H".
    QString G = QStringLiteral("E"), K = QStringLiteral("E"), D = QStringLiteral("E"),
            S = QStringLiteral("E");

    GeneralSettings general;
    /// Today's date texts, computed once at start.
    DateTexts dateTexts;
    /// Set by a list's print screen when the user came back from it.
    bool printReturn = false;

    /// The working year as a number (0 when it is not one).
    int workingYear() const { return workstation.year.toInt(); }

private:
    Prompt &m_prompt;
    Clock &m_clock;
    std::function<std::unique_ptr<QSettings>()> m_openStore;
};
