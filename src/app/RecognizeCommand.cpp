#include "app/RecognizeCommand.h"

#include "core/Defaults.h"
#include "core/OCREngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace RecognizeCommand {

namespace {

constexpr const char* usage =
    "usage: glintext recognize [--json] [--no-cleanup] [--no-codes] FILE...\n";

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

int run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Glintext"));

    bool json = false;
    // The user's own preferences apply, read only; the flags can switch them off.
    Defaults& defaults = Defaults::standard();
    OCREngine::Options options{defaults.boolValue(QStringLiteral("cleanupEnabled")).value_or(true),
                               defaults.boolValue(QStringLiteral("detectQR")).value_or(true)};
    QStringList files;
    bool endOfOptions = false;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!endOfOptions && arg == u"--json") {
            json = true;
        } else if (!endOfOptions && arg == u"--no-cleanup") {
            options.cleanupEnabled = false;
        } else if (!endOfOptions && arg == u"--no-codes") {
            options.detectCodes = false;
        } else if (!endOfOptions && (arg == u"--help" || arg == u"-h")) {
            printOut(QString::fromLatin1(usage));
            return 0;
        } else if (!endOfOptions && arg == u"--") {
            endOfOptions = true;
        } else if (!endOfOptions && arg.startsWith(u'-') && arg.size() > 1) {
            printErr(QStringLiteral("glintext recognize: unknown option %1").arg(arg));
            std::fputs(usage, stderr);
            return 2;
        } else {
            files.append(arg);
        }
    }
    if (files.isEmpty()) {
        std::fputs(usage, stderr);
        return 2;
    }

    // The model loads while the first file is read and prepared; only one that every
    // file needs (horizontal or vertical is known once a file is measured, and a cold
    // run must not load one it does not use).
    if (std::any_of(files.cbegin(), files.cend(),
                    [](const QString& file) { return QFileInfo::exists(file); }))
        OCREngine::warmUpCertain();

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
        const OCRResult result = QCoro::waitFor(OCREngine::recognize(image, options));
        const qint64 ms = timer.elapsed();
        if (json) {
            QJsonObject object;
            object[QStringLiteral("file")] = file;
            object[QStringLiteral("text")] = result.text;
            object[QStringLiteral("barcodePayloads")] =
                QJsonArray::fromStringList(result.barcodePayloads);
            object[QStringLiteral("vertical")] = result.vertical;
            const std::optional<QString> lang = OCREngine::dominantLanguage(result.text);
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
    return status;
}

} // namespace RecognizeCommand
