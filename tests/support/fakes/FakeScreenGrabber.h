#pragma once

#include "platform/ScreenGrabber.h"

#include <utility>

// Hands out the frames a test sets and counts the grabs. With `answersLater` it keeps the
// grab's callback, as a desktop portal does, until the test calls answer().
class FakeScreenGrabber : public ScreenGrabber {
public:
    QList<ScreenFrame> grabScreens() override {
        ++grabs;
        return frames;
    }
    void grab(GrabDone done) override {
        if (!answersLater) {
            ScreenGrabber::grab(std::move(done));
            return;
        }
        ++grabs;
        pending = std::move(done);
    }
    // Delivers the kept grab; false when none is waiting.
    bool answer(const Grab& outcome) {
        if (!pending)
            return false;
        std::exchange(pending, {})(outcome);
        return true;
    }

    QList<ScreenFrame> frames;
    int grabs = 0;
    bool answersLater = false;
    GrabDone pending;
};
