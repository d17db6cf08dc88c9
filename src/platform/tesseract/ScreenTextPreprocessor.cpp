#include "platform/tesseract/ScreenTextPreprocessor.h"

#include "platform/tesseract/RuleLines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace ScreenTextPreprocessor {

namespace {

// A pixel whose 3x3 neighbourhood varies by at most this much is part of a flat area.
constexpr int flatTolerance = 6;
// Neighbouring flat pixels closer than this belong to the same area (lets gradients join).
constexpr int joinTolerance = 3;
// Pixels this far from their background count as ink when deciding polarity.
constexpr int inkDeviation = 24;
// An area whose ink is closer than this to it is treated as empty.
constexpr int minimumContrast = 28;
// Faint text (orange on orange, 1.2:1) never reaches `inkDeviation`: where the strongest
// ink of an area stays low, the ink level follows it down to this, still well above the
// shade steps of a flat area (`flatTolerance`).
constexpr int faintestInk = 8;
// No stroke of a glyph runs this far straight in one colour, even in a large title: a run
// of ink this long is a rule or a frame's edge.
constexpr int longestStroke = 100;

// Flat pixels: max - min over the 3x3 neighbourhood is small.
std::vector<uint8_t> flatMask(const QImage& g) {
    const int w = g.width();
    const int h = g.height();
    std::vector<uint8_t> rowMin(size_t(w) * h), rowMax(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const uchar* in = g.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            int lo = in[x], hi = in[x];
            if (x > 0) {
                lo = std::min<int>(lo, in[x - 1]);
                hi = std::max<int>(hi, in[x - 1]);
            }
            if (x + 1 < w) {
                lo = std::min<int>(lo, in[x + 1]);
                hi = std::max<int>(hi, in[x + 1]);
            }
            rowMin[size_t(y) * w + x] = uint8_t(lo);
            rowMax[size_t(y) * w + x] = uint8_t(hi);
        }
    }
    std::vector<uint8_t> flat(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int lo = 255, hi = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                const int yy = y + dy;
                if (yy < 0 || yy >= h)
                    continue;
                lo = std::min<int>(lo, rowMin[size_t(yy) * w + x]);
                hi = std::max<int>(hi, rowMax[size_t(yy) * w + x]);
            }
            flat[size_t(y) * w + x] = hi - lo <= flatTolerance;
        }
    }
    return flat;
}

struct Box {
    int left, top, right, bottom;
    qint64 pixels = 0;
};
std::vector<Box> components(const QImage& img, std::vector<int>* labelsOut = nullptr);

struct Area {
    int left = 0, top = 0, right = -1, bottom = -1;
    qint64 pixels = 0;
    int shade = 0;
    bool background = false;
    // Polarity and strength of the ink found next to it.
    int darker = 0;
    int lighter = 0;
    bool invert = false;
    int contrast = 255;
    // How far from the shade a pixel must stand to be ink: `inkDeviation`, or less where
    // the area's whole ink is faint.
    int inkLevel = inkDeviation;
    int peak = 0;
    std::array<int, 256> deviations{};
};

} // namespace

QImage toGrey(const QImage& image) {
    if (image.format() == QImage::Format_Grayscale8)
        return image;
    return image.convertToFormat(QImage::Format_Grayscale8);
}

namespace {

// What the stages of `normalise` share: the luma without row padding (a pixel is one
// index), the flat areas, and for every pixel its background area and that area's shade.
struct Planes {
    int w = 0, h = 0;
    size_t n = 0;
    std::vector<uint8_t> value;
    std::vector<Area> areas;
    std::vector<int> label;     // flat area of each flat pixel, -1 elsewhere
    std::vector<int> owner;     // the background area each pixel belongs to
    std::vector<uint8_t> shade; // that background's local shade
    std::vector<uint8_t> background;
    std::vector<uint8_t> rule; // ink of rules and frames, left out of polarity
};

// 1. Flat areas: connected flat pixels of about the same shade.
void findFlatAreas(Planes& p, const std::vector<uint8_t>& flat) {
    const int w = p.w, h = p.h;
    p.label.assign(p.n, -1);
    struct Pixel {
        int x, y;
    };
    std::vector<Pixel> stack;
    for (int sy = 0; sy < h; ++sy) {
        for (int sx = 0; sx < w; ++sx) {
            const size_t start = size_t(sy) * w + sx;
            if (!flat[start] || p.label[start] >= 0)
                continue;
            const int id = int(p.areas.size());
            p.areas.emplace_back();
            Area& a = p.areas.back();
            a.left = a.right = sx;
            a.top = a.bottom = sy;
            a.shade = p.value[start];
            p.label[start] = id;
            stack.push_back({sx, sy});
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                const size_t i = size_t(y) * w + x;
                ++a.pixels;
                a.left = std::min(a.left, x);
                a.right = std::max(a.right, x);
                a.top = std::min(a.top, y);
                a.bottom = std::max(a.bottom, y);
                const int v = p.value[i];
                auto visit = [&](size_t j, int jx, int jy) {
                    if (!flat[j] || p.label[j] >= 0 || std::abs(p.value[j] - v) > joinTolerance)
                        return;
                    p.label[j] = id;
                    stack.push_back({jx, jy});
                };
                if (x > 0)
                    visit(i - 1, x - 1, y);
                if (x + 1 < w)
                    visit(i + 1, x + 1, y);
                if (y > 0)
                    visit(i - w, x, y - 1);
                if (y + 1 < h)
                    visit(i + w, x, y + 1);
            }
        }
    }
}

// Backgrounds are flat areas that are large in both directions (panels, rows, the page),
// not the solid insides of big glyphs; the largest area always is one. -1 when nothing
// is flat.
int markBackgrounds(Planes& p) {
    qint64 largest = 0;
    int largestId = -1;
    for (int id = 0; id < int(p.areas.size()); ++id) {
        Area& a = p.areas[id];
        const int bw = a.right - a.left + 1;
        const int bh = a.bottom - a.top + 1;
        const bool solid = bw >= 24 && bh >= 12 && a.pixels * 10 >= qint64(bw) * bh * 4;
        // A title bar drawn in two gradients parts where they meet: each half is a wide
        // band a few rows tall, far wider than any glyph's inside.
        const bool band = bh >= 6 && bw >= 8 * bh && a.pixels * 10 >= qint64(bw) * bh * 4;
        a.background = solid || band || a.pixels * 20 >= qint64(p.n);
        if (a.pixels > largest) {
            largest = a.pixels;
            largestId = id;
        }
    }
    if (largestId >= 0)
        p.areas[largestId].background = true;
    return largestId;
}

// 2. Every other pixel belongs to the nearest background and takes its local shade
// (breadth first from all background pixels at once).
void assignOwners(Planes& p) {
    const size_t n = p.n;
    const int w = p.w;
    p.owner.assign(n, -1);
    p.shade.assign(n, 0);
    p.background.assign(n, 0);
    std::vector<uint32_t> queue;
    queue.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (p.label[i] >= 0 && p.areas[p.label[i]].background) {
            p.background[i] = 1;
            p.owner[i] = p.label[i];
            p.shade[i] = p.value[i];
            queue.push_back(uint32_t(i));
        }
    }
    std::vector<int>().swap(p.label);
    // Rows are walked with the column kept beside the index: no division per pixel.
    std::vector<uint32_t> column(n);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < w; ++x)
            column[size_t(y) * w + x] = uint32_t(x);
    for (size_t head = 0; head < queue.size(); ++head) {
        const size_t i = queue[head];
        const uint32_t x = column[i];
        const int o = p.owner[i];
        const uint8_t s = p.shade[i];
        auto reach = [&](size_t j) {
            if (p.owner[j] >= 0)
                return;
            p.owner[j] = o;
            p.shade[j] = s;
            queue.push_back(uint32_t(j));
        };
        if (x > 0)
            reach(i - 1);
        if (x + 1 < uint32_t(w))
            reach(i + 1);
        if (i >= size_t(w))
            reach(i - w);
        if (i + w < n)
            reach(i + w);
    }
}

// Whether the ink at `i` ends in a step: a neighbour stands at most a third as far from the
// background. A glyph's edge falls off within a pixel even at 1.2:1; a drop shadow's
// gradient, however dark, moves a few shades a pixel.
bool endsInStep(const Planes& p, size_t i, int deviation) {
    const int x = int(i % size_t(p.w));
    auto near = [&](size_t j) { return 3 * std::abs(int(p.value[j]) - p.shade[j]) <= deviation; };
    return (x > 0 && near(i - 1)) || (x + 1 < p.w && near(i + 1)) ||
           (i >= size_t(p.w) && near(i - p.w)) || (i + p.w < p.n && near(i + p.w));
}

// 3. Each background's strongest ink: text at 1.2:1 stands some 15-20 shades from its
// background, anti-aliased edges less. Where nothing on an area reaches `inkDeviation`,
// the ink level is half its strongest ink: the decision follows the area's own contrast.
// Ink a little stronger, short of `minimumContrast` (the fixed level's bar for visible
// ink), follows it too when its strongest pixels have a glyph's sharp edges: text 25-28
// shades off its panel once fell between the two. Areas with some stronger ink keep the
// fixed level, so a faint focus ring or shadow beside ordinary text stays background, and
// so does a page whose strongest marks are the soft gradient of a menu's shadow.
void measureInkLevels(Planes& p) {
    std::vector<int> sharpPeak(p.areas.size(), 0);
    for (size_t i = 0; i < p.n; ++i) {
        if (!p.background[i]) {
            Area& a = p.areas[p.owner[i]];
            const int d = std::abs(int(p.value[i]) - p.shade[i]);
            a.peak = std::max(a.peak, d);
            if (d > sharpPeak[size_t(p.owner[i])] && endsInStep(p, i, d))
                sharpPeak[size_t(p.owner[i])] = d;
        }
    }
    for (size_t id = 0; id < p.areas.size(); ++id) {
        Area& a = p.areas[id];
        const bool sharpFaint = a.peak < minimumContrast && sharpPeak[id] + 2 >= a.peak;
        if (a.background && (a.peak <= inkDeviation || sharpFaint))
            a.inkLevel = std::max(a.peak / 2, faintestInk);
    }
}

// Whether the ink through pixel `i` is a line a few pixels thick across the direction of
// its run: a frame's edge, not a solid band (a title bar, a progress bar).
bool isThin(const Planes& p, const std::vector<int8_t>& sign, size_t i, bool across) {
    constexpr int thickest = 4;
    const int x = int(i % size_t(p.w));
    const int y = int(i / size_t(p.w));
    auto same = [&](int cx, int cy) {
        if (cx < 0 || cy < 0 || cx >= p.w || cy >= p.h)
            return false;
        const size_t j = size_t(cy) * p.w + cx;
        return sign[j] == sign[i] && p.owner[j] == p.owner[i];
    };
    int thickness = 1;
    for (int d = 1; d <= thickest && same(across ? x : x - d, across ? y - d : y); ++d)
        ++thickness;
    for (int d = 1; d <= thickest && same(across ? x : x + d, across ? y + d : y); ++d)
        ++thickness;
    return thickness <= thickest;
}

// 3a. Rules and frames: a run of ink of one sign across most of its area's width or
// height, or longer than any stroke of text (the edges of the buttons along a toolbar).
// They are left out of the polarity count: a header cell's light title is outnumbered by
// the dark lines around the cell, a dark toolbar's light label by its buttons' dark
// frames. Returns each pixel's ink sign.
std::vector<int8_t> markRules(Planes& p) {
    const size_t n = p.n;
    std::vector<int8_t> sign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        if (p.background[i])
            continue;
        const int d = int(p.value[i]) - p.shade[i];
        const int level = p.areas[p.owner[i]].inkLevel;
        sign[i] = int8_t(d < -level ? -1 : d > level ? 1 : 0);
    }
    p.rule.assign(n, 0);
    auto markRuns = [&](size_t start, size_t step, int count, bool across) {
        int runStart = 0;
        for (int k = 1; k <= count; ++k) {
            const size_t first = start + size_t(runStart) * step;
            const bool same = k < count && sign[start + size_t(k) * step] == sign[first] &&
                              p.owner[start + size_t(k) * step] == p.owner[first];
            if (same)
                continue;
            const int length = k - runStart;
            if (sign[first] != 0) {
                const Area& a = p.areas[p.owner[first]];
                const int extent = across ? a.right - a.left + 1 : a.bottom - a.top + 1;
                const size_t middle = start + size_t((runStart + k) / 2) * step;
                if (length >= 8 && (length * 10 >= extent * 6 ||
                                    (length >= longestStroke && isThin(p, sign, middle, across))))
                    for (int r = runStart; r < k; ++r)
                        p.rule[start + size_t(r) * step] = 1;
            }
            runStart = k;
        }
    };
    for (int y = 0; y < p.h; ++y)
        markRuns(size_t(y) * p.w, 1, p.w, true);
    for (int x = 0; x < p.w; ++x)
        markRuns(size_t(x), size_t(p.w), p.h, false);
    return sign;
}

// 3b. Per background: is its ink darker or lighter, and how strong is it?
void measurePolarity(Planes& p, const std::vector<int8_t>& sign) {
    for (size_t i = 0; i < p.n; ++i) {
        if (p.background[i] || p.rule[i])
            continue;
        Area& a = p.areas[p.owner[i]];
        a.darker += sign[i] < 0;
        a.lighter += sign[i] > 0;
    }
    for (size_t i = 0; i < p.n; ++i) {
        if (p.background[i] || p.rule[i])
            continue;
        Area& a = p.areas[p.owner[i]];
        const int d = int(p.value[i]) - p.shade[i];
        const bool lighterInk = a.lighter > a.darker;
        const int toward = lighterInk ? d : -d;
        if (toward > a.inkLevel)
            ++a.deviations[std::min(255, toward)];
    }
    std::vector<uint8_t>().swap(p.rule);
    for (Area& a : p.areas) {
        if (!a.background)
            continue;
        a.invert = a.lighter > a.darker;
        const int inkCount = std::max(a.lighter, a.darker);
        // Full black from the median ink strength on: strokes drawn in a dimmer colour
        // than the brightest ink (syntax colours, prompts) must not fall below the
        // recogniser's threshold.
        const int strong = std::max(1, inkCount / 2);
        int acc = 0;
        a.contrast = 0;
        for (int v = 255; v > a.inkLevel; --v) {
            acc += a.deviations[v];
            if (acc >= strong) {
                a.contrast = v;
                break;
            }
        }
    }
}

// 4. Backgrounds become white, ink black at full contrast.
// The innermost background box around a point, by a grid of cells.
class PanelIndex {
public:
    explicit PanelIndex(const Planes& p) : m_areas(p.areas), m_columns(p.w / cell + 1) {
        m_cells.resize(size_t(m_columns) * size_t(p.h / cell + 1));
        std::vector<int> order;
        for (int id = 0; id < int(p.areas.size()); ++id)
            if (p.areas[id].background)
                order.push_back(id);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return boxArea(a) < boxArea(b); });
        for (int id : order) {
            const Area& a = p.areas[id];
            const int top = std::max(0, a.top - edge) / cell;
            const int bottom = std::min(p.h - 1, a.bottom + edge) / cell;
            const int left = std::max(0, a.left - edge) / cell;
            const int right = std::min(p.w - 1, a.right + edge) / cell;
            for (int cy = top; cy <= bottom; ++cy)
                for (int cx = left; cx <= right; ++cx)
                    m_cells[size_t(cy) * size_t(m_columns) + size_t(cx)].push_back(id);
        }
    }
    int innermost(int x, int y) const {
        for (int id : m_cells[size_t(y / cell) * size_t(m_columns) + size_t(x / cell)]) {
            const Area& a = m_areas[id];
            // The panel's own edge is not flat: it lies just outside the flat box.
            if (x >= a.left - edge && x <= a.right + edge && y >= a.top - edge &&
                y <= a.bottom + edge)
                return id;
        }
        return -1;
    }

private:
    static constexpr int cell = 32;
    static constexpr int edge = 2;
    qint64 boxArea(int id) const {
        const Area& a = m_areas[id];
        return qint64(a.right - a.left + 1) * (a.bottom - a.top + 1);
    }
    const std::vector<Area>& m_areas;
    int m_columns;
    std::vector<std::vector<int>> m_cells;
};

// Pixels of a panel's own colour that its text cut off from it (the strip between two
// descenders and the bottom edge of a selection band) are nearer to the panel around it
// and would stand out as ink against that one: they are the inner panel's background.
bool innerPanelColour(const Planes& p, const PanelIndex& panels, size_t i, int x, int y) {
    const int inner = panels.innermost(x, y);
    return inner >= 0 && inner != p.owner[i] &&
           std::abs(int(p.value[i]) - p.areas[inner].shade) <= flatTolerance;
}

// Whether an area's ink is strong enough to be anything but the shade steps of its own
// surface.
bool visible(const Area& a) {
    return a.contrast >= a.inkLevel + (minimumContrast - inkDeviation);
}

QImage render(const Planes& p) {
    const int w = p.w;
    const size_t n = p.n;
    // How far each pixel stands from its background, toward the ink:
    std::vector<int16_t> toward(n, 0);
    const PanelIndex panels(p);
    QImage strokes(w, p.h, QImage::Format_Grayscale8); // the ink, for the component pass
    for (int y = 0; y < p.h; ++y) {
        uchar* m = strokes.scanLine(y);
        const size_t rowStart = size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            const size_t i = rowStart + x;
            const Area& a = p.areas[p.owner[i]];
            if (!p.background[i] && visible(a)) {
                const int d = int(p.value[i]) - p.shade[i];
                toward[i] = int16_t(a.invert ? d : -d);
                if (toward[i] > a.inkLevel && innerPanelColour(p, panels, i, x, y))
                    toward[i] = 0;
            }
            m[x] = toward[i] > a.inkLevel ? 0 : 255;
        }
    }
    // A glyph drawn in a colour close to its background (green prompts and file modes in
    // a light terminal, a link) is as much text as the black beside it: each ink
    // component reaches full black from its own strongest pixel, not only the panel's.
    std::vector<int> strokeLabel;
    const std::vector<Box> strokeBoxes = components(strokes, &strokeLabel);
    std::vector<int> strongest(strokeBoxes.size(), 0);
    for (size_t i = 0; i < n; ++i) {
        if (strokeLabel[i] >= 0)
            strongest[size_t(strokeLabel[i])] =
                std::max<int>(strongest[size_t(strokeLabel[i])], toward[i]);
    }
    QImage out(w, p.h, QImage::Format_Grayscale8);
    for (int y = 0; y < p.h; ++y) {
        uchar* o = out.scanLine(y);
        const size_t rowStart = size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            const size_t i = rowStart + x;
            const Area& a = p.areas[p.owner[i]];
            if (p.background[i] || !visible(a)) {
                o[x] = 255;
                continue;
            }
            int reference = a.contrast;
            if (strokeLabel[i] >= 0)
                reference = std::clamp(strongest[size_t(strokeLabel[i])],
                                       std::min(2 * a.inkLevel, a.contrast), a.contrast);
            o[x] = uchar(std::clamp(255 - toward[i] * 320 / reference, 0, 255));
        }
    }
    return out;
}

} // namespace

QImage normalise(const QImage& g, QList<QRect>* backgrounds) {
    Planes p;
    p.w = g.width();
    p.h = g.height();
    if (p.w == 0 || p.h == 0)
        return QImage(p.w, p.h, QImage::Format_Grayscale8);
    p.n = size_t(p.w) * p.h;
    p.value.resize(p.n);
    for (int y = 0; y < p.h; ++y)
        std::copy_n(g.constScanLine(y), p.w, p.value.begin() + ptrdiff_t(y) * p.w);
    findFlatAreas(p, flatMask(g));
    if (markBackgrounds(p) < 0) {
        // Nothing flat at all (a photo, noise): plain polarity by the mean.
        const qint64 sum = std::accumulate(p.value.begin(), p.value.end(), qint64(0));
        QImage out = g.copy();
        if (sum / qint64(p.n) < 128)
            out.invertPixels();
        return out;
    }
    if (backgrounds) {
        for (const Area& a : p.areas) {
            if (a.background)
                backgrounds->append(QRect(QPoint(a.left, a.top), QPoint(a.right, a.bottom)));
        }
    }
    assignOwners(p);
    measureInkLevels(p);
    measurePolarity(p, markRules(p));
    return render(p);
}

namespace {

// Bounding boxes of 8-connected ink components (value < 128); `labels` gets each ink
// pixel's box index, -1 elsewhere.
std::vector<Box> components(const QImage& img, std::vector<int>* labelsOut) {
    const int w = img.width();
    const int h = img.height();
    std::vector<int> labels(size_t(w) * h, -1);
    std::vector<int> parent;
    auto find = [&parent](int a) {
        while (parent[a] != a) {
            parent[a] = parent[parent[a]];
            a = parent[a];
        }
        return a;
    };
    auto unite = [&](int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b)
            parent[std::max(a, b)] = std::min(a, b);
    };
    for (int y = 0; y < h; ++y) {
        const uchar* row = img.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (row[x] >= 128)
                continue;
            int label = -1;
            const int neighbours[4][2] = {{-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
            for (const auto& d : neighbours) {
                const int nx = x + d[0];
                const int ny = y + d[1];
                if (nx < 0 || ny < 0 || nx >= w)
                    continue;
                const int l = labels[size_t(ny) * w + nx];
                if (l < 0)
                    continue;
                if (label < 0)
                    label = l;
                else
                    unite(label, l);
            }
            if (label < 0) {
                label = int(parent.size());
                parent.push_back(label);
            }
            labels[size_t(y) * w + x] = label;
        }
    }
    std::vector<int> rootIndex(parent.size(), -1);
    std::vector<Box> boxes;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int l = labels[size_t(y) * w + x];
            if (l < 0)
                continue;
            const int r = find(l);
            if (rootIndex[r] < 0) {
                rootIndex[r] = int(boxes.size());
                boxes.push_back({x, y, x, y, 0});
            }
            Box& b = boxes[rootIndex[r]];
            b.left = std::min(b.left, x);
            b.right = std::max(b.right, x);
            b.bottom = std::max(b.bottom, y);
            ++b.pixels;
            if (labelsOut)
                labels[size_t(y) * w + x] = rootIndex[r];
        }
    }
    if (labelsOut)
        *labelsOut = std::move(labels);
    return boxes;
}

} // namespace

InkMetrics measure(const QImage& img) {
    InkMetrics metrics;
    const std::vector<Box> boxes = components(img);
    std::vector<int> heights;
    for (const Box& b : boxes) {
        const int bw = b.right - b.left + 1;
        const int bh = b.bottom - b.top + 1;
        // Rules, underlines and frames say nothing about the text size.
        if (bh < 3 || bh > img.height() * 9 / 10 || bw > 4 * bh)
            continue;
        heights.push_back(bh);
    }
    if (heights.empty())
        return metrics;
    metrics.hasInk = true;
    std::sort(heights.begin(), heights.end());
    // Upper quartile: dots, commas and stroke fragments pull the median down.
    metrics.glyphHeight = heights[std::min(heights.size() - 1, heights.size() * 3 / 4)];
    for (const Box& b : boxes) {
        const int bw = b.right - b.left + 1;
        const int bh = b.bottom - b.top + 1;
        const double g = metrics.glyphHeight;
        if (bh < 0.4 * g || bh > 2.5 * g || bw > 4 * g)
            continue;
        // Solid squares are icons and bullets, not letters.
        const bool squareish = bw >= 0.6 * g && bh >= 0.6 * g;
        if (squareish && b.pixels * 100 >= qint64(bw) * bh * 85)
            continue;
        metrics.glyphs.append(QRect(b.left, b.top, bw, bh));
    }

    QList<QRect> all;
    all.reserve(qsizetype(boxes.size()));
    for (const Box& b : boxes)
        all.append(QRect(QPoint(b.left, b.top), QPoint(b.right, b.bottom)));
    metrics.orientation =
        TextOrientation::decide(TextOrientation::gather(all, metrics.glyphHeight));
    return metrics;
}

namespace {

// Pixels inside component `index`'s box that are not its own and cannot be reached from
// the box's edge: the background it encloses (flags per pixel of the box).
std::vector<uint8_t> enclosedBy(const std::vector<int>& labels, int imageWidth, const Box& b,
                                int index) {
    const int bw = b.right - b.left + 1;
    const int bh = b.bottom - b.top + 1;
    std::vector<uint8_t> reached(size_t(bw) * bh, 0);
    std::vector<std::pair<int, int>> stack;
    auto other = [&](int x, int y) {
        return labels[size_t(b.top + y) * imageWidth + b.left + x] != index;
    };
    auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= bw || y >= bh || reached[size_t(y) * bw + x] || !other(x, y))
            return;
        reached[size_t(y) * bw + x] = 1;
        stack.emplace_back(x, y);
    };
    for (int x = 0; x < bw; ++x) {
        push(x, 0);
        push(x, bh - 1);
    }
    for (int y = 0; y < bh; ++y) {
        push(0, y);
        push(bw - 1, y);
    }
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        push(x - 1, y);
        push(x + 1, y);
        push(x, y - 1);
        push(x, y + 1);
    }
    std::vector<uint8_t> enclosed(size_t(bw) * bh, 0);
    for (int y = 0; y < bh; ++y)
        for (int x = 0; x < bw; ++x)
            enclosed[size_t(y) * bw + x] = other(x, y) && !reached[size_t(y) * bw + x];
    return enclosed;
}

bool enclosesBackground(const std::vector<int>& labels, int imageWidth, const Box& b, int index) {
    const std::vector<uint8_t> enclosed = enclosedBy(labels, imageWidth, b, index);
    return std::any_of(enclosed.cbegin(), enclosed.cend(), [](uint8_t e) { return e != 0; });
}

} // namespace

int removeFrames(QImage& img, double glyphHeight) {
    if (glyphHeight <= 0)
        return 0;
    std::vector<int> labels;
    const std::vector<Box> boxes = components(img, &labels);
    std::vector<uint8_t> erase(boxes.size(), 0);
    int erased = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        const int bw = b.right - b.left + 1;
        const int bh = b.bottom - b.top + 1;
        const bool big = bh > 2.2 * glyphHeight || bw > 8 * glyphHeight;
        const bool thin = std::min(bw, bh) <= std::max(2.0, glyphHeight * 0.2);
        const bool hollow = b.pixels * 100 < qint64(bw) * bh * 12;
        // A filled blob about a glyph's size or more, neither thin nor a stroke, without a
        // hole: an icon, a check box, a bullet. Letters leave more of their box empty, and
        // a dense ideograph that small type fills almost solid still keeps a few holes.
        const bool solid = bw >= 0.9 * glyphHeight && bh >= 0.9 * glyphHeight && bw <= 2.5 * bh &&
                           bh <= 2.5 * bw && b.pixels * 100 >= qint64(bw) * bh * 85 &&
                           !enclosesBackground(labels, img.width(), b, int(i));
        // A push button's outline around its label: taller than any glyph of the text and
        // wide, where a large heading's letters are about as wide as tall.
        const bool button = hollow && bh >= 1.4 * glyphHeight && bw >= 2.5 * glyphHeight &&
                            bw >= 1.5 * bh && enclosesBackground(labels, img.width(), b, int(i));
        if ((big && (thin || hollow)) || solid || button) {
            erase[i] = 1;
            ++erased;
        }
    }
    if (!erased)
        return 0;
    for (int y = 0; y < img.height(); ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            const int l = labels[size_t(y) * img.width() + x];
            if (l >= 0 && erase[l])
                row[x] = 255;
        }
    }
    return erased;
}

namespace {

// The median shade of `grey` over the pixels of `outer` that are not in `inner`.
int medianShade(const QImage& grey, const QRect& outer, const QRect& inner) {
    std::array<int, 256> histogram{};
    int count = 0;
    for (int y = outer.top(); y <= outer.bottom(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = outer.left(); x <= outer.right(); ++x) {
            if (!inner.contains(x, y)) {
                ++histogram[row[x]];
                ++count;
            }
        }
    }
    for (int v = 0, seen = 0; v < 256; ++v) {
        seen += histogram[v];
        if (2 * seen >= count)
            return v;
    }
    return 0;
}

} // namespace

int removeControls(QImage& img, const QImage& grey, const QList<QRect>& backgrounds,
                   double glyphHeight) {
    if (glyphHeight <= 0)
        return 0;
    std::vector<int> labels;
    const std::vector<Box> boxes = components(img, &labels);
    const QRect page = img.rect();
    int erased = 0;
    for (const QRect& b : backgrounds) {
        if (b.width() > 2.2 * glyphHeight || b.height() > 2.2 * glyphHeight ||
            b.width() < 0.6 * glyphHeight || b.height() < 0.6 * glyphHeight)
            continue;
        // Its rim is anti-aliased into the surface around it.
        const int rim = std::max(3, int(glyphHeight / 6));
        const QRect area = b.adjusted(-rim, -rim, rim, rim) & page;
        // A control is a surface of its own shade. A flat patch that glyphs enclose (the
        // space inside a line of dense type) has the shade of the page around it.
        const QRect around = area.adjusted(-2, -2, 2, 2) & page;
        if (std::abs(medianShade(grey, b, QRect()) - medianShade(grey, around, area)) <=
            2 * flatTolerance)
            continue;
        std::vector<int> seen;
        int marks = 0;
        bool crossed = false;
        for (int y = area.top(); y <= area.bottom() && !crossed; ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const int l = labels[size_t(y) * img.width() + x];
                if (l < 0 || std::find(seen.cbegin(), seen.cend(), l) != seen.cend())
                    continue;
                seen.push_back(l);
                const Box& c = boxes[size_t(l)];
                const QRect box(QPoint(c.left, c.top), QPoint(c.right, c.bottom));
                crossed = !area.contains(box);
                if (crossed)
                    break;
                // Pieces of the surface's anti-aliased edge lie on its border or are specks
                // in its rounded corners; a mark lies on the surface and has some size.
                marks += b.contains(box) && std::max(box.width(), box.height()) >= glyphHeight / 3;
            }
        }
        // Two marks or more are a word (a button's "OK"); one is a tick, a dot or a
        // window button's glyph.
        if (crossed || marks > 1)
            continue;
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::fill_n(img.scanLine(y) + area.left(), area.width(), uchar(255));
        ++erased;
    }
    return erased;
}

namespace {

// Whether each side of `b` is a straight run of the component's ink (within two pixels of
// the edge): a box's outline, where round letters touch their box in a point or two.
bool straightSides(const std::vector<int>& labels, int imageWidth, const Box& b, int index) {
    auto own = [&](int x, int y) { return labels[size_t(y) * imageWidth + x] == index; };
    auto row = [&](int y0, int step) {
        int inked = 0;
        for (int x = b.left; x <= b.right; ++x)
            inked += own(x, y0) || own(x, y0 + step);
        return inked * 10 >= (b.right - b.left + 1) * 9;
    };
    auto column = [&](int x0, int step) {
        int inked = 0;
        for (int y = b.top; y <= b.bottom; ++y)
            inked += own(x0, y) || own(x0 + step, y);
        return inked * 10 >= (b.bottom - b.top + 1) * 9;
    };
    return row(b.top, 1) && row(b.bottom, -1) && column(b.left, 1) && column(b.right, -1);
}

// The median shade of `grey` over the pixels of `inner` that are no ink on `img`, or -1
// unless most of it is empty: a box's inside holds a tick at most, an enclosing glyph's
// ("图", "в") holds strokes.
int emptyShade(const QImage& img, const QImage& grey, const QRect& inner) {
    std::array<int, 256> histogram{};
    int count = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        const uchar* ink = img.constScanLine(y);
        const uchar* row = grey.constScanLine(y);
        for (int x = inner.left(); x <= inner.right(); ++x) {
            if (ink[x] >= 128) {
                ++histogram[row[x]];
                ++count;
            }
        }
    }
    if (inner.isEmpty() || count * 20 < inner.width() * inner.height() * 11)
        return -1;
    for (int v = 0, seen = 0; v < 256; ++v) {
        seen += histogram[v];
        if (2 * seen >= count)
            return v;
    }
    return -1;
}

} // namespace

int removeCheckBoxes(QImage& img, const QImage& grey, double glyphHeight) {
    // Toolkits draw boxes of 13 pixels and more; the counter of a smaller round letter is
    // tinted by its anti-aliased rim and would pass for a surface of its own.
    constexpr int minimumBox = 10;
    if (glyphHeight <= 0 || grey.size() != img.size())
        return 0;
    std::vector<int> labels;
    const std::vector<Box> boxes = components(img, &labels);
    const QRect page = img.rect();
    int erased = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        const int bw = b.right - b.left + 1;
        const int bh = b.bottom - b.top + 1;
        if (bw < 0.6 * glyphHeight || bh < 0.6 * glyphHeight || bw > 1.8 * glyphHeight ||
            bh > 1.8 * glyphHeight || std::abs(bw - bh) > std::max(2, std::max(bw, bh) / 7) ||
            bw < minimumBox || !straightSides(labels, img.width(), b, int(i)))
            continue;
        // A square glyph ("口") encloses the page's own shade; a box is filled with a
        // surface of its own (white on the grey of a dialog).
        const QRect outer(QPoint(b.left, b.top), QPoint(b.right, b.bottom));
        const int inset = std::max(3, std::min(bw, bh) / 5);
        const QRect inner = outer.adjusted(inset, inset, -inset, -inset);
        const QRect ring = outer.adjusted(-3, -3, 3, 3) & page;
        const int inside = emptyShade(img, grey, inner);
        if (inside < 0 || ring == outer ||
            std::abs(inside - medianShade(grey, ring, outer)) <= 2 * flatTolerance)
            continue;
        // The box goes with its tick.
        for (int y = outer.top(); y <= outer.bottom(); ++y)
            std::fill_n(img.scanLine(y) + outer.left(), outer.width(), uchar(255));
        ++erased;
    }
    return erased;
}

int invertBands(QImage& img, double glyphHeight) {
    if (glyphHeight <= 0)
        return 0;
    std::vector<int> labels;
    const std::vector<Box> boxes = components(img, &labels);
    int inverted = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        const int bw = b.right - b.left + 1;
        const int bh = b.bottom - b.top + 1;
        const qint64 area = qint64(bw) * bh;
        if (bh < 0.9 * glyphHeight || bh > 3 * glyphHeight || bw < 2 * glyphHeight ||
            b.pixels * 100 < area * 45)
            continue;
        // A bar: its top and bottom rows are solid (glyphs that touch never are).
        auto solidRow = [&](int y) {
            int own = 0;
            for (int x = b.left; x <= b.right; ++x)
                own += labels[size_t(y) * img.width() + x] == int(i);
            return own * 10 >= bw * 8;
        };
        if (!solidRow(b.top) || !solidRow(b.bottom))
            continue;
        const std::vector<uint8_t> enclosed = enclosedBy(labels, img.width(), b, int(i));
        const auto holes = std::count(enclosed.cbegin(), enclosed.cend(), uint8_t(1));
        if (holes * 10 < area)
            continue;
        for (int y = 0; y < bh; ++y) {
            uchar* row = img.scanLine(b.top + y);
            for (int x = 0; x < bw; ++x) {
                const bool own = labels[size_t(b.top + y) * img.width() + b.left + x] == int(i);
                if (own || enclosed[size_t(y) * bw + x])
                    row[b.left + x] = uchar(255 - row[b.left + x]);
            }
        }
        ++inverted;
    }
    return inverted;
}

double scaleFor(double glyphHeight, double pixels) {
    if (glyphHeight <= 0)
        return 1;
    double scale = targetGlyphHeight / glyphHeight;
    if (pixels > 0 && pixels * scale * scale > pageBudget)
        scale = std::max(smallestGlyphHeight / glyphHeight, std::sqrt(pageBudget / pixels));
    return std::clamp(scale, 1.0, maximumScale);
}

QRect mapToPage(const Prepared& p, const QRect& box) {
    return QRect(int(box.left() * p.scale) + p.border, int(box.top() * p.scale) + p.border,
                 std::max(1, int(box.width() * p.scale)), std::max(1, int(box.height() * p.scale)));
}

namespace {

QRect barsAround(const QImage& image, QRect area) {
    const int middle = area.center().y();
    auto like = [&](int y) {
        int difference = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            difference += std::abs(qGray(image.pixel(x, y)) - qGray(image.pixel(x, middle)));
        return difference <= 24 * area.width();
    };
    while (area.top() > 0 && like(area.top() - 1))
        area.setTop(area.top() - 1);
    while (area.bottom() < image.height() - 1 && like(area.bottom() + 1))
        area.setBottom(area.bottom() + 1);
    return area;
}

} // namespace

QImage withoutAreas(const QImage& image, const QList<QRect>& areas) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (QRect area : areas) {
        area &= out.rect();
        if (area.isEmpty())
            continue;
        // A linear code is found along one scan line: its bars reach up and down as far
        // as the rows look like that line.
        if (area.width() > 4 * area.height())
            area = barsAround(out, area);
        // Codes keep a quiet zone of a few modules around them; take it in.
        const int margin = std::max(4, std::min(area.width(), area.height()) / 8);
        const QRect cover = area.adjusted(-margin, -margin, margin, margin) & out.rect();
        if (cover.isEmpty())
            continue;
        // The colour just outside, by the median of its luma.
        std::vector<QRgb> ring;
        const QRect outside = cover.adjusted(-2, -2, 2, 2) & out.rect();
        for (int x = outside.left(); x <= outside.right(); ++x) {
            ring.push_back(out.pixel(x, outside.top()));
            ring.push_back(out.pixel(x, outside.bottom()));
        }
        for (int y = outside.top(); y <= outside.bottom(); ++y) {
            ring.push_back(out.pixel(outside.left(), y));
            ring.push_back(out.pixel(outside.right(), y));
        }
        std::nth_element(ring.begin(), ring.begin() + ptrdiff_t(ring.size() / 2), ring.end(),
                         [](QRgb a, QRgb b) { return qGray(a) < qGray(b); });
        const QRgb fill = ring[ring.size() / 2];
        for (int y = cover.top(); y <= cover.bottom(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
            std::fill(row + cover.left(), row + cover.right() + 1, fill);
        }
    }
    return out;
}

Prepared prepare(const QImage& image) {
    Prepared p;
    QList<QRect> backgrounds;
    const QImage grey = toGrey(image);
    QImage normalised = normalise(grey, &backgrounds);
    p.metrics = measure(normalised);
    // Whole frames first (a button's outline with its rounded corners); then what is left
    // of pale grid lines and of frames that touch text.
    const int bands = invertBands(normalised, p.metrics.glyphHeight);
    const int frames = bands + removeFrames(normalised, p.metrics.glyphHeight) +
                       removeControls(normalised, grey, backgrounds, p.metrics.glyphHeight) +
                       removeCheckBoxes(normalised, grey, p.metrics.glyphHeight);
    if (frames + RuleLines::erase(normalised, p.metrics.glyphHeight) > 0)
        p.metrics = measure(normalised);
    // Rows, buttons and inline highlights are backgrounds too, but only a line or two tall.
    const double panelSide = 6 * p.metrics.glyphHeight;
    for (const QRect& b : backgrounds) {
        if (b.width() >= panelSide && b.height() >= panelSide)
            p.panels.append(b);
    }
    p.scale = scaleFor(p.metrics.glyphHeight, double(normalised.width()) * normalised.height());
    QImage scaled = normalised;
    if (p.scale > 1.05) {
        const int w = int(std::lround(normalised.width() * p.scale));
        const int h = int(std::lround(normalised.height() * p.scale));
        scaled = normalised.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_Grayscale8);
    } else {
        p.scale = 1;
    }
    // A quiet margin: glyphs touching the edge are otherwise often dropped.
    p.border = std::max(10, int(p.metrics.glyphHeight * p.scale * 0.6));
    p.image = QImage(scaled.width() + 2 * p.border, scaled.height() + 2 * p.border,
                     QImage::Format_Grayscale8);
    p.image.fill(255);
    for (int y = 0; y < scaled.height(); ++y)
        std::copy_n(scaled.constScanLine(y), scaled.width(),
                    p.image.scanLine(y + p.border) + p.border);
    return p;
}

} // namespace ScreenTextPreprocessor
