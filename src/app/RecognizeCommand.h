#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// `glintext recognize [--json] [--no-cleanup] [--no-codes] FILE...`: runs on-device
// recognition on image files, without a display, and prints what a capture would copy.
// Exit status 0, or 2 when a file could not be read (the others are still processed).
// It only reads: the user's settings apply, but nothing of the user's state is written
// (no log, no folders, a damaged settings file stays where it is). Only regular files are
// opened, so a pipe or a device cannot stall it.
namespace RecognizeCommand {

struct Request {
    bool json = false;
    // The user's clean-up and code settings apply unless these switch them off.
    bool noCleanup = false;
    bool noCodes = false;
    QStringList files; // at least one
    // The same names as the bytes they were given in, when they came from the command line:
    // a name that is not valid in the locale's encoding still opens the file it names.
    QList<QByteArray> nativeFiles;
};

// Builds its own QCoreApplication from `argc` and `argv`, and ends the process with the exit
// status when every file is done.
[[noreturn]] void run(const Request& request, int argc, char** argv);

} // namespace RecognizeCommand
