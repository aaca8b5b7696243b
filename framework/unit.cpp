// Definitions for unit.h.
#include "framework/unit.h"
