#pragma once

#include "db/cachedrecords.h"

#include <QList>
#include <QString>

class Session;

/// A department (or, for outgoing documents, an external body) that can be routed to.
struct Department
{
    int BKOD = 0;
    QString BIRIM, YETKILI, UNVAN;
};

/// The routing rows (EVBRM) of one document, kept in memory until its record
/// is saved. Register 1 is incoming, 2 outgoing.
class Routing
{
public:
    Routing(Session &session, int register_);

    /// Reads the rows of a document; shows the place's name with them.
    void open(int kayno);
    int kayno() const { return m_kayno; }
    CachedRecords &rows() { return m_rows; }

    /// Departments not yet routed for this document (saved or not).
    QList<Department> departmentsToOffer();
    /// Adds a row for a department. Unsaved edits of the other rows are dropped,
    /// as re-reading the rows after a selection always did; rows added stay.
    /// False (and a message) when the row cannot be made.
    bool route(const Department &department);
    /// Routes every department still offered; stops at the first that fails.
    void routeAll();
    /// Asks, then removes the row (kept until save).
    void remove(int row);

    /// Messages about a row that does not fit its columns; empty when all fit.
    QString problem() const;
    void apply(fb::Transaction &t) { m_rows.apply(t); }
    void accept() { m_rows.accept(); }
    void revert() { m_rows.revert(); }

private:
    Session &m_session;
    int m_register;
    int m_kayno = 0;
    CachedRecords m_rows;
};
