#include "platform/tesseract/LineNumberGutter.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace LineNumberGutter {

namespace {

// Fewer rows than this are no evidence of a gutter.
constexpr int shortestGutter = 5;

struct Row {
    qint64 number = 0;
    QString rest; // what follows the number, its leading spaces kept
};

// A row that starts with a bare number: digits followed by a space or nothing.
std::optional<Row> numbered(const QString& row) {
    qsizetype digits = 0;
    while (digits < row.size() && row[digits].isDigit() && row[digits].unicode() < 128)
        ++digits;
    if (digits == 0 || digits > 7 || (digits < row.size() && row[digits] != u' '))
        return std::nullopt;
    return Row{row.left(digits).toLongLong(), row.mid(digits)};
}

qsizetype indentOf(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return i;
}

// Rows [first, last) stripped of their numbers when they hold a gutter.
void stripRun(QStringList& rows, qsizetype first, qsizetype last) {
    QList<Row> run;
    qsizetype alone = 0;
    for (qsizetype i = first; i < last; ++i) {
        run.append(*numbered(rows[i]));
        alone += run.back().rest.trimmed().isEmpty();
    }
    // A column of numbers alone is data (a table's first column), not a gutter.
    if (run.size() < shortestGutter || alone == 0 || 2 * alone > run.size())
        return;
    // The code keeps its own indentation: where it starts in the row (numbers of more
    // digits leave fewer spaces after them), less where the least indented line starts.
    auto column = [&](qsizetype i) {
        return rows[i].size() - run[i - first].rest.size() + indentOf(run[i - first].rest);
    };
    qsizetype left = -1;
    for (qsizetype i = first; i < last; ++i) {
        if (!run[i - first].rest.trimmed().isEmpty())
            left = left < 0 ? column(i) : std::min(left, column(i));
    }
    for (qsizetype i = first; i < last; ++i) {
        const QString code = run[i - first].rest.trimmed();
        rows[i] = code.isEmpty() ? QString() : QString(column(i) - left, u' ') + code;
    }
}

} // namespace

QString strip(const QString& transcript) {
    QStringList rows = transcript.split(u'\n');
    qsizetype first = 0;
    while (first < rows.size()) {
        std::optional<Row> r = numbered(rows[first]);
        if (!r) {
            ++first;
            continue;
        }
        qsizetype last = first + 1;
        for (std::optional<Row> next; last < rows.size(); ++last) {
            next = numbered(rows[last]);
            if (!next || next->number != r->number + 1)
                break;
            r = next;
        }
        stripRun(rows, first, last);
        first = last;
    }
    return rows.join(u'\n');
}

} // namespace LineNumberGutter
