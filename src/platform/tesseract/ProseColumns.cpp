#include "platform/tesseract/ProseColumns.h"

#include <algorithm>
#include <vector>

namespace ProseColumns {

namespace {

// In cells of half a glyph height.
constexpr int gutterCells = 2; // a gutter is at least a glyph height wide
constexpr int tallCells = 16;  // and at least eight glyph heights tall
constexpr int sideCells = 16;  // each side holds text at least eight glyph heights wide
constexpr double denseShare = 0.5;

} // namespace

bool present(const QImage& page, double glyphHeight) {
    const int cell = std::max(2, int(glyphHeight / 2));
    const int columns = page.width() / cell;
    const int rows = page.height() / cell;
    if (columns < 2 * sideCells + gutterCells || rows < tallCells)
        return false;
    std::vector<uint8_t> ink(size_t(columns) * rows, 0);
    for (int y = 0; y < rows * cell; ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = 0; x < columns * cell; ++x)
            if (line[x] < 128)
                ink[size_t(y / cell) * columns + x / cell] = 1;
    }
    auto at = [&](int r, int c) { return ink[size_t(r) * columns + c] != 0; };
    // How much of a row's stretch of cells holds ink: lines of prose are dense.
    auto dense = [&](int r, int from, int to) {
        int filled = 0;
        for (int c = from; c < to; ++c)
            filled += at(r, c);
        return filled >= (to - from) * denseShare;
    };
    for (int c = sideCells; c + gutterCells + sideCells <= columns; ++c) {
        int runStart = 0;
        for (int r = 0; r <= rows; ++r) {
            bool empty = r < rows;
            for (int k = 0; k < gutterCells && empty; ++k)
                empty = !at(r, c + k);
            if (empty)
                continue;
            if (r - runStart >= tallCells) {
                int left = 0, right = 0;
                for (int rr = runStart; rr < r; ++rr) {
                    left += dense(rr, c - sideCells, c);
                    right += dense(rr, c + gutterCells, c + gutterCells + sideCells);
                }
                // Text on both sides over a good part of the gutter's height.
                if (left * 10 >= (r - runStart) * 3 && right * 10 >= (r - runStart) * 3)
                    return true;
            }
            runStart = r + 1;
        }
    }
    return false;
}

} // namespace ProseColumns
