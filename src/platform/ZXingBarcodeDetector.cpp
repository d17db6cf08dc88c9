#include "platform/ZXingBarcodeDetector.h"

#include <QStringDecoder>

#include <ZXing/ReadBarcode.h>

BarcodeDetector& BarcodeDetector::system() {
    static ZXingBarcodeDetector detector;
    return detector;
}

namespace {

std::optional<QString> payloadOf(const ZXing::Result& result) {
    if (result.contentType() == ZXing::ContentType::Binary)
        return std::nullopt;
    const std::string text = result.text();
    if (text.empty())
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    if (decoder.hasError())
        return std::nullopt;
    return decoded;
}

void read(const QImage& grey, QList<BarcodeDetector::Observation>& out) {
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                                ZXing::ImageFormat::Lum, int(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setTryHarder(true).setTryRotate(true).setTryDownscale(true);
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        if (result.isValid())
            out.append({payloadOf(result)});
    }
}

} // namespace

QList<BarcodeDetector::Observation> ZXingBarcodeDetector::detect(const QImage& image) {
    QList<Observation> observations;
    if (image.isNull())
        return observations;
    QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    read(grey, observations);
    grey.invertPixels();
    read(grey, observations);
    return observations;
}
