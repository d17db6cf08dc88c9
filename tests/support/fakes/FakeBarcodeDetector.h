#pragma once

#include "platform/BarcodeDetector.h"

#include <QSemaphore>

#include <atomic>
#include <stdexcept>

class FakeBarcodeDetector : public BarcodeDetector {
public:
    QList<Observation> observations;
    bool throws = false;
    std::atomic<int> calls{0};
    QSemaphore* started = nullptr;

    QList<Observation> detect(const QImage&) override {
        ++calls;
        if (started)
            started->release();
        if (throws)
            throw std::runtime_error("detector failed");
        return observations;
    }
};
