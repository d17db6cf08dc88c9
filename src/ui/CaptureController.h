#pragma once

#include "core/CapturePipeline.h"
#include "platform/ScreenGrabber.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QRectF>

#include <optional>

class AppSettings;
class L10n;
class PermissionAlert;
class SelectionOverlayController;
class Toaster;

// One capture as the user lives it: the trigger, the permission alert, the selection overlay
// over the frozen desktop, then the pipeline, then the toast. Every trigger (shortcuts, tray,
// command line) calls beginCapture(). GUI thread only.
class CaptureController : public QObject {
    Q_OBJECT
public:
    CaptureController(CapturePipeline& pipeline, SelectionOverlayController& overlay,
                      ScreenGrabber& grabber, PermissionAlert& alert, Toaster& toaster,
                      const L10n& l10n, const AppSettings& settings, QObject* parent = nullptr);

    // The only public entry. Returns at once; a trigger while a selection is open or a
    // capture runs is ignored.
    void beginCapture(bool highAccuracy);

    // From an accepted selection until the local pipeline has delivered or failed.
    bool isCapturing() const { return m_isCapturing; }

Q_SIGNALS:
    // The local pipeline of one capture has ended, delivered or not.
    void captureFinished();
    // The high-accuracy step of one capture has handled the cloud's outcome.
    void refinementFinished();

private:
    void screensGrabbed(const ScreenGrabber::Grab& grab, bool highAccuracy);
    void selectionFinished(std::optional<QRectF> rect, bool highAccuracy);
    QCoro::Task<> runPipeline(QRectF rect, bool highAccuracy);
    void showFeedback(const CapturePipeline::Result& result);
    QCoro::Task<> refineWithCloud(CapturePipeline::Context context);
    void showRefinement(const CloudOCR::Outcome& outcome);
    void presentPermissionAlert();

    CapturePipeline& m_pipeline;
    SelectionOverlayController& m_overlay;
    ScreenGrabber& m_grabber;
    PermissionAlert& m_alert;
    Toaster& m_toaster;
    const L10n& m_l10n;
    const AppSettings& m_settings;
    bool m_isCapturing = false;
    bool m_grabbing = false;     // the desktop has been asked for its screens
    QList<ScreenFrame> m_frames; // the frozen desktop of the open selection
};
