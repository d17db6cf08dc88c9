// Backends may include what they wrap.
#include <xcb/xcb.h>
#include "platform/Interface.h"
