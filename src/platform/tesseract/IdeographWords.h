#pragma once

#include "platform/tesseract/TextLayout.h"

#include <QImage>
#include <QList>

class TesseractEnginePool;

// A CJK model and English read a page together word by word, and the English model now
// and then wins a run of ideographs with Latin junk ("覆盖部件的高度请求，" as "RSME
// BEER,", a whole bold line as "RHI Tithelenent"): a run of ideographs has no spaces, so
// the English model gets a long word to make something of. Where the ink of a run of words
// the English model read is shaped like ideographs or Hangul, the page's CJK model reads
// it again alone, and its reading stays where it is surer. The other way round, the Korean
// model reads Latin words beside Korean as digits and signs ("SSH" as "5511"): where such a
// word's ink is no Hangul, English reads it again alone and wins where it is surer.
class IdeographWords {
public:
    explicit IdeographWords(TesseractEnginePool& pool);

    // `lines` as read on `page`; lines without their words are left as they are.
    void repair(const QImage& page, QList<TextLayout::Line>& lines) const;

private:
    TesseractEnginePool& m_pool;
};
