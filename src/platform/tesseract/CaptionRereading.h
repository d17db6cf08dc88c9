#pragma once

#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TextLayout.h"

#include <QImage>
#include <QList>
#include <QRect>

class TesseractEnginePool;

// A window's title bar keeps the desktop's small type when the window's contents are
// scaled up, and a page is enlarged for the size of its contents: the caption on top is
// left too small to read, or is read as junk beside the buttons. The first band of ink of
// the page, when it is a single short row of small type, is read again enlarged as one
// line, with the desktop's models and, where Cyrillic ones doubt it, English alone (a file
// name in the title of a Russian window). The reading replaces what the page's reading made of the
// band where it is surer.
class CaptionRereading {
public:
    CaptionRereading(TesseractEnginePool& pool, const RecognitionLanguages::Choice& languages);

    // `glyphPixels`: the height of the page's glyphs on `page`.
    void apply(const QImage& page, double glyphPixels, QList<TextLayout::Line>& lines) const;

    // The rows of the page's first band of ink (up to the first blank rows), or a null
    // rectangle when the page starts with no such band. Full page width.
    static QRect topBand(const QImage& page);

    // The part of `band` that holds the caption: without the window's icon and buttons; a
    // null rectangle when nothing in the band stands centred like a caption.
    static QRect captionIn(const QImage& page, const QRect& band);

private:
    static void replace(QList<TextLayout::Line>& lines, const QRect& band, const QRect& caption,
                        TextLayout::Line reading);
    TextLayout::Line read(const QImage& page, const QRect& band, double factor,
                          const QString& model) const;

    TesseractEnginePool& m_pool;
    const RecognitionLanguages::Choice& m_languages;
};
