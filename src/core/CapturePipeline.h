#pragma once

#include "core/CloudOCR.h"
#include "core/OCRResult.h"
#include "platform/ScreenGrabber.h"

#include <QCoro/QCoroTask>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QUuid>
#include <QVariantMap>

#include <functional>
#include <optional>

class AppSettings;
class ClipboardService;
class Defaults;
class ImproveReporter;
class OCREngine;
class OCRHistoryStore;
class Permissions;
class SoundService;

// The capture without its windows: frozen screen frames and a selected rectangle go in; the
// crop, recognition and the delivery to clipboard, history, sound, debug log and statistics
// happen here; what the user should be told comes back. The flow in ui/CaptureController
// drives it and turns the answer into a toast. GUI thread only.
class CapturePipeline : public QObject {
    Q_OBJECT
public:
    // What the local pipeline hands to the high-accuracy step.
    struct Context {
        QImage image;
        OCRResult result;
        std::optional<QUuid> historyID;
        int regionW = 0;
        int regionH = 0;
        int scale = 1;
    };

    // What the user is told about one capture.
    enum class Feedback {
        CaptureFailed, // the screen could not be read
        NoText,        // nothing recognised; the clipboard is unchanged
        TextCopied,    // `characters` of recognised text are on the clipboard
        CodesCopied,   // barcode payloads are on the clipboard
    };

    struct Result {
        Feedback feedback = Feedback::CaptureFailed;
        qsizetype characters = 0;       // of what was copied
        std::optional<Context> context; // whenever recognition ran, found or not
    };

    // The pixels of `rect` (virtual-desktop coordinates) cut from the frame of the screen
    // holding its centre, clipped to that screen, at device-pixel resolution. `error` is set
    // when the screen could not be read; both are empty when there was nothing to cut.
    struct Screenshot {
        QImage image;
        QString error;
    };

    CapturePipeline(const AppSettings& settings, const Defaults& defaults, Permissions& permissions,
                    OCRHistoryStore& history, ClipboardService& clipboard, SoundService& sound,
                    const OCREngine& engine, ImproveReporter& improve, CloudOCR& cloud,
                    QObject* parent = nullptr);

    bool hasPermission() const;
    // A trigger without the permission: the statistics event and the desktop's prompt (once
    // per run). The flow shows the alert.
    void refuseWithoutPermission();
    // The desktop refused the screen picture when asked (its own dialog, or its policy):
    // the same as a missing permission, with the desktop's reason in the log.
    void refusedByDesktop(const QString& reason);

    // The desktop could not deliver its screens (a portal that did not answer in time): the
    // log line and statistics of a failed capture.
    Result screensFailed(const QString& error);

    // The local pipeline of one accepted selection.
    QCoro::Task<Result> captureAndRecognize(QList<ScreenFrame> frames, QRectF rect);

    static Screenshot screenshot(const QList<ScreenFrame>& frames, const QRectF& rect);
    // Pixels per logical pixel actually obtained, at least 1.
    static int scaleFor(int imageWidth, int regionW);
    // Lines that hold more than horizontal white space.
    static int lineCount(const QString& text);

    // The window-free half of a high-accuracy capture, after the local delivery: asks the
    // service to re-read the context's image and, for an accepted reading, puts it on the
    // clipboard (only while the clipboard still holds what this capture put there) and in
    // place of this capture's history entry; writes the log lines, the statistics and the
    // sample. `announce` is called with the outcome at the moment its toast belongs in that
    // order. Keeps no state: several refinements may wait at once, each on its own context.
    QCoro::Task<CloudOCR::Outcome> refine(Context context,
                                          std::function<void(const CloudOCR::Outcome&)> announce);

    // What this capture put on the clipboard: the text, else the codes one per line.
    static QString shownString(const OCRResult& result);
    // The "ocr.result" event of a cloud reading, and the sample pairing it with the local one.
    QVariantMap cloudResultEvent(const Context& context, const CloudOCR::Outcome& outcome,
                                 qint64 ms) const;
    QVariantMap sample(const Context& context, const CloudOCR::Outcome& outcome) const;

private:
    Result failed(const QString& logDetail, const QString& reason);
    Result deliver(const OCRResult& result, std::optional<QUuid>* historyID);
    void saveDebugCapture(const QImage& image);
    bool testerModeEnabled() const;

    const AppSettings& m_settings;
    const Defaults& m_defaults;
    Permissions& m_permissions;
    OCRHistoryStore& m_history;
    ClipboardService& m_clipboard;
    SoundService& m_sound;
    const OCREngine& m_engine;
    ImproveReporter& m_improve;
    CloudOCR& m_cloud;
};
