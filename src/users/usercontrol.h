#pragma once

#include <QString>

namespace fb {
class Transaction;
}

namespace users {

/// TANIM.UDUR as stored, whole: "1" when logins and rights are checked. Read
/// on its own at start, so that the rights follow it even when the rest of
/// the settings cannot be read.
QString readUDUR(fb::Transaction &t);

} // namespace users
