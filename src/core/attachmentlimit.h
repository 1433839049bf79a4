#pragma once

#include "core/session.h"

#include <QSettings>

/// BELGESINIR in the workstation's settings store: the largest file this
/// workstation takes as an attachment, in MB. Unset, or not a positive
/// number, it is the default.
namespace attachmentlimit {

inline constexpr int defaultMb = 100;

inline int mb(const Session &session)
{
    const int stored = session.store()->value(QStringLiteral("BELGESINIR")).toInt();
    return stored > 0 ? stored : defaultMb;
}

inline void setMb(const Session &session, int mb)
{
    const std::unique_ptr<QSettings> store = session.store();
    store->setValue(QStringLiteral("BELGESINIR"), mb);
    store->sync();
}

} // namespace attachmentlimit
