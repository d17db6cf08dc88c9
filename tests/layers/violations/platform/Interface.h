// An interface may not leak a third-party header to the layers that include it.
#include <canberra.h>
