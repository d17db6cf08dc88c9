#pragma once

#include <QColor>

class QPalette;
class QWidget;

// The few colours every pill control is drawn with. They are resolved from the palette the
// control is painted with, so a control follows a light/dark switch of the desktop without
// any code of its own beyond repainting.
namespace PillTheme {

// The application accent (filled buttons, focus rings).
QColor accent();
// Dark when the window colour of `palette` is dark.
bool isDark(const QPalette& palette);
// Fill of the drop-down pill and of unfilled buttons.
QColor field(const QPalette& palette);
// 1-point border of the drop-down pill and of unfilled buttons.
QColor fieldBorder(const QPalette& palette);
// Outline, selected-segment fill and dividers of the segmented control.
QColor segOverlay(const QPalette& palette);

// Whether `widget` should react to a click: not hidden, and not faded out (through an
// opacity effect on it or an ancestor) to below 1 %.
bool takesClicks(const QWidget* widget);

} // namespace PillTheme
