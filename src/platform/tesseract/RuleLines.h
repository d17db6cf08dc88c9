#pragma once

#include <QImage>

// Rules, grid lines, frames and underlines: straight strokes of ink, thin and many glyphs
// long. The recogniser reads a table's grid as "|" between the cells, drops the rows a
// frame crosses, and cuts the first letters of a caption that touches a frame line. No
// stroke of a letter is that long; so they go before reading, pale ones too (a light grey
// grid on white comes out mid-grey once the page is normalised).
namespace RuleLines {

// Paints the rules of a normalised page (dark on white, Grayscale8) white; returns the
// number of pixels erased.
int erase(QImage& page, double glyphHeight);

} // namespace RuleLines
