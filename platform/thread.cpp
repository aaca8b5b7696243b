// Thread services; see thread.h.
#include "platform/thread.h"
