#pragma once

#include "platform/tesseract/TextLayout.h"

#include <QImage>
#include <QList>

// A tall page of many lines is read in two bands, one per engine on two cores. Where the
// page is cut depends on the page alone, never on how many engines are free: a capture
// and the same image read again must give the same text.
namespace PageBands {

// The empty row lane nearest the middle, when the page holds enough lines to be worth
// cutting; -1 otherwise.
int cut(const QImage& page);

// Appends the lower band's lines (in its own coordinates) below the upper ones. A lower
// block whose first line continues an upper block (same column, close below the cut) takes
// that block's number.
void join(QList<TextLayout::Line>& upper, QList<TextLayout::Line> lower, int cut);

} // namespace PageBands
