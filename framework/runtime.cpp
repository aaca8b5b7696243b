// Definitions for runtime.h.
#include "framework/runtime.h"
