#include "platform/tesseract/CaptionRereading.h"

#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractLines.h"

#include <tesseract/baseapi.h>

#include <algorithm>

namespace {

// A band this much smaller than the page's glyphs is small type; so large a band a
// caption never is.
constexpr double smallBand = 0.75;
constexpr double largestBand = 1.6;
// The page's own reading of a band below this is in doubt.
constexpr float doubted = 70;
// A reading the desktop's models are this unsure of is tried in English too, where they
// are Cyrillic.
constexpr float unsure = 80;
// How much surer the enlarged reading must be to replace the page's.
constexpr float surer = 5;
// Below this the enlarged reading is junk too (a caption cut short with an ellipsis).
constexpr float fair = 55;
// A band the page's reading found nothing in is taken only when read this surely.
constexpr float sure = 75;
constexpr double largestFactor = 4;
// The band (the caption with its buttons) enlarged to this many times the page's glyphs.
constexpr double enlargements[] = {1.4, 1.8};
// A word of the page's reading beside the caption this sure is text, not a button.
constexpr float keptWord = 80;

bool inBand(const TextLayout::Line& line, const QRect& band) {
    const int centre = line.box.center().y();
    return line.box.height() > 0 && centre >= band.top() && centre <= band.bottom();
}

// A Cyrillic model reads a Latin file name as confident homoglyphs ("і5о 3166-1.то"), even
// beside English; Latin and CJK models read it well enough themselves.
bool readsLatinAsCyrillic(const QString& models) {
    static const QStringList cyrillic{"rus", "ukr", "bel", "bul", "srp", "mkd"};
    return std::any_of(cyrillic.cbegin(), cyrillic.cend(),
                       [&](const QString& model) { return models.split(u'+').contains(model); });
}

int letters(const QString& text) {
    return int(std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); }));
}

} // namespace

CaptionRereading::CaptionRereading(TesseractEnginePool& pool,
                                   const RecognitionLanguages::Choice& languages)
    : m_pool(pool), m_languages(languages) {}

QRect CaptionRereading::topBand(const QImage& page) {
    // An underscore or a descender may stand a blank row apart from its letters.
    constexpr int blankRows = 3;
    auto inked = [&](int y) {
        const uchar* row = page.constScanLine(y);
        return std::any_of(row, row + page.width(), [](uchar v) { return v < 128; });
    };
    int top = 0;
    while (top < page.height() && !inked(top))
        ++top;
    int bottom = top; // one past the band's last inked row
    for (int y = top, blank = 0; y < page.height() && blank < blankRows; ++y) {
        blank = inked(y) ? 0 : blank + 1;
        if (!blank)
            bottom = y + 1;
    }
    // The band must end in blank rows: a page cut off in its first row has none.
    if (top >= page.height() || bottom + blankRows > page.height())
        return {};
    return QRect(0, top, page.width(), bottom - top);
}

QRect CaptionRereading::captionIn(const QImage& page, const QRect& band) {
    auto inked = [&](int x, int y) { return page.constScanLine(y)[x] < 128; };
    // Runs of inked columns; words of the caption stand closer than the band is tall.
    QList<QPair<int, int>> runs; // first and last column
    for (int x = band.left(); x <= band.right(); ++x) {
        bool ink = false;
        for (int y = band.top(); y <= band.bottom() && !ink; ++y)
            ink = inked(x, y);
        if (!ink)
            continue;
        if (!runs.isEmpty() && x - runs.back().second <= band.height())
            runs.back().second = x;
        else
            runs.append({x, x});
    }
    // The window's icon at the left, its buttons at the right: small marks apart from the
    // caption, which the recogniser would read as letters.
    if (runs.size() > 1 && runs[0].second - runs[0].first < 2 * band.height())
        runs.removeFirst();
    while (runs.size() > 1 && runs.back().first > band.center().x() &&
           runs.back().second - runs.back().first < 5 * band.height())
        runs.removeLast();
    // Window managers centre the caption, one run of words; a table's header (whose first
    // and last columns would pass for an icon and buttons) is no title bar.
    if (runs.size() != 1 || std::abs(runs.front().first + runs.back().second -
                                     2 * band.center().x()) > band.width() / 4)
        return {};
    int top = band.bottom();
    int bottom = band.top();
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = runs.front().first; x <= runs.back().second; ++x) {
            if (inked(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                break;
            }
        }
    }
    return QRect(QPoint(runs.front().first, top), QPoint(runs.back().second, bottom));
}

TextLayout::Line CaptionRereading::read(const QImage& page, const QRect& band, double factor,
                                        const QString& model) const {
    TesseractEnginePool::Lease engine = m_pool.acquire(model);
    if (!engine)
        return {};
    const QImage strip = page.copy(band);
    const QImage enlarged =
        factor > 1.05 ? strip
                            .scaled(int(strip.width() * factor), int(strip.height() * factor),
                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_Grayscale8)
                      : strip;
    QList<TextLayout::Line> read = TesseractLines::readEach(*engine, enlarged, {enlarged.rect()});
    if (read.isEmpty())
        return {};
    TextLayout::Line line = read.front();
    // Back to the page: the words' boxes shrink with the strip and move to its place.
    auto toPage = [&](const QRect& r) {
        return QRect(int(r.left() / factor) + band.left(), int(r.top() / factor) + band.top(),
                     std::max(1, int(r.width() / factor)), std::max(1, int(r.height() / factor)));
    };
    QRect box;
    for (TextLayout::Word& w : line.words) {
        w.box = toPage(w.box);
        box = box.united(w.box);
    }
    line.box = box.isNull() ? band : box;
    return line;
}

void CaptionRereading::apply(const QImage& page, double glyphPixels,
                             QList<TextLayout::Line>& lines) const {
    const QRect band = topBand(page);
    if (band.isNull() || glyphPixels <= 0 || band.height() > largestBand * glyphPixels)
        return;
    double weighted = 0;
    qsizetype characters = 0;
    for (const TextLayout::Line& line : lines) {
        if (inBand(line, band)) {
            weighted += double(line.confidence) * double(line.text.size());
            characters += line.text.size();
        }
    }
    const float current = characters ? float(weighted / double(characters)) : 0;
    const bool small = band.height() <= smallBand * glyphPixels;
    if (!small && (characters == 0 || current >= doubted))
        return;
    const QRect caption = captionIn(page, band);
    if (caption.isNull())
        return;
    // How well the recogniser reads small type enlarged from a page already made dark on
    // white swings with the size it gets: two sizes, and the surer reading stays.
    TextLayout::Line best;
    double factor = 0;
    for (const double size : enlargements) {
        factor = std::clamp(size * glyphPixels / band.height(), 1.0, largestFactor);
        TextLayout::Line reading = read(page, caption, factor, m_languages.horizontal);
        if (reading.confidence < unsure && m_languages.englishInstalled &&
            readsLatinAsCyrillic(m_languages.horizontal)) {
            TextLayout::Line english = read(page, caption, factor, QStringLiteral("eng"));
            if (english.confidence > reading.confidence)
                reading = std::move(english);
        }
        if (reading.confidence > best.confidence || best.text.isEmpty())
            best = std::move(reading);
    }
    if (qEnvironmentVariableIsSet("GLINTEXT_OCR_DUMP"))
        qInfo("caption band y %d h %d glyph %.0f factor %.1f page %.0f: conf %.0f %s", band.top(),
              band.height(), glyphPixels, factor, double(current), double(best.confidence),
              qPrintable(best.text));
    if (letters(best.text) == 0 || best.confidence < fair ||
        best.confidence < (characters ? current + surer : sure))
        return;
    replace(lines, band, caption, std::move(best));
}

void CaptionRereading::replace(QList<TextLayout::Line>& lines, const QRect& band,
                               const QRect& caption, TextLayout::Line reading) {
    // Words the page's reading was sure of beside the caption stay (a table's header in
    // small type is no title bar).
    QStringList before, after;
    for (const TextLayout::Line& line : lines) {
        if (!inBand(line, band))
            continue;
        for (const TextLayout::Word& w : line.words) {
            if (w.confidence < keptWord || letters(w.text) == 0 || w.box.intersects(caption))
                continue;
            (w.box.right() < caption.left() ? before : after).append(w.text);
            reading.box = reading.box.united(w.box);
        }
    }
    if (!before.isEmpty())
        reading.text = before.join(u' ') + u' ' + reading.text;
    if (!after.isEmpty())
        reading.text += u' ' + after.join(u' ');
    int block = lines.isEmpty() ? 0 : lines.front().block;
    for (const TextLayout::Line& line : lines)
        block = std::min(block, line.block);
    lines.removeIf([&](const TextLayout::Line& line) { return inBand(line, band); });
    reading.block = block;
    reading.panel = 0;
    lines.prepend(reading);
}
