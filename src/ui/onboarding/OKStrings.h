#pragma once

#include <QString>

#include <functional>

// The engine's own texts, each read when it is shown so that a language change applies live.
struct OKStrings {
    std::function<QString()> continueTitle;
    std::function<QString()> startTitle;
    std::function<QString()> waiting;
    std::function<QString()> later;
    std::function<QString()> back;
    // The accessible name of the dot for page `number` (counted from 1).
    std::function<QString(int number)> pageName;
};
