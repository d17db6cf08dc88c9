#pragma once

// `glintext recognize [--json] [--no-cleanup] [--no-codes] FILE...`: runs on-device
// recognition on image files, without a display, and prints what a capture would copy.
// Exit status 0, or 2 when a file could not be read (the others are still processed) or
// the arguments are wrong.
namespace RecognizeCommand {

int run(int argc, char** argv);

} // namespace RecognizeCommand
