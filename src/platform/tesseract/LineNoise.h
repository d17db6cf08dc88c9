#pragma once

#include "platform/tesseract/TextLayout.h"

#include <QList>
#include <QString>

// What the recogniser makes of icons, check boxes and the modules of codes: short lines it
// doubts itself, and a letter-and-sign token in front of a menu item.
namespace LineNoise {

bool isNoise(const TextLayout::Line& line);
bool isIconToken(const QString& token);
// Drops noise lines and the icon token in front of the others.
void drop(QList<TextLayout::Line>& lines);

} // namespace LineNoise
