#include "platform/tesseract/IdeographWords.h"

#include "platform/tesseract/ScriptShapes.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TesseractLines.h"

#include <tesseract/baseapi.h>

#include <QHash>

#include <algorithm>

namespace {

// Of a run's character cells, the share shaped like ideographs above which the run is
// CJK text whatever a Latin model made of it (an alphabet's words stay near 0, see
// ScriptShapes).
constexpr double ideographicRun = 0.3;
// A Latin model reading Latin is rarely this doubtful.
constexpr float doubted = 60;

bool isIdeographicModel(const QString& model) {
    return model == u"jpn" || model == u"kor" || model.startsWith(u"chi_");
}

bool hasCjk(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30ff) || (u >= 0x3400 && u <= 0x9fff) ||
            (u >= 0xac00 && u <= 0xd7af) || (u >= 0xf900 && u <= 0xfaff) ||
            (u >= 0x1100 && u <= 0x11ff) || (u >= 0x3130 && u <= 0x318f))
            return true;
    }
    return false;
}

// The CJK model that read most words of the page; empty where none did.
QString pageModel(const QList<TextLayout::Line>& lines) {
    QHash<QString, int> counts;
    QString best;
    for (const TextLayout::Line& line : lines)
        for (const TextLayout::Word& w : line.words)
            if (isIdeographicModel(w.model) && ++counts[w.model] > counts.value(best))
                best = w.model;
    return best;
}

struct Run {
    int line = 0;
    qsizetype first = 0; // word index
    qsizetype count = 0;
    QRect box;
    double confidence = 0;
};

// Where each word's text lies in the line's text: [start, end) per word. The recogniser
// joins CJK words without a space and others with one; empty where the words do not
// spell the text.
QList<QPair<qsizetype, qsizetype>> spans(const QString& text,
                                         const QList<TextLayout::Word>& words) {
    QList<QPair<qsizetype, qsizetype>> out;
    qsizetype at = 0;
    for (const TextLayout::Word& w : words) {
        while (at < text.size() && text[at] == u' ')
            ++at;
        if (w.text.isEmpty() || text.mid(at, w.text.size()) != w.text)
            return {};
        out.append({at, at + w.text.size()});
        at += w.text.size();
    }
    return out;
}

// A word's box as tall as its line: the shapes are judged on whole character cells.
QRect lineTall(const QRect& word, const QRect& line) {
    return QRect(word.left(), line.top(), word.width(), line.height());
}

// Whether the word may be ideographs a Latin model misread: shaped so itself, or doubted
// (one ideograph or a kana is too little ink to judge alone). A Latin term in a CJK line
// ("element", "-R") is read with confidence by the English model and stays.
bool suspect(const QImage& page, const TextLayout::Word& word, const QRect& line) {
    return !isIdeographicModel(word.model) &&
           (word.confidence < doubted ||
            ScriptShapes::ideographShare(page, lineTall(word.box, line)) >= ideographicRun);
}

// Neighbouring words of a line that `belongs` picks, as runs. A wide gap parts a menu item
// from its shortcut: they are no run.
template <typename Belongs>
QList<Run> runsOf(const QList<TextLayout::Line>& lines, Belongs belongs) {
    QList<Run> runs;
    for (int i = 0; i < int(lines.size()); ++i) {
        const QList<TextLayout::Word>& words = lines[i].words;
        if (words.isEmpty() || spans(lines[i].text, words).isEmpty())
            continue;
        for (qsizetype k = 0; k < words.size(); ++k) {
            if (!belongs(words[k], lines[i].box))
                continue;
            const bool apart =
                k > 0 && words[k].box.left() - words[k - 1].box.right() > 3 * lines[i].box.height();
            if (runs.isEmpty() || runs.last().line != i ||
                runs.last().first + runs.last().count != k || apart)
                runs.append({i, k, 0, {}, 0});
            Run& run = runs.last();
            const QRect box = lineTall(words[k].box, lines[i].box);
            ++run.count;
            run.box = run.box.united(box);
            run.confidence += double(words[k].confidence) * box.width();
        }
    }
    for (Run& run : runs)
        run.confidence /= std::max(1, run.box.width());
    return runs;
}

// Runs of such words whose ink, over the run, is shaped like ideographs or Hangul.
QList<Run> latinRuns(const QImage& page, const QList<TextLayout::Line>& lines) {
    QList<Run> runs = runsOf(lines, [&](const TextLayout::Word& word, const QRect& line) {
        return suspect(page, word, line);
    });
    runs.removeIf([&](const Run& run) {
        return ScriptShapes::ideographShare(page, run.box) < ideographicRun;
    });
    return runs;
}

void replace(TextLayout::Line& line, const Run& run, const TextLayout::Line& reading) {
    const QList<QPair<qsizetype, qsizetype>> at = spans(line.text, line.words);
    if (at.isEmpty())
        return;
    const qsizetype from = at[run.first].first;
    const qsizetype to = at[run.first + run.count - 1].second;
    line.text = line.text.left(from) + reading.text + line.text.mid(to);
    QList<TextLayout::Word> words = reading.words;
    if (words.isEmpty() || spans(reading.text, words).isEmpty())
        words = {
            TextLayout::Word{run.box, reading.models.value(0), reading.confidence, reading.text}};
    line.words.remove(run.first, run.count);
    for (qsizetype k = words.size() - 1; k >= 0; --k)
        line.words.insert(run.first, words[k]);
    double weighted = 0;
    double width = 0;
    for (const TextLayout::Word& w : line.words) {
        weighted += double(w.confidence) * w.box.width();
        width += w.box.width();
    }
    line.confidence = width > 0 ? float(weighted / width) : line.confidence;
    for (const QString& model : reading.models)
        if (!line.models.contains(model))
            line.models.append(model);
}

// Whether the CJK model read this word as digits and signs where the ink is no Hangul or
// ideographs: Latin letters beside Korean come out so ("SSH" as "5511"). A real number
// reads the same with English alone, so it may stay or be replaced by itself.
bool latinMisread(const QImage& page, const TextLayout::Word& word, const QRect& line) {
    if (!isIdeographicModel(word.model) || word.text.isEmpty() || hasCjk(word.text))
        return false;
    bool digitOrSign = false;
    for (const QChar c : word.text)
        digitOrSign = digitOrSign || c.isDigit() || (!c.isLetter() && !c.isSpace());
    return digitOrSign &&
           ScriptShapes::ideographShare(page, lineTall(word.box, line)) < ideographicRun / 2;
}

// Runs of words the CJK model misread as digits and signs where the ink is Latin.
QList<Run> misreadLatinRuns(const QImage& page, const QList<TextLayout::Line>& lines) {
    return runsOf(lines, [&](const TextLayout::Word& word, const QRect& line) {
        return latinMisread(page, word, line);
    });
}

bool hasLatinLetter(const QString& text) {
    for (const QChar c : text)
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            return true;
    return false;
}

bool readByAlone(const TextLayout::Line& reading, const QString& model) {
    return std::all_of(reading.models.cbegin(), reading.models.cend(),
                       [&](const QString& m) { return m == model; });
}

// `boxes` of `page` as `model` alone reads them; empty when it cannot be loaded. The page's
// own engine, which `model` leads, reads them first: loading a CJK model a second time
// costs more than reading the whole page. From the first box where another model of that
// engine took a word, an engine of `model` alone reads the rest.
QList<TextLayout::Line> readAlone(TesseractEnginePool& pool, const QString& model,
                                  const QImage& page, const QList<QRect>& boxes) {
    QList<TextLayout::Line> readings;
    if (TesseractEnginePool::Lease led = pool.acquireLedBy(model)) {
        for (const QRect& box : boxes) {
            const TextLayout::Line reading = TesseractLines::readEach(*led, page, {box}).value(0);
            if (!readByAlone(reading, model))
                break;
            readings.append(reading);
        }
    }
    if (readings.size() == boxes.size())
        return readings;
    TesseractEnginePool::Lease engine = pool.acquire(model);
    if (!engine)
        return {};
    return readings + TesseractLines::readEach(*engine, page, boxes.mid(readings.size()));
}

// Reads `runs` again with `model` alone; a reading replaces its run where `wanted` holds
// and the model is surer of it.
void reread(TesseractEnginePool& pool, const QString& model, const QImage& page,
            const QList<Run>& runs, QList<TextLayout::Line>& lines,
            bool (*wanted)(const QString&)) {
    if (runs.isEmpty())
        return;
    QList<QRect> boxes;
    for (const Run& run : runs)
        boxes.append(run.box);
    const QList<TextLayout::Line> readings = readAlone(pool, model, page, boxes);
    if (readings.isEmpty())
        return;
    // Last run first: replacing a run changes the word indices after it in its line.
    for (qsizetype r = runs.size() - 1; r >= 0; --r) {
        const TextLayout::Line& reading = readings[r];
        if (wanted(reading.text) && reading.confidence > runs[r].confidence)
            replace(lines[runs[r].line], runs[r], reading);
    }
}

} // namespace

IdeographWords::IdeographWords(TesseractEnginePool& pool) : m_pool(pool) {}

void IdeographWords::repair(const QImage& page, QList<TextLayout::Line>& lines) const {
    const QString model = pageModel(lines);
    if (model.isEmpty())
        return;
    reread(m_pool, model, page, latinRuns(page, lines), lines, hasCjk);
    // Korean sets spaces between its words, so a Latin word stands in a word box of its
    // own; Chinese and Japanese runs do not part so cleanly and their readings came out worse.
    if (model == u"kor")
        reread(m_pool, QStringLiteral("eng"), page, misreadLatinRuns(page, lines), lines,
               hasLatinLetter);
}
