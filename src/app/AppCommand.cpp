#include "app/AppCommand.h"

QByteArray AppCommand::encode() const {
    switch (kind) {
    case Kind::Launch:
        return "launch";
    case Kind::Capture:
        return "capture";
    case Kind::CaptureHQ:
        return "capture --hq";
    case Kind::Settings:
        return argument.isEmpty() ? QByteArray("settings") : "settings " + argument.toUtf8();
    case Kind::SignIn:
        return "sign-in";
    case Kind::OpenUrl:
        return "url " + argument.toUtf8();
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
    if (line.startsWith("settings ") && line.size() > 9)
        return AppCommand{Kind::Settings, QString::fromUtf8(line.mid(9))};
    if (line == "sign-in")
        return AppCommand{Kind::SignIn, {}};
    if (line.startsWith("url "))
        return AppCommand{Kind::OpenUrl, QString::fromUtf8(line.mid(4))};
    return std::nullopt;
}
