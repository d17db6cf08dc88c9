#pragma once

#include "app/AppCommand.h"
#include "app/RecognizeCommand.h"

#include <QString>
#include <QStringList>

// The command line, read without any display or application object, so that help, the
// version, `recognize` and mistakes work over SSH and in CI.
namespace CommandLine {

struct Invocation {
    enum class Kind {
        App,       // the tray application, handed `command`
        Recognize, // `glintext recognize`, with `recognize`
        Print,     // print `text` on stdout and exit 0 (help, version)
        Fail,      // print `text` on stderr and exit 2
    };
    Kind kind = Kind::App;
    AppCommand command;
    RecognizeCommand::Request recognize;
    QString text;
};

// `arguments` without the program name.
Invocation parse(const QStringList& arguments);

// `glintext --help`: every command and option.
QString help();
// `glintext COMMAND --help` for capture, settings and recognize.
QString commandHelp(const QString& command);

} // namespace CommandLine
