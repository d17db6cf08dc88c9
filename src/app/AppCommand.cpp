#include "app/AppCommand.h"

#include "BuildConfig.h"

#include <QUrl>

namespace {

bool isAppUrl(const QString& argument) {
    const QString prefix = QString::fromLatin1(BuildConfig::urlScheme) + u':';
    return argument.startsWith(prefix, Qt::CaseInsensitive);
}

} // namespace

QString AppCommand::usage() {
    return QStringLiteral("Usage: glintext [capture [--hq] | settings | %1://...]\n"
                          "  (no command)    start Glintext in the tray\n"
                          "  capture         select an area and copy its text\n"
                          "  capture --hq    the same, then refine the reading in the cloud\n"
                          "  settings        open the settings window\n")
        .arg(QString::fromLatin1(BuildConfig::urlScheme));
}

std::optional<AppCommand> AppCommand::parse(const QStringList& arguments, QString* error) {
    auto fail = [error](const QString& message) -> std::optional<AppCommand> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (arguments.isEmpty())
        return AppCommand{};
    const QString& first = arguments.first();
    if (first == QLatin1String("capture")) {
        if (arguments.size() == 1)
            return AppCommand{Kind::Capture, {}};
        if (arguments.size() == 2 && arguments.at(1) == QLatin1String("--hq"))
            return AppCommand{Kind::CaptureHQ, {}};
        return fail(
            QStringLiteral("unexpected argument '%1' after 'capture'").arg(arguments.at(1)));
    }
    if (first == QLatin1String("settings")) {
        if (arguments.size() == 1)
            return AppCommand{Kind::Settings, {}};
        return fail(
            QStringLiteral("unexpected argument '%1' after 'settings'").arg(arguments.at(1)));
    }
    if (isAppUrl(first)) {
        if (arguments.size() == 1)
            return AppCommand{Kind::OpenUrl, first};
        return fail(
            QStringLiteral("unexpected argument '%1' after the address").arg(arguments.at(1)));
    }
    return fail(QStringLiteral("unknown command '%1'").arg(first));
}

QByteArray AppCommand::encode() const {
    switch (kind) {
    case Kind::Launch:
        return "launch";
    case Kind::Capture:
        return "capture";
    case Kind::CaptureHQ:
        return "capture --hq";
    case Kind::Settings:
        return "settings";
    case Kind::OpenUrl:
        return "url " + url.toUtf8();
    }
    return "launch";
}

std::optional<AppCommand> AppCommand::decode(const QByteArray& line) {
    if (line == "launch")
        return AppCommand{Kind::Launch, {}};
    if (line == "capture")
        return AppCommand{Kind::Capture, {}};
    if (line == "capture --hq")
        return AppCommand{Kind::CaptureHQ, {}};
    if (line == "settings")
        return AppCommand{Kind::Settings, {}};
    if (line.startsWith("url "))
        return AppCommand{Kind::OpenUrl, QString::fromUtf8(line.mid(4))};
    return std::nullopt;
}
