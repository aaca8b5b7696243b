// Definitions for headless.h.
#include "framework/headless.h"
