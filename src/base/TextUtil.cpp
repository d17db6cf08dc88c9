#include "base/TextUtil.h"

#include <QTextBoundaryFinder>

namespace TextUtil {

qsizetype graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString firstGraphemes(const QString& text, qsizetype count) {
    if (count <= 0)
        return {};
    if (text.size() <= count)
        return text; // a cluster is at least one code unit
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype position = 0;
    for (qsizetype i = 0; i < count; ++i) {
        position = finder.toNextBoundary();
        if (position < 0)
            return text;
    }
    return text.left(position);
}

QString lastGraphemes(const QString& text, qsizetype count) {
    if (count <= 0)
        return {};
    if (text.size() <= count)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.toEnd();
    qsizetype position = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        position = finder.toPreviousBoundary();
        if (position <= 0)
            return text;
    }
    return text.mid(position);
}

} // namespace TextUtil
