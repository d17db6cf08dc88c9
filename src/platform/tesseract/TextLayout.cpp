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
            if (isProse(shapes[a]) || isProse(shapes[b]) || members[a].first().prose ||
                members[b].first().prose)
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

namespace {

// Groups of `items` separated by gaps in their projection on one axis, in axis order.
QList<QList<qsizetype>> cutAt(const QList<QRect>& boxes, QList<qsizetype> items, bool across) {
    auto from = [&](qsizetype i) { return across ? boxes[i].left() : boxes[i].top(); };
    auto to = [&](qsizetype i) { return across ? boxes[i].right() : boxes[i].bottom(); };
    std::stable_sort(items.begin(), items.end(),
                     [&](qsizetype a, qsizetype b) { return from(a) < from(b); });
    QList<QList<qsizetype>> groups;
    int reach = 0;
    for (qsizetype i : items) {
        if (groups.isEmpty() || from(i) > reach)
            groups.append(QList<qsizetype>());
        groups.last().append(i);
        reach = groups.last().size() == 1 ? to(i) : std::max(reach, to(i));
    }
    return groups;
}

// Recursive cuts: columns (an empty gutter through the whole group) are read whole, left
// to right; otherwise bands top to bottom. Bands that are each cut by the same gutter (the
// paragraphs of two columns, whose gaps happen to line up) are one band: the columns
// stay whole across them.
void order(const QList<QRect>& boxes, const QList<qsizetype>& items, QList<qsizetype>& out) {
    if (items.size() <= 1) {
        out.append(items);
        return;
    }
    const QList<QList<qsizetype>> columns = cutAt(boxes, items, true);
    if (columns.size() > 1) {
        for (const QList<qsizetype>& column : columns)
            order(boxes, column, out);
        return;
    }
    const QList<QList<qsizetype>> bands = cutAt(boxes, items, false);
    if (bands.size() == 1) {
        // Overlapping boxes: top to bottom, then left to right.
        QList<qsizetype> sorted = items;
        std::stable_sort(sorted.begin(), sorted.end(), [&](qsizetype a, qsizetype b) {
            return boxes[a].top() != boxes[b].top() ? boxes[a].top() < boxes[b].top()
                                                    : boxes[a].left() < boxes[b].left();
        });
        out.append(sorted);
        return;
    }
    QList<qsizetype> merged;
    for (const QList<qsizetype>& band : bands) {
        const bool split = cutAt(boxes, band, true).size() > 1;
        if (!merged.isEmpty() && split && cutAt(boxes, merged + band, true).size() > 1 &&
            cutAt(boxes, merged, true).size() > 1) {
            merged += band;
            continue;
        }
        order(boxes, merged, out);
        merged = band;
    }
    order(boxes, merged, out);
}

} // namespace

QList<qsizetype> readingOrder(const QList<QRect>& boxes) {
    QList<qsizetype> items;
    for (qsizetype i = 0; i < boxes.size(); ++i)
        items.append(i);
    QList<qsizetype> result;
    order(boxes, items, result);
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
