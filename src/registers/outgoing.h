#pragma once

#include "related.h"
#include "routing.h"

#include "db/cachedrecords.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

class Session;
namespace storage {
class RecordAttachments;
}

/// A department that can send a letter, with the prefix of its reference numbers.
struct SendingDepartment
{
    int BKOD = 0;
    QString BIRIM, YETKILI, UNVAN, ONEK;
};

/// One outgoing letter being recorded or changed: its GIDEN row, its recipient
/// rows (EVBRM, register 2) and its answer link, all kept in memory until
/// save. The save takes the numbering lock, numbers, checks what may have
/// changed meanwhile, writes and commits in one short transaction of its own;
/// when anything fails it rolls back whole and keeps everything typed.
class OutgoingRecord
{
public:
    enum Mode { New = 1, Edit = 2 };

    explicit OutgoingRecord(Session &session);

    /// New mode: draws KAYNO (a cancelled letter leaves the gap) and fills the
    /// defaults; a user bound to a department sends from it.
    void openNew();
    /// Edit mode; false (and a message) when the letter is no longer there.
    bool openExisting(int kayno);

    Mode mode() const { return m_mode; }
    int kayno() const { return m_kayno; }

    QVariant value(const QString &column) const;
    void setValue(const QString &column, const QVariant &value);

    /// Departments the user may send from (only the user's own when bound to one).
    const QList<SendingDepartment> &departments() const { return m_departments; }
    /// Sending department chosen. Numbers BSIRNO in the department's series
    /// of the year (edit mode asks first). Then signer and
    /// reference prefix follow the department. False when the user said No
    /// (the department is changed, nothing else).
    bool setDepartment(int bkod);
    /// Double-click on the signer: the department's person and title again.
    void recopySigner();
    /// Confidentiality: numbers GSIRNO within the new level (edit mode too;
    /// back at the stored level the stored number returns).
    void setGIZDER(const QString &code);
    /// Delivery kind: recipients' names follow it ('İ' departments, 'D' bodies).
    void setZDUR(const QString &code);
    /// Reply awaited; refused (with the message) in edit mode once an answer came.
    bool setCEVDUR(const QString &code);

    QString SACK1() const;
    QString SACK2() const;

    /// The letter's attachments, written by the save in the letter's own unit
    /// (two-phase with the yearly database when contents go there).
    void setAttachments(storage::RecordAttachments *attachments) { m_attachments = attachments; }

    /// Recipient rows; the department dialog adds to them for internal delivery.
    Routing &routing() { return m_routing; }
    /// Name of a recipient row as the delivery kind shows it (empty for the other kind).
    QString recipientName(int row) const;
    /// External delivery: adds a body as a recipient. False (and a message)
    /// when it is not a body or already a recipient.
    bool addRecipientBody(int bkod);

    /// The answer link (ILGNO, ILGDUR).
    related::ReplyLink &reply() { return m_reply; }
    /// Kind, number, date, unit, subject of the document this letter answers.
    QStringList ILGIGETIR() const;
    /// State and particulars of the incoming answer to this letter.
    QStringList CEVAPGETIR() const;
    /// Whether an answer came (the reply state cannot change then).
    bool answered() const;

    /// F5. `typedDate` is the registration date as typed, dd/MM/yyyy.
    bool save(const QString &typedDate);
    /// F6: drops everything; only the drawn KAYNO stays spent.
    void cancel();

    static const QStringList &columns();
    static QString caption(const QString &column);

private:
    void readDepartments();
    void readNames();
    const SendingDepartment *department(int bkod) const;
    QString prefixed(const SendingDepartment &d, const QVariant &bsirno) const;
    qint64 provisionalBsirno(int bkod) const;
    void numberGsirno();
    bool validate();
    void numberUnderLock(fb::Transaction &t);
    void checkUnderLock(fb::Transaction &t);
    void storeAddressee(fb::Transaction &t);

    Session &m_session;
    Mode m_mode = New;
    int m_kayno = 0;
    CachedRecords m_row;
    Routing m_routing;
    storage::RecordAttachments *m_attachments = nullptr;
    related::ReplyLink m_reply{related::ReplyLink::Side::Outgoing};
    QList<SendingDepartment> m_departments;
    /// Name and kind of every place, for the recipients' names.
    QHash<int, QPair<QString, QString>> m_places;
    // Numbers as this screen gave them; renumbered under the lock at save
    // unless the user typed another.
    QVariant m_numberedGsirno;
    QVariant m_numberedBsirno;
    QVariant m_numberedEvsay;
    bool m_renumberBsirno = false;
    bool m_renumberGsirno = false;
    // Level and number as stored, kept when the level is changed back.
    QString m_storedGizder;
    QVariant m_storedGsirno;
    // The department, its number and the reference as saved, to go back to.
    struct { int bkod = 0; QVariant bsirno, evsay; } m_storedDepartment;
};
