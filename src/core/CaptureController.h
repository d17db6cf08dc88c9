#pragma once

#include "core/OCRResult.h"
#include "platform/ScreenGrabber.h"

#include <QCoro/QCoroTask>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QUuid>

#include <functional>
#include <optional>

class ClipboardService;
class SoundService;

// Ties a capture together: overlay, screen grab, recognition and delivery. GUI thread only.
class CaptureController : public QObject {
    Q_OBJECT
public:
    static CaptureController& shared();

    // The only public entry. Returns at once; a trigger while a selection is open or a
    // capture runs is ignored.
    void beginCapture(bool highAccuracy);

    // From an accepted selection until the local pipeline has delivered or failed.
    bool isCapturing() const { return m_isCapturing; }

    // What the local pipeline hands to the high-accuracy step.
    struct CaptureContext {
        QImage image;
        OCRResult result;
        std::optional<QUuid> historyID;
        int regionW = 0;
        int regionH = 0;
        int scale = 1;
    };

    // The pixels of `rect` (virtual-desktop coordinates) cut from the frame of the screen
    // holding its centre, clipped to that screen, at device-pixel resolution. `error` is set
    // when the screen could not be read; both are empty when there was nothing to cut.
    struct Screenshot {
        QImage image;
        QString error;
    };
    static Screenshot screenshot(const QList<ScreenFrame>& frames, const QRectF& rect);
    // Pixels per logical pixel actually obtained, at least 1.
    static int scaleFor(int imageWidth, int regionW);
    // Lines that hold more than horizontal white space.
    static int lineCount(const QString& text);

    using Recognizer = std::function<QCoro::Task<OCRResult>(QImage)>;
    using Toaster = std::function<void(const QString&)>;
    // Tests replace the desktop services; a null argument restores the real one.
    void setScreenGrabber(ScreenGrabber* grabber);
    void setClipboard(ClipboardService* clipboard);
    void setSound(SoundService* sound);
    void setRecognizer(Recognizer recognizer);
    void setToaster(Toaster toaster);
    void setPermissionAlert(std::function<void()> alert);

Q_SIGNALS:
    // The local pipeline of one capture has ended, delivered or not.
    void captureFinished();

private:
    CaptureController();

    void selectionFinished(std::optional<QRectF> rect, bool highAccuracy);
    QCoro::Task<> runPipeline(QRectF rect, bool highAccuracy);
    QCoro::Task<std::optional<CaptureContext>> captureAndRecognize(QRectF rect);
    std::optional<QUuid> deliver(const OCRResult& result);
    void saveDebugCapture(const QImage& image);
    QCoro::Task<> refineWithCloud(CaptureContext context);
    void presentPermissionAlert();
    void failed(const QString& logDetail, const QString& reason);

    bool m_isCapturing = false;
    bool m_alertShowing = false;
    QList<ScreenFrame> m_frames; // the frozen desktop of the open selection
    ScreenGrabber* m_grabber = nullptr;
    ClipboardService* m_clipboard = nullptr;
    SoundService* m_sound = nullptr;
    Recognizer m_recognizer;
    Toaster m_toaster;
    std::function<void()> m_permissionAlert;
};
