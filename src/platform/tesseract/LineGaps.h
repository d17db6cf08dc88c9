#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QRect>

// Lines set close (CJK text at a line height of 1.1-1.3, where the glyphs fill the whole
// em) leave one or two empty rows between them; the recogniser's line finding joins such
// lines into one and reads it as junk. Widening those gaps before the page is read keeps
// them apart; the boxes read are mapped back to the page.
class LineGaps {
public:
    // `page` dark on white, Grayscale8, holding horizontal text.
    explicit LineGaps(const QImage& page);

    bool widened() const { return !m_inserted.isEmpty(); }
    // The page with its tight gaps widened (the page itself where none were).
    const QImage& image() const { return m_image; }
    QRect toWidened(const QRect& box) const;
    QRect toPage(const QRect& box) const;

private:
    int toWidenedRow(int y) const;
    int toPageRow(int y) const;

    QImage m_image;
    QList<QPair<int, int>> m_inserted; // row of the page before which, how many rows
};
