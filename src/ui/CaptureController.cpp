#include "ui/CaptureController.h"

#include "base/TextUtil.h"
#include "core/AppSettings.h"
#include "support/L10n.h"
#include "ui/PermissionAlert.h"
#include "ui/SelectionOverlayController.h"
#include "ui/Toaster.h"

#include <QPointer>

#include <utility>

CaptureController::CaptureController(CapturePipeline& pipeline, SelectionOverlayController& overlay,
                                     ScreenGrabber& grabber, PermissionAlert& alert,
                                     Toaster& toaster, const L10n& l10n,
                                     const AppSettings& settings, QObject* parent)
    : QObject(parent), m_pipeline(pipeline), m_overlay(overlay), m_grabber(grabber), m_alert(alert),
      m_toaster(toaster), m_l10n(l10n), m_settings(settings) {}

void CaptureController::beginCapture(bool highAccuracy) {
    if (m_overlay.isOpen() || m_isCapturing || m_grabbing)
        return;

    if (m_pipeline.hasPermission()) {
        // A desktop that asks its portal answers later; a trigger meanwhile is ignored.
        m_grabbing = true;
        QPointer<CaptureController> self(this);
        m_grabber.grab([self, highAccuracy](const ScreenGrabber::Grab& grab) {
            if (self)
                self->screensGrabbed(grab, highAccuracy);
        });
        return;
    }

    m_pipeline.refuseWithoutPermission();
    presentPermissionAlert();
}

void CaptureController::screensGrabbed(const ScreenGrabber::Grab& grab, bool highAccuracy) {
    m_grabbing = false;
    using Outcome = ScreenGrabber::Grab::Outcome;
    if (grab.outcome == Outcome::Refused) {
        // The desktop said no: the permission is missing, as for a trigger without it.
        m_pipeline.refusedByDesktop(grab.error);
        presentPermissionAlert();
        return;
    }
    if (grab.outcome == Outcome::Failed) {
        showFeedback(m_pipeline.screensFailed(grab.error));
        return;
    }
    // The desktop is frozen here: the selection is drawn over, and cut from, these frames.
    m_frames = grab.frames;
    QPointer<CaptureController> self(this);
    m_overlay.begin(m_frames, [self, highAccuracy](std::optional<QRectF> rect) {
        if (self)
            self->selectionFinished(rect, highAccuracy);
    });
}

void CaptureController::selectionFinished(std::optional<QRectF> rect, bool highAccuracy) {
    if (!rect) {
        m_frames.clear();
        return;
    }
    m_isCapturing = true;
    runPipeline(*rect, highAccuracy);
}

QCoro::Task<> CaptureController::runPipeline(QRectF rect, bool highAccuracy) {
    QPointer<CaptureController> self(this);
    const CapturePipeline::Result result =
        co_await m_pipeline.captureAndRecognize(std::exchange(m_frames, {}), rect);
    if (!self)
        co_return;
    showFeedback(result);
    m_isCapturing = false;
    Q_EMIT captureFinished();
    if (highAccuracy && result.context)
        co_await refineWithCloud(*result.context);
}

// Confirmations obey "showHUD"; failures and "nothing found" always show, or nothing would
// tell the user.
void CaptureController::showFeedback(const CapturePipeline::Result& result) {
    using Feedback = CapturePipeline::Feedback;
    switch (result.feedback) {
    case Feedback::CaptureFailed:
        m_toaster.show(m_l10n.string("toast.captureFailed"));
        return;
    case Feedback::NoText:
        m_toaster.show(m_l10n.string("toast.noText"));
        return;
    case Feedback::TextCopied:
        if (m_settings.value(Settings::showHUD))
            m_toaster.show(m_l10n.counted("toast.ocrDone", result.characters));
        return;
    case Feedback::CodesCopied:
        if (m_settings.value(Settings::showHUD))
            m_toaster.show(m_l10n.string("toast.qrCopied"));
        return;
    }
}

// The local result is already delivered and confirmed; the cloud's reading may replace it.
// Confirmations obey "showHUD"; every outcome that keeps the local result says so always.
QCoro::Task<> CaptureController::refineWithCloud(CapturePipeline::Context context) {
    if (m_settings.value(Settings::showHUD))
        m_toaster.show(m_l10n.string("toast.hqWorking"));
    QPointer<CaptureController> self(this);
    QCoro::Task<CloudOCR::Outcome> refining =
        m_pipeline.refine(std::move(context), [self](const CloudOCR::Outcome& outcome) {
            if (self)
                self->showRefinement(outcome);
        });
    co_await refining;
    if (self)
        Q_EMIT self->refinementFinished();
}

void CaptureController::showRefinement(const CloudOCR::Outcome& outcome) {
    using Kind = CloudOCR::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::Refined:
        if (m_settings.value(Settings::showHUD))
            m_toaster.show(
                m_l10n.counted("toast.hqUpdated", TextUtil::graphemeCount(outcome.text)));
        return;
    case Kind::CoverageRejected:
        m_toaster.show(m_l10n.string("toast.hqTooSmall"));
        return;
    case Kind::QuotaExceeded:
        m_toaster.show(m_l10n.string("toast.hqQuota"));
        return;
    case Kind::NotSignedIn:
        m_toaster.show(m_l10n.string("toast.hqSignIn"));
        return;
    case Kind::Failed:
        m_toaster.show(m_l10n.string("toast.hqFailed"));
        return;
    }
}

void CaptureController::presentPermissionAlert() {
    m_alert.present();
}
