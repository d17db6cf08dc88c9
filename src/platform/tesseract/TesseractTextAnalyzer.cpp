#include "platform/tesseract/TesseractTextAnalyzer.h"

#include "platform/tesseract/KeyCombinationText.h"
#include "platform/tesseract/ProseColumns.h"
#include "platform/tesseract/ScreenTextPreprocessor.h"
#include "platform/tesseract/TesseractEnginePool.h"
#include "platform/tesseract/TextLayout.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <QSet>

#include <QMap>

#include <algorithm>
#include <memory>
#include <optional>
#include <thread>

TesseractTextAnalyzer::TesseractTextAnalyzer(TesseractEnginePool& pool,
                                             RecognitionLanguages::Choice languages)
    : m_pool(pool), m_languages(std::move(languages)) {}

void TesseractTextAnalyzer::warmUp(int engines) {
    if (!m_languages.horizontal.isEmpty())
        m_pool.prewarm(m_languages.horizontal, engines);
}

void TesseractTextAnalyzer::warmUpCertain() {
    // With a vertical model to choose from, the crop decides which one is needed.
    if (!m_languages.horizontal.isEmpty() && m_languages.vertical.isEmpty())
        m_pool.prewarm(m_languages.horizontal, 1);
}

namespace {

constexpr float noiseConfidence = 10;
constexpr float shortNoiseConfidence = 35;
constexpr float scrapNoiseConfidence = 60;

// The recogniser never indents a line, but a word it dropped (an icon) can leave a space
// in front.
QString trimmedLine(const char* utf8) {
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
    int panel = -1;
};

// A line whose words stand on different panels is cut there: the pieces are separate
// lines of their panels.
void appendSplitByPanel(QList<TextLayout::Line>& lines, const TextLayout::Line& line,
                        QList<Word> words) {
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
    if (words.isEmpty() || onePanel) {
        TextLayout::Line whole = line;
        whole.panel = words.isEmpty() ? 0 : std::max(0, words.front().panel);
        lines.append(whole);
        return;
    }
    for (qsizetype i = 0; i < words.size();) {
        TextLayout::Line piece = line;
        piece.panel = std::max(0, words[i].panel);
        QStringList texts;
        QRect box;
        qsizetype j = i;
        for (; j < words.size() && words[j].panel == words[i].panel; ++j) {
            texts.append(words[j].text);
            box = box.united(words[j].box);
        }
        piece.text = texts.join(u' ');
        piece.box = box;
        lines.append(piece);
        i = j;
    }
}

// The recogniser's lines with their blocks; `panels` in page coordinates.
QList<TextLayout::Line> readLines(tesseract::TessBaseAPI& api, const QList<QRect>& panels) {
    QList<TextLayout::Line> lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it)
        return lines;
    int block = -1;
    std::optional<TextLayout::Line> current;
    QList<Word> words;
    auto finishLine = [&] {
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
            TextLayout::Line line;
            line.text = trimmedLine(text.get());
            line.block = std::max(0, block);
            line.box = boxAt(*it, tesseract::RIL_TEXTLINE);
            line.confidence = it->Confidence(tesseract::RIL_TEXTLINE);
            if (qEnvironmentVariableIsSet("GLINTEXT_OCR_DUMP"))
                qInfo("line block %d conf %.0f y %d: %s", line.block, line.confidence,
                      line.box.top(), qPrintable(line.text));
            current = line;
        }
        if (!current || panels.size() < 2)
            continue; // one panel: the line stays whole, its words are not needed
        std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
        if (!text)
            continue;
        Word word{boxAt(*it, tesseract::RIL_WORD), trimmedLine(text.get())};
        word.panel = panelAt(panels, word.box.center());
        words.append(word);
    } while (it->Next(tesseract::RIL_WORD));
    finishLine();
    return lines;
}

// Lines the recogniser itself doubts, when short, are what it made of icons and codes.
// So are doubted lines of several scraps of one or two characters with a letter or a
// digit among them (what a QR code's modules become); a row of short numbers is read
// with confidence, and a lone "OK" or closing brace is one word.
bool isNoise(const TextLayout::Line& line) {
    int alphanumeric = 0;
    for (const QChar c : line.text)
        alphanumeric += c.isLetterOrNumber();
    const QStringList words = line.text.split(u' ', Qt::SkipEmptyParts);
    const bool scraps =
        words.size() >= 2 &&
        std::all_of(words.cbegin(), words.cend(), [](const QString& w) { return w.size() <= 2; });
    return line.confidence < noiseConfidence ||
           (line.confidence < shortNoiseConfidence && alphanumeric <= 4) ||
           (line.confidence < scrapNoiseConfidence && scraps && alphanumeric > 0);
}

// What the recogniser reads into icons, bullets and check boxes in front of an item.
bool isIconToken(const QString& token) {
    static const QString icons = QStringLiteral("@©®¢§¶•■□▪●○◆◇☐☑«»");
    if (token.size() == 1)
        return icons.contains(token.front());
    // A check mark or a check box read as a letter with a sign beside it: "v¥", "(J".
    // Not "$5" or "a)": a digit, or a closing bracket, makes a word of its own.
    if (token.size() != 2 || token[0].isDigit() || token[1].isDigit())
        return false;
    auto isSign = [](QChar c) {
        return c.category() == QChar::Symbol_Currency || c.category() == QChar::Symbol_Other ||
               c == u'(' || c == u'[' || c == u'{';
    };
    return (token[0].isLetter() && isSign(token[1])) || (isSign(token[0]) && token[1].isLetter());
}

void dropNoise(QList<TextLayout::Line>& lines) {
    lines.removeIf(isNoise);
    for (TextLayout::Line& line : lines) {
        const qsizetype space = line.text.indexOf(u' ');
        if (space > 0 && isIconToken(line.text.left(space)))
            line.text = line.text.mid(space).trimmed();
    }
}

bool recognizePage(tesseract::TessBaseAPI& engine, const QImage& page, tesseract::PageSegMode mode,
                   const QList<QRect>& panels, QList<TextLayout::Line>* lines) {
    engine.SetPageSegMode(mode);
    engine.SetImage(page.constBits(), page.width(), page.height(), 1, int(page.bytesPerLine()));
    // Upscaled glyphs (20 px capitals) are about 14 pt print at 150 dpi. Claiming a finer
    // resolution makes the page layout take them for small print, and it files a column
    // of digits or short fields as blocks of their own.
    engine.SetSourceResolution(150);
    if (engine.Recognize(nullptr) != 0)
        return false;
    *lines = readLines(engine, panels);
    return true;
}

// Each region as one block, its lines a block of their own, marked as running text. A
// region goes to the recogniser on a quiet margin of its own: text that touches the edge
// of the rectangle it is given comes back as junk.
bool recognizeRegions(tesseract::TessBaseAPI& engine, const QImage& page, int margin,
                      const QList<QRect>& regions, const QList<QRect>& panels,
                      QList<TextLayout::Line>* lines) {
    for (int i = 0; i < int(regions.size()); ++i) {
        const QRect& r = regions[i];
        QImage piece(r.width() + 2 * margin, r.height() + 2 * margin, QImage::Format_Grayscale8);
        piece.fill(255);
        for (int y = 0; y < r.height(); ++y)
            std::copy_n(page.constScanLine(r.top() + y) + r.left(), r.width(),
                        piece.scanLine(y + margin) + margin);
        const QPoint offset = r.topLeft() - QPoint(margin, margin);
        QList<QRect> piecePanels;
        for (const QRect& panel : panels)
            piecePanels.append(panel.translated(-offset));
        QList<TextLayout::Line> found;
        if (!recognizePage(engine, piece, tesseract::PSM_SINGLE_BLOCK, piecePanels, &found))
            return false;
        for (TextLayout::Line& line : found) {
            line.box.translate(offset);
            line.block = i;
            line.prose = true;
            lines->append(line);
        }
    }
    return true;
}

// Whether every block that stands beside another holds running text: lines of four words
// or more (a CJK character counts as half a word).
bool columnsHoldProse(const QList<TextLayout::Line>& lines) {
    QMap<int, QRect> boxes;
    QMap<int, QPair<int, double>> words; // lines, words
    for (const TextLayout::Line& line : lines) {
        boxes[line.block] = boxes[line.block].united(line.box);
        double count = line.text.split(u' ', Qt::SkipEmptyParts).size();
        for (const QChar c : line.text)
            count += c.unicode() >= 0x3040 && c.unicode() <= 0xd7af ? 0.5 : 0;
        words[line.block].first += 1;
        words[line.block].second += count;
    }
    for (auto a = boxes.cbegin(); a != boxes.cend(); ++a) {
        const bool column = std::any_of(boxes.cbegin(), boxes.cend(), [&](const QRect& b) {
            return b != a.value() && (b.right() < a->left() || a->right() < b.left()) &&
                   std::min(b.bottom(), a->bottom()) > std::max(b.top(), a->top());
        });
        if (column && words[a.key()].second < 4.0 * words[a.key()].first)
            return false;
    }
    return true;
}

// Where to cut a page into two bands recognised side by side: the empty row lane
// nearest the middle, when the page holds enough lines to be worth it; -1 otherwise.
int bandCut(const QImage& page) {
    constexpr int minimumLanes = 3;
    constexpr int minimumHeight = 500;
    if (page.height() < minimumHeight)
        return -1;
    QList<QPair<int, int>> lanes; // first row, length
    int run = 0;
    bool seenInk = false;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        const bool ink = std::any_of(row, row + page.width(), [](uchar v) { return v < 128; });
        if (ink) {
            if (seenInk && run > 0)
                lanes.append({y - run, run});
            seenInk = true;
            run = 0;
        } else {
            ++run;
        }
    }
    if (lanes.size() < minimumLanes)
        return -1;
    int best = -1;
    for (const auto& [start, length] : lanes) {
        const int centre = start + length / 2;
        if (length >= 4 &&
            (best < 0 || std::abs(centre - page.height() / 2) < std::abs(best - page.height() / 2)))
            best = centre;
    }
    // A cut near an edge saves nothing.
    if (best < page.height() / 4 || best > page.height() * 3 / 4)
        return -1;
    return best;
}

// Appends the lower band's lines below the upper ones. A lower block whose first line
// continues an upper block (same column, close below the cut) takes that block's number.
void joinBands(QList<TextLayout::Line>& upper, QList<TextLayout::Line> lower, int cut) {
    int nextBlock = 0;
    QMap<int, QRect> upperBlocks;
    for (const TextLayout::Line& l : upper) {
        nextBlock = std::max(nextBlock, l.block + 1);
        upperBlocks[l.block] =
            upperBlocks[l.block].isNull() ? l.box : upperBlocks[l.block].united(l.box);
    }
    QMap<int, QRect> lowerBlocks;
    for (TextLayout::Line& l : lower) {
        l.box.translate(0, cut);
        lowerBlocks[l.block] =
            lowerBlocks[l.block].isNull() ? l.box : lowerBlocks[l.block].united(l.box);
    }
    QList<int> heights;
    for (const TextLayout::Line& l : upper + lower)
        heights.append(l.box.height());
    std::sort(heights.begin(), heights.end());
    const int lineHeight = heights.isEmpty() ? 1 : heights[heights.size() / 2];
    QMap<int, int> renumber;
    QSet<int> taken;
    for (auto lb = lowerBlocks.cbegin(); lb != lowerBlocks.cend(); ++lb) {
        int match = -1;
        for (auto ub = upperBlocks.cbegin(); ub != upperBlocks.cend(); ++ub) {
            if (taken.contains(ub.key()))
                continue;
            const QRect& u = ub.value();
            const QRect& d = lb.value();
            const int overlap = std::min(u.right(), d.right()) - std::max(u.left(), d.left());
            const int gapAbove = d.top() - u.bottom();
            if (overlap * 2 > std::min(u.width(), d.width()) && gapAbove < 3 * lineHeight)
                match = ub.key();
        }
        if (match >= 0) {
            taken.insert(match);
            renumber[lb.key()] = match;
        } else {
            renumber[lb.key()] = nextBlock++;
        }
    }
    for (TextLayout::Line& l : lower) {
        l.block = renumber.value(l.block);
        upper.append(l);
    }
}

// How sure the recogniser is of a reading, weighted by how much text each line holds.
double confidenceOf(const QList<TextLayout::Line>& lines) {
    double weighted = 0;
    qsizetype characters = 0;
    for (const TextLayout::Line& line : lines) {
        weighted += double(line.confidence) * double(line.text.size());
        characters += line.text.size();
    }
    return characters ? weighted / double(characters) : 0;
}

} // namespace

struct TesseractTextAnalyzer::Reading {
    bool ok = false;
    bool vertical = false;
    QList<TextLayout::Line> lines;
};

TesseractTextAnalyzer::Reading
TesseractTextAnalyzer::readVertical(const ScreenTextPreprocessor::Prepared& prepared,
                                    const QList<QRect>& panels) {
    Reading reading;
    reading.vertical = true;
    TesseractEnginePool::Lease engine = m_pool.acquire(m_languages.vertical);
    reading.ok =
        engine && recognizePage(*engine, prepared.image, tesseract::PSM_SINGLE_BLOCK_VERT_TEXT,
                                panels, &reading.lines);
    return reading;
}

TesseractTextAnalyzer::Reading
TesseractTextAnalyzer::readHorizontal(const ScreenTextPreprocessor::Prepared& prepared,
                                      const QList<QRect>& panels) {
    Reading reading;
    TesseractEnginePool::Lease engine = m_pool.acquire(m_languages.horizontal);
    if (!engine)
        return reading;
    const QImage& page = prepared.image;
    // Columns of prose are cut apart along their gutters and read region by region, in
    // reading order. Everything else is read as one block: the recogniser's own page
    // layout splits menus, tables and short CJK lines into blocks it then misorders,
    // drops or turns on their side, where one block keeps every row a row.
    const QList<QRect> regions =
        ProseColumns::regions(page, prepared.metrics.glyphHeight * prepared.scale);
    if (!regions.isEmpty()) {
        reading.ok =
            recognizeRegions(*engine, page, prepared.border, regions, panels, &reading.lines);
        // The pixels looked like columns of prose; the words say whether they were (an
        // option list beside its descriptions is read row by row).
        if (!reading.ok || columnsHoldProse(reading.lines))
            return reading;
        reading.lines.clear();
    }
    const tesseract::PageSegMode mode = tesseract::PSM_SINGLE_BLOCK;
    // The second band needs a warm engine: loading one would cost more than it saves.
    const int cut = bandCut(page);
    TesseractEnginePool::Lease second;
    if (cut > 0)
        second = m_pool.acquireIdle(m_languages.horizontal);
    if (second) {
        // Tall pages of many lines: the lower band goes to a second engine on the other
        // core.
        const QImage top = page.copy(0, 0, page.width(), cut);
        const QImage bottom = page.copy(0, cut, page.width(), page.height() - cut);
        QList<TextLayout::Line> lower;
        QList<QRect> lowerPanels;
        for (const QRect& panel : panels)
            lowerPanels.append(panel.translated(0, -cut));
        bool lowerOk = false;
        std::thread helper(
            [&] { lowerOk = recognizePage(*second, bottom, mode, lowerPanels, &lower); });
        const bool upperOk = recognizePage(*engine, top, mode, panels, &reading.lines);
        helper.join();
        reading.ok = upperOk && lowerOk;
        if (reading.ok)
            joinBands(reading.lines, lower, cut);
        return reading;
    }
    reading.ok = recognizePage(*engine, page, mode, panels, &reading.lines);
    return reading;
}

TextAnalyzer::Outcome TesseractTextAnalyzer::analyze(const QImage& image) {
    return analyze(image, {});
}

TextAnalyzer::Outcome
TesseractTextAnalyzer::analyze(const QImage& image,
                               const std::function<QList<QRect>()>& codeAreas) {
    if (image.isNull())
        return {false, {}, QStringLiteral("the image is empty")};
    if (m_languages.horizontal.isEmpty())
        return {false, {}, QStringLiteral("no recognition model is installed")};

    ScreenTextPreprocessor::Prepared prepared = ScreenTextPreprocessor::prepare(image);
    // The codes were being read meanwhile. Where there are some, the page is prepared again
    // without them: their modules would come out as junk text and skew the glyph size.
    const QList<QRect> codes = codeAreas ? codeAreas() : QList<QRect>();
    if (!codes.isEmpty())
        prepared =
            ScreenTextPreprocessor::prepare(ScreenTextPreprocessor::withoutAreas(image, codes));
    // For tuning: the page exactly as Tesseract gets it.
    static const QString dumpPath = qEnvironmentVariable("GLINTEXT_OCR_DUMP");
    if (!dumpPath.isEmpty())
        prepared.image.save(dumpPath);
    if (!prepared.metrics.hasInk)
        return {true, {}, {}};

    QList<QRect> panels;
    for (const QRect& panel : prepared.panels)
        panels.append(ScreenTextPreprocessor::mapToPage(prepared, panel));
    using TextOrientation::Orientation;
    const Orientation orientation =
        m_languages.vertical.isEmpty() ? Orientation::Horizontal : prepared.metrics.orientation;
    Reading reading = orientation == Orientation::Vertical ? readVertical(prepared, panels)
                                                           : readHorizontal(prepared, panels);
    if (orientation == Orientation::Undecided && reading.ok) {
        // The ink did not say; the reading the recogniser is surer of does.
        Reading other = readVertical(prepared, panels);
        if (other.ok && confidenceOf(other.lines) > confidenceOf(reading.lines))
            reading = std::move(other);
    }
    if (!reading.ok)
        return {false, {}, QStringLiteral("recognition failed")};
    dropNoise(reading.lines);
    for (TextLayout::Line& line : reading.lines)
        line.text = KeyCombinationText::repair(line.text);
    QString transcript;
    if (reading.vertical) {
        // Columns come right to left already; the row logic would interleave them.
        QStringList texts;
        for (const TextLayout::Line& line : reading.lines)
            texts.append(line.text);
        transcript = texts.join(u'\n');
    } else {
        transcript = TextLayout::join(reading.lines);
    }
    return {true, transcript, {}};
}
