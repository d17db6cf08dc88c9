#pragma once

#include "platform/ScreenGrabber.h"

#include <QImage>
#include <QList>

// A picture of the whole desktop, as Wayland desktops hand it out (one image of the bounding
// box of all outputs, at one scale), cut into one frame per screen.
namespace DesktopPicture {

// One frame per entry of `screens` (their geometry and device-pixel ratio; their images are
// ignored), in the same order: that screen's part of `desktop` at the screen's own device
// resolution. With no usable picture every frame carries an error instead.
QList<ScreenFrame> split(const QImage& desktop, const QList<ScreenFrame>& screens);

} // namespace DesktopPicture
