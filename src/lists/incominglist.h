#pragma once

#include "listdescription.h"

namespace lists {

/// "GELEN EVRAK  LİSTESİ": incoming documents, one row per department a
/// document went to and per outgoing answer that names it.
ListDescription incomingList();

} // namespace lists
