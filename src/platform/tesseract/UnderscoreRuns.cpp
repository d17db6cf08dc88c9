#include "platform/tesseract/UnderscoreRuns.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace UnderscoreRuns {

namespace {

std::vector<double> widthsPerCharacter(const QList<QRect>& boxes, const QStringList& texts) {
    std::vector<double> widths;
    for (qsizetype i = 0; i < std::min(boxes.size(), texts.size()); ++i)
        if (texts[i].size() >= 4)
            widths.push_back(double(boxes[i].width()) / double(texts[i].size()));
    return widths;
}

} // namespace

double monospaceCell(const QList<QRect>& boxes, const QStringList& texts, double pageCell) {
    const std::vector<double> widths = widthsPerCharacter(boxes, texts);
    if (pageCell > 0) {
        // A line of few words, or of several misread ones, in the cells of the lines above.
        const auto near = std::count_if(widths.cbegin(), widths.cend(), [&](double w) {
            return std::abs(w - pageCell) <= 0.1 * pageCell;
        });
        if (near * 2 >= qsizetype(widths.size()))
            return pageCell;
    }
    if (widths.size() < 4)
        return 0;
    std::vector<double> sorted = widths;
    std::nth_element(sorted.begin(), sorted.begin() + ptrdiff_t(sorted.size() / 2), sorted.end());
    const double median = sorted[sorted.size() / 2];
    // Proportional words differ by a tenth and more in their mean letter width; monospaced
    // ones only by the side bearings of their ends (and by a misread character or two).
    const auto agree = std::count_if(widths.cbegin(), widths.cend(), [&](double w) {
        return std::abs(w - median) <= 0.08 * median;
    });
    return agree * 10 >= qsizetype(widths.size()) * 7 ? median : 0;
}

namespace {

bool inkAt(const QImage& page, int x, int y) {
    return x >= 0 && y >= 0 && x < page.width() && y < page.height() &&
           page.constScanLine(y)[x] < 128;
}

struct Span {
    int left, right;
};

// The stroke through column `x` low in or under `box`: found at its lowest row with ink there,
// then followed left and right along that row (or the one above) across gaps under a
// quarter of a cell, never into the words beside (`within`).
std::optional<Span> strokeThrough(const QImage& page, const QRect& box, int x, double cell,
                                  const Span& within) {
    const int gap = std::max(1, int(cell / 4));
    // Below the baseline: a word without descenders ends there, its underscores lower.
    for (int y = box.bottom() + std::max(1, box.height() / 3); y >= box.top() + box.height() / 2;
         --y) {
        if (!inkAt(page, x, y))
            continue;
        // Nor does anything hang from one: ink running on down is the top of a glyph on
        // the next line.
        if (inkAt(page, x, y + 1) || inkAt(page, x, y + 2))
            return std::nullopt;
        // Nothing stands on an underscore: where ink rises from the stroke's row, a glyph's
        // bowl or descender has begun ("__gnuc").
        int thickness = 1;
        while (thickness < 6 && inkAt(page, x, y - thickness))
            ++thickness;
        auto follow = [&](int step) {
            int last = x;
            for (int p = x + step, misses = 0; p >= within.left && p <= within.right; p += step) {
                if (inkAt(page, p, y - thickness - 1))
                    break;
                if (inkAt(page, p, y) || inkAt(page, p, y - 1)) {
                    last = p;
                    misses = 0;
                } else if (++misses > gap) {
                    break;
                }
            }
            return last;
        };
        return Span{follow(-1), follow(1)};
    }
    return std::nullopt;
}

// A word cut into its parts: signs in front, underscores, the name, underscores, signs
// behind ("((__format__", "*__restrict", "__printf__,").
struct Parts {
    QString prefix, lead, middle, trail, suffix;
    qsizetype size() const {
        return prefix.size() + lead.size() + middle.size() + trail.size() + suffix.size();
    }
    QString text() const { return prefix + lead + middle + trail + suffix; }
};

bool isSign(QChar c) {
    return !c.isLetterOrNumber() && c != u'_' && !c.isSpace();
}

Parts partsOf(const QString& text) {
    Parts p;
    qsizetype i = 0;
    while (i < text.size() && i < 2 && isSign(text[i]))
        ++i;
    p.prefix = text.left(i);
    qsizetype j = i;
    while (j < text.size() && text[j] == u'_')
        ++j;
    p.lead = text.mid(i, j - i);
    qsizetype end = text.size();
    qsizetype k = end;
    while (k > j && end - k < 2 && isSign(text[k - 1]))
        --k;
    qsizetype t = k;
    while (t > j && text[t - 1] == u'_')
        --t;
    if (t == j) // nothing but signs after the underscores: they lead
        return {p.prefix, p.lead, text.mid(j), QString(), QString()};
    p.middle = text.mid(j, t - j);
    p.trail = text.mid(t, k - t);
    p.suffix = text.mid(k);
    return p;
}

// Underscores the stroke at column `x` spans, and the box grown to take it in.
int strokeCells(const QImage& page, QRect& box, int x, double cell, const Span& within) {
    const std::optional<Span> s = strokeThrough(page, box, x, cell, within);
    if (!s)
        return 0;
    box.setLeft(std::min(box.left(), s->left));
    box.setRight(std::max(box.right(), s->right));
    // A stroke ends a pixel or two short of its last cell's edge.
    return int(std::lround(double(s->right - s->left + 1) / cell - 0.15));
}

} // namespace

Word recount(const QImage& page, const QRect& box, const QString& text, double cell,
             const Room& room) {
    Parts p = partsOf(text);
    if (cell <= 0 || text.isEmpty())
        return {text, box};
    QRect grown = box;
    const Span within{std::max(0, box.left() - std::max(0, room.before)),
                      std::min(page.width() - 1, box.right() + std::max(0, room.after))};
    int lead = 0, trail = 0;
    // A run the recogniser left out entirely ("__attribute__" read as "attribute") lies at
    // the end of a box a whole cell wider than its text.
    const bool wider = double(box.width()) / cell >= double(text.size()) + 1;
    if (!p.lead.isEmpty())
        lead = strokeCells(page, grown, int(box.left() + (double(p.prefix.size()) + 0.5) * cell),
                           cell, within);
    else if (p.prefix.isEmpty() && wider)
        lead = strokeCells(page, grown, int(box.left() + 0.5 * cell), cell, within);
    if (!p.trail.isEmpty())
        trail = strokeCells(page, grown, int(box.right() - (double(p.suffix.size()) + 0.5) * cell),
                            cell, within);
    else if (p.suffix.isEmpty() && !p.middle.isEmpty() && wider)
        trail = strokeCells(page, grown, int(box.right() - 0.5 * cell), cell, within);
    // The word takes as many cells as its box is wide: more underscores than there is room
    // for beside the rest are a rule or an underline, not a run.
    const int cells = int(std::lround(double(grown.width()) / cell));
    const qsizetype others = p.prefix.size() + p.middle.size() + p.suffix.size();
    if (lead > p.lead.size() && lead <= cells - others - p.trail.size())
        p.lead = QString(lead, u'_');
    if (trail > p.trail.size() && trail <= cells - others - p.lead.size())
        p.trail = QString(trail, u'_');
    if (p.size() == text.size())
        return {text, box};
    return {p.text(), grown};
}

} // namespace UnderscoreRuns
