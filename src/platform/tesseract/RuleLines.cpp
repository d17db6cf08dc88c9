#include "platform/tesseract/RuleLines.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace RuleLines {

namespace {

// Darker than this is a rule's ink: pale grid lines count.
constexpr int ruleInk = 200;
// A rule is at least this many glyph heights long.
constexpr double shortestRule = 2.5;
// and at most this thick (glyph heights; a few pixels whatever the glyphs).
constexpr double thickestRule = 0.3;
constexpr int thickestRulePixels = 3;

// Marks runs of ink at least `length` long along one axis. `at(i, j)` addresses pixel j of
// line i (rows for horizontal rules, columns for vertical ones).
template <typename At>
void markRuns(int lines, int span, int length, At at, std::vector<uint8_t>& mask, bool horizontal,
              int width) {
    for (int i = 0; i < lines; ++i) {
        int start = -1;
        for (int j = 0; j <= span; ++j) {
            const bool ink = j < span && at(i, j) < ruleInk;
            if (ink && start < 0)
                start = j;
            if (ink || start < 0)
                continue;
            if (j - start >= length) {
                for (int k = start; k < j; ++k) {
                    const int x = horizontal ? k : i;
                    const int y = horizontal ? i : k;
                    mask[size_t(y) * size_t(width) + size_t(x)] = 1;
                }
            }
            start = -1;
        }
    }
}

// Keeps only thin stacks of marked pixels across the rule's direction: a thick bar of a
// huge heading's letter stays.
void keepThin(std::vector<uint8_t>& mask, int width, int height, int thickest, bool horizontal) {
    const int lines = horizontal ? width : height; // walk across the rules
    const int span = horizontal ? height : width;
    for (int i = 0; i < lines; ++i) {
        int start = -1;
        for (int j = 0; j <= span; ++j) {
            const size_t index = horizontal ? size_t(j) * size_t(width) + size_t(i)
                                            : size_t(i) * size_t(width) + size_t(j);
            const bool marked = j < span && mask[index] == 1;
            if (marked && start < 0)
                start = j;
            if (marked || start < 0)
                continue;
            const uint8_t keep = j - start <= thickest ? 2 : 0;
            for (int k = start; k < j; ++k) {
                const size_t m = horizontal ? size_t(k) * size_t(width) + size_t(i)
                                            : size_t(i) * size_t(width) + size_t(k);
                mask[m] = keep;
            }
            start = -1;
        }
    }
}

} // namespace

int erase(QImage& page, double glyphHeight) {
    if (glyphHeight <= 0 || page.isNull())
        return 0;
    const int w = page.width();
    const int h = page.height();
    const int length = std::max(20, int(std::lround(shortestRule * glyphHeight)));
    const int thickest = std::max(thickestRulePixels, int(std::lround(thickestRule * glyphHeight)));
    auto pixel = [&](int y, int x) { return int(page.constScanLine(y)[x]); };
    std::vector<uint8_t> across(size_t(w) * size_t(h), 0), down(size_t(w) * size_t(h), 0);
    markRuns(h, w, length, pixel, across, true, w);
    markRuns(
        w, h, length, [&](int x, int y) { return pixel(y, x); }, down, false, w);
    keepThin(across, w, h, thickest, true);
    keepThin(down, w, h, thickest, false);
    int erased = 0;
    for (int y = 0; y < h; ++y) {
        uchar* row = page.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            if (across[i] == 2 || down[i] == 2) {
                row[x] = 255;
                ++erased;
            }
        }
    }
    return erased;
}

} // namespace RuleLines
