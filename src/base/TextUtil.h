#pragma once

#include <QString>

// Small Unicode helpers shared by the log, the menu and the clean-up.
namespace TextUtil {
// Number of user-perceived characters (extended grapheme clusters).
qsizetype graphemeCount(const QString& text);
// The first `count` user-perceived characters of `text`.
QString firstGraphemes(const QString& text, qsizetype count);
// The last `count` user-perceived characters of `text`.
QString lastGraphemes(const QString& text, qsizetype count);
} // namespace TextUtil
