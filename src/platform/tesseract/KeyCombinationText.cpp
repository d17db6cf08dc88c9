#include "platform/tesseract/KeyCombinationText.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>

namespace KeyCombinationText {

namespace {

const std::array<QStringView, 8> modifiers{u"Ctrl", u"Shift", u"Alt", u"Super",
                                           u"Meta", u"AltGr", u"Cmd", u"Win"};
const std::array<QStringView, 16> keyNames{
    u"Tab", u"Esc",  u"Enter", u"Space", u"Home", u"End", u"PgUp",      u"PgDown",
    u"Up",  u"Down", u"Left",  u"Right", u"Del",  u"Ins", u"Backspace", u"Return"};

// Edit distance, stopping early once it is over `limit`.
int distance(QStringView a, QStringView b, int limit) {
    if (std::abs(int(a.size()) - int(b.size())) > limit)
        return limit + 1;
    std::vector<int> prev(size_t(b.size()) + 1), cur(size_t(b.size()) + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        prev[size_t(j)] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        cur[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const bool same = a[i - 1].toLower() == b[j - 1].toLower();
            cur[size_t(j)] = std::min({prev[size_t(j)] + 1, cur[size_t(j - 1)] + 1,
                                       prev[size_t(j - 1)] + (same ? 0 : 1)});
        }
        std::swap(prev, cur);
    }
    return prev[size_t(b.size())];
}

template <size_t N> QString nearest(QStringView word, const std::array<QStringView, N>& names) {
    // Short names must match exactly but for case; a misread letter in "Up" is a new word.
    for (QStringView name : names)
        if (word.compare(name, Qt::CaseInsensitive) == 0)
            return name.toString();
    if (word.size() < 3)
        return {};
    for (QStringView name : names)
        if (name.size() >= 4 && distance(word, name, 1) <= 1)
            return name.toString();
    return {};
}

// "F11" read as "Fll", "F12" as "Fi2": the digits of a function key. A capital I is left
// alone: "FI" is a word of its own (a country code) more often than a misread key.
QString functionKey(QStringView token) {
    static const QRegularExpression shape(QStringLiteral("^F([0-9li|!]{1,2})$"));
    const QRegularExpressionMatch m = shape.match(token.toString());
    if (!m.hasMatch())
        return {};
    QString digits = m.captured(1);
    for (QChar& c : digits)
        if (!c.isDigit())
            c = u'1';
    const int number = digits.toInt();
    if (number < 1 || number > 24)
        return {};
    return QStringLiteral("F") + QString::number(number);
}

QString key(QStringView part) {
    if (part.size() == 1) {
        const QChar c = part.front();
        if (c == u'¥')
            return QStringLiteral("Y");
        return c.isLetter() ? QString(c.toUpper()) : QString(c);
    }
    if (const QString f = functionKey(part); !f.isEmpty())
        return f;
    // The letter read twice, once in each case: "wW".
    if (part.size() == 2 && part[0].isLetter() && part[0] != part[1] &&
        part[0].toUpper() == part[1].toUpper())
        return QString(part[0].toUpper());
    return nearest(part, keyNames);
}

// The repaired token, or an empty string when it is no combination.
QString repairCombination(QStringView token) {
    if (!token.contains(u'+') || token.startsWith(u'+'))
        return {};
    QString keyPart;
    QStringView front = token;
    if (token.endsWith(QStringLiteral("++"))) {
        keyPart = QStringLiteral("+");
        front = token.first(token.size() - 2);
    } else {
        const qsizetype last = token.lastIndexOf(u'+');
        keyPart = key(token.sliced(last + 1));
        front = token.first(last);
    }
    QString lastModifier; // "ShifttO": a "+" read as "t" between a modifier and the key
    if (keyPart.isEmpty() && !front.isEmpty()) {
        const QStringView tail = token.sliced(front.size() + 1);
        for (qsizetype length = 3; length + 2 <= tail.size() && keyPart.isEmpty(); ++length) {
            if (tail[length] != u't')
                continue;
            lastModifier = nearest(tail.first(length), modifiers);
            if (!lastModifier.isEmpty())
                keyPart = key(tail.sliced(length + 1));
        }
    }
    if (keyPart.isEmpty() || front.isEmpty())
        return {};
    QStringList parts;
    for (QStringView m : front.split(u'+')) {
        const QString name = nearest(m, modifiers);
        if (name.isEmpty())
            return {};
        parts.append(name);
    }
    if (!lastModifier.isEmpty())
        parts.append(lastModifier);
    parts.append(keyPart);
    return parts.join(u'+');
}

} // namespace

QString repair(const QString& line) {
    static const QRegularExpression tokens(QStringLiteral("\\S+"));
    QString out;
    qsizetype copied = 0;
    QRegularExpressionMatchIterator it = tokens.globalMatch(line);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString replacement = repairCombination(m.capturedView());
        // A lone function key stands at the end of a menu row (or is all of a shortcut
        // column's line).
        if (replacement.isEmpty() && !it.hasNext())
            replacement = functionKey(m.capturedView());
        if (replacement.isEmpty())
            continue;
        out += QStringView(line).sliced(copied, m.capturedStart() - copied);
        out += replacement;
        copied = m.capturedEnd();
    }
    if (copied == 0)
        return line;
    out += QStringView(line).sliced(copied);
    return out;
}

} // namespace KeyCombinationText
