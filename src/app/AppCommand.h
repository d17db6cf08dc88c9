#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What one `glintext` invocation asks of the running instance (CommandLine reads it from
// the arguments), and its line in the local-socket protocol.
struct AppCommand {
    enum class Kind { Launch, Capture, CaptureHQ, Settings, SignIn, OpenUrl };
    Kind kind = Kind::Launch;
    // OpenUrl: the address. Settings: the tab to show (its raw value); empty keeps the tab.
    QString argument;

    bool operator==(const AppCommand&) const = default;

    // One line of the local-socket protocol, without the line feed, and back.
    QByteArray encode() const;
    static std::optional<AppCommand> decode(const QByteArray& line);
};

#include <QMetaType>
Q_DECLARE_METATYPE(AppCommand)
