#pragma once

#include "listdescription.h"

namespace lists {

/// "ARŞİV BELGELERİ  LİSTESİ": one row per archive record.
ListDescription archiveList();

} // namespace lists
