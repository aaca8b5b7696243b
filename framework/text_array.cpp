// Definitions for text_array.h.
#include "framework/text_array.h"
