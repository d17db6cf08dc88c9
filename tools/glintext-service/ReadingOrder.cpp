#include "ReadingOrder.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace ReadingOrder {

namespace {

constexpr int inkThreshold = 128;
// A gutter is at least this many text heights wide: far wider than a space between words.
constexpr double gutterHeights = 1.2;
// A column of prose is at least this many text heights wide, and its lines fill most of it.
constexpr double columnHeights = 8.0;
constexpr double lineFill = 0.6;
constexpr int maxDepth = 4;
// Stretches of rows tried for columns, tallest first; a page of short rows (a table) could
// otherwise offer thousands.
constexpr int maxProseChecks = 24;

struct Span {
    int begin = 0; // first index
    int end = 0;   // one past the last
    int size() const { return end - begin; }
};

class Page {
public:
    explicit Page(const QImage& grey) : m_image(grey) {}

    bool ink(int x, int y) const { return m_image.constScanLine(y)[x] < inkThreshold; }

    // Runs of rows of `area` that hold ink.
    std::vector<Span> rows(const QRect& area) const {
        std::vector<Span> out;
        int start = -1;
        for (int y = area.top(); y <= area.bottom() + 1; ++y) {
            const bool inked = y <= area.bottom() && rowHasInk(y, area.left(), area.right());
            if (inked && start < 0)
                start = y;
            if (!inked && start >= 0) {
                out.push_back({start, y});
                start = -1;
            }
        }
        return out;
    }

    // Ink per column of `area`.
    std::vector<int> columnProfile(const QRect& area) const {
        std::vector<int> profile(size_t(area.width()), 0);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const uchar* row = m_image.constScanLine(y);
            for (int x = area.left(); x <= area.right(); ++x)
                profile[size_t(x - area.left())] += row[x] < inkThreshold ? 1 : 0;
        }
        return profile;
    }

    // The smallest rectangle of `area` that holds all its ink; empty when none.
    QRect inkBounds(const QRect& area) const {
        const std::vector<Span> lines = rows(area);
        if (lines.empty())
            return {};
        const std::vector<int> profile = columnProfile(area);
        int left = 0;
        while (profile[size_t(left)] == 0)
            ++left;
        int right = int(profile.size()) - 1;
        while (profile[size_t(right)] == 0)
            --right;
        return QRect(QPoint(area.left() + left, lines.front().begin),
                     QPoint(area.left() + right, lines.back().end - 1));
    }

private:
    bool rowHasInk(int y, int left, int right) const {
        const uchar* row = m_image.constScanLine(y);
        for (int x = left; x <= right; ++x) {
            if (row[x] < inkThreshold)
                return true;
        }
        return false;
    }

    const QImage& m_image;
};

int medianHeight(const std::vector<Span>& lines) {
    std::vector<int> heights;
    for (const Span& line : lines)
        heights.push_back(line.size());
    std::nth_element(heights.begin(), heights.begin() + long(heights.size() / 2), heights.end());
    return heights[heights.size() / 2];
}

// The columns of `area` between blank bands at least `minGutter` wide, inked on both sides.
std::vector<Span> columnsBetweenGutters(const std::vector<int>& profile, int left, int minGutter) {
    std::vector<Span> columns;
    int start = -1;
    int blank = 0;
    int lastInk = -1;
    for (int x = 0; x < int(profile.size()); ++x) {
        if (profile[size_t(x)] == 0) {
            ++blank;
            continue;
        }
        if (start < 0) {
            start = x;
        } else if (blank >= minGutter) {
            columns.push_back({left + start, left + lastInk + 1});
            start = x;
        }
        blank = 0;
        lastInk = x;
    }
    if (start >= 0)
        columns.push_back({left + start, left + lastInk + 1});
    return columns;
}

// Lines that mostly fill a column wide enough for prose.
bool isProse(const Page& page, const QRect& column) {
    const std::vector<Span> lines = page.rows(column);
    if (lines.size() < 2)
        return false;
    const int height = medianHeight(lines);
    if (column.width() < columnHeights * height)
        return false;
    std::vector<double> fills;
    for (const Span& line : lines) {
        const QRect bounds =
            page.inkBounds(QRect(column.left(), line.begin, column.width(), line.size()));
        fills.push_back(double(bounds.width()) / column.width());
    }
    std::nth_element(fills.begin(), fills.begin() + long(fills.size() / 2), fills.end());
    return fills[fills.size() / 2] >= lineFill;
}

struct Split {
    int top = 0;    // first row of the stretch with columns
    int bottom = 0; // one past its last row
    std::vector<Span> columns;
};

// The usual height of a line of text in `area`, from narrow strips of it: a strip narrower
// than a column sees its lines apart even where neighbouring columns' lines do not line up.
int textHeight(const Page& page, const QRect& area) {
    constexpr int strips = 8;
    std::vector<Span> lines;
    for (int i = 0; i < strips; ++i) {
        const int left = area.left() + area.width() * i / strips;
        const int right = area.left() + area.width() * (i + 1) / strips;
        if (right > left) {
            const std::vector<Span> found =
                page.rows(QRect(left, area.top(), right - left, area.height()));
            lines.insert(lines.end(), found.begin(), found.end());
        }
    }
    return lines.empty() ? 0 : medianHeight(lines);
}

// The tallest stretch of whole rows of text of `area` that stands in prose columns.
std::optional<Split> findColumns(const Page& page, const QRect& area) {
    const std::vector<Span> lines = page.rows(area);
    const int height = textHeight(page, area);
    if (lines.empty() || height == 0)
        return std::nullopt;
    const int minGutter = std::max(6, int(gutterHeights * height));
    // Ink per column summed over the first k rows of text, so any stretch's profile is a
    // difference of two of these.
    const size_t width = size_t(area.width());
    std::vector<std::vector<int>> sums(lines.size() + 1, std::vector<int>(width, 0));
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::vector<int> profile =
            page.columnProfile(QRect(area.left(), lines[k].begin, area.width(), lines[k].size()));
        for (size_t x = 0; x < width; ++x)
            sums[k + 1][x] = sums[k][x] + profile[x];
    }
    std::vector<std::pair<size_t, size_t>> stretches; // first and last row of text
    for (size_t a = 0; a < lines.size(); ++a) {
        for (size_t b = a; b < lines.size(); ++b)
            stretches.emplace_back(a, b);
    }
    const auto extent = [&](const std::pair<size_t, size_t>& s) {
        return lines[s.second].end - lines[s.first].begin;
    };
    std::stable_sort(stretches.begin(), stretches.end(),
                     [&](const auto& p, const auto& q) { return extent(p) > extent(q); });
    int checks = 0;
    std::vector<int> profile(width);
    for (const auto& [a, b] : stretches) {
        if (extent({a, b}) < 2 * height)
            break; // one row of text is not a column
        for (size_t x = 0; x < width; ++x)
            profile[x] = sums[b + 1][x] - sums[a][x];
        const std::vector<Span> columns = columnsBetweenGutters(profile, area.left(), minGutter);
        if (columns.size() < 2)
            continue;
        if (++checks > maxProseChecks)
            break;
        const int top = lines[a].begin;
        const int bottom = lines[b].end;
        const bool prose = std::all_of(columns.begin(), columns.end(), [&](const Span& c) {
            return isProse(page, QRect(c.begin, top, c.size(), bottom - top));
        });
        if (prose)
            return Split{top, bottom, columns};
    }
    return std::nullopt;
}

void cut(const Page& page, const QRect& area, bool column, int depth, QList<Block>& out) {
    const QRect bounds = page.inkBounds(area);
    if (bounds.isEmpty())
        return;
    const std::optional<Split> split =
        depth < maxDepth ? findColumns(page, bounds) : std::optional<Split>();
    if (!split) {
        out.append({bounds, column});
        return;
    }
    cut(page, QRect(bounds.left(), bounds.top(), bounds.width(), split->top - bounds.top()), false,
        depth + 1, out);
    for (const Span& c : split->columns)
        cut(page, QRect(c.begin, split->top, c.size(), split->bottom - split->top), true, depth + 1,
            out);
    cut(page,
        QRect(bounds.left(), split->bottom, bounds.width(), bounds.bottom() + 1 - split->bottom),
        false, depth + 1, out);
}

} // namespace

QList<Block> blocks(const QImage& grey) {
    QList<Block> out;
    if (grey.isNull() || grey.format() != QImage::Format_Grayscale8)
        return out;
    const Page page(grey);
    cut(page, grey.rect(), false, 0, out);
    return out;
}

} // namespace ReadingOrder
