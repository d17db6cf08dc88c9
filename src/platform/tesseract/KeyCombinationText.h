#pragma once

#include <QString>

// Menus and tooltips show key combinations ("Ctrl+Shift+S", "F11") in small type, where
// the recogniser confuses l, i, 1 and r: "Ctri+N", "Fll". A token that has the shape of a
// combination, modifiers joined by "+" in front of a key, is put back in the names the
// desktop writes. Text that is not a combination is left as it is.
namespace KeyCombinationText {

QString repair(const QString& line);

} // namespace KeyCombinationText
