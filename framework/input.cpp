// Definitions for input.h.
#include "framework/input.h"
