#pragma once

#include "db/fb/transaction.h"

#include <QString>

/// Register numbers and sequence numbers are the highest stored value plus one.
/// Read without a lock, two workstations saving at the same moment would get
/// the same number; so whoever numbers first takes the one agreed lock — the
/// settings row — in the transaction that also writes the record, and keeps it
/// until that transaction ends. The others wait (within the transaction's lock
/// timeout) and then see the committed number.
namespace numbering {

/// Takes the numbering lock in t. Throws fb::Error when it could not be had in time.
void lock(fb::Transaction &t);

/// The highest value plus one: `sql` selects one MAX(...) (NULL counts as 0).
/// Call after lock() in the transaction that will write the number.
qint64 next(fb::Transaction &t, const QString &sql, const fb::Params &params = {});

/// The message for a numbering lock that could not be had in time.
QString busyMessage();

} // namespace numbering
