#include "lookups.h"

#include "core/session.h"
#include "db/fb/transaction.h"

namespace {

LookupItems items(fb::Transaction &t, const QString &sql)
{
    LookupItems out;
    for (const QVariantList &r : t.rows(sql))
        out.append({r.value(0), r.value(1).toString()});
    return out;
}

} // namespace

namespace lookups {

LookupItems fileCodes(Session &session)
{
    return items(session.db.IBTransaction1, QStringLiteral("SELECT KOD,ACIK FROM SDP WHERE TUR='D' ORDER BY ACIK"));
}

LookupItems externalBodies(Session &session)
{
    fb::TransactionOptions o;
    o.readOnly = true;
    o.lockTimeout = 5;
    fb::Transaction fresh(session.db.IBDATABASE, o);
    LookupItems out = items(fresh, QStringLiteral("SELECT BKOD,BIRIM FROM BIRIM WHERE TUR='K' ORDER BY BIRIM"));
    fresh.commit();
    return out;
}

LookupItems documentTypes(Session &session)
{
    return items(session.db.IBTransaction1, QStringLiteral("SELECT ETKOD,EVTUR FROM EVTUR ORDER BY ETKOD"));
}

} // namespace lookups
