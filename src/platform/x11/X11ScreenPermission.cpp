#include "platform/x11/X11ScreenPermission.h"

ScreenPermission& ScreenPermission::system() {
    static X11ScreenPermission permission;
    return permission;
}
