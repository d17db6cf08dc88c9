#include "platform/tesseract/TesseractLines.h"

#include "platform/tesseract/LineGaps.h"
#include "platform/tesseract/SerialOpenMP.h"
#include "platform/tesseract/UnderscoreRuns.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace TesseractLines {

namespace {

// Upscaled glyphs (20 px capitals) are about 14 pt print at 150 dpi. Claiming a finer
// resolution makes the page layout take them for small print, and it files a column of
// digits or short fields as blocks of their own.
constexpr int pageResolution = 150;

// The recogniser never indents a line, but a word it dropped (an icon) can leave a space
// in front.
QString trimmedText(const char* utf8) {
    return QString::fromUtf8(utf8).trimmed();
}

QRect boxAt(const tesseract::ResultIterator& it, tesseract::PageIteratorLevel level) {
    int left = 0, top = 0, right = 0, bottom = 0;
    it.BoundingBox(level, &left, &top, &right, &bottom);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// The smallest panel holding the point; -1 for none.
int panelAt(const QList<QRect>& panels, QPoint point) {
    int best = -1;
    for (int i = 0; i < int(panels.size()); ++i) {
        if (panels[i].contains(point) &&
            (best < 0 || qint64(panels[i].width()) * panels[i].height() <
                             qint64(panels[best].width()) * panels[best].height()))
            best = i;
    }
    return best;
}

struct Word {
    QRect box;
    QString text;
    float confidence = 0;
    int panel = -1;
    QString model;
    int ink = 0; // dark pixels of the page in its box
};

int inkIn(const QImage& page, const QRect& box) {
    const QRect area = box & page.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* row = page.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            count += row[x] < 128;
    }
    return count;
}

void addModel(QStringList& models, const QString& model) {
    if (!model.isEmpty() && !models.contains(model))
        models.append(model);
}

TextLayout::Word layoutWord(const Word& w) {
    return {w.box, w.model, w.confidence, w.text};
}

// A line whose words stand on different panels is cut there: the pieces are separate
// lines of their panels.
void appendSplitByPanel(QList<TextLayout::Line>& lines, TextLayout::Line line, QList<Word> words) {
    for (qsizetype i = 0; i < words.size(); ++i) {
        // A word on no panel stays with its neighbour.
        if (words[i].panel < 0)
            words[i].panel = i > 0 ? words[i - 1].panel : -1;
    }
    for (qsizetype i = words.size() - 2; i >= 0; --i) {
        if (words[i].panel < 0)
            words[i].panel = words[i + 1].panel;
    }
    const bool onePanel = std::all_of(words.cbegin(), words.cend(), [&](const Word& w) {
        return w.panel == words.front().panel;
    });
    for (const Word& w : words) {
        addModel(line.models, w.model);
        line.words.append(layoutWord(w));
    }
    if (words.isEmpty() || onePanel) {
        line.panel = words.isEmpty() ? 0 : std::max(0, words.front().panel);
        lines.append(line);
        return;
    }
    for (qsizetype i = 0; i < words.size();) {
        TextLayout::Line piece = line;
        piece.panel = std::max(0, words[i].panel);
        piece.models.clear();
        piece.words.clear();
        QStringList texts;
        QRect box;
        qsizetype j = i;
        for (; j < words.size() && words[j].panel == words[i].panel; ++j) {
            texts.append(words[j].text);
            box = box.united(words[j].box);
            addModel(piece.models, words[j].model);
            piece.words.append(layoutWord(words[j]));
        }
        piece.text = texts.join(u' ');
        piece.box = box;
        lines.append(piece);
        i = j;
    }
}

// A lone dash, underscore or stroke the recogniser doubts is what it makes of the wide
// gap between a table's cells. A real one in a cell may be doubted too, but it has ink:
// a stroke of a glyph's width at the least.
bool isGapStroke(const Word& word) {
    static const QString strokes = QStringLiteral("-_~|'`\u2013\u2014\u2015");
    return word.text.size() == 1 && strokes.contains(word.text.front()) && word.confidence < 50 &&
           word.ink < std::max(4, word.box.height() / 2);
}

// Removes the words flagged in `drop` from the line's words and its text (whose runs of
// spaces are kept).
void removeWords(TextLayout::Line& line, QList<Word>& words, const QList<bool>& drop) {
    const QStringList tokens = line.text.split(u' ');
    qsizetype nonEmpty = 0;
    for (const QString& t : tokens)
        nonEmpty += !t.isEmpty();
    if (nonEmpty != words.size())
        return; // the words do not match the text's tokens one to one
    QStringList kept;
    QList<Word> keptWords;
    qsizetype w = 0;
    for (const QString& t : tokens) {
        if (t.isEmpty()) {
            kept.append(t);
            continue;
        }
        if (!drop[w]) {
            kept.append(t);
            keptWords.append(words[w]);
        }
        ++w;
    }
    line.text = kept.join(u' ').trimmed();
    words = keptWords;
}

void dropStrokes(TextLayout::Line& line, QList<Word>& words) {
    QList<bool> drop;
    for (const Word& w : words)
        drop.append(isGapStroke(w));
    if (drop.contains(true))
        removeWords(line, words, drop);
}

// The width of a character cell on the line: the median over its longer words.
double cellWidth(const QList<Word>& words) {
    std::vector<double> widths;
    for (const Word& w : words)
        if (w.text.size() >= 3)
            widths.push_back(double(w.box.width()) / double(w.text.size()));
    if (widths.empty())
        return 0;
    std::nth_element(widths.begin(), widths.begin() + ptrdiff_t(widths.size() / 2), widths.end());
    return widths[widths.size() / 2];
}

// Runs of underscores in monospaced lines take as many of them as their strokes span.
// `pageCell` carries the cell from line to line.
void recountUnderscores(const QImage& page, TextLayout::Line& line, QList<Word>& words,
                        double& pageCell) {
    QList<QRect> boxes;
    QStringList texts;
    for (const Word& w : words) {
        boxes.append(w.box);
        texts.append(w.text);
    }
    const double cell = UnderscoreRuns::monospaceCell(boxes, texts, pageCell);
    pageCell = cell;
    if (cell <= 0 || !line.text.contains(u'_'))
        return;
    if (line.text.split(u' ', Qt::SkipEmptyParts) != texts)
        return; // the words do not match the text's tokens one to one
    QStringList spaced = line.text.split(u' ');
    qsizetype w = 0;
    for (QString& t : spaced) {
        if (t.isEmpty())
            continue;
        const QRect& box = words[w].box;
        const UnderscoreRuns::Room room{
            w > 0 ? box.left() - words[w - 1].box.right() - 1 : box.left(),
            w + 1 < words.size() ? words[w + 1].box.left() - box.right() - 1
                                 : page.width() - 1 - box.right()};
        const UnderscoreRuns::Word r = UnderscoreRuns::recount(page, box, t, cell, room);
        t = words[w].text = r.text;
        words[w].box = r.box;
        ++w;
    }
    line.text = spaced.join(u' ');
}

// A run of underscores in front of a name ("__THROW", "__format") is cut by the recogniser
// into an underscore word and the name, with a space between that the code does not have.
// An underscore word (after a sign or two: "*__", "((__") closer to the next one than a space
// (a cell) is joined to it, with as many underscores as character cells lie between the
// run's start and the name's.
void joinUnderscores(TextLayout::Line& line, QList<Word>& words) {
    const double cell = cellWidth(words);
    QList<int> runs(words.size(), 0); // underscores to put in front of each word
    QStringList signs(words.size());  // and the signs in front of those
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        const Word& w = words[i];
        qsizetype lead = 0;
        while (lead < w.text.size() && lead < 2 && w.text[lead] != u'_' &&
               !w.text[lead].isLetterOrNumber())
            ++lead;
        const bool underscores = lead < w.text.size() && w.text.count(u'_') == w.text.size() - lead;
        if (cell > 0 && underscores && words[i + 1].box.left() - w.box.right() < cell) {
            const double start = w.box.left() + double(lead) * cell;
            runs[i + 1] = std::max<int>(int(w.text.size() - lead),
                                        int(std::lround((words[i + 1].box.left() - start) / cell)));
            signs[i + 1] = w.text.left(lead);
        }
    }
    if (!std::any_of(runs.cbegin(), runs.cend(), [](int n) { return n > 0; }))
        return;
    const QStringList tokens = line.text.split(u' ', Qt::SkipEmptyParts);
    if (tokens.size() != words.size())
        return;
    QList<bool> drop(words.size(), false);
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (runs[i] > 0) {
            drop[i - 1] = true;
            // The name may have kept part of the run (both boxes hold its stroke).
            qsizetype own = 0;
            while (own < words[i].text.size() && words[i].text[own] == u'_')
                ++own;
            words[i].text = signs[i] + QString(std::max<qsizetype>(runs[i], own), u'_') +
                            words[i].text.mid(own);
            words[i].box = words[i].box.united(words[i - 1].box);
        }
    }
    // The text keeps its runs of spaces elsewhere: each joined word is put in its place.
    QStringList spaced = line.text.split(u' ');
    qsizetype w = 0;
    for (QString& t : spaced) {
        if (t.isEmpty())
            continue;
        if (runs[w] > 0)
            t = words[w].text;
        ++w;
    }
    line.text = spaced.join(u' ');
    removeWords(line, words, drop);
}

// A window's icon and its title-bar buttons stand far out at the ends of the title: a few
// short marks the recogniser doubts on the whole ("ee", "Poo", "-d xX"), or signs it may
// well be sure of ("=" for the icon's outline and bar). Words of the title itself, and a
// table header's "#" or "No", are longer, read with confidence or hold a letter.
bool areTitleBarMarks(QList<Word>::const_iterator from, QList<Word>::const_iterator to) {
    double confidence = 0;
    bool signs = true;
    for (auto w = from; w != to; ++w) {
        if (w->text.size() > 3)
            return false;
        confidence += double(w->confidence);
        signs = signs && !w->text.contains(u'#') &&
                std::none_of(w->text.cbegin(), w->text.cend(),
                             [](QChar c) { return c.isLetterOrNumber(); });
    }
    return from != to && (signs || confidence / double(to - from) < 60);
}

// The marks at either end of the page's top line, each end cut off from the rest by a gap
// of three line heights or more.
void dropTitleBarMarks(TextLayout::Line& line, QList<Word>& words) {
    const int gap = 3 * line.box.height();
    qsizetype first = 0;
    qsizetype last = words.size(); // the title is [first, last)
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words[i].box.left() - words[i - 1].box.right() >= gap) {
            if (first == 0)
                first = i;
            last = i;
        }
    }
    if (first == 0 && last == words.size())
        return;
    QList<bool> drop(words.size(), false);
    auto markEnd = [&](qsizetype from, qsizetype to) {
        if (areTitleBarMarks(words.cbegin() + from, words.cbegin() + to))
            std::fill(drop.begin() + from, drop.begin() + to, true);
    };
    if (first > 0 && first < words.size())
        markEnd(0, first);
    if (last < words.size() && last > 0)
        markEnd(last, words.size());
    if (drop.contains(true) && drop.contains(false))
        removeWords(line, words, drop);
}

// Bevelled title-bar buttons beside a short caption stand too close to it for that gap,
// but the recogniser makes nothing of them: marks of up to four characters read with no
// confidence at all ("TW WR", "ELBE") at the right end of the page's top line, a line height
// or more from the caption and near the page's right edge. They go when a word before them
// was read with confidence, and the line is as sure as what is left of it (the marks drag
// its own figure to nothing, and the caption would pass for noise). At the left end such a
// word may be a table's first header, only faintly read.
void dropUnreadButtons(TextLayout::Line& line, QList<Word>& words, int pageWidth) {
    constexpr float unread = 10;
    constexpr float read = 15;
    const int apart = line.box.height();
    qsizetype last = words.size();
    while (last > 0 && words[last - 1].text.size() <= 4 && words[last - 1].confidence < unread)
        --last;
    if (last == 0 || last == words.size() ||
        words[last].box.left() - words[last - 1].box.right() < apart ||
        pageWidth - words.back().box.right() > 2 * apart)
        return;
    const bool sure = std::any_of(words.cbegin(), words.cbegin() + last, [&](const Word& w) {
        return w.text.size() >= 3 && w.confidence >= read;
    });
    if (!sure)
        return;
    QList<bool> drop(words.size(), false);
    std::fill(drop.begin() + last, drop.end(), true);
    removeWords(line, words, drop);
    if (words.size() != last)
        return;
    double weighted = 0;
    qsizetype characters = 0;
    for (const Word& w : words) {
        weighted += double(w.confidence) * double(w.text.size());
        characters += w.text.size();
    }
    line.confidence = float(weighted / double(std::max<qsizetype>(1, characters)));
}

TextLayout::Line lineAt(const tesseract::ResultIterator& it, const char* text, int block) {
    TextLayout::Line line;
    line.text = trimmedText(text);
    line.block = std::max(0, block);
    line.box = boxAt(it, tesseract::RIL_TEXTLINE);
    line.confidence = it.Confidence(tesseract::RIL_TEXTLINE);
    if (qEnvironmentVariableIsSet("GLINTEXT_OCR_DUMP"))
        qInfo("line block %d conf %.0f y %d: %s", line.block, line.confidence, line.box.top(),
              qPrintable(line.text));
    return line;
}

// The recogniser's lines with their blocks; `panels` in page coordinates.
QList<TextLayout::Line> collect(tesseract::TessBaseAPI& api, const QImage& page,
                                const QList<QRect>& panels) {
    QList<TextLayout::Line> lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it)
        return lines;
    int block = -1;
    std::optional<TextLayout::Line> current;
    QList<Word> words;
    double cell = 0; // of monospaced type, 0 for proportional
    auto finishLine = [&] {
        if (current) {
            dropStrokes(*current, words);
            recountUnderscores(page, *current, words, cell);
            joinUnderscores(*current, words);
        }
        if (current && lines.isEmpty()) {
            dropTitleBarMarks(*current, words);
            dropUnreadButtons(*current, words, page.width());
        }
        if (current && !current->text.trimmed().isEmpty())
            appendSplitByPanel(lines, *current, words);
        current.reset();
        words.clear();
    };
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_BLOCK))
            ++block;
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            finishLine();
            std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            if (!text)
                continue;
            current = lineAt(*it, text.get(), block);
        }
        if (!current)
            continue;
        std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
        if (!text)
            continue;
        Word word;
        word.box = boxAt(*it, tesseract::RIL_WORD);
        word.text = trimmedText(text.get());
        word.panel = panels.size() < 2 ? 0 : panelAt(panels, word.box.center());
        const char* model = it->WordRecognitionLanguage();
        word.model = model ? QString::fromLatin1(model) : QString();
        word.confidence = it->Confidence(tesseract::RIL_WORD);
        if (word.text.size() == 1)
            word.ink = inkIn(page, word.box);
        if (qEnvironmentVariableIsSet("GLINTEXT_OCR_DUMP"))
            qInfo("  word conf %.0f x %d-%d h %d: %s", word.confidence, word.box.left(),
                  word.box.right(), word.box.height(), qPrintable(word.text));
        words.append(word);
    } while (it->Next(tesseract::RIL_WORD));
    finishLine();
    return lines;
}

// An engine keeps a dictionary of the words it read with confidence and prefers them on
// later pages. The same image must read the same whatever the engine read before (a warm
// engine in the tray application, a fresh one on the command line), so each reading starts
// from the model alone. An engine still holding its last page forgets it here; one the
// pool hands out has forgotten already, and a fresh one has nothing to forget (forgetting
// costs milliseconds a model, a good part of a small crop's time).
void forgetEarlierPages(tesseract::TessBaseAPI& engine) {
    const std::unique_ptr<tesseract::ResultIterator> earlierPage(engine.GetIterator());
    if (earlierPage)
        engine.ClearAdaptiveClassifier();
}

} // namespace

namespace {

bool readAsGiven(tesseract::TessBaseAPI& engine, const QImage& page, tesseract::PageSegMode mode,
                 const QList<QRect>& panels, QList<TextLayout::Line>* lines) {
    SerialOpenMP::onThisThread();
    forgetEarlierPages(engine);
    engine.SetPageSegMode(mode);
    engine.SetImage(page.constBits(), page.width(), page.height(), 1, int(page.bytesPerLine()));
    engine.SetSourceResolution(pageResolution);
    if (engine.Recognize(nullptr) != 0)
        return false;
    *lines = collect(engine, page, panels);
    return true;
}

} // namespace

bool readPage(tesseract::TessBaseAPI& engine, const QImage& page, tesseract::PageSegMode mode,
              const QList<QRect>& panels, QList<TextLayout::Line>* lines) {
    if (mode != tesseract::PSM_SINGLE_BLOCK && mode != tesseract::PSM_AUTO)
        return readAsGiven(engine, page, mode, panels, lines);
    const LineGaps gaps(page);
    if (!gaps.widened())
        return readAsGiven(engine, page, mode, panels, lines);
    QList<QRect> widenedPanels;
    for (const QRect& panel : panels)
        widenedPanels.append(gaps.toWidened(panel));
    if (!readAsGiven(engine, gaps.image(), mode, widenedPanels, lines))
        return false;
    for (TextLayout::Line& line : *lines) {
        line.box = gaps.toPage(line.box);
        for (TextLayout::Word& w : line.words)
            w.box = gaps.toPage(w.box);
    }
    return true;
}

namespace {

// Text that touches the edge of the rectangle the recogniser is given comes back as junk,
// hence a quiet margin around every piece read on its own.
QImage onMargin(const QImage& page, const QRect& r, int margin) {
    QImage piece(r.width() + 2 * margin, r.height() + 2 * margin, QImage::Format_Grayscale8);
    piece.fill(255);
    for (int y = 0; y < r.height(); ++y)
        std::copy_n(page.constScanLine(r.top() + y) + r.left(), r.width(),
                    piece.scanLine(y + margin) + margin);
    return piece;
}

} // namespace

bool readRegions(tesseract::TessBaseAPI& engine, const QImage& page, int margin,
                 const QList<QRect>& regions, const QList<QRect>& panels,
                 QList<TextLayout::Line>* lines) {
    for (int i = 0; i < int(regions.size()); ++i) {
        const QRect& r = regions[i];
        const QImage piece = onMargin(page, r, margin);
        const QPoint offset = r.topLeft() - QPoint(margin, margin);
        QList<QRect> piecePanels;
        for (const QRect& panel : panels)
            piecePanels.append(panel.translated(-offset));
        QList<TextLayout::Line> found;
        if (!readPage(engine, piece, tesseract::PSM_SINGLE_BLOCK, piecePanels, &found))
            return false;
        for (TextLayout::Line& line : found) {
            line.box.translate(offset);
            for (TextLayout::Word& w : line.words)
                w.box.translate(offset);
            line.block = i;
            line.prose = true;
            lines->append(line);
        }
    }
    return true;
}

QList<TextLayout::Line> readEach(tesseract::TessBaseAPI& engine, const QImage& page,
                                 const QList<QRect>& boxes) {
    QList<TextLayout::Line> out;
    for (const QRect& box : boxes) {
        TextLayout::Line line;
        line.box = box;
        line.confidence = 0;
        const QRect area = box & page.rect();
        const int margin = area.height() / 2 + 4;
        QList<TextLayout::Line> found;
        if (!area.isEmpty() && readPage(engine, onMargin(page, area, margin),
                                        tesseract::PSM_SINGLE_LINE, {}, &found)) {
            QStringList texts;
            double weighted = 0;
            qsizetype characters = 0;
            const QPoint offset = area.topLeft() - QPoint(margin, margin);
            for (const TextLayout::Line& l : found) {
                texts.append(l.text);
                weighted += double(l.confidence) * double(l.text.size());
                characters += l.text.size();
                for (const QString& m : l.models)
                    addModel(line.models, m);
                for (TextLayout::Word w : l.words) {
                    w.box.translate(offset);
                    line.words.append(w);
                }
            }
            line.text = texts.join(u' ');
            line.confidence = characters ? float(weighted / double(characters)) : 0;
        }
        out.append(line);
    }
    return out;
}

} // namespace TesseractLines
