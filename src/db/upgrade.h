#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class Prompt;

namespace fb {
class Transaction;
}

/// The schema version check and the upgrade steps that bring an older main
/// database to the version this program is built for, one step per start.
///
/// A step never claims a version it did not reach: its DDL is committed first,
/// then its data work and version stamp are committed together. A step that
/// fails anywhere leaves the version as it was and is run again on the next
/// start; what it finds already in place (a column added before an
/// interruption) it takes as done.
class SchemaUpgrade
{
public:
    enum class Outcome {
        Current,    ///< nothing to do
        Upgraded,   ///< one step done and stamped
        Failed,     ///< a step failed; the version is as it was
        Refused,    ///< the database is newer than the program
        Unreadable, ///< TANIM.VER is not a version
    };

    struct Result
    {
        Outcome outcome = Outcome::Current;
        /// The session's version-ok flag.
        bool versionOk = false;
        /// The run must end: the caller sets the activation guard and closes the main window.
        bool mustEnd = false;
        QString versionText; ///< TANIM.VER as it was read
    };

    /// Statements run in `main`, the main transaction.
    SchemaUpgrade(fb::Transaction &main, Prompt &prompt);

    /// The program update offered after a newer database was refused; the main
    /// window sets it to its PRGGUNCELLE once the program update exists.
    std::function<void()> PRGGUNCELLE;

    /// Reads the version and runs at most one step.
    Result VERKONT();

    /// Runs VERKONT until the database is current or a step fails: the
    /// administrator's whole upgrade in one go.
    Result upgradeToCurrent();

    /// "15.001" → {"15", "001", "", ""}: before the first dot, between the
    /// first and second, between the second and third, and the rest.
    static std::array<QString, 4> KODCOZ(const QString &text);
    /// The first two parts of KODCOZ joined and read as a whole number
    /// ("15.001" → 15001, "13.5" → 135); nothing when they are not one.
    static std::optional<int> versionNumber(const QString &text);

    /// One step each; true when it was done and stamped.
    bool VER13001();
    bool VER14001();
    bool VER15001();
    bool VER16001();

private:
    struct Ddl;
    /// The indexes of a fresh database that this one lacks.
    void addIndexesQuietly();
    bool runStep(const QString &version, const std::vector<Ddl> &ddl,
                 const std::function<void()> &dataWork);
    void runDdl(const Ddl &statement);
    void stamp(const QString &version);
    void fail(const QString &details);

    void nameStoredFiles();
    void carryOverTo15001();
    void numberAttachments();
    void insertBodyTypes();
    static Ddl archiveAttributesTable();
    static Ddl deadlineSettings();
    /// Tables added within the current version, made when a database lacks them.
    void addMissingTables();

    fb::Transaction &m_main;
    Prompt &m_prompt;
};
