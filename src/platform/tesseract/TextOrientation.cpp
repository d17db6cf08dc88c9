#include "platform/tesseract/TextOrientation.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace TextOrientation {

namespace {

// Neighbours further apart than this (in glyph heights) are not one text.
constexpr double farthest = 1.2;
// Edges this close (in glyph heights) count as level.
constexpr double level = 0.2;
// Characters of one line are set at most this far apart (in glyph heights).
constexpr double closeSetting = 0.45;

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Components bucketed by the cell of their top-left corner, for neighbour look-ups.
class Grid {
public:
    Grid(const QList<QRect>& boxes, double cell) : m_cell(std::max(1.0, cell)) {
        for (qsizetype i = 0; i < boxes.size(); ++i)
            m_cells[key(boxes[i].left(), boxes[i].top())].append(i);
    }
    template <typename F> void forEachNear(double x0, double y0, double x1, double y1, F f) const {
        for (int cy = cellOf(y0); cy <= cellOf(y1); ++cy)
            for (int cx = cellOf(x0); cx <= cellOf(x1); ++cx)
                for (qsizetype i : m_cells.value(pack(cx, cy)))
                    f(i);
    }

private:
    int cellOf(double v) const { return int(std::floor(v / m_cell)); }
    static qint64 pack(int cx, int cy) { return (qint64(cx) << 32) ^ quint32(cy); }
    qint64 key(int x, int y) const { return pack(cellOf(x), cellOf(y)); }
    double m_cell;
    QHash<qint64, QList<qsizetype>> m_cells;
};

bool fullSize(const QRect& b, double g) {
    return b.width() >= 0.6 * g && b.height() >= 0.6 * g && b.width() <= 1.6 * g &&
           b.height() <= 1.6 * g;
}

bool smallGlyph(const QRect& b, double g) {
    return b.width() < 0.6 * g && b.height() >= 0.35 * g && b.height() <= 1.1 * g;
}

// Runs of three or more small glyphs side by side on one baseline: Latin (or Cyrillic)
// words set horizontally.
int latinRuns(const QList<QRect>& boxes, const Grid& grid, double g) {
    std::vector<qsizetype> next(size_t(boxes.size()), -1);
    std::vector<uint8_t> hasPrevious(size_t(boxes.size()), 0);
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        const QRect& a = boxes[i];
        if (!smallGlyph(a, g))
            continue;
        double best = 0.35 * g;
        grid.forEachNear(a.right() - 0.1 * g, a.top() - 0.6 * g, a.right() + 0.4 * g,
                         a.top() + 0.6 * g, [&](qsizetype j) {
                             const QRect& b = boxes[j];
                             const double gap = b.left() - a.right() - 1;
                             if (j == i || !smallGlyph(b, g) || gap < -0.05 * g || gap > best ||
                                 std::abs(b.bottom() - a.bottom()) > 0.12 * g)
                                 return;
                             best = gap;
                             next[size_t(i)] = j;
                         });
        if (next[size_t(i)] >= 0)
            hasPrevious[size_t(next[size_t(i)])] = 1;
    }
    int runs = 0;
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        if (hasPrevious[size_t(i)] || next[size_t(i)] < 0)
            continue;
        int length = 1;
        for (qsizetype j = next[size_t(i)]; j >= 0 && length < 4; j = next[size_t(j)])
            ++length;
        runs += length >= 3;
    }
    return runs;
}

} // namespace

Evidence gather(const QList<QRect>& components, double g) {
    Evidence evidence;
    if (g <= 0)
        return evidence;
    const Grid grid(components, g);
    std::vector<double> rowGaps, columnGaps;
    for (qsizetype i = 0; i < components.size(); ++i) {
        const QRect& a = components[i];
        if (!fullSize(a, g))
            continue;
        double right = farthest * g + 1, below = farthest * g + 1;
        grid.forEachNear(a.right() - 0.1 * g, a.top() - level * g, a.right() + farthest * g,
                         a.top() + level * g, [&](qsizetype j) {
                             const QRect& b = components[j];
                             const double gap = b.left() - a.right() - 1;
                             if (j != i && fullSize(b, g) && gap >= 0 && gap < right &&
                                 std::abs(b.top() - a.top()) <= level * g &&
                                 std::abs(b.bottom() - a.bottom()) <= level * g)
                                 right = gap;
                         });
        grid.forEachNear(a.left() - level * g, a.bottom() - 0.1 * g, a.left() + level * g,
                         a.bottom() + farthest * g, [&](qsizetype j) {
                             const QRect& b = components[j];
                             const double gap = b.top() - a.bottom() - 1;
                             if (j != i && fullSize(b, g) && gap >= 0 && gap < below &&
                                 std::abs(b.left() - a.left()) <= level * g &&
                                 std::abs(b.right() - a.right()) <= level * g)
                                 below = gap;
                         });
        if (right <= farthest * g)
            rowGaps.push_back(right / g);
        if (below <= farthest * g)
            columnGaps.push_back(below / g);
    }
    evidence.rowPairs = int(rowGaps.size());
    evidence.columnPairs = int(columnGaps.size());
    evidence.rowGap = median(rowGaps);
    evidence.columnGap = median(columnGaps);
    evidence.latinPairs = latinRuns(components, grid, g);
    return evidence;
}

Orientation decide(const Evidence& e) {
    // Words of Latin letters side by side: whatever else the crop holds, it reads in rows.
    if (e.latinPairs >= 3)
        return Orientation::Horizontal;
    if (e.columnPairs < 3)
        return Orientation::Horizontal;
    // The characters of a line, horizontal or vertical, stand close together. Where even
    // the closer neighbours are half a glyph apart, the characters sit in the cells of a
    // grid (a terminal's double-width cells, a table): screens run such grids in rows.
    if (e.columnGap >= closeSetting)
        return Orientation::Horizontal;
    if (e.rowPairs < 2)
        // Characters stacked with nothing beside them: a column, set as closely as a
        // line's characters (a list of one-character items is spaced wider).
        return Orientation::Vertical;
    if (e.columnGap * 1.5 < e.rowGap)
        return Orientation::Vertical;
    if (e.rowGap * 1.5 < e.columnGap)
        return Orientation::Horizontal;
    return Orientation::Undecided;
}

} // namespace TextOrientation
