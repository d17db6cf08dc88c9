#pragma once

#include "platform/LoginItem.h"

// XDG autostart: ~/.config/autostart/glintext.desktop exists while registered.
class XdgAutostartLoginItem : public LoginItem {
public:
    bool registerApp(QString* error) override;
    bool unregisterApp(QString* error) override;

    static QString desktopFilePath();
    // The desktop entry written on register; `executable` is quoted as the spec requires.
    static QByteArray desktopEntry(const QString& executable);
};
