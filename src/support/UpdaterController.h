#pragma once

#include <QObject>

// Software updates from the configured feed. The application builds one only when the build
// has a feed address (feedConfigured()).
class UpdaterController : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    static bool feedConfigured();
    void checkForUpdates();
};
