#pragma once

// The numbering lock moved to the db layer, where the templates reach it too.
#include "db/numbering.h"
