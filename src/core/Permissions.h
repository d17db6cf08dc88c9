#pragma once

// The screen-capture permission and the flow that sends the user to grant it.
namespace Permissions {
bool hasScreenRecording();
bool didPromptScreenRecording();
void requestScreenRecording();
void openScreenRecordingSettings();
bool consumePendingPermissionRelaunch();
} // namespace Permissions
