// Reaches up from the bottom layer.
#include "core/Defaults.h"
