#pragma once

#include <QString>

// Short event sounds from the desktop's sound theme.
class SoundService {
public:
    virtual ~SoundService() = default;
    // Fire and forget; silent when there is no sound server or no such sound.
    virtual void play(const QString& eventId) = 0;
};
