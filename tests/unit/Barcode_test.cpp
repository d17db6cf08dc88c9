// The real ZXing detector, and the engine's handling of its payloads.
#include "core/OCREngine.h"
#include "platform/OnDeviceRecognition.h"
#include "platform/TextAnalyzer.h"
#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractTextAnalyzer.h"
#include "platform/zxing/ZXingBarcodeDetector.h"

#include "support/fakes/FakeLanguageTagger.h"

#include <QFileInfo>
#include <QPainter>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <gtest/gtest.h>

namespace {

QImage code(ZXing::BarcodeFormat format, const std::string& payload, int module,
            QColor fg = Qt::black, QColor bg = Qt::white) {
    const bool linear = format != ZXing::BarcodeFormat::QRCode;
    const ZXing::BitMatrix bits =
        ZXing::MultiFormatWriter(format).setMargin(linear ? 10 : 4).encode(payload, 0, 0);
    const int height = linear ? 40 : bits.height();
    QImage img(bits.width() * module, height * module, QImage::Format_RGB32);
    img.fill(bg);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (bits.get(x / module, linear ? 0 : y / module))
                img.setPixelColor(x, y, fg);
    return img;
}

QImage besideEachOther(const QList<QImage>& parts, QColor bg = Qt::white) {
    int w = 20, h = 0;
    for (const QImage& i : parts) {
        w += i.width() + 20;
        h = std::max(h, i.height());
    }
    QImage out(w, h + 40, QImage::Format_RGB32);
    out.fill(bg);
    QPainter p(&out);
    int x = 20;
    for (const QImage& i : parts) {
        p.drawImage(x, 20, i);
        x += i.width() + 20;
    }
    return out;
}

QStringList payloads(const QImage& image) {
    QStringList out;
    for (const auto& o : ZXingBarcodeDetector().detect(image))
        if (o.payload)
            out.append(*o.payload);
    return out;
}

class NoText : public TextAnalyzer {
public:
    Outcome analyze(const QImage&) override { return {true, {}, {}}; }
};

} // namespace

TEST(Barcode, QRAndLinearCodesAreReadInEitherPolarity) {
    const QString url = "https://example.org/pay?id=4711&ü=1";
    EXPECT_EQ(payloads(besideEachOther({code(ZXing::BarcodeFormat::QRCode, url.toStdString(), 3)})),
              QStringList{url});
    const QImage darkQR = besideEachOther({code(ZXing::BarcodeFormat::QRCode, "light on dark", 3,
                                                QColor(230, 230, 230), QColor(30, 30, 34))},
                                          QColor(30, 30, 34));
    EXPECT_EQ(payloads(darkQR), QStringList{"light on dark"});
    EXPECT_EQ(payloads(besideEachOther({code(ZXing::BarcodeFormat::EAN13, "4006381333931", 2)})),
              QStringList{"4006381333931"});
    QImage blank(100, 100, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_TRUE(payloads(blank).isEmpty());
    EXPECT_TRUE(ZXingBarcodeDetector().detect(QImage()).isEmpty());
}

TEST(Barcode, TallLinearCodesAtEverySizeAreReadWithoutBringingTheProcessDown) {
    // A Code 128 many rows tall, as a page at scale 2 shows it: found again on a
    // downscaled pass, it once tripped an assertion inside the decoder and aborted.
    for (int module = 2; module <= 8; module += 2) {
        QImage bars = code(ZXing::BarcodeFormat::Code128, "F2A2R6ALPU", module);
        bars = bars.scaled(bars.width(), bars.height() * 3);
        EXPECT_EQ(payloads(besideEachOther({bars})), QStringList{"F2A2R6ALPU"})
            << "module " << module;
    }
}

TEST(Barcode, TheEngineReportsTheSameCodeOnceAndTwoCodesBoth) {
    NoText noText;
    ZXingBarcodeDetector detector;
    FakeLanguageTagger tagger;
    const OCREngine engine(noText, detector, tagger);
    const QImage qr = code(ZXing::BarcodeFormat::QRCode, "same", 3);
    OCRResult twice = QCoro::waitFor(engine.recognize(besideEachOther({qr, qr}), {}));
    EXPECT_EQ(twice.barcodePayloads, QStringList{"same"});

    const QImage two = besideEachOther({qr, code(ZXing::BarcodeFormat::Code128, "INV-2044", 2)});
    OCRResult both = QCoro::waitFor(engine.recognize(two, {}));
    both.barcodePayloads.sort();
    EXPECT_EQ(both.barcodePayloads, (QStringList{"INV-2044", "same"}));
}

TEST(Barcode, LightOnDarkCodeInASmallDarkPanelOfALightPageIsRead) {
    // Most of the page is light with dark text; only a panel around the code is dark.
    QImage page(600, 300, QImage::Format_RGB32);
    page.fill(QColor(250, 250, 250));
    QPainter p(&page);
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    for (int y = 20; y < 280; y += 20)
        p.drawText(10, y, QStringLiteral("Invoice lines and totals, read as text"));
    const QImage qr = code(ZXing::BarcodeFormat::QRCode, "in the panel", 2, QColor(235, 235, 235),
                           QColor(28, 28, 32));
    p.fillRect(440, 80, qr.width() + 20, qr.height() + 20, QColor(28, 28, 32));
    p.drawImage(450, 90, qr);
    p.end();
    EXPECT_EQ(payloads(page), QStringList{"in the panel"});

    const QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
    EXPECT_TRUE(ZXingBarcodeDetector::hasDarkArea(grey));
    QImage textOnly = page.copy(0, 0, 400, 300).convertToFormat(QImage::Format_Grayscale8);
    EXPECT_FALSE(ZXingBarcodeDetector::hasDarkArea(textOnly)) << "dark text alone is no panel";
}

TEST(Barcode, CodesAloneReadAsNoTextSoTheirPayloadsAreWhatIsCopied) {
    // What the recogniser makes of a QR code's modules must not pass for text: text
    // would win over the payloads. The picture the end-to-end capture shows on screen.
    const QImage two(QStringLiteral(GLINTEXT_SOURCE_DIR "/tests/e2e/data/two-codes.png"));
    ASSERT_FALSE(two.isNull());
    QStringList found = payloads(two);
    found.sort();
    EXPECT_EQ(found, (QStringList{"GLINTEXT-SECOND-CODE-2", "https://glintext.example/first"}));
    OnDeviceRecognition recognition;
    const TextAnalyzer::Outcome outcome = recognition.textAnalyzer().analyze(two);
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.transcript.toStdString(), "");
}

TEST(Barcode, DecodedCodesAreLeftOutOfTheTextOnAGermanDesktop) {
    // German and English models, real recogniser and detector: the codes' modules must
    // neither make a line of junk on their own nor add one to the text beside them.
    const QString dir = RecognitionLanguages::tessdataDirectory();
    if (!QFileInfo::exists(dir + "/deu.traineddata"))
        GTEST_SKIP() << "no German model";
    TesseractEnginePool pool(dir);
    TesseractTextAnalyzer german(pool, RecognitionLanguages::choose({"de"}, {"deu", "eng"}));
    ZXingBarcodeDetector detector;
    FakeLanguageTagger tagger;
    const OCREngine engine(german, detector, tagger);
    const QImage first = code(ZXing::BarcodeFormat::QRCode, "https://example.org/rechnung", 4);
    const QImage second = code(ZXing::BarcodeFormat::QRCode, "Kundennummer 4711", 4);
    OCRResult alone = QCoro::waitFor(engine.recognize(besideEachOther({first, second}), {}));
    EXPECT_EQ(alone.text.toStdString(), "");
    EXPECT_EQ(alone.barcodePayloads.size(), 2);

    const QStringList lines{"Rechnung bitte bis Freitag begleichen.", "Zahlbar per Überweisung",
                            "oder mit der Banking-App:"};
    QImage page(560, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(20, 34 + i * 26, lines[i]);
    p.drawImage(20, 110, first);
    p.end();
    OCRResult beside = QCoro::waitFor(engine.recognize(page, {}));
    EXPECT_EQ(beside.text, lines.join('\n'));
    EXPECT_EQ(beside.barcodePayloads, QStringList{"https://example.org/rechnung"});
}
