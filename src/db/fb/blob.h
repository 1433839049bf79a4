#pragma once

#include <QMetaType>
#include <QtGlobal>

#include <functional>

class QIODevice;

namespace fb {

class Transaction;

/// A blob by its id, for content too big to hold in memory: a Statement told
/// setBlobsAsIds(true) gives blob columns as BlobId, and a BlobId bound to a
/// blob parameter stores the blob it names.
struct BlobId
{
    quint32 high = 0;
    quint32 low = 0;
    bool operator==(const BlobId &) const = default;
};

/// Bytes done so far.
using BlobProgress = std::function<void(qint64 done)>;

/// Writes everything `source` still holds into a new blob of the transaction,
/// in segments of 64 KiB. Throws fb::Error; a source that fails to read
/// throws too, so a short blob is never taken for the whole.
BlobId writeBlob(Transaction &transaction, QIODevice &source, const BlobProgress &progress = {});
/// Streams the blob into `target`; returns the bytes written. Throws fb::Error.
qint64 readBlob(Transaction &transaction, const BlobId &id, QIODevice &target,
                const BlobProgress &progress = {});
/// Length in bytes without reading it.
qint64 blobLength(Transaction &transaction, const BlobId &id);

} // namespace fb

Q_DECLARE_METATYPE(fb::BlobId)
