#pragma once

#include "platform/SoundService.h"

#include <QStringList>

class FakeSound : public SoundService {
public:
    void play(const QString& eventId) override { played.append(eventId); }
    QStringList played;
};
