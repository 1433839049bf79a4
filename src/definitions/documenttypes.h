#pragma once

#include "db/cachedrecords.h"

#include <QSet>

class Session;

/// The document types (EVTUR) as the grid of TFRMETUR edits them: one row at a
/// time is being typed and is checked when the user leaves it; what was
/// checked is kept in memory and written in one transaction when the screen
/// closes. A deletion is its own action, committed at once.
class DocumentTypes
{
public:
    explicit DocumentTypes(Session &session);

    void read();
    CachedRecords &rows() { return m_rows; }

    /// A new, empty row at the end; its index.
    int append();
    /// Checks the row being typed, if any: its name, and a number for a new
    /// one. False, after a message, when it is refused; the row stays as typed.
    /// A new row left without a name is dropped.
    bool writePending();
    /// Drops what is being typed; rows checked before stay.
    void cancelPending();
    /// "Kayıt Sil": asks, refuses a type the registers use, deletes and
    /// commits. True when deleted.
    bool remove(int row);
    /// "ESC-Çıkış": checks what is being typed, then writes every row checked
    /// and commits. False, after a message, when a row was refused. Throws
    /// fb::Error; nothing is written then and everything typed is kept.
    bool close();

private:
    int pendingRow() const;
    bool nameTaken(fb::Transaction &t, int row, const QString &name) const;

    Session &m_session;
    CachedRecords m_rows;
    /// m_rows as last checked: what the row being typed is told apart from.
    CachedRecords m_checked;
    /// Codes of the rows in memory that are stored: a stored row with another
    /// code was added elsewhere.
    QSet<int> m_storedCodes;
};
