#include "app/RecognizeCommand.h"

#include "core/DebugLog.h"
#include "core/Defaults.h"
#include "core/OCREngine.h"
#include "core/Settings.h"
#include "platform/PlatformLoader.h"
#include "platform/Recognition.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace RecognizeCommand {

namespace {

void write(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// One line naming the file by the bytes it was given as.
void printErr(const QByteArray& name, const QString& problem) {
    write(stderr, "glintext recognize: " + name + ": " + problem.toUtf8() + '\n');
}

void printOut(const QString& text) {
    write(stdout, text.toUtf8());
}

// What a capture would put on the clipboard.
QString copiedText(const OCRResult& result) {
    if (!result.text.isEmpty())
        return result.text;
    return result.barcodePayloads.join(u'\n');
}

// Recognition works on glyphs about 15 to 20 pixels tall and its working memory grows with
// the page (about 25 bytes a pixel at its peak). Anything larger than two 4K screens side by
// side is scaled down to this many pixels while it is decoded, which keeps the peak of the
// largest image Qt reads (about 5,600 pixels square) under 400 MB.
constexpr double largestImagePixels = 12e6;

struct Loaded {
    QImage image;
    QString problem; // why there is no image
};

// Opens without blocking (a pipe would otherwise wait for a writer) and reads only a regular
// file. The image comes back in grey, the only form recognition uses: a screenful in
// colour is four times the memory.
Loaded load(const QByteArray& name) {
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int code = errno;
        return {{},
                code == ENOENT ? QStringLiteral("no such file")
                               : QString::fromLocal8Bit(std::strerror(code))};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {{}, QStringLiteral("not a regular file")};
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    const double pixels = double(size.width()) * size.height();
    if (size.isValid() && pixels > largestImagePixels) {
        const double factor = std::sqrt(largestImagePixels / pixels);
        reader.setScaledSize(QSize(std::max(1, int(size.width() * factor)),
                                   std::max(1, int(size.height() * factor))));
    }
    QImage image = reader.read();
    if (image.isNull())
        return {{}, QStringLiteral("not a readable image (%1)").arg(reader.errorString())};
    if (image.format() != QImage::Format_Grayscale8)
        image = std::move(image).convertToFormat(QImage::Format_Grayscale8);
    return {image, {}};
}

void printResult(const Request& request, const QString& file, const OCRResult& result,
                 const OCREngine& engine, qint64 ms) {
    if (request.json) {
        QJsonObject object;
        object[QStringLiteral("file")] = file;
        object[QStringLiteral("text")] = result.text;
        object[QStringLiteral("barcodePayloads")] =
            QJsonArray::fromStringList(result.barcodePayloads);
        object[QStringLiteral("vertical")] = result.vertical;
        object[QStringLiteral("models")] = QJsonArray::fromStringList(result.models);
        const std::optional<QString> lang = engine.dominantLanguage(result.text);
        object[QStringLiteral("langHint")] = lang ? QJsonValue(*lang) : QJsonValue();
        object[QStringLiteral("ms")] = ms;
        printOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + u'\n');
        return;
    }
    if (request.files.size() > 1)
        printOut(QStringLiteral("==> %1 <==\n").arg(file));
    const QString copied = copiedText(result);
    if (!copied.isEmpty())
        printOut(copied + u'\n');
}

} // namespace

void run(const Request& request, int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Glintext"));
    DebugLog::disable();

    // The user's own preferences apply, read only; the flags can switch them off.
    const Defaults defaults(Defaults::standardPath(), Defaults::Access::ReadOnly);
    const OCREngine::Options options{
        !request.noCleanup && defaults.boolValue(Settings::cleanupEnabled.key)
                                  .value_or(Settings::cleanupEnabled.defaultValue),
        !request.noCodes &&
            defaults.boolValue(Settings::detectQR.key).value_or(Settings::detectQR.defaultValue)};
    QList<QByteArray> names = request.nativeFiles;
    if (names.size() != request.files.size()) {
        names.clear();
        for (const QString& file : request.files)
            names.append(QFile::encodeName(file));
    }

    const std::unique_ptr<Recognition> recognition = PlatformLoader::loadRecognition();
    const OCREngine engine(recognition->textAnalyzer(), recognition->barcodeDetector(),
                           recognition->languageTagger());

    // The model loads while the first file is read and prepared; only one that every
    // file needs (horizontal or vertical is known once a file is measured, and a cold
    // run must not load one it does not use).
    if (std::any_of(names.cbegin(), names.cend(),
                    [](const QByteArray& name) { return ::access(name.constData(), F_OK) == 0; }))
        engine.warmUpCertain();

    int status = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        Loaded loaded = load(names[i]);
        if (loaded.image.isNull()) {
            printErr(names[i], loaded.problem);
            status = 2;
            continue;
        }
        QElapsedTimer timer;
        timer.start();
        const OCRResult result =
            QCoro::waitFor(engine.recognize(std::exchange(loaded.image, {}), options));
        printResult(request, request.files[i], result, engine, timer.elapsed());
    }
    // Everything is printed. Freeing the models (megabytes in small pieces), waiting for a
    // warm-up that no file needed and taking the toolkit down would only keep the caller
    // waiting: a cold run's last tens of milliseconds.
    std::fflush(nullptr);
    ::_exit(status);
}

} // namespace RecognizeCommand
