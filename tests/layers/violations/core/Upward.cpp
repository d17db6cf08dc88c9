// The pipeline must not know the toast.
#include "core/OCRResult.h"
#include "ui/HUDToast.h"
// Nor the X11 backend.
#include "platform/x11/X11Platform.h"
