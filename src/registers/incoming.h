#pragma once

#include "routing.h"

#include "db/cachedrecords.h"

#include <QList>
#include <QString>
#include <QVariant>

class Session;
namespace storage {
class RecordAttachments;
}

/// One incoming document being recorded or changed: its GELEN row and its
/// routing rows, kept in memory until save. The save takes the numbering lock,
/// numbers, writes and commits in one short transaction; when anything fails it
/// rolls back whole and keeps everything the user typed for another try.
class IncomingRecord
{
public:
    enum Mode { New = 1, Edit = 2 };

    explicit IncomingRecord(Session &session);

    /// New mode: draws KAYNO (a cancelled record leaves the gap) and fills the defaults.
    void openNew();
    /// Edit mode; false (and a message) when the record is no longer there.
    bool openExisting(int kayno);

    Mode mode() const { return m_mode; }
    int kayno() const { return m_kayno; }

    QVariant value(const QString &column) const;
    void setValue(const QString &column, const QVariant &value);
    /// Confidentiality; in new mode it numbers GSIRNO within the level.
    void setGIZDER(const QString &code);

    /// File-plan texts of the row: main code and full code, "KOD : ACIK".
    QString SACK1() const;
    QString SACK2() const;

    /// The record's attachments, written by the save in the record's own unit
    /// (two-phase with the yearly database when contents go there).
    void setAttachments(storage::RecordAttachments *attachments) { m_attachments = attachments; }

    /// Routing rows (EVBRM, register 1).
    Routing &routing() { return m_routing; }

    /// The outgoing document this one answers (ILGIGETIR): number, date,
    /// issuing department, subject; empty texts when there is none.
    QStringList ILGIGETIR() const;
    /// Whether the answer this document waits for was sent (CEVAPGETIR): the
    /// state text and the answer's particulars (empty when none was sent).
    QStringList CEVAPGETIR() const;

    // Reply link: the outgoing document this one answers.
    void chooseReply(int gidenKayno);
    /// Asks; false when there is no link or the user said No.
    bool removeReply();
    bool replyChosen() const { return m_replyChosen; }
    bool replyRemoved() const { return m_replyRemoved; }

    /// F5. `typedDate` is the registration date as typed, dd/MM/yyyy. True when
    /// saved and committed; otherwise a message was shown and nothing was written.
    bool save(const QString &typedDate);
    /// F6: drops everything; only the drawn KAYNO stays spent.
    void cancel();

    /// Deletes a record from the list, after asking. True when deleted.
    static bool remove(Session &session, int kayno);

    static const QStringList &columns();
    /// Captions of the screen, for messages about a field.
    static QString caption(const QString &column);

private:
    bool validate();
    void numberGsirno();

    Session &m_session;
    Mode m_mode = New;
    int m_kayno = 0;
    CachedRecords m_row;
    Routing m_routing;
    storage::RecordAttachments *m_attachments = nullptr;
    bool m_replyChosen = false;
    bool m_replyRemoved = false;
    /// GSIRNO as the screen numbered it; renumbered at save unless the user typed another.
    QVariant m_numberedGsirno;
};
