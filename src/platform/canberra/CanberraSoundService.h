#pragma once

#include "platform/SoundService.h"

struct ca_context;

// freedesktop sound-theme events through libcanberra.
class CanberraSoundService : public SoundService {
public:
    ~CanberraSoundService() override;
    void play(const QString& eventId) override;

private:
    ca_context* m_context = nullptr;
    bool m_failed = false;
};
