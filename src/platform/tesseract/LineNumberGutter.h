#pragma once

#include <QString>

// An editor's gutter of line numbers reads as a number in front of every row. Someone
// copying code wants the code: the numbers go where the evidence is strong, a run of rows
// that all begin with a bare number counting up by one, some of them holding the number
// alone (a blank line of code). A numbered list ("1. Install", "2) Run") or a table of
// contents, whose every row has a title, keeps its numbers.
namespace LineNumberGutter {

QString strip(const QString& transcript);

} // namespace LineNumberGutter
