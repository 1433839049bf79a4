#pragma once

#include "layout.h"

namespace reports {

enum class Book { Incoming, Outgoing, Petition };

/// The register book of a register, A4 landscape. Its detail line reads these
/// columns of the rows (named as the list's data set names them):
///  incoming  GELNO GELTAR EVSAY EVTAR EKSAY DISKUR KONU BIRIM CEVDUR GIDNO
///  outgoing  GIDNO GIDTAR EVSAY EVTAR EKSAY DKURUM KONU BIRIM CEVDUR GELNO
///  petition  DILNO GELTAR DILTAR EKSAY ADSOY KONU BIRIM
/// Dates come as the list shows them (dd.MM.yyyy); missing columns print blank.
Layout registerBook(Book book);

/// The columns the detail line reads, in the order above.
QStringList bookFields(Book book);

} // namespace reports
