#pragma once

#include "listdescription.h"

namespace lists {

/// "DİLEKÇE  LİSTESİ": one row per petition, numbered and filtered by its
/// registration date.
ListDescription petitionList();

} // namespace lists
