#include "platform/tesseract/TextLayout.h"

#include <QMap>

#include <algorithm>

namespace TextLayout {

namespace {

struct BlockShape {
    QRect box;
    int lines = 0;
    qsizetype characters = 0;
    qsizetype words = 0;
};

bool isProse(const BlockShape& b) {
    // Running text: several lines, long ones, many words each.
    return b.lines >= 2 && b.characters >= 20 * b.lines && b.words >= 4 * b.lines;
}

int verticalOverlap(const QRect& a, const QRect& b) {
    return std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1;
}

} // namespace

bool hasProseColumns(const QList<Line>& lines) {
    QMap<int, BlockShape> blocks;
    for (const Line& line : lines) {
        BlockShape& b = blocks[line.block];
        b.box = b.box.isNull() ? line.box : b.box.united(line.box);
        ++b.lines;
        b.characters += line.text.size();
        b.words += line.text.split(u' ', Qt::SkipEmptyParts).size();
    }
    const QList<BlockShape> shapes = blocks.values();
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        for (qsizetype j = i + 1; j < shapes.size(); ++j) {
            const BlockShape& a = shapes[i];
            const BlockShape& b = shapes[j];
            if (!isProse(a) || !isProse(b))
                continue;
            const bool sideBySide = a.box.right() < b.box.left() || b.box.right() < a.box.left();
            const int overlap = verticalOverlap(a.box, b.box);
            if (sideBySide && overlap * 2 >= std::min(a.box.height(), b.box.height()))
                return true;
        }
    }
    return false;
}

QList<QList<Line>> rows(QList<Line> lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.box.center().y() < b.box.center().y();
    });
    QList<QList<Line>> result;
    QList<QRect> bands;
    for (const Line& line : lines) {
        qsizetype best = -1;
        int bestOverlap = 0;
        for (qsizetype i = 0; i < bands.size(); ++i) {
            const int overlap = verticalOverlap(bands[i], line.box);
            const int needed = std::min(bands[i].height(), line.box.height()) / 2;
            if (overlap > needed && overlap > bestOverlap) {
                best = i;
                bestOverlap = overlap;
            }
        }
        if (best < 0) {
            bands.append(line.box);
            result.append({line});
        } else {
            // The band keeps the height of its first line so that rows do not grow into
            // their neighbours.
            result[best].append(line);
        }
    }
    for (QList<Line>& row : result) {
        std::stable_sort(row.begin(), row.end(),
                         [](const Line& a, const Line& b) { return a.box.left() < b.box.left(); });
    }
    // Bands were created in order of their first line's centre.
    return result;
}

QList<QList<Line>> groups(const QList<Line>& lines) {
    // Blocks in the recogniser's order, with their shapes.
    QList<int> order;
    QMap<int, BlockShape> shapes;
    QMap<int, QList<Line>> members;
    for (const Line& line : lines) {
        if (!shapes.contains(line.block))
            order.append(line.block);
        BlockShape& b = shapes[line.block];
        b.box = b.box.isNull() ? line.box : b.box.united(line.box);
        ++b.lines;
        b.characters += line.text.size();
        b.words += line.text.split(u' ', Qt::SkipEmptyParts).size();
        members[line.block].append(line);
    }
    // Side-by-side blocks that are not running text and whose lines line up are the
    // columns of one grid (a table, a menu with its shortcuts): they are read together.
    QMap<int, int> parent;
    for (int b : order)
        parent[b] = b;
    auto find = [&parent](int b) {
        while (parent[b] != b)
            b = parent[b];
        return b;
    };
    // Of the lines of one block that stand level with the other block, how many line up
    // with one of its lines. Lines above or below the other block do not count: a menu's
    // items may come back in three blocks beside one block of shortcuts.
    auto levelLinesMatch = [&](int a, int b, int* matched) {
        int level = 0;
        for (const Line& l : members[a]) {
            const int centre = l.box.center().y();
            if (centre < shapes[b].box.top() || centre > shapes[b].box.bottom())
                continue;
            ++level;
            for (const Line& o : members[b]) {
                if (verticalOverlap(l.box, o.box) * 2 > std::min(l.box.height(), o.box.height())) {
                    ++*matched;
                    break;
                }
            }
        }
        return level;
    };
    auto aligned = [&](int a, int b) {
        int matchedA = 0, matchedB = 0;
        const int levelA = levelLinesMatch(a, b, &matchedA);
        const int levelB = levelLinesMatch(b, a, &matchedB);
        return matchedA + matchedB > 0 && matchedA * 2 >= levelA && matchedB * 2 >= levelB;
    };
    for (qsizetype i = 0; i < order.size(); ++i) {
        for (qsizetype j = i + 1; j < order.size(); ++j) {
            const int a = order[i];
            const int b = order[j];
            if (isProse(shapes[a]) || isProse(shapes[b]))
                continue;
            if (verticalOverlap(shapes[a].box, shapes[b].box) <= 0 || !aligned(a, b))
                continue;
            parent[find(b)] = find(a);
        }
    }
    QList<QList<Line>> merged;
    QList<QRect> boxes;
    QMap<int, qsizetype> indexOfRoot;
    for (int b : order) {
        const int root = find(b);
        if (!indexOfRoot.contains(root)) {
            indexOfRoot[root] = merged.size();
            merged.append(QList<Line>{});
            boxes.append(QRect());
        }
        const qsizetype i = indexOfRoot[root];
        merged[i].append(members[b]);
        boxes[i] = boxes[i].isNull() ? shapes[b].box : boxes[i].united(shapes[b].box);
    }
    // The recogniser sometimes files a first line as a block of its own after the rest.
    QList<QList<Line>> result;
    for (qsizetype i : readingOrder(boxes))
        result.append(merged[i]);
    return result;
}

QList<qsizetype> readingOrder(const QList<QRect>& boxes) {
    auto precedes = [&boxes](qsizetype a, qsizetype b) {
        const QRect& x = boxes[a];
        const QRect& y = boxes[b];
        const bool sideBySide =
            verticalOverlap(x, y) > 0 && (x.right() < y.left() || y.right() < x.left());
        return sideBySide ? x.right() < y.left() : x.bottom() < y.top();
    };
    QList<qsizetype> remaining;
    for (qsizetype i = 0; i < boxes.size(); ++i)
        remaining.append(i);
    QList<qsizetype> result;
    while (!remaining.isEmpty()) {
        // Of the boxes nothing else must come before, the highest.
        qsizetype chosen = -1;
        for (qsizetype c = 0; c < remaining.size(); ++c) {
            bool blocked = false;
            for (qsizetype o = 0; o < remaining.size() && !blocked; ++o)
                blocked = o != c && precedes(remaining[o], remaining[c]);
            if (!blocked &&
                (chosen < 0 || boxes[remaining[c]].top() < boxes[remaining[chosen]].top()))
                chosen = c;
        }
        if (chosen < 0)
            chosen = 0;
        result.append(remaining[chosen]);
        remaining.removeAt(chosen);
    }
    return result;
}

namespace {

bool horizontallyOverlap(const QRect& a, const QRect& b) {
    return std::min(a.right(), b.right()) >= std::max(a.left(), b.left());
}

// The stretches of a panel's lines that no other panel's text interrupts. A panel around
// another (a menu's background around a section a separator cut out, a window around a
// pane) is read above, then the inner panel, then below: not all its lines first.
QMap<int, QList<Line>> readingUnits(const QList<Line>& lines) {
    QMap<int, QList<Line>> byPanel;
    for (const Line& line : lines)
        byPanel[line.panel].append(line);
    QMap<int, QList<Line>> units;
    int unit = 0;
    for (QList<Line>& panel : byPanel) {
        std::stable_sort(panel.begin(), panel.end(), [](const Line& a, const Line& b) {
            return a.box.center().y() < b.box.center().y();
        });
        for (qsizetype i = 0; i < panel.size(); ++i) {
            if (i > 0) {
                const int from = panel[i - 1].box.center().y();
                const int to = panel[i].box.center().y();
                const bool interrupted =
                    std::any_of(lines.cbegin(), lines.cend(), [&](const Line& o) {
                        return o.panel != panel[i].panel && o.box.center().y() > from &&
                               o.box.center().y() < to &&
                               (horizontallyOverlap(o.box, panel[i].box) ||
                                horizontallyOverlap(o.box, panel[i - 1].box));
                    });
                unit += interrupted;
            }
            units[unit].append(panel[i]);
        }
        ++unit;
    }
    return units;
}

} // namespace

QString join(const QList<Line>& lines) {
    // Panels in reading order of the text on them (a window around a sidebar and a page
    // holds only its title, say); a sidebar is read whole before the page beside it.
    const QMap<int, QList<Line>> panels = readingUnits(lines);
    QMap<int, QRect> extents;
    for (auto it = panels.cbegin(); it != panels.cend(); ++it)
        for (const Line& line : it.value())
            extents[it.key()] = extents[it.key()].united(line.box);
    const QList<QList<Line>> panelLines = panels.values();
    QStringList out;
    for (qsizetype p : readingOrder(extents.values())) {
        for (const QList<Line>& group : groups(panelLines[p])) {
            for (const QList<Line>& row : rows(group)) {
                QStringList parts;
                for (const Line& line : row)
                    parts.append(line.text);
                out.append(parts.join(u' '));
            }
        }
    }
    return out.join(u'\n');
}

} // namespace TextLayout
