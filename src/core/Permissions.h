#pragma once

class ScreenPermission;

// The screen-capture permission and the flow that sends the user to grant it. Every place
// that asks for the permission goes through here. GUI thread only.
namespace Permissions {

// A launch within this many seconds of sending the user to grant the permission counts
// as the restart that follows the grant.
inline constexpr double pendingFlowWindowSeconds = 1800.0;

bool hasScreenRecording();
// The desktop prompt has been requested in this process run.
bool didPromptScreenRecording();
// Records the start of a flow (when access is missing) and prompts, once per process.
void requestScreenRecording();
// Records the start of a flow (when access is missing) and opens the desktop's settings.
void openScreenRecordingSettings();
// True when this launch follows a recent flow; the stored flow is forgotten either way.
bool consumePendingPermissionRelaunch();

// Tests swap the desktop service and start a fresh process run; nullptr restores it.
void setServiceForTesting(ScreenPermission* service);
void resetPromptForTesting();

} // namespace Permissions
