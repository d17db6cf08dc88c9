#pragma once

#include "platform/tesseract/TextLayout.h"

#include <QImage>
#include <QList>
#include <QRect>

#include <tesseract/publictypes.h>

namespace tesseract {
class TessBaseAPI;
}

// What one engine reads on a prepared page (dark on white, Grayscale8): the recogniser's
// lines with their boxes in page coordinates, blocks, confidences and the models that read
// their words. `panels` (page coordinates) cut a line where its words stand on different
// backgrounds.
namespace TesseractLines {

bool readPage(tesseract::TessBaseAPI& engine, const QImage& page, tesseract::PageSegMode mode,
              const QList<QRect>& panels, QList<TextLayout::Line>* lines);

// Each region as one block on a quiet margin of its own, its lines marked as running text.
bool readRegions(tesseract::TessBaseAPI& engine, const QImage& page, int margin,
                 const QList<QRect>& regions, const QList<QRect>& panels,
                 QList<TextLayout::Line>* lines);

// Each of `boxes` read as a single line on a quiet margin of its own. A box where nothing was read
// gives a line with empty text and confidence 0; the result has one line per box, in order.
QList<TextLayout::Line> readEach(tesseract::TessBaseAPI& engine, const QImage& page,
                                 const QList<QRect>& boxes);

} // namespace TesseractLines
