#pragma once

class Defaults;
class ScreenPermission;

// The screen-capture permission and the flow that sends the user to grant it. Every place
// that asks for the permission goes through the one instance the application builds, so the
// desktop's prompt is requested at most once per run. GUI thread only.
class Permissions {
public:
    // A launch within this many seconds of sending the user to grant the permission counts
    // as the restart that follows the grant.
    static constexpr double pendingFlowWindowSeconds = 1800.0;

    Permissions(ScreenPermission& service, Defaults& defaults);

    bool hasScreenRecording() const;
    // The desktop prompt has been requested in this run.
    bool didPromptScreenRecording() const { return m_prompted; }
    // Records the start of a flow (when access is missing) and prompts, once per run.
    void requestScreenRecording();
    // Records the start of a flow (when access is missing) and opens the desktop's settings.
    void openScreenRecordingSettings();
    // True when this launch follows a recent flow; the stored flow is forgotten either way.
    bool consumePendingPermissionRelaunch();

private:
    void recordFlowStartIfMissing();

    ScreenPermission& m_service;
    Defaults& m_defaults;
    bool m_prompted = false;
};
