#include "core/TextCleanup.h"

#include <QTextBoundaryFinder>

namespace TextCleanup {

namespace {

bool isCjkFragmentScalar(char32_t c) {
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF66 && c <= 0xFF9D);
}

char32_t scalarAt(const QString& s, qsizetype i) {
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, s.at(i + 1));
    return c.unicode();
}

char32_t scalarBefore(const QString& s, qsizetype end) {
    const QChar c = s.at(end - 1);
    if (c.isLowSurrogate() && end >= 2 && s.at(end - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(s.at(end - 2), c);
    return c.unicode();
}

int scalarWidth(char32_t c) {
    return c > 0xFFFF ? 2 : 1;
}

template <typename Pred> QString trimBy(const QString& text, Pred pred) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end) {
        const char32_t c = scalarAt(text, begin);
        if (!pred(c))
            break;
        begin += scalarWidth(c);
    }
    while (end > begin) {
        const char32_t c = scalarBefore(text, end);
        if (!pred(c))
            break;
        end -= scalarWidth(c);
    }
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

QStringList trimmedLines(const QString& text) {
    QStringList lines = splitLines(text);
    for (QString& line : lines)
        line = trimLineWhitespace(line);
    return lines;
}

} // namespace

bool isNewlineSeparator(char32_t c) {
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isLineWhitespace(char32_t c) {
    return c == 0x09 || QChar::category(c) == QChar::Separator_Space;
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = scalarAt(text, i);
        const int width = scalarWidth(c);
        if (isNewlineSeparator(c)) {
            lines.append(text.mid(start, i - start));
            start = i + width;
        }
        i += width;
    }
    lines.append(text.mid(start));
    return lines;
}

QString trimLineWhitespace(const QString& line) {
    return trimBy(line, isLineWhitespace);
}

QString trimWhitespaceAndNewlines(const QString& text) {
    return trimBy(text, [](char32_t c) { return isLineWhitespace(c) || isNewlineSeparator(c); });
}

bool isVerticalFragment(const QString& line) {
    if (line.isEmpty() || !isCjkFragmentScalar(scalarAt(line, 0)))
        return false;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    return finder.toNextBoundary() == line.size();
}

QStringList mergeVerticalFragments(const QStringList& lines) {
    QStringList output;
    QStringList pending;
    auto flush = [&] {
        if (pending.size() < minimumFragmentRun)
            output.append(pending);
        else
            output.append(pending.join(QString()));
        pending.clear();
    };
    for (const QString& line : lines) {
        if (isVerticalFragment(line)) {
            pending.append(line);
        } else {
            flush();
            output.append(line);
        }
    }
    flush();
    return output;
}

QString clean(const QString& text) {
    const QStringList merged = mergeVerticalFragments(trimmedLines(text));
    QStringList collapsed;
    int emptyRun = 0;
    for (const QString& line : merged) {
        if (!line.isEmpty()) {
            collapsed.append(line);
            emptyRun = 0;
        } else if (++emptyRun == 1) {
            collapsed.append(line);
        }
    }
    return trimWhitespaceAndNewlines(collapsed.join(QChar(u'\n')));
}

bool looksVertical(const QString& text) {
    int run = 0;
    for (const QString& line : trimmedLines(text)) {
        run = isVerticalFragment(line) ? run + 1 : 0;
        if (run >= minimumFragmentRun)
            return true;
    }
    return false;
}

} // namespace TextCleanup
