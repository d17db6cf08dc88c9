#pragma once

#include <QImage>
#include <QRect>

// What the ink of a line says about its script, before any model reads it. Han, kana and
// Hangul characters each fill a square cell about as tall as the line, built of several
// strokes; Latin, Cyrillic and Greek letters are narrower, and most are the lower x-height
// tall. A Latin model reads a line of ideographs as confident junk, so the shapes decide
// which models are worth a try.
namespace ScriptShapes {

// Of the character cells of the line `box` on `page` (dark on white, Grayscale8), the
// share that look like ideographs or Hangul syllables: square, line-tall and crossed by
// several strokes. Kana, simple Hangul and characters whose parts stand apart are missed,
// and two letters set close may pass for one: a line of CJK text scores about 0.1-0.6, one
// of an alphabet mostly 0 and now and then 0.1, so a page is judged by all its lines.
double ideographShare(const QImage& page, const QRect& box);

} // namespace ScriptShapes
