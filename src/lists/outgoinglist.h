#pragma once

#include "listdescription.h"

namespace lists {

/// "GİDEN EVRAK  LİSTESİ": outgoing letters, one row per place a letter was
/// sent to and per incoming document that answers it.
ListDescription outgoingList();

} // namespace lists
