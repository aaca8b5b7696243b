// Definitions for units.h.
#include "framework/units.h"
