#include "app/RecognizeCommand.h"

#include "core/Defaults.h"
#include "core/OCREngine.h"
#include "core/Settings.h"
#include "platform/PlatformLoader.h"
#include "platform/Recognition.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace RecognizeCommand {

namespace {

void printErr(const QString& line) {
    const QByteArray bytes = (line + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void printOut(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

// What a capture would put on the clipboard.
QString copiedText(const OCRResult& result) {
    if (!result.text.isEmpty())
        return result.text;
    return result.barcodePayloads.join(u'\n');
}

} // namespace

int run(const Request& request, int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Glintext"));

    // The user's own preferences apply, read only; the flags can switch them off.
    const Defaults defaults(Defaults::standardPath());
    const OCREngine::Options options{
        !request.noCleanup && defaults.boolValue(Settings::cleanupEnabled.key)
                                  .value_or(Settings::cleanupEnabled.defaultValue),
        !request.noCodes &&
            defaults.boolValue(Settings::detectQR.key).value_or(Settings::detectQR.defaultValue)};
    const bool json = request.json;
    const QStringList& files = request.files;

    const std::unique_ptr<Recognition> recognition = PlatformLoader::loadRecognition();
    const OCREngine engine(recognition->textAnalyzer(), recognition->barcodeDetector(),
                           recognition->languageTagger());

    // The model loads while the first file is read and prepared; only one that every
    // file needs (horizontal or vertical is known once a file is measured, and a cold
    // run must not load one it does not use).
    if (std::any_of(files.cbegin(), files.cend(),
                    [](const QString& file) { return QFileInfo::exists(file); }))
        engine.warmUpCertain();

    int status = 0;
    for (const QString& file : files) {
        if (!QFileInfo::exists(file)) {
            printErr(QStringLiteral("glintext recognize: %1: no such file").arg(file));
            status = 2;
            continue;
        }
        QImageReader reader(file);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull()) {
            printErr(QStringLiteral("glintext recognize: %1: not a readable image (%2)")
                         .arg(file, reader.errorString()));
            status = 2;
            continue;
        }
        QElapsedTimer timer;
        timer.start();
        const OCRResult result = QCoro::waitFor(engine.recognize(image, options));
        const qint64 ms = timer.elapsed();
        if (json) {
            QJsonObject object;
            object[QStringLiteral("file")] = file;
            object[QStringLiteral("text")] = result.text;
            object[QStringLiteral("barcodePayloads")] =
                QJsonArray::fromStringList(result.barcodePayloads);
            object[QStringLiteral("vertical")] = result.vertical;
            const std::optional<QString> lang = engine.dominantLanguage(result.text);
            object[QStringLiteral("langHint")] = lang ? QJsonValue(*lang) : QJsonValue();
            object[QStringLiteral("ms")] = ms;
            printOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) +
                     u'\n');
        } else {
            if (files.size() > 1)
                printOut(QStringLiteral("==> %1 <==\n").arg(file));
            const QString copied = copiedText(result);
            if (!copied.isEmpty())
                printOut(copied + u'\n');
        }
    }
    // A warm-up the files did not need may still be loading into the engines.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}

} // namespace RecognizeCommand
