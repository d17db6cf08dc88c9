#pragma once

#include <QList>
#include <QRect>

// Whether the text of a crop runs in rows or in columns (vertical CJK), from how the ink
// lines up. The shape of the block says nothing: a short menu is as narrow and tall as a
// column of vertical text. What differs is which neighbours stand closest: characters of
// one line are nearer to each other than to the next line, in either direction.
namespace TextOrientation {

enum class Orientation { Horizontal, Vertical, Undecided };

struct Evidence {
    int rowPairs = 0;    // full-size characters side by side, tops and bottoms level
    int columnPairs = 0; // full-size characters one above the other, edges level
    double rowGap = 0;   // median gap of those pairs, in glyph heights
    double columnGap = 0;
    int latinPairs = 0; // small glyphs side by side on one baseline: horizontal words
};

// `components`: boxes of the ink components; `glyphHeight`: the typical glyph height.
Evidence gather(const QList<QRect>& components, double glyphHeight);
Orientation decide(const Evidence& evidence);

} // namespace TextOrientation
