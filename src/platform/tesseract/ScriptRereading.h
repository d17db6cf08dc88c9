#pragma once

#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TextLayout.h"

#include <QImage>
#include <QList>
#include <QStringList>

class TesseractEnginePool;

// Lines the desktop's models misread because their script is none of theirs: a Korean
// menu on an English desktop, Russian on a German one. People copy such text every day.
// The ink says which lines are ideographs or Hangul; the recogniser's doubt says which
// other lines may be another alphabet. Those lines are read again with each installed
// model of the other scripts (English beside it, for the shortcuts and names in them), and
// the reading the recogniser is surest of over all of them stays.
class ScriptRereading {
public:
    ScriptRereading(TesseractEnginePool& pool, const RecognitionLanguages::Choice& languages);

    // Replaces the lines of `lines` (read on `page` with the desktop's models) that another
    // script's model reads with clearly more confidence.
    void apply(const QImage& page, QList<TextLayout::Line>& lines) const;

private:
    void rereadAlphabetic(const QImage& page, QList<TextLayout::Line>& lines,
                          bool ideographsFirst) const;
    QString tryModels(const QImage& page, QList<TextLayout::Line>& lines,
                      const QList<int>& doubtful, const QStringList& models, double margin,
                      double lineMargin = 0) const;
    QString withEnglish(const QString& model) const;

    TesseractEnginePool& m_pool;
    const RecognitionLanguages::Choice& m_languages;
};
