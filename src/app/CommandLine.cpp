#include "app/CommandLine.h"

#include "BuildConfig.h"
#include "ui/settings/SettingsTab.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace CommandLine {

namespace {

const QString program = QStringLiteral("glintext");

QCommandLineOption helpOption() {
    return {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("show this help")};
}

QCommandLineOption versionOption() {
    return {{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("print the version")};
}

// Each command once: how it is written, what it does, and its options.
struct Command {
    QString name;
    QString synopsis;
    QString summary;
    QList<QCommandLineOption> options;
};

QString urlForm() {
    return QString::fromLatin1(BuildConfig::urlScheme) + QStringLiteral("://...");
}

const QList<Command>& commands() {
    static const QList<Command> all = {
        {QStringLiteral("capture"),
         QStringLiteral("capture [--hq]"),
         QStringLiteral("select an area and copy its text"),
         {{QStringLiteral("hq"), QStringLiteral("the high-accuracy capture: the reading is "
                                                "refined in the cloud")}}},
        {QStringLiteral("settings"),
         QStringLiteral("settings [TAB]"),
         QStringLiteral("open the settings window, on TAB if given (general, history, privacy, "
                        "permissions, account, about)"),
         {}},
        {QStringLiteral("sign-in"),
         QStringLiteral("sign-in"),
         QStringLiteral("sign in to the Glintext cloud account in the web browser"),
         {}},
        {QStringLiteral("recognize"),
         QStringLiteral("recognize [OPTIONS] FILE..."),
         QStringLiteral("print what a capture of each image would copy (no display needed)"),
         {{QStringLiteral("json"),
           QStringLiteral("one JSON object per file (file, text, barcodePayloads, "
                          "vertical, models, langHint, ms)")},
          {QStringLiteral("no-cleanup"), QStringLiteral("leave the recognised text as read")},
          {QStringLiteral("no-codes"), QStringLiteral("do not look for QR codes and barcodes")}}},
    };
    return all;
}

const Command* findCommand(const QString& name) {
    for (const Command& command : commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QString optionLines(const QList<QCommandLineOption>& options) {
    QString text;
    for (const QCommandLineOption& option : options) {
        QStringList names;
        for (const QString& name : option.names())
            names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
        text += QStringLiteral("  %1  %2\n")
                    .arg(names.join(QStringLiteral(", ")), -20)
                    .arg(option.description());
    }
    return text;
}

QString usageLine(const Command& command) {
    return QStringLiteral("usage: %1 %2\n").arg(program, command.synopsis);
}

bool isAppUrl(const QString& argument) {
    return argument.startsWith(QString::fromLatin1(BuildConfig::urlScheme) + u':',
                               Qt::CaseInsensitive);
}

Invocation print(const QString& text) {
    return {Invocation::Kind::Print, {}, {}, text};
}

Invocation fail(const QString& message, const QString& hint) {
    return {
        Invocation::Kind::Fail, {}, {}, QStringLiteral("%1: %2\n%3").arg(program, message, hint)};
}

QString tryHelp() {
    return QStringLiteral("Try '%1 --help'.\n").arg(program);
}

// What QCommandLineParser found wrong, in this program's words.
Invocation parserFailure(const QCommandLineParser& parser, const QString& context,
                         const QString& hint) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString name = unknown.first();
        const QString written =
            (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        if (context.isEmpty())
            return fail(QStringLiteral("unknown command '%1'").arg(written), hint);
        return fail(QStringLiteral("%1: unknown option %2").arg(context, written), hint);
    }
    return fail(parser.errorText(), hint);
}

Invocation parseCommand(const Command& command, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(helpOption());
    parser.addOptions(command.options);
    const QString context = program + u' ' + command.name;
    if (!parser.parse(QStringList{context} + arguments))
        return parserFailure(parser, context, usageLine(command));
    if (parser.isSet(QStringLiteral("help")))
        return print(commandHelp(command.name));
    const QStringList positional = parser.positionalArguments();

    if (command.name == QLatin1String("recognize")) {
        if (positional.isEmpty())
            return {Invocation::Kind::Fail, {}, {}, usageLine(command)};
        RecognizeCommand::Request request{parser.isSet(QStringLiteral("json")),
                                          parser.isSet(QStringLiteral("no-cleanup")),
                                          parser.isSet(QStringLiteral("no-codes")),
                                          positional,
                                          {}};
        return {Invocation::Kind::Recognize, {}, request, {}};
    }
    if (command.name == QLatin1String("settings") && positional.size() == 1) {
        if (!SettingsTabs::fromRawValue(positional.first()))
            return fail(QStringLiteral("unknown tab '%1'").arg(positional.first()),
                        usageLine(command));
        return {Invocation::Kind::App, {AppCommand::Kind::Settings, positional.first()}, {}, {}};
    }
    if (!positional.isEmpty()) {
        return fail(QStringLiteral("unexpected argument '%1' after '%2'")
                        .arg(positional.first(), command.name),
                    usageLine(command));
    }
    if (command.name == QLatin1String("capture")) {
        const bool hq = parser.isSet(QStringLiteral("hq"));
        return {Invocation::Kind::App,
                {hq ? AppCommand::Kind::CaptureHQ : AppCommand::Kind::Capture, {}},
                {},
                {}};
    }
    if (command.name == QLatin1String("sign-in"))
        return {Invocation::Kind::App, {AppCommand::Kind::SignIn, {}}, {}, {}};
    return {Invocation::Kind::App, {AppCommand::Kind::Settings, {}}, {}, {}};
}

} // namespace

QString help() {
    QString text = QStringLiteral("usage: %1 [COMMAND [OPTIONS]]\n\n"
                                  "Copies text from anywhere on the screen. Without a command, "
                                  "starts Glintext in the tray;\n"
                                  "with one, hands it to the running Glintext (starting it when "
                                  "needed).\n\nCommands:\n")
                       .arg(program);
    for (const Command& command : commands())
        text += QStringLiteral("  %1  %2\n").arg(command.synopsis, -28).arg(command.summary);
    text += QStringLiteral("  %1  %2\n")
                .arg(urlForm(), -28)
                .arg(QStringLiteral("hand a sign-in address to the running Glintext"));
    text += QStringLiteral("\nOptions:\n") + optionLines({helpOption(), versionOption()});
    for (const Command& command : commands()) {
        if (!command.options.isEmpty())
            text += QStringLiteral("\nOptions of %1:\n").arg(command.name) +
                    optionLines(command.options);
    }
    text += QStringLiteral("\nRun '%1 COMMAND --help' for one command.\n").arg(program);
    return text;
}

QString commandHelp(const QString& name) {
    const Command* command = findCommand(name);
    if (!command)
        return help();
    QString text = usageLine(*command) + u'\n';
    text += command->summary.left(1).toUpper() + command->summary.mid(1) + QStringLiteral(".\n");
    if (name == QLatin1String("recognize")) {
        text += QStringLiteral("The settings for clean-up and codes apply unless switched off "
                               "here. Exit status 2 when a file\ncould not be read (the others "
                               "are still read).\n");
    }
    text += QStringLiteral("\nOptions:\n") + optionLines(QList{helpOption()} + command->options);
    return text;
}

Invocation parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // What follows the command belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOption(helpOption());
    parser.addOption(versionOption());
    if (!parser.parse(QStringList{program} + arguments))
        return parserFailure(parser, {}, tryHelp());
    if (parser.isSet(QStringLiteral("help")))
        return print(help());
    if (parser.isSet(QStringLiteral("version")))
        return print(
            QStringLiteral("Glintext %1\n").arg(QString::fromLatin1(BuildConfig::version)));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return {Invocation::Kind::App, {}, {}, {}};
    const QString& first = positional.first();
    if (const Command* command = findCommand(first))
        return parseCommand(*command, positional.mid(1));
    if (isAppUrl(first)) {
        if (positional.size() > 1) {
            return fail(
                QStringLiteral("unexpected argument '%1' after the address").arg(positional.at(1)),
                tryHelp());
        }
        return {Invocation::Kind::App, {AppCommand::Kind::OpenUrl, first}, {}, {}};
    }
    return fail(QStringLiteral("unknown command '%1'").arg(first), tryHelp());
}

} // namespace CommandLine
