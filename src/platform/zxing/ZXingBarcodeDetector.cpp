#include "platform/zxing/ZXingBarcodeDetector.h"

#include <QStringDecoder>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <vector>

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
    // No downscaled passes: ZXing 1.4 compares a linear code found at two scales with an
    // assertion that fails when the code spans many rows (a tall Code 128 at scale 2), and
    // the process aborts. Screen codes are sharp; full scale reads them.
    hints.setTryHarder(true).setTryRotate(true).setTryDownscale(false);
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        if (!result.isValid())
            continue;
        const ZXing::Position& p = result.position();
        QRect area;
        for (int i = 0; i < 4; ++i)
            area = area.united(QRect(p[i].x, p[i].y, 1, 1));
        out.append({payloadOf(result), area});
    }
}

} // namespace

bool ZXingBarcodeDetector::hasDarkArea(const QImage& grey) {
    // A light-on-dark code sits on a dark quiet zone at least a few modules wide: some
    // tile of the image is then mostly dark. Text on a light page never is.
    constexpr int tile = 16;
    constexpr int darkLuma = 96;
    const int columns = (grey.width() + tile - 1) / tile;
    std::vector<int> dark(size_t(columns), 0);
    for (int top = 0; top < grey.height(); top += tile) {
        std::fill(dark.begin(), dark.end(), 0);
        const int bottom = std::min(grey.height(), top + tile);
        for (int y = top; y < bottom; ++y) {
            const uchar* row = grey.constScanLine(y);
            for (int x = 0; x < grey.width(); ++x)
                dark[size_t(x / tile)] += row[x] < darkLuma;
        }
        for (int c = 0; c < columns; ++c) {
            const int width = std::min(tile, grey.width() - c * tile);
            if (dark[size_t(c)] * 4 >= width * (bottom - top) * 3)
                return true;
        }
    }
    return false;
}

QList<BarcodeDetector::Observation> ZXingBarcodeDetector::detect(const QImage& image) {
    QList<Observation> observations;
    if (image.isNull())
        return observations;
    QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    read(grey, observations);
    // The inverted reading costs as much as the first; only a dark area can hold a
    // light-on-dark code.
    if (!hasDarkArea(grey))
        return observations;
    grey.invertPixels();
    read(grey, observations);
    return observations;
}
