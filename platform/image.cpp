// Image services; see image.h.
#include "platform/image.h"
