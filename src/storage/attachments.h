#pragma once

#include "registerkind.h"
#include "storageplaces.h"

#include "db/cachedrecords.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTemporaryDir;
class Session;

namespace fb {
class Transaction;
class TwoPhaseTransaction;
class Attachment;
}

namespace storage {

/// What showing the selected attachment found.
struct Shown
{
    enum Kind { Nothing, Picture, Document };
    Kind kind = Nothing;
    QString path;    ///< a local file holding the content
    QString message; ///< shown already; for the viewer's empty state
};

/// What became of the files after a save.
struct AfterSave
{
    QStringList notSent;   ///< wait in BEKLEYEN: the file server did not take them
    QStringList notCopied; ///< wait in BEKLEYEN: the local folder did not take them (this save's and earlier ones, tried again)
};

/// The attachments of one register record: its rows (kept in memory until
/// the record's save), the files chosen in this opening (copied into TEMP at
/// once, so a file changed or removed afterwards does not change what is
/// saved), and their contents, written at save inside the record's own unit
/// of work: rows into the main database, contents into the row or into the
/// yearly attachment database, both committed together.
class RecordAttachments
{
public:
    /// Bytes done of bytes in all, while contents are written or read.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    RecordAttachments(Session &session, Register kind);
    ~RecordAttachments();

    /// Reads the record's rows. `year` is the year of the record's date: with
    /// TEXTVT 'A' that year's attachment database is opened (false, after the
    /// message, when it cannot be; the rows are read all the same).
    bool open(int kayno, int year);
    int kayno() const { return m_kayno; }
    const RegisterKind &kind() const { return m_kind; }
    const StoragePlaces &places() const { return m_places; }
    Folders folders() const { return Folders(m_places.localFolder); }

    /// The rows: KAYNO, SIRNO, TUR, ACIK, BELTUR, SDP, DOSYA, OCN, BELKAYNO.
    const CachedRecords &rows() const { return m_rows; }
    int rowCount() const { return m_rows.rowCount(); }
    QVariant value(int row, const QString &column) const { return m_rows.value(row, column); }
    /// ACIK, the description (archive grid).
    void setDescription(int row, const QString &text);
    /// SIRNO the next added attachment gets.
    int nextSirno() const { return m_nextSirno; }

    /// The file dialog filter, with entry `ABT` first so that it is preselected.
    static QString fileFilter(int abt);

    /// BELGEYUKLE: mode 1 adds, mode 2 replaces the content of `row`. Asks for
    /// the file; true when a row was added or changed.
    bool BELGEYUKLE(int mode, int row = -1);
    /// The same with a file already chosen (drag and drop, tests).
    bool load(int mode, int row, const QString &sourcePath);
    /// "Sil": asks, then drops the row (written at save). True when dropped.
    bool remove(int row);

    /// Finds the content of `row` for showing, by the reading medium.
    Shown show(int row);

    /// The bytes of a row's content, as chosen in this opening or as kept (the
    /// database first, then the local folder); empty when none can be read.
    QByteArray contentOf(int row);

    /// The attachment database the save needs beside the main one, for the
    /// record's fb::TwoPhaseTransaction; null when contents stay in the rows.
    fb::Attachment *yearDatabase() const;
    /// Writes rows and contents inside the record's unit. Throws fb::Error
    /// (in Turkish) and writes nothing of its own when a content cannot be
    /// read or the yearly database is not open.
    void apply(fb::TwoPhaseTransaction &unit, const Progress &progress = {});
    /// After the unit committed: the rows are the saved state, files go to the
    /// local folder and the file server (with the files that waited for them);
    /// what did not arrive waits in BEKLEYEN, and TEMP is emptied.
    AfterSave saved();
    /// F6: drops every change and the files of this opening.
    void cancel();

    bool isDirty() const { return m_rows.isDirty() || !m_pending.isEmpty(); }
    /// TEMP files of this opening by SIRNO.
    QString stagedFile(int sirno) const { return m_pending.value(sirno).temp; }

private:
    struct Pending
    {
        QString temp;      ///< the copy in TEMP
        bool content;      ///< goes into a blob (VTSAKLA 'E')
        bool replaced;     ///< change mode: the old content goes
    };
    int rowOf(int sirno) const;
    void renumber();
    bool emptyTempRead();
    QString readContent(int row, const QString &target);
    QString readCopiesFolder();
    void sendToServer(const QStringList &paths, AfterSave &after);

    Session &m_session;
    Register m_register;
    const RegisterKind &m_kind;
    StoragePlaces m_places;
    CachedRecords m_rows;
    int m_kayno = 0;
    QString m_year; ///< of the record's date: its yearly database holds the contents
    int m_nextSirno = 1;
    int m_highestStored = 0;
    QHash<int, Pending> m_pending;
    std::unique_ptr<QTemporaryDir> m_readCopies; ///< contents read from the database for showing
};

// For the lists and the register records.

/// The yearly attachment database holding contents of a record's
/// attachments, opened for the year of the record's date, for the second part
/// of the unit that deletes the record: null when no row of the record has
/// its content there (or TEXTVT is not 'A'). False, after "DİKKAT! TEXT
/// Veritabanı açılamadı", when it is needed and cannot be opened: deleting the
/// rows alone would leave their contents behind.
bool contentDatabaseFor(Session &session, Register kind, int kayno, fb::Attachment *&database);
/// Deletes every attachment of a record — rows and their contents in the
/// yearly database — inside the given unit (its second part on the yearly
/// database when that is in use). Files in folders and on the server stay.
void deleteAllAttachments(fb::TwoPhaseTransaction &unit, Register kind, int kayno);
/// Number of attachment rows of a record.
int attachmentCount(fb::Transaction &t, Register kind, int kayno);
/// The same for many records at once: KAYNO → count (records without any are left out).
QHash<int, int> attachmentCounts(fb::Transaction &t, Register kind, const QList<int> &kaynos);

} // namespace storage
