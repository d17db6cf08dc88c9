#pragma once

#include <QStringList>

// `glintext recognize [--json] [--no-cleanup] [--no-codes] FILE...`: runs on-device
// recognition on image files, without a display, and prints what a capture would copy.
// Exit status 0, or 2 when a file could not be read (the others are still processed).
namespace RecognizeCommand {

struct Request {
    bool json = false;
    // The user's clean-up and code settings apply unless these switch them off.
    bool noCleanup = false;
    bool noCodes = false;
    QStringList files; // at least one
};

// Builds its own QCoreApplication from `argc` and `argv`.
int run(const Request& request, int argc, char** argv);

} // namespace RecognizeCommand
