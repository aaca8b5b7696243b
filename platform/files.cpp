// Files services; see files.h.
#include "platform/files.h"
