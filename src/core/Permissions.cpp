#include "core/Permissions.h"

namespace Permissions {
bool hasScreenRecording() {
    return true;
}
bool didPromptScreenRecording() {
    return false;
}
void requestScreenRecording() {}
void openScreenRecordingSettings() {}
bool consumePendingPermissionRelaunch() {
    return false;
}
} // namespace Permissions
