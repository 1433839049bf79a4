#pragma once

#include "db/cachedrecords.h"

class Session;

/// The document types (EVTUR) as the grid of TFRMETUR edits them: one row at a
/// time is being typed; it is written when the user leaves it, and the main
/// transaction is committed when the screen closes.
class DocumentTypes
{
public:
    explicit DocumentTypes(Session &session);

    void read();
    CachedRecords &rows() { return m_rows; }

    /// A new, empty row at the end; its index.
    int append();
    /// Writes the row being typed, if any: checks its name, numbers a new one.
    /// False, after a message, when it is refused; the row stays as typed. A
    /// new row left without a name is dropped.
    bool writePending();
    /// Drops what is being typed.
    void cancelPending();
    /// "Kayıt Sil": asks, refuses a type the registers use. True when deleted.
    bool remove(int row);
    /// "ESC-Çıkış": writes what is being typed and commits. False when the row
    /// was refused (the screen stays open).
    bool close();

private:
    int pendingRow() const;

    Session &m_session;
    CachedRecords m_rows;
};
