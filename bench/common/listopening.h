#pragma once

#include "timing.h"

#include "lists/listdescription.h"

#include <QList>
#include <QString>

namespace bench {

/// Opens the list of `description` on `database` `runs` times as a clerk does
/// on 26/08/2021 with working year 2021: activation (the current month), then
/// the whole working year — first 100 rows, every row with a screenful shown —
/// and beside it a bare read of the same statement with the same parameters.
/// Prints the medians and the ratio.
void measureListOpening(const QString &title, const QString &database, const lists::ListDescription &description,
                        int runs);

} // namespace bench
