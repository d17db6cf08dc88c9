#include "platform/tesseract/ScriptShapes.h"

#include <algorithm>
#include <vector>

namespace ScriptShapes {

namespace {

struct Cell {
    int left, right, top, bottom;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

bool ink(const QImage& page, int x, int y) {
    return page.constScanLine(y)[x] < 128;
}

// Runs of ink columns, cells joined across a gap of one column (the parts of one ideograph
// a hair apart), with the vertical extent of their ink.
std::vector<Cell> cellsOf(const QImage& page, const QRect& box, int joinGap) {
    std::vector<Cell> cells;
    int gap = joinGap + 1;
    for (int x = box.left(); x <= box.right(); ++x) {
        int top = -1, bottom = -1;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            if (ink(page, x, y)) {
                top = top < 0 ? y : top;
                bottom = y;
            }
        }
        if (top < 0) {
            ++gap;
            continue;
        }
        if (gap <= joinGap && !cells.empty()) {
            Cell& c = cells.back();
            c.right = x;
            c.top = std::min(c.top, top);
            c.bottom = std::max(c.bottom, bottom);
        } else {
            cells.push_back({x, x, top, bottom});
        }
        gap = 0;
    }
    return cells;
}

int runsAlongRow(const QImage& page, const Cell& c, int y) {
    int runs = 0;
    bool inside = false;
    for (int x = c.left; x <= c.right; ++x) {
        const bool i = ink(page, x, y);
        runs += i && !inside;
        inside = i;
    }
    return runs;
}

int runsAlongColumn(const QImage& page, const Cell& c, int x) {
    int runs = 0;
    bool inside = false;
    for (int y = c.top; y <= c.bottom; ++y) {
        const bool i = ink(page, x, y);
        runs += i && !inside;
        inside = i;
    }
    return runs;
}

// Strokes crossed by the most crowded of three rows plus the most crowded of three columns:
// an ideograph crosses six and more, a capital letter five at most.
int strokes(const QImage& page, const Cell& c) {
    int across = 0, down = 0;
    for (int k = 1; k <= 3; ++k) {
        across = std::max(across, runsAlongRow(page, c, c.top + c.height() * k / 4));
        down = std::max(down, runsAlongColumn(page, c, c.left + c.width() * k / 4));
    }
    return across + down;
}

} // namespace

double ideographShare(const QImage& page, const QRect& area) {
    const QRect box = area & page.rect();
    if (box.isEmpty())
        return 0;
    const std::vector<Cell> cells = cellsOf(page, box, std::max(1, box.height() / 20));
    if (cells.empty())
        return 0;
    std::vector<int> heights;
    for (const Cell& c : cells)
        heights.push_back(c.height());
    std::sort(heights.begin(), heights.end());
    const double tall = heights[heights.size() * 4 / 5];
    int counted = 0, ideographs = 0;
    for (const Cell& c : cells) {
        if (c.height() < 0.5 * tall)
            continue; // punctuation, dots, dashes
        ++counted;
        const bool square =
            c.height() >= 0.75 * tall && c.width() >= 0.75 * tall && c.width() <= 1.3 * tall;
        ideographs += square && strokes(page, c) >= 6;
    }
    return counted ? double(ideographs) / counted : 0;
}

} // namespace ScriptShapes
