#pragma once

#include "platform/LanguageTagger.h"

#include <atomic>

class FakeLanguageTagger : public LanguageTagger {
public:
    std::optional<QString> answer;
    std::atomic<int> calls{0};
    std::optional<QString> dominantLanguage(const QString&) override {
        ++calls;
        return answer;
    }
};
