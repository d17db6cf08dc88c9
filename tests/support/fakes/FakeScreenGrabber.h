#pragma once

#include "platform/ScreenGrabber.h"

// Hands out the frames a test sets and counts the grabs.
class FakeScreenGrabber : public ScreenGrabber {
public:
    QList<ScreenFrame> grabScreens() override {
        ++grabs;
        return frames;
    }
    QList<ScreenFrame> frames;
    int grabs = 0;
};
