#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// Code and terminals set every character in a cell of one width, and a run of underscores
// there is one stroke along the bottom of the line ("__restrict", "__attribute__"). The
// recogniser often reads fewer underscores than the stroke spans. How far the stroke runs on
// the page says how many there are.
namespace UnderscoreRuns {

// The width of a character cell when the words of a line (their boxes and texts) are set in
// one: the median width per character of the longer words, when most of them agree. 0 for
// proportional type. `pageCell`, the cell of the lines above (0 for none), holds for a line
// that does not contradict it.
double monospaceCell(const QList<QRect>& boxes, const QStringList& texts, double pageCell = 0);

struct Word {
    QString text;
    QRect box;
};

// Blank pixels between a word and its neighbours on the line.
struct Room {
    int before, after;
};

// `text` with the runs of underscores at its start and end (after or before a bracket or
// a sign or two) as long as their strokes under `box` on `page` (dark ink on white) are, in
// cells of `cell` pixels; the box takes in the whole stroke. A run is never made shorter.
Word recount(const QImage& page, const QRect& box, const QString& text, double cell,
             const Room& room);

} // namespace UnderscoreRuns
