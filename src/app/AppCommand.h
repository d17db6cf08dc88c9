#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What one `glintext` invocation asks of the running instance.
struct AppCommand {
    enum class Kind { Launch, Capture, CaptureHQ, Settings, OpenUrl };
    Kind kind = Kind::Launch;
    QString url; // OpenUrl only

    bool operator==(const AppCommand&) const = default;

    // The arguments after the program name. Nothing, with `error` set, for a bad command line.
    static std::optional<AppCommand> parse(const QStringList& arguments, QString* error);
    static QString usage();

    // One line of the local-socket protocol, without the line feed, and back.
    QByteArray encode() const;
    static std::optional<AppCommand> decode(const QByteArray& line);
};

#include <QMetaType>
Q_DECLARE_METATYPE(AppCommand)
