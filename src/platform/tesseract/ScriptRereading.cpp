#include "platform/tesseract/ScriptRereading.h"

#include "platform/tesseract/ScriptShapes.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractLines.h"

#include <tesseract/baseapi.h>

namespace {

// Of a page's character cells, the share shaped like ideographs or Hangul above which the
// page is CJK text (alphabets stay under 0.04, CJK pages with Latin names in them over 0.08).
constexpr double ideographicPage = 0.06;
// On such a page, the lines to read again: those with some such cells, or doubted.
constexpr double ideographicLine = 0.1;
constexpr float doubtedOnIdeographicPage = 85;
// A desktop model reading its own script is rarely this doubtful; reading another alphabet
// it comes out at 0-70.
constexpr float doubtedAlphabetic = 60;
// Lines of a desktop model reading its own script mostly come out above this.
constexpr float fairlySure = 75;
// Of a page's character cells, the share shaped like ideographs from which the ideographic
// models are tried first.
constexpr double someIdeographs = 0.03;
// Once another alphabet has read the doubtful lines better, the rest of the page below
// this is tried with it too.
constexpr float unsure = 90;
// A model this sure of the doubtful lines is taken without trying the rest.
constexpr double surely = 88;
// How much surer another script's model must be, over the same lines, to be taken.
constexpr double clearlyBetter = 10;

bool hasIdeographicModel(const QString& models) {
    for (const QString& model : models.split(u'+'))
        if (model == u"jpn" || model == u"kor" || model.startsWith(u"chi_"))
            return true;
    return false;
}

// Confidence over the lines `which`, weighted by their widths: the boxes are the same for
// every reading, the number of characters each model makes of them is not.
double confidenceOver(const QList<TextLayout::Line>& lines, const QList<int>& which) {
    double weighted = 0;
    double width = 0;
    for (int i : which) {
        weighted += double(lines[i].confidence) * lines[i].box.width();
        width += lines[i].box.width();
    }
    return width > 0 ? weighted / width : 0;
}

int letters(const QString& text) {
    int count = 0;
    for (const QChar c : text)
        count += c.isLetter();
    return count;
}

} // namespace

ScriptRereading::ScriptRereading(TesseractEnginePool& pool,
                                 const RecognitionLanguages::Choice& languages)
    : m_pool(pool), m_languages(languages) {}

QString ScriptRereading::withEnglish(const QString& model) const {
    return m_languages.englishInstalled ? model + QStringLiteral("+eng") : model;
}

void ScriptRereading::apply(const QImage& page, QList<TextLayout::Line>& lines) const {
    const bool desktopReadsThem = hasIdeographicModel(m_languages.horizontal);
    QList<double> shares;
    double shaped = 0;
    double width = 0;
    int withText = 0;
    int evidence = 0;
    for (const TextLayout::Line& line : lines) {
        shares.append(line.text.isEmpty() ? 0 : ScriptShapes::ideographShare(page, line.box));
        shaped += shares.back() * line.box.width();
        width += line.text.isEmpty() ? 0 : line.box.width();
        withText += !line.text.isEmpty();
        // Small Latin letters set close touch, and a pair can pass for an ideograph; a line
        // an alphabet's model reads with confidence is no evidence of CJK.
        evidence += shares.back() >= ideographicLine &&
                    (desktopReadsThem || line.confidence < doubtedOnIdeographicPage);
    }
    // A title bar's icons and a check mark look like ideographs too: a page of CJK text
    // needs such lines to be a third of its lines.
    if (width > 0 && shaped / width >= ideographicPage && evidence * 3 >= withText) {
        QList<int> doubtful;
        int read = 0;
        for (int i = 0; i < int(lines.size()); ++i) {
            if (lines[i].text.isEmpty())
                continue;
            ++read;
            if (desktopReadsThem ? lines[i].confidence < doubtedAlphabetic
                                 : lines[i].confidence < doubtedOnIdeographicPage ||
                                       shares[i] >= ideographicLine)
                doubtful.append(i);
        }
        // A desktop CJK model reading its own text doubts a line here and there; each other
        // CJK model costs a load and a reading, worth it only where a third of the page is
        // in doubt (Chinese on a Japanese desktop).
        if (!desktopReadsThem || doubtful.size() * 3 >= read) {
            QStringList models;
            for (const QString& model : m_languages.ideographic)
                models.append(withEnglish(model));
            tryModels(page, lines, doubtful, models, clearlyBetter);
        }
        return;
    }
    rereadAlphabetic(page, lines, width > 0 && shaped / width >= someIdeographs);
}

// Another script is tried where more than half of the lines with letters came out
// doubtful, or more than half of their width unsure: a page of the desktop's own script
// has a doubtful line here and there (a title bar's buttons or an icon read as letters,
// two of a small dialog's five lines), one in another script has little else. Cyrillic
// read by a Latin model comes out as fairly confident homoglyphs ("Akwo y uiei rpynu"),
// small ideographs as doubtful junk whose shapes the ink test misses; the ideographic
// models go first where some of the ink looks like ideographs.
void ScriptRereading::rereadAlphabetic(const QImage& page, QList<TextLayout::Line>& lines,
                                       bool ideographsFirst) const {
    QList<int> doubtful;
    QList<int> rest;
    int lettered = 0;
    double letteredWidth = 0;
    double unsureWidth = 0;
    for (int i = 0; i < int(lines.size()); ++i) {
        const int count = letters(lines[i].text);
        lettered += count > 0;
        letteredWidth += count > 0 ? lines[i].box.width() : 0;
        unsureWidth += count >= 3 && lines[i].confidence < fairlySure ? lines[i].box.width() : 0;
        if (count >= 3 && lines[i].confidence < doubtedAlphabetic)
            doubtful.append(i);
        else if (count > 0 && lines[i].confidence < unsure)
            rest.append(i);
    }
    if (doubtful.isEmpty() || (doubtful.size() * 2 <= lettered && unsureWidth * 2 <= letteredWidth))
        return;
    QStringList models;
    for (const QString& model : m_languages.alphabetic)
        models.append(withEnglish(model));
    QStringList ideographic;
    if (!hasIdeographicModel(m_languages.horizontal))
        for (const QString& model : m_languages.ideographic)
            ideographic.append(withEnglish(model));
    models = ideographsFirst ? ideographic + models : models + ideographic;
    const QString model = tryModels(page, lines, doubtful, models, clearlyBetter);
    // Lines the desktop's model was fairly sure of: an English name on a Russian page reads
    // as confident Cyrillic junk too ("Bytes del" as "Вуез де!"), so only a clearly surer
    // reading replaces one.
    if (!model.isEmpty() && !rest.isEmpty())
        tryModels(page, lines, rest, {model}, 0, clearlyBetter);
}

// One model for all the doubtful lines of a page: a crop is nearly always in one
// language, and a single line's confidence is a poor judge between Han models. The model
// must beat the lines' confidence by `margin` over all of them, and each line's by
// `lineMargin` to replace it. Returns the model taken, if any.
QString ScriptRereading::tryModels(const QImage& page, QList<TextLayout::Line>& lines,
                                   const QList<int>& doubtful, const QStringList& models,
                                   double margin, double lineMargin) const {
    if (doubtful.isEmpty())
        return {};
    QList<QRect> boxes;
    QList<int> all;
    for (int i : doubtful) {
        all.append(int(boxes.size()));
        boxes.append(lines[i].box);
    }
    double best = confidenceOver(lines, doubtful) + margin;
    QString bestModel;
    QList<TextLayout::Line> bestReading;
    for (const QString& model : models) {
        TesseractEnginePool::Lease engine = m_pool.acquire(model);
        if (!engine)
            continue;
        QList<TextLayout::Line> reading = TesseractLines::readEach(*engine, page, boxes);
        const double confidence = confidenceOver(reading, all);
        if (confidence > best) {
            best = confidence;
            bestModel = model;
            bestReading = std::move(reading);
        }
        if (confidence >= surely)
            break;
    }
    for (int k = 0; k < int(bestReading.size()); ++k) {
        TextLayout::Line& line = lines[doubtful[k]];
        const TextLayout::Line& other = bestReading[k];
        if (!other.text.isEmpty() && other.confidence > line.confidence + lineMargin) {
            line.text = other.text;
            line.confidence = other.confidence;
            line.models = other.models;
        }
    }
    return bestModel;
}
