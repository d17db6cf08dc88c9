#pragma once

#include <QImage>
#include <QList>
#include <QRect>

// Whether a page holds columns of running text side by side (an article in two columns):
// an empty gutter many lines tall with dense lines of text on both sides. Only such pages
// need the recogniser's own page layout; everything else (menus, dialogs, tables, terminals,
// lists) is read as one block, whose rows stay rows.
namespace ProseColumns {

// `page`: dark ink on white (Grayscale8); `glyphHeight`: typical glyph height on it.
bool present(const QImage& page, double glyphHeight);
// The page cut along its gutters into regions to read one by one, in reading order: what
// spans the columns above them, the columns left to right, what spans them below. Empty
// when there are no columns.
QList<QRect> regions(const QImage& page, double glyphHeight);

} // namespace ProseColumns
