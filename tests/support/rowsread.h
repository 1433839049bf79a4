#pragma once

#include "db/fb/attachment.h"

#include <QString>

/// Rows of `table` that `attachment` has read so far, in natural order and
/// through indexes, as the engine counts them. A query that walks a register
/// instead of going through an index shows here, whatever the plan text says.
qint64 rowsRead(fb::Attachment &attachment, const QString &table);
