#include "platform/tesseract/LineNoise.h"

#include <QStringList>

#include <algorithm>

namespace LineNoise {

namespace {

constexpr float noiseConfidence = 10;
constexpr float shortNoiseConfidence = 35;
constexpr float scrapNoiseConfidence = 60;

} // namespace

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

// A check mark or a check box read as a letter with a sign beside it: "v¥", "(J". Not
// "$5" or "a)": a digit, or a closing bracket, makes a word of its own.
bool isIconToken(const QString& token) {
    static const QString icons = QStringLiteral("@©®¢§¶•■□▪●○◆◇☐☑«»");
    if (token.size() == 1)
        return icons.contains(token.front());
    if (token.size() != 2 || token[0].isDigit() || token[1].isDigit())
        return false;
    auto isSign = [](QChar c) {
        return c.category() == QChar::Symbol_Currency || c.category() == QChar::Symbol_Other ||
               c == u'(' || c == u'[' || c == u'{';
    };
    return (token[0].isLetter() && isSign(token[1])) || (isSign(token[0]) && token[1].isLetter());
}

// A lone sign in front of a word is what a check mark or a radio dot becomes ("√ Show
// hidden"; "¥ Vertical scale": a tick is the yen sign's shape to a Latin model). Other
// currency signs ("€ Euro", "$ 5") and signs of arithmetic ("+ Add", "= Total") are text.
bool isMarkBeforeWord(const QString& token, const QString& rest) {
    if (token.size() != 1 || rest.isEmpty() || !rest.front().isLetter())
        return false;
    const QChar c = token.front();
    static const QString arithmetic = QStringLiteral("+-=<>#%&*/|~^");
    return c == u'¥' || (!arithmetic.contains(c) && (c.category() == QChar::Symbol_Other ||
                                                     c.category() == QChar::Symbol_Math));
}

void drop(QList<TextLayout::Line>& lines) {
    lines.removeIf(isNoise);
    for (TextLayout::Line& line : lines) {
        const qsizetype space = line.text.indexOf(u' ');
        if (space <= 0)
            continue;
        const QString token = line.text.left(space);
        const QString rest = line.text.mid(space).trimmed();
        if (isIconToken(token) || isMarkBeforeWord(token, rest))
            line.text = rest;
    }
}

} // namespace LineNoise
