#pragma once

#include "registerchecks.h"

#include "db/cachedrecords.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Session;

namespace storage {
class RecordAttachments;
}

/// One citizen's petition being registered or changed: its DILEKCE row, kept
/// in memory until save. The save numbers DILNO under the numbering lock and
/// writes in one short transaction of its own; a failed save writes nothing
/// and keeps everything typed.
class PetitionRecord
{
public:
    enum Mode { New = 1, Edit = 2 };

    explicit PetitionRecord(Session &session);

    /// New mode: draws KAYNO (a cancelled petition leaves the gap) and fills the defaults.
    void openNew();
    /// Edit mode; false (and a message) when the petition is no longer there.
    bool openExisting(int kayno);

    Mode mode() const { return m_mode; }
    int kayno() const { return m_kayno; }

    QVariant value(const QString &column) const;
    void setValue(const QString &column, const QVariant &value);

    /// The departments offered: all, or only the user's own when bound to one.
    QList<RegisterDepartment> departments();
    /// Receiver name and title from a department (double-click on the name).
    void takeReceiverFrom(const RegisterDepartment &department);

    QString SACK1() const;
    QString SACK2() const;

    /// The answer by an outgoing letter (CEVAPGETIR): the state text, and the
    /// letter's number, date and addressee (empty when none was sent).
    QStringList CEVAPGETIR() const;
    /// Whether an outgoing letter answers this petition.
    bool answered() const;

    /// Saved with the record in the same unit, when the screen has them.
    storage::RecordAttachments *attachments = nullptr;

    /// F5. `typedDate` is the registration date (GELTAR) as typed, dd/MM/yyyy.
    /// True when saved and committed; otherwise a message was shown and nothing was written.
    bool save(const QString &typedDate);
    /// F6: drops everything typed; only the drawn KAYNO stays spent.
    void cancel();

    /// Deletes a petition from the list, after asking; its attachment rows,
    /// their contents in the yearly database and any routing rows go with it.
    /// True when deleted.
    static bool remove(Session &session, int kayno);

    static const QStringList &columns();
    static QString caption(const QString &column);

private:
    bool validate();

    Session &m_session;
    Mode m_mode = New;
    int m_kayno = 0;
    CachedRecords m_row;
};
