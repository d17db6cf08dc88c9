#pragma once

#include "platform/ScreenGrabber.h"

#include <QColor>
#include <QImage>
#include <QRect>

// A screen's frozen frame filled with one colour, at the given device-pixel ratio.
inline ScreenFrame solidFrame(QRect geometry, QColor colour = Qt::white, qreal ratio = 1.0) {
    ScreenFrame frame;
    frame.geometry = geometry;
    frame.devicePixelRatio = ratio;
    frame.image = QImage(geometry.size() * ratio, QImage::Format_RGB32);
    frame.image.fill(colour);
    return frame;
}
