// Sound services; see sound.h.
#include "platform/sound.h"
