#pragma once

#include "platform/TextAnalyzer.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>

#include <atomic>
#include <stdexcept>

// Answers with `outcome`, or throws. Called on worker threads like the real one.
class FakeTextAnalyzer : public TextAnalyzer {
public:
    Outcome outcome{true, {}, {}};
    bool throws = false;
    std::atomic<int> calls{0};
    // When set, analysis waits (bounded) until the detector has started.
    QSemaphore* codesStarted = nullptr;
    std::atomic<bool> sawCodesRunning{false};
    // When set, analysis waits (bounded) until the test releases it.
    QSemaphore* hold = nullptr;

    Outcome analyze(const QImage& image) override {
        ++calls;
        {
            QMutexLocker locker(&m_lock);
            m_images.append(image);
        }
        if (hold)
            hold->tryAcquire(1, 5000);
        if (codesStarted)
            sawCodesRunning = codesStarted->tryAcquire(1, 5000);
        if (throws)
            throw std::runtime_error("engine exploded");
        return outcome;
    }

    QList<QImage> images() const {
        QMutexLocker locker(&m_lock);
        return m_images;
    }

private:
    mutable QMutex m_lock;
    QList<QImage> m_images;
};
