#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class Session;

/// One entry of a record screen's choice box: the stored key and its text.
struct LookupItem
{
    QVariant key;
    QString text;
};

using LookupItems = QList<LookupItem>;

/// The lists a register record's choice boxes offer.
namespace lookups {

/// File-plan codes a document may carry (SDP of kind 'D'), text ACIK, by ACIK.
LookupItems fileCodes(Session &session);
/// External bodies (BIRIM of kind 'K'), key BKOD, by name; read in a fresh
/// transaction so that bodies other workstations just added are there.
LookupItems externalBodies(Session &session);
/// Document types (EVTUR), key ETKOD, by ETKOD.
LookupItems documentTypes(Session &session);

} // namespace lookups
