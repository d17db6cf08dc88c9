#pragma once

#include <QObject>

// Ties a capture together: overlay, screen grab, recognition and delivery.
class CaptureController : public QObject {
    Q_OBJECT
public:
    static CaptureController& shared();

    // The only public entry, on the GUI thread. Returns at once; a trigger while a
    // selection is open or a capture runs is ignored.
    void beginCapture(bool highAccuracy);

private:
    CaptureController() = default;
};
