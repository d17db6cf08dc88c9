#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// One screen as it looked when the selection opened.
struct ScreenFrame {
    QRect geometry;               // logical pixels in the virtual desktop
    qreal devicePixelRatio = 1.0; // device pixels per logical pixel
    QImage image;                 // device pixels; null when the screen could not be read
    QString error;                // why `image` is null
};

// Still images of every screen, in the order of QGuiApplication::screens().
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;
    virtual QList<ScreenFrame> grabScreens() = 0;
};
