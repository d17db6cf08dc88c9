#include "platform/tesseract/PageBands.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace PageBands {

int cut(const QImage& page) {
    // The recogniser learns a block's line spacing from its rows: a band of a few rows far
    // apart (a dialog's title, message and form) gets it wrong and reads two rows as one.
    constexpr int minimumBandRows = 6;
    constexpr int minimumHeight = 500;
    if (page.height() < minimumHeight)
        return -1;
    QList<QPair<int, int>> lanes; // first row, length
    int run = 0;
    bool seenInk = false;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        const bool ink = std::any_of(row, row + page.width(), [](uchar v) { return v < 128; });
        if (ink) {
            if (seenInk && run > 0)
                lanes.append({y - run, run});
            seenInk = true;
            run = 0;
        } else {
            ++run;
        }
    }
    int best = -1;
    for (qsizetype i = 0; i < lanes.size(); ++i) {
        const auto& [start, length] = lanes[i];
        const int centre = start + length / 2;
        // The rows are the lanes plus one: i + 1 above lane i, the rest below it.
        if (length >= 4 && i + 1 >= minimumBandRows && lanes.size() - i >= minimumBandRows &&
            (best < 0 || std::abs(centre - page.height() / 2) < std::abs(best - page.height() / 2)))
            best = centre;
    }
    // A cut near an edge saves nothing.
    if (best < page.height() / 4 || best > page.height() * 3 / 4)
        return -1;
    return best;
}

namespace {

QMap<int, QRect> blockBoxes(const QList<TextLayout::Line>& lines) {
    QMap<int, QRect> boxes;
    for (const TextLayout::Line& l : lines)
        boxes[l.block] = boxes[l.block].isNull() ? l.box : boxes[l.block].united(l.box);
    return boxes;
}

int medianLineHeight(const QList<TextLayout::Line>& lines) {
    QList<int> heights;
    for (const TextLayout::Line& l : lines)
        heights.append(l.box.height());
    std::sort(heights.begin(), heights.end());
    return heights.isEmpty() ? 1 : heights[heights.size() / 2];
}

} // namespace

void join(QList<TextLayout::Line>& upper, QList<TextLayout::Line> lower, int cut) {
    int nextBlock = 0;
    for (const TextLayout::Line& l : upper)
        nextBlock = std::max(nextBlock, l.block + 1);
    for (TextLayout::Line& l : lower) {
        l.box.translate(0, cut);
        for (TextLayout::Word& w : l.words)
            w.box.translate(0, cut);
    }
    const QMap<int, QRect> upperBlocks = blockBoxes(upper);
    const QMap<int, QRect> lowerBlocks = blockBoxes(lower);
    const int lineHeight = medianLineHeight(upper + lower);
    QMap<int, int> renumber;
    QSet<int> taken;
    for (auto lb = lowerBlocks.cbegin(); lb != lowerBlocks.cend(); ++lb) {
        int match = -1;
        for (auto ub = upperBlocks.cbegin(); ub != upperBlocks.cend(); ++ub) {
            if (taken.contains(ub.key()))
                continue;
            const QRect& u = ub.value();
            const QRect& d = lb.value();
            const int overlap = std::min(u.right(), d.right()) - std::max(u.left(), d.left());
            const int gapAbove = d.top() - u.bottom();
            if (overlap * 2 > std::min(u.width(), d.width()) && gapAbove < 3 * lineHeight)
                match = ub.key();
        }
        if (match >= 0) {
            taken.insert(match);
            renumber[lb.key()] = match;
        } else {
            renumber[lb.key()] = nextBlock++;
        }
    }
    for (TextLayout::Line& l : lower) {
        l.block = renumber.value(l.block);
        upper.append(l);
    }
}

} // namespace PageBands
