#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <functional>

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
    // The outcome of an asynchronous grab.
    struct Grab {
        enum class Outcome {
            Taken,   // `frames` holds every screen (a frame may still carry its own error)
            Refused, // the desktop or the user did not allow it: the permission is missing
            Failed,  // the desktop could not deliver in time; `error` says why
        };
        Outcome outcome = Outcome::Failed;
        QList<ScreenFrame> frames;
        QString error;
    };
    using GrabDone = std::function<void(const Grab&)>;

    virtual ~ScreenGrabber() = default;
    virtual QList<ScreenFrame> grabScreens() = 0;
    // Grabs every screen and calls `done` once, on the GUI thread. Desktops that must ask
    // another process (Wayland's Screenshot portal) answer later; by default the grab is
    // immediate and `done` runs before this returns.
    virtual void grab(GrabDone done) { done({Grab::Outcome::Taken, grabScreens(), {}}); }
};
