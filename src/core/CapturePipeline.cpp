#include "core/CapturePipeline.h"

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
#include "core/TextCleanup.h"
#include "platform/ClipboardService.h"
#include "platform/SoundService.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QPointer>

#include <cmath>
#include <exception>
#include <utility>

namespace {

const QString testerModeKey = QStringLiteral("testerModeEnabled");
const QString captureSound = QStringLiteral("screen-capture");

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

CapturePipeline::CapturePipeline(const AppSettings& settings, const Defaults& defaults,
                                 Permissions& permissions, OCRHistoryStore& history,
                                 ClipboardService& clipboard, SoundService& sound,
                                 const OCREngine& engine, ImproveReporter& improve, CloudOCR& cloud,
                                 QObject* parent)
    : QObject(parent), m_settings(settings), m_defaults(defaults), m_permissions(permissions),
      m_history(history), m_clipboard(clipboard), m_sound(sound), m_engine(engine),
      m_improve(improve), m_cloud(cloud) {}

bool CapturePipeline::hasPermission() const {
    return m_permissions.hasScreenRecording();
}

void CapturePipeline::refuseWithoutPermission() {
    m_improve.record("capture.failed", {{"reason", "noPermission"}});
    m_permissions.requestScreenRecording();
}

void CapturePipeline::refusedByDesktop(const QString& reason) {
    DebugLog::log(QStringLiteral("Capture: refused: ") + reason);
    refuseWithoutPermission();
}

bool CapturePipeline::testerModeEnabled() const {
    return m_defaults.boolForKey(testerModeKey);
}

CapturePipeline::Result CapturePipeline::screensFailed(const QString& error) {
    return failed(error, QStringLiteral("exception"));
}

CapturePipeline::Result CapturePipeline::failed(const QString& logDetail, const QString& reason) {
    DebugLog::log(QStringLiteral("Capture: failed: ") + logDetail);
    m_improve.record("capture.failed", {{"reason", reason}});
    return {Feedback::CaptureFailed, 0, std::nullopt};
}

CapturePipeline::Screenshot CapturePipeline::screenshot(const QList<ScreenFrame>& frames,
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

int CapturePipeline::scaleFor(int imageWidth, int regionW) {
    if (regionW < 1)
        return 1;
    const long scale = std::lround(double(imageWidth) / double(regionW));
    return scale < 1 ? 1 : int(scale);
}

int CapturePipeline::lineCount(const QString& text) {
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

QCoro::Task<CapturePipeline::Result> CapturePipeline::captureAndRecognize(QList<ScreenFrame> frames,
                                                                          QRectF rect) {
    Screenshot shot = screenshot(frames, rect);
    frames.clear(); // the frozen desktop is not kept a moment longer than needed
    if (!shot.error.isEmpty())
        co_return failed(shot.error, QStringLiteral("exception"));
    if (shot.image.isNull())
        co_return failed(QStringLiteral("no image"), QStringLiteral("noImage"));
    const QImage image = std::move(shot.image);
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

    QPointer<CapturePipeline> self(this);
    const OCREngine::Options options{m_settings.value(Settings::cleanupEnabled),
                                     m_settings.value(Settings::detectQR)};
    QElapsedTimer timer;
    timer.start();
    OCRResult result;
    try {
        result = co_await m_engine.recognize(image, options);
    } catch (const std::exception& error) {
        // Recognition promises never to fail; should it, the capture still ends cleanly.
        if (!self)
            co_return Result{};
        co_return failed(QString::fromLocal8Bit(error.what()), QStringLiteral("exception"));
    }
    const qint64 ms = timer.elapsed();
    if (!self)
        co_return Result{};

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
    if (const std::optional<QString> lang = m_engine.dominantLanguage(result.text))
        props.insert("langHint", *lang);
    m_improve.record("ocr.result", props);

    std::optional<QUuid> historyID;
    Result outcome = deliver(result, &historyID);
    outcome.context = Context{image, result, historyID, regionW, regionH, scale};
    co_return outcome;
}

CapturePipeline::Result CapturePipeline::deliver(const OCRResult& result,
                                                 std::optional<QUuid>* historyID) {
    QString copied;
    bool codes = false;
    if (!result.text.isEmpty()) {
        copied = result.text;
    } else if (!result.barcodePayloads.isEmpty()) {
        copied = result.barcodePayloads.join(u'\n');
        codes = true;
    } else {
        return {Feedback::NoText, 0, std::nullopt};
    }

    m_clipboard.setText(copied);
    *historyID = m_history.add(copied);
    if (m_settings.value(Settings::soundEnabled))
        m_sound.play(captureSound);
    const qsizetype characters = TextUtil::graphemeCount(copied);
    DebugLog::log(QStringLiteral("OCR: copied %1 chars, barcodes=%2")
                      .arg(characters)
                      .arg(result.barcodePayloads.size()));
    return {codes ? Feedback::CodesCopied : Feedback::TextCopied, characters, std::nullopt};
}

QString CapturePipeline::shownString(const OCRResult& result) {
    return result.text.isEmpty() ? result.barcodePayloads.join(u'\n') : result.text;
}

QCoro::Task<CloudOCR::Outcome>
CapturePipeline::refine(Context context, std::function<void(const CloudOCR::Outcome&)> announce) {
    using Kind = CloudOCR::Outcome::Kind;
    const QString shown = shownString(context.result);
    DebugLog::log(QStringLiteral("CloudOCR: requesting (local %1 chars)")
                      .arg(TextUtil::graphemeCount(context.result.text)));
    QPointer<CapturePipeline> self(this);
    QElapsedTimer timer;
    timer.start();
    // The recognised text alone is the transcript, never the codes.
    QCoro::Task<CloudOCR::Outcome> reading =
        m_cloud.recognize(std::exchange(context.image, QImage()), context.result.text);
    const CloudOCR::Outcome outcome = co_await reading;
    const qint64 ms = timer.elapsed();
    if (!self)
        co_return outcome;

    switch (outcome.kind) {
    case Kind::Refined:
        // Only while the clipboard still holds this capture's result: a late answer never
        // overwrites what the user copied meanwhile.
        if (const QString current = m_clipboard.text(); !current.isEmpty() && current == shown)
            m_clipboard.setText(outcome.text);
        if (context.historyID)
            m_history.replace(*context.historyID, outcome.text);
        else
            m_history.add(outcome.text);
        announce(outcome);
        DebugLog::log(QStringLiteral("CloudOCR: refined %1 chars")
                          .arg(TextUtil::graphemeCount(outcome.text)));
        break;
    case Kind::CoverageRejected:
        DebugLog::log(QStringLiteral("CloudOCR: rejected by coverage guard (low-res suspicion)"));
        announce(outcome);
        break;
    case Kind::QuotaExceeded:
        DebugLog::log(QStringLiteral("CloudOCR: daily quota exceeded"));
        announce(outcome);
        m_improve.record("cloud.failed", {{"reason", "quota"}});
        co_return outcome;
    case Kind::NotSignedIn:
        DebugLog::log(QStringLiteral("CloudOCR: not signed in"));
        announce(outcome);
        m_improve.record("cloud.failed", {{"reason", "notSignedIn"}});
        co_return outcome;
    case Kind::Failed:
        DebugLog::log(QStringLiteral("CloudOCR: request failed"));
        announce(outcome);
        m_improve.record("cloud.failed", {{"reason", "failed"}});
        co_return outcome;
    }
    m_improve.record("ocr.result", cloudResultEvent(context, outcome, ms));
    m_improve.sample(sample(context, outcome));
    co_return outcome;
}

QVariantMap CapturePipeline::cloudResultEvent(const Context& context,
                                              const CloudOCR::Outcome& outcome, qint64 ms) const {
    QVariantMap props{{"engine", "cloud"},
                      {"chars", qint64(TextUtil::graphemeCount(outcome.text))},
                      {"lines", lineCount(outcome.text)},
                      {"vertical", TextCleanup::looksVertical(outcome.text)},
                      {"ms", ms},
                      {"regionW", context.regionW},
                      {"regionH", context.regionH},
                      {"scale", context.scale},
                      {"qr", !context.result.barcodePayloads.isEmpty()},
                      {"lowResRejected", outcome.kind != CloudOCR::Outcome::Kind::Refined},
                      {"coverage", qint64(std::lround(outcome.coverage * 100))}};
    if (const std::optional<QString> lang = m_engine.dominantLanguage(outcome.text))
        props.insert("langHint", *lang);
    return props;
}

QVariantMap CapturePipeline::sample(const Context& context,
                                    const CloudOCR::Outcome& outcome) const {
    QVariantMap props{{"localText", context.result.text},
                      {"cloudText", outcome.text},
                      {"vertical", TextCleanup::looksVertical(outcome.text)},
                      {"regionW", context.regionW},
                      {"regionH", context.regionH},
                      {"scale", context.scale},
                      {"coverage", qint64(std::lround(outcome.coverage * 100))},
                      {"accepted", outcome.kind == CloudOCR::Outcome::Kind::Refined}};
    if (const std::optional<QString> lang = m_engine.dominantLanguage(outcome.text))
        props.insert("langHint", *lang);
    return props;
}

void CapturePipeline::saveDebugCapture(const QImage& image) {
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
