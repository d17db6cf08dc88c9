#include "core/CaptureController.h"

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/TextUtil.h"
#include "core/AppSettings.h"
#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "core/ImproveReporter.h"
#include "core/OCREngine.h"
#include "core/OCRHistoryStore.h"
#include "core/Permissions.h"
#include "platform/ClipboardService.h"
#include "platform/SoundService.h"
#include "support/L10n.h"
#include "ui/HUDToast.h"
#include "ui/SelectionOverlayController.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <cmath>
#include <exception>

namespace {

const QString testerModeKey = QStringLiteral("testerModeEnabled");
const QString captureSound = QStringLiteral("screen-capture");

bool testerModeEnabled() {
    return Defaults::standard().boolForKey(testerModeKey);
}

// Half-open, so a point on the seam between two screens belongs to exactly one of them.
bool screenContains(const QRect& geometry, QPointF point) {
    return point.x() >= geometry.x() && point.x() < geometry.x() + geometry.width() &&
           point.y() >= geometry.y() && point.y() < geometry.y() + geometry.height();
}

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar(0x0085) || c == QChar(0x2028) ||
           c == QChar(0x2029);
}

bool isHorizontalSpace(QChar c) {
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

} // namespace

CaptureController& CaptureController::shared() {
    static CaptureController* instance = new CaptureController();
    return *instance;
}

CaptureController::CaptureController() {
    setScreenGrabber(nullptr);
    setClipboard(nullptr);
    setSound(nullptr);
    setRecognizer(nullptr);
    setToaster(nullptr);
    setPermissionAlert(nullptr);
}

void CaptureController::setScreenGrabber(ScreenGrabber* grabber) {
    m_grabber = grabber ? grabber : &ScreenGrabber::system();
}

void CaptureController::setClipboard(ClipboardService* clipboard) {
    m_clipboard = clipboard ? clipboard : &ClipboardService::system();
}

void CaptureController::setSound(SoundService* sound) {
    m_sound = sound ? sound : &SoundService::system();
}

void CaptureController::setRecognizer(Recognizer recognizer) {
    if (recognizer)
        m_recognizer = std::move(recognizer);
    else
        m_recognizer = [](QImage image) { return OCREngine::recognize(std::move(image)); };
}

void CaptureController::setToaster(Toaster toaster) {
    m_toaster = toaster ? std::move(toaster) : Toaster(&HUDToast::show);
}

void CaptureController::setPermissionAlert(std::function<void()> alert) {
    if (alert)
        m_permissionAlert = std::move(alert);
    else
        m_permissionAlert = [this] { presentPermissionAlert(); };
}

void CaptureController::beginCapture(bool highAccuracy) {
    SelectionOverlayController& overlay = SelectionOverlayController::shared();
    if (overlay.isOpen() || m_isCapturing)
        return;

    if (Permissions::hasScreenRecording()) {
        // The desktop is frozen here: the selection is drawn over, and cut from, these frames.
        m_frames = m_grabber->grabScreens();
        QPointer<CaptureController> self(this);
        overlay.begin(m_frames, [self, highAccuracy](std::optional<QRectF> rect) {
            if (self)
                self->selectionFinished(rect, highAccuracy);
        });
        return;
    }

    ImproveReporter::shared().record("capture.failed", {{"reason", "noPermission"}});
    Permissions::requestScreenRecording();
    m_permissionAlert();
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
    std::optional<CaptureContext> context = co_await captureAndRecognize(rect);
    if (!self)
        co_return;
    m_isCapturing = false;
    Q_EMIT captureFinished();
    if (highAccuracy && context)
        co_await refineWithCloud(std::move(*context));
}

void CaptureController::failed(const QString& logDetail, const QString& reason) {
    DebugLog::log(QStringLiteral("Capture: failed: ") + logDetail);
    ImproveReporter::shared().record("capture.failed", {{"reason", reason}});
    m_toaster(L10n::shared().string("toast.captureFailed"));
}

CaptureController::Screenshot CaptureController::screenshot(const QList<ScreenFrame>& frames,
                                                            const QRectF& rect) {
    if (frames.isEmpty())
        return {};
    const QPointF centre = rect.center();
    const ScreenFrame* frame = &frames.first();
    for (const ScreenFrame& candidate : frames) {
        if (screenContains(candidate.geometry, centre)) {
            frame = &candidate;
            break;
        }
    }
    const QRectF screen(frame->geometry);
    const QRectF clip = rect & screen;
    if (clip.isEmpty())
        return {};
    if (frame->image.isNull())
        return {QImage(), frame->error.isEmpty() ? QStringLiteral("The screen could not be read.")
                                                 : frame->error};

    const qreal ratio = frame->devicePixelRatio > 0 ? frame->devicePixelRatio : 1.0;
    const int x = int(std::floor((clip.x() - screen.x()) * ratio));
    const int y = int(std::floor((clip.y() - screen.y()) * ratio));
    const int width = int(ratio * clip.width());
    const int height = int(ratio * clip.height());
    const QRect source = QRect(x, y, width, height) & frame->image.rect();
    if (source.isEmpty())
        return {};
    return {frame->image.copy(source), QString()};
}

int CaptureController::scaleFor(int imageWidth, int regionW) {
    if (regionW < 1)
        return 1;
    const long scale = std::lround(double(imageWidth) / double(regionW));
    return scale < 1 ? 1 : int(scale);
}

int CaptureController::lineCount(const QString& text) {
    int lines = 0;
    bool content = false;
    for (QChar c : text) {
        if (isLineBreak(c)) {
            lines += content ? 1 : 0;
            content = false;
        } else if (!isHorizontalSpace(c)) {
            content = true;
        }
    }
    return lines + (content ? 1 : 0);
}

QCoro::Task<std::optional<CaptureController::CaptureContext>>
CaptureController::captureAndRecognize(QRectF rect) {
    const Screenshot shot = screenshot(m_frames, rect);
    m_frames.clear();
    if (!shot.error.isEmpty()) {
        failed(shot.error, QStringLiteral("exception"));
        co_return std::nullopt;
    }
    if (shot.image.isNull()) {
        failed(QStringLiteral("no image"), QStringLiteral("noImage"));
        co_return std::nullopt;
    }
    const QImage& image = shot.image;
    const int regionW = int(rect.width());
    const int regionH = int(rect.height());
    DebugLog::log(QStringLiteral("Capture: %1x%2px from %3x%4pt")
                      .arg(image.width())
                      .arg(image.height())
                      .arg(regionW)
                      .arg(regionH));
    if (testerModeEnabled())
        saveDebugCapture(image);
    const int scale = scaleFor(image.width(), regionW);

    QPointer<CaptureController> self(this);
    QElapsedTimer timer;
    timer.start();
    OCRResult result;
    try {
        result = co_await m_recognizer(image);
    } catch (const std::exception& error) {
        // Recognition promises never to fail; should it, the capture still ends cleanly.
        if (self)
            failed(QString::fromLocal8Bit(error.what()), QStringLiteral("exception"));
        co_return std::nullopt;
    }
    const qint64 ms = timer.elapsed();
    if (!self)
        co_return std::nullopt;

    QVariantMap props{{"engine", "local"},
                      {"chars", qint64(TextUtil::graphemeCount(result.text))},
                      {"lines", lineCount(result.text)},
                      {"vertical", result.vertical},
                      {"ms", ms},
                      {"regionW", regionW},
                      {"regionH", regionH},
                      {"scale", scale},
                      {"qr", !result.barcodePayloads.isEmpty()},
                      {"lowResRejected", false}};
    if (const std::optional<QString> lang = OCREngine::dominantLanguage(result.text))
        props.insert("langHint", *lang);
    ImproveReporter::shared().record("ocr.result", props);

    const std::optional<QUuid> historyID = deliver(result);
    co_return CaptureContext{image, result, historyID, regionW, regionH, scale};
}

std::optional<QUuid> CaptureController::deliver(const OCRResult& result) {
    QString copied;
    bool codes = false;
    if (!result.text.isEmpty()) {
        copied = result.text;
    } else if (!result.barcodePayloads.isEmpty()) {
        copied = result.barcodePayloads.join(u'\n');
        codes = true;
    } else {
        // Shown whatever the toast setting: otherwise nothing would tell the user.
        m_toaster(L10n::shared().string("toast.noText"));
        return std::nullopt;
    }

    m_clipboard->setText(copied);
    const std::optional<QUuid> historyID = OCRHistoryStore::shared().add(copied);
    const AppSettings& settings = AppSettings::shared();
    if (settings.soundEnabled())
        m_sound->play(captureSound);
    const qsizetype characters = TextUtil::graphemeCount(copied);
    if (settings.showHUD()) {
        m_toaster(codes ? L10n::shared().string("toast.qrCopied")
                        : L10n::shared().counted("toast.ocrDone", characters));
    }
    DebugLog::log(QStringLiteral("OCR: copied %1 chars, barcodes=%2")
                      .arg(characters)
                      .arg(result.barcodePayloads.size()));
    return historyID;
}

void CaptureController::saveDebugCapture(const QImage& image) {
    const QString path = AppPaths::dataFile("last-capture.png");
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // The picture is a capture of the user's screen: owner-only, like the history.
    if (!image.save(&buffer, "PNG") || !AtomicFile::write(path, png, AtomicFile::ownerOnly))
        return;
    if (testerModeEnabled())
        DebugLog::log(QStringLiteral("Capture: saved debug image to ") + path);
}

// The cloud reading arrives with the high-accuracy work; until then the local result stands.
QCoro::Task<> CaptureController::refineWithCloud(CaptureContext) {
    co_return;
}

void CaptureController::presentPermissionAlert() {
    // A trigger during the open alert must not stack a second one on top of it.
    if (m_alertShowing)
        return;
    m_alertShowing = true;
    const L10n& l10n = L10n::shared();
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(l10n.string("perm.screenAlertTitle"));
    box.setInformativeText(l10n.string("perm.screenAlertBody"));
    QPushButton* open = box.addButton(l10n.string("perm.openSettings"), QMessageBox::AcceptRole);
    box.addButton(l10n.string("common.later"), QMessageBox::RejectRole);
    box.setDefaultButton(open);
    box.activateWindow();
    box.exec();
    m_alertShowing = false;
    if (box.clickedButton() == open)
        Permissions::openScreenRecordingSettings();
}
