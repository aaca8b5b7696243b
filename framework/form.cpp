// Definitions for form.h.
#include "framework/form.h"
