#pragma once

#include "platform/tesseract/TextOrientation.h"

#include <QImage>
#include <QList>
#include <QRect>

// Turns a screen crop into what Tesseract reads best: dark text on a white page at full
// contrast (each region's polarity and contrast fixed on its own), text upscaled to a
// comfortable size, and a quiet border. Pure functions on images.
namespace ScreenTextPreprocessor {

// Height in pixels that the typical glyph part is brought to.
inline constexpr double targetGlyphHeight = 20.0;
inline constexpr double maximumScale = 4.0;

struct InkMetrics {
    bool hasInk = false;
    double glyphHeight = 0; // typical connected-component height
    // Rows, or columns of vertical CJK text.
    TextOrientation::Orientation orientation = TextOrientation::Orientation::Horizontal;
    QList<QRect> glyphs; // boxes of the components that look like glyph parts
};

struct Prepared {
    QImage image; // Format_Grayscale8, dark on white
    double scale = 1;
    int border = 0;
    InkMetrics metrics;
    // Panels of the original crop (a sidebar, a page, a window around them): solid
    // backgrounds several lines tall and wide. Once normalised they all look alike, and
    // the recogniser would read a sidebar item and the prose beside it as one line.
    QList<QRect> panels;
};

// Where `box` of the original image lies on the prepared page.
QRect mapToPage(const Prepared& prepared, const QRect& box);

// Luma, 8 bits.
QImage toGrey(const QImage& image);
// Dark-on-light at full contrast, decided per neighbourhood so that a crop mixing dark
// and light panels comes out uniform. Flat areas become white.
// `backgrounds`, when given, receives the bounding box of every solid background area.
QImage normalise(const QImage& grey, QList<QRect>* backgrounds = nullptr);
// Measures the ink of a normalised image.
InkMetrics measure(const QImage& normalised);
// Erases rules, grid lines and frames (button outlines, table grids): components far
// larger than a glyph that are thin or hollow; and filled blobs the size of a glyph or
// more (icons, check boxes, bullets). Returns how many were erased.
int removeFrames(QImage& normalised, double glyphHeight);
// Controls drawn as a small surface of their own (a check box, a radio button, a window's
// close button): a background of `backgrounds` about a glyph's size, in a shade of `grey`
// (the crop before normalising) apart from what surrounds it and holding one mark or none,
// is erased with its rim. Returns how many were.
int removeControls(QImage& normalised, const QImage& grey, const QList<QRect>& backgrounds,
                   double glyphHeight);
// Light text on a coloured band too small to be found as a background (a text selection,
// a badge) comes out as light letters cut into a black bar: each such bar, dense and
// holding letters, is turned dark on light. Returns how many were.
int invertBands(QImage& normalised, double glyphHeight);
// A check box: a square outline about a glyph's size with straight sides, filled with a
// shade of `grey` apart from the surface around it, is erased with its tick. Returns how
// many were.
int removeCheckBoxes(QImage& normalised, const QImage& grey, double glyphHeight);
// Scale factor that brings `glyphHeight` to the target size; never shrinks. A crop of
// `pixels` that would grow past `pageBudget` is enlarged less, down to what brings the
// glyphs to `smallestGlyphHeight`: the recogniser's time grows with the page, while
// its reading gains little from the last steps on a page full of text.
inline constexpr double smallestGlyphHeight = 15.0;
inline constexpr double pageBudget = 1.5e6;
double scaleFor(double glyphHeight, double pixels = 0);
// The image with each of `areas` (decoded codes), and a quiet zone around it, painted over
// in the colour around it.
QImage withoutAreas(const QImage& image, const QList<QRect>& areas);
// Everything above, plus upscaling and the border.
Prepared prepare(const QImage& image);

} // namespace ScreenTextPreprocessor
