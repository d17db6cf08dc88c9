#pragma once

#include <QString>
#include <QStringList>

// Post-processing of recognised text: line-level whitespace normalisation and repair of
// vertical CJK text that arrived one character per line. Pure functions.
namespace TextCleanup {

inline constexpr int minimumFragmentRun = 3;

QString clean(const QString& text);
bool looksVertical(const QString& text);
// The repair step on already trimmed lines.
QStringList mergeVerticalFragments(const QStringList& lines);

// Building blocks, exposed for the callers that need the same rules.
QStringList splitLines(const QString& text);
QString trimLineWhitespace(const QString& line);
QString trimWhitespaceAndNewlines(const QString& text);
bool isVerticalFragment(const QString& trimmedLine);
bool isNewlineSeparator(char32_t c);
bool isLineWhitespace(char32_t c);

} // namespace TextCleanup
