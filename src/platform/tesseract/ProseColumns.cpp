#include "platform/tesseract/ProseColumns.h"

#include <QList>
#include <QRect>

#include <algorithm>
#include <vector>

namespace ProseColumns {

namespace {

// In cells of half a glyph height.
constexpr int gutterCells = 2;        // a gutter is at least a glyph height wide
constexpr int tallCells = 16;         // and at least eight glyph heights tall
constexpr int sideCells = 16;         // each side holds text at least eight glyph heights wide
constexpr int minimumProseCells = 30; // a column of prose is fifteen glyph heights or more
constexpr double denseShare = 0.5;

} // namespace

namespace {

struct Gutter {
    QRect cells; // in cells
};

// Ink per cell of half a glyph height, and the tallest gutter in `area` (cells).
class CellGrid {
public:
    CellGrid(const QImage& page, double glyphHeight)
        : m_cell(std::max(2, int(glyphHeight / 2))), m_columns(page.width() / m_cell),
          m_rows(page.height() / m_cell), m_ink(size_t(m_columns) * size_t(m_rows), 0) {
        for (int y = 0; y < m_rows * m_cell; ++y) {
            const uchar* line = page.constScanLine(y);
            for (int x = 0; x < m_columns * m_cell; ++x)
                if (line[x] < 128)
                    m_ink[size_t(y / m_cell) * m_columns + x / m_cell] = 1;
        }
    }
    int cell() const { return m_cell; }
    QRect all() const { return QRect(0, 0, m_columns, m_rows); }
    bool at(int r, int c) const { return m_ink[size_t(r) * m_columns + c] != 0; }
    bool anyInk(const QRect& a) const {
        for (int r = a.top(); r <= a.bottom(); ++r)
            for (int c = a.left(); c <= a.right(); ++c)
                if (at(r, c))
                    return true;
        return false;
    }
    // A line running through a row's stretch of cells: ink in both of its halves (a
    // shortcut or a short cell beside a gutter does not reach the far half).
    bool through(int r, int from, int to) const {
        const int middle = (from + to) / 2;
        bool near = false, far = false;
        for (int c = from; c < middle && !near; ++c)
            near = at(r, c);
        for (int c = middle; c < to && !far; ++c)
            far = at(r, c);
        return near && far;
    }
    Gutter tallest(const QRect& area) const;
    bool prose(const QRect& side) const;

private:
    int m_cell, m_columns, m_rows;
    std::vector<uint8_t> m_ink;
};

Gutter CellGrid::tallest(const QRect& area) const {
    Gutter best;
    for (int c = area.left() + sideCells; c + gutterCells + sideCells <= area.right() + 1; ++c) {
        int runStart = area.top();
        for (int r = area.top(); r <= area.bottom() + 1; ++r) {
            bool empty = r <= area.bottom();
            for (int k = 0; k < gutterCells && empty; ++k)
                empty = !at(r, c + k);
            if (empty)
                continue;
            const int height = r - runStart;
            if (height >= tallCells && height > best.cells.height()) {
                // The right column starts where the gutter ends, however wide it is.
                int start = c + gutterCells;
                while (start + sideCells <= area.right() &&
                       !anyInk(QRect(start, runStart, 1, height)))
                    ++start;
                int left = 0, right = 0, leftRows = 0, rightRows = 0;
                for (int rr = runStart; rr < r; ++rr) {
                    left += through(rr, c - sideCells, c);
                    right += through(rr, start, start + sideCells);
                    leftRows += anyInk(QRect(c - sideCells, rr, sideCells, 1));
                    rightRows += anyInk(QRect(start, rr, sideCells, 1));
                }
                // Lines on both sides over a good part of the rows each side has text in (the
                // left column's lines end raggedly; its last one may end far above the right's,
                // and the gutter runs on below it). Three lines of prose each side are rows
                // enough beside a gutter two glyph heights wide; beside a narrower one, a few
                // word spaces of monospaced lines that happen to line up would pass, so it
                // takes more.
                const int least = start - c >= 2 * gutterCells ? 4 : 6;
                if (left >= std::max(least, leftRows / 5) &&
                    right >= std::max(least, rightRows / 5) &&
                    prose(QRect(QPoint(area.left(), runStart), QPoint(c - 1, r - 1))) &&
                    prose(QRect(QPoint(start, runStart), QPoint(area.right(), r - 1))))
                    best.cells = QRect(c, runStart, start - c, height);
            }
            runStart = r + 1;
        }
    }
    return best;
}

// Running text: a wide column whose lines mostly fill it. An option list, a table's
// column or a menu's labels beside their shortcuts are narrow or ragged.
bool CellGrid::prose(const QRect& side) const {
    int first = side.right() + 1, last = side.left() - 1;
    bool lineOpen = false;
    std::vector<std::pair<int, int>> lines; // ink extent of each line
    for (int r = side.top(); r <= side.bottom(); ++r) {
        int from = -1, to = -1;
        for (int c = side.left(); c <= side.right(); ++c) {
            if (at(r, c)) {
                from = from < 0 ? c : from;
                to = c;
            }
        }
        const bool continues = r > side.top() && !lines.empty() && from >= 0 && lineOpen;
        if (from < 0) {
            lineOpen = false;
            continue;
        }
        if (continues) {
            lines.back().first = std::min(lines.back().first, from);
            lines.back().second = std::max(lines.back().second, to);
        } else {
            lines.emplace_back(from, to);
        }
        lineOpen = true;
        first = std::min(first, from);
        last = std::max(last, to);
    }
    const int width = last - first + 1;
    // Lines set closely run together at this resolution; what matters is that there is
    // text several lines tall and that it fills the column.
    int inkRows = 0;
    for (int r = side.top(); r <= side.bottom(); ++r)
        inkRows += anyInk(QRect(first, r, std::max(1, width), 1));
    if (width < minimumProseCells || inkRows < 6)
        return false;
    // A gutter inside is a table's column boundary: prose has none. A gap that only a line
    // or two reach past is a word space in a ragged edge.
    for (int c = first + 1; c < last; ++c) {
        if (anyInk(QRect(c, side.top(), 1, side.height())))
            continue;
        int beyond = 0;
        for (int r = side.top(); r <= side.bottom(); ++r)
            beyond += anyInk(QRect(c + 1, r, last - c, 1));
        if (beyond >= 6)
            return false;
    }
    std::vector<double> fill;
    for (const auto& [from, to] : lines)
        fill.push_back(double(to - from + 1) / width);
    std::nth_element(fill.begin(), fill.begin() + ptrdiff_t(fill.size() / 2), fill.end());
    return fill[fill.size() / 2] >= 0.75;
}

void split(const CellGrid& grid, const QRect& area, QList<QRect>& out) {
    if (area.isEmpty() || !grid.anyInk(area))
        return;
    const Gutter g = grid.tallest(area);
    if (g.cells.isEmpty()) {
        out.append(area);
        return;
    }
    // Widen the gutter over every empty column beside it.
    QRect gutter = g.cells;
    auto emptyColumn = [&](int c) {
        return !grid.anyInk(QRect(c, gutter.top(), 1, gutter.height()));
    };
    while (gutter.left() > area.left() && emptyColumn(gutter.left() - 1))
        gutter.setLeft(gutter.left() - 1);
    while (gutter.right() < area.right() && emptyColumn(gutter.right() + 1))
        gutter.setRight(gutter.right() + 1);
    split(grid, QRect(area.left(), area.top(), area.width(), gutter.top() - area.top()), out);
    split(grid, QRect(area.left(), gutter.top(), gutter.left() - area.left(), gutter.height()),
          out);
    split(grid,
          QRect(gutter.right() + 1, gutter.top(), area.right() - gutter.right(), gutter.height()),
          out);
    split(grid,
          QRect(area.left(), gutter.bottom() + 1, area.width(), area.bottom() - gutter.bottom()),
          out);
}

bool blankRow(const QImage& page, int y, int left, int right) {
    const uchar* line = page.constScanLine(y);
    return std::all_of(line + left, line + right + 1, [](uchar v) { return v >= 128; });
}

// A region's edges at the nearest blank rows: the cells are coarse, and a column's first
// line often starts in the cell row where a heading above it ends (or the heading's
// descenders reach into the column's first cell row). Cut there, a line loses its top and
// reads as junk. Where no row within `reach` is blank, the edge stays.
int nearestBlank(const QImage& page, int y, int left, int right, int reach) {
    for (int d = 0; d <= reach; ++d) {
        for (int candidate : {y - d, y + d})
            if (candidate >= 0 && candidate < page.height() &&
                blankRow(page, candidate, left, right))
                return candidate;
    }
    return y;
}

QRect toBlankRows(const QImage& page, QRect r, int reach) {
    const int top = r.top() > 0 ? nearestBlank(page, r.top(), r.left(), r.right(), reach) : 0;
    const int bottom = r.bottom() < page.height() - 1
                           ? nearestBlank(page, r.bottom(), r.left(), r.right(), reach)
                           : r.bottom();
    if (bottom > top) {
        r.setTop(top);
        r.setBottom(bottom);
    }
    return r;
}

} // namespace

bool present(const QImage& page, double glyphHeight) {
    const CellGrid grid(page, glyphHeight);
    return !grid.tallest(grid.all()).cells.isEmpty();
}

QList<QRect> regions(const QImage& page, double glyphHeight) {
    const CellGrid grid(page, glyphHeight);
    QList<QRect> cells;
    split(grid, grid.all(), cells);
    if (cells.size() < 2)
        return {};
    QList<QRect> out;
    const int c = grid.cell();
    for (const QRect& r : cells) {
        // In pixels; the last row and column of cells take the page's remainder.
        QRect px(r.left() * c, r.top() * c, r.width() * c, r.height() * c);
        if (r.right() == grid.all().right())
            px.setRight(page.width() - 1);
        if (r.bottom() == grid.all().bottom())
            px.setBottom(page.height() - 1);
        out.append(toBlankRows(page, px, c));
    }
    return out;
}

} // namespace ProseColumns
