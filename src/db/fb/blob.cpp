#include "blob.h"
#include "api_p.h"
#include "attachment.h"
#include "transaction.h"

#include <ibase.h>

#include <QIODevice>

#include <cstring>

namespace fb {

using namespace Firebird;
using namespace detail;

namespace {

constexpr unsigned kSegment = 65535;

ISC_QUAD quad(const BlobId &id)
{
    ISC_QUAD q;
    static_assert(sizeof q == sizeof id);
    std::memcpy(&q, &id, sizeof q);
    return q;
}

BlobId idOf(const ISC_QUAD &q)
{
    BlobId id;
    std::memcpy(static_cast<void *>(&id), &q, sizeof q);
    return id;
}

struct Handles
{
    IAttachment *att;
    ITransaction *tra;
};

Handles handles(Transaction &t)
{
    t.start();
    auto s = t.state();
    return {s->attachment->handle, s->handle};
}

} // namespace

BlobId writeBlob(Transaction &t, QIODevice &source, const BlobProgress &progress)
{
    const Handles h = handles(t);
    return guarded(QStringLiteral("BLOB WRITE"), [&] {
        Status st;
        ISC_QUAD id{};
        IBlob *blob = h.att->createBlob(&st, h.tra, &id, 0, nullptr);
        try {
            std::vector<char> buffer(kSegment);
            qint64 done = 0;
            for (;;) {
                const qint64 got = source.read(buffer.data(), kSegment);
                if (got < 0)
                    throw Error(QStringLiteral("Dosya okunamadı: %1").arg(source.errorString()));
                if (got == 0)
                    break;
                blob->putSegment(&st, unsigned(got), buffer.data());
                done += got;
                if (progress)
                    progress(done);
            }
            blob->close(&st);
        } catch (...) {
            try {
                Status st2;
                blob->cancel(&st2);
            } catch (...) {
                blob->release();
            }
            throw;
        }
        return idOf(id);
    });
}

qint64 readBlob(Transaction &t, const BlobId &id, QIODevice &target, const BlobProgress &progress)
{
    const Handles h = handles(t);
    return guarded(QStringLiteral("BLOB READ"), [&] {
        Status st;
        ISC_QUAD q = quad(id);
        IBlob *blob = h.att->openBlob(&st, h.tra, &q, 0, nullptr);
        qint64 done = 0;
        try {
            std::vector<char> buffer(kSegment);
            for (;;) {
                unsigned got = 0;
                const int rc = blob->getSegment(&st, kSegment, buffer.data(), &got);
                if (rc == IStatus::RESULT_NO_DATA)
                    break;
                if (target.write(buffer.data(), got) != qint64(got))
                    throw Error(QStringLiteral("Dosyaya yazılamadı: %1").arg(target.errorString()));
                done += got;
                if (progress)
                    progress(done);
            }
            blob->close(&st);
        } catch (...) {
            blob->release();
            throw;
        }
        return done;
    });
}

qint64 blobLength(Transaction &t, const BlobId &id)
{
    const Handles h = handles(t);
    return guarded(QStringLiteral("BLOB INFO"), [&] {
        Status st;
        ISC_QUAD q = quad(id);
        IBlob *blob = h.att->openBlob(&st, h.tra, &q, 0, nullptr);
        const unsigned char items[] = {isc_info_blob_total_length};
        unsigned char out[32] = {};
        try {
            blob->getInfo(&st, sizeof items, items, sizeof out, out);
            blob->close(&st);
        } catch (...) {
            blob->release();
            throw;
        }
        if (out[0] != isc_info_blob_total_length)
            return qint64(-1);
        const short n = short(out[1] | (out[2] << 8));
        return qint64(isc_portable_integer(out + 3, n));
    });
}

} // namespace fb
