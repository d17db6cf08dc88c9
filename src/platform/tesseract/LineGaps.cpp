#include "platform/tesseract/LineGaps.h"

#include <algorithm>
#include <cmath>

namespace {

// A gap narrower than this share of the typical line is widened to it; the lines on both
// sides must be as tall as that line nearly (not the dots or accents above a line).
constexpr double tightGap = 0.25;
constexpr double widenedGap = 0.4;
constexpr double lineTall = 0.6;

struct Band {
    int top, bottom; // rows with ink
    int height() const { return bottom - top + 1; }
};

QList<Band> inkBands(const QImage& page) {
    QList<Band> bands;
    bool inside = false;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        const bool ink = std::any_of(row, row + page.width(), [](uchar v) { return v < 128; });
        if (ink && !inside)
            bands.append({y, y});
        if (ink)
            bands.last().bottom = y;
        inside = ink;
    }
    return bands;
}

} // namespace

LineGaps::LineGaps(const QImage& page) : m_image(page) {
    const QList<Band> bands = inkBands(page);
    if (bands.size() < 2)
        return;
    QList<int> heights;
    for (const Band& b : bands)
        heights.append(b.height());
    std::sort(heights.begin(), heights.end());
    const double line = heights[heights.size() / 2];
    const int wanted = int(std::ceil(widenedGap * line));
    for (qsizetype i = 1; i < bands.size(); ++i) {
        const Band& above = bands[i - 1];
        const Band& below = bands[i];
        const int gap = below.top - above.bottom - 1;
        if (gap < tightGap * line && above.height() >= lineTall * line &&
            below.height() >= lineTall * line)
            m_inserted.append({below.top, wanted - gap});
    }
    if (m_inserted.isEmpty())
        return;
    int added = 0;
    for (const auto& insert : m_inserted)
        added += insert.second;
    QImage widened(page.width(), page.height() + added, QImage::Format_Grayscale8);
    widened.fill(255);
    int shift = 0;
    qsizetype next = 0;
    for (int y = 0; y < page.height(); ++y) {
        if (next < m_inserted.size() && m_inserted[next].first == y)
            shift += m_inserted[next++].second;
        std::copy_n(page.constScanLine(y), page.width(), widened.scanLine(y + shift));
    }
    m_image = widened;
}

int LineGaps::toWidenedRow(int y) const {
    int shift = 0;
    for (const auto& [row, count] : m_inserted)
        shift += y >= row ? count : 0;
    return y + shift;
}

int LineGaps::toPageRow(int y) const {
    int shift = 0;
    for (const auto& [row, count] : m_inserted) {
        const int start = row + shift; // first inserted row, widened coordinates
        if (y < start)
            break;
        if (y < start + count)
            return row; // an inserted row: the page row below it
        shift += count;
    }
    return y - shift;
}

QRect LineGaps::toWidened(const QRect& box) const {
    if (m_inserted.isEmpty())
        return box;
    return QRect(QPoint(box.left(), toWidenedRow(box.top())),
                 QPoint(box.right(), toWidenedRow(box.bottom())));
}

QRect LineGaps::toPage(const QRect& box) const {
    if (m_inserted.isEmpty())
        return box;
    return QRect(QPoint(box.left(), toPageRow(box.top())),
                 QPoint(box.right(), std::max(toPageRow(box.top()), toPageRow(box.bottom()))));
}
