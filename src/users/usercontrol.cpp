#include "usercontrol.h"

#include "db/fb/transaction.h"

namespace users {

QString readUDUR(fb::Transaction &t)
{
    return t.value(QStringLiteral("SELECT UDUR FROM TANIM")).toString();
}

} // namespace users
