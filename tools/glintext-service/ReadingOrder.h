#pragma once

#include <QImage>
#include <QList>
#include <QRect>

// Where the columns of a page are, so that each is read whole before the next. Tesseract's
// own layout analysis keeps columns apart on a full page but joins them line by line on a
// crop of a few lines; this finds them from the ink alone.
//
// The page is cut into blocks: a stretch of text rows crossed by a gutter (a blank band from
// the top of the stretch to its bottom, wide against the text's height) whose sides are
// prose (lines that mostly fill their column; tables and label-value pairs are not columns)
// becomes its columns, left to right; what is above and below such a stretch is cut the same
// way, top to bottom. A page without columns is one block.
namespace ReadingOrder {

struct Block {
    QRect rect;
    // A column of prose, to be read as one block of text: left to itself, a reader may take
    // words that line up down the column for a gutter.
    bool column = false;
};

// The blocks of `grey` (dark ink on light ground, 8-bit grey) in reading order; empty when
// it holds no ink.
QList<Block> blocks(const QImage& grey);

} // namespace ReadingOrder
