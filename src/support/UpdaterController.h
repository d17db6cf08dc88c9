#pragma once

#include <QObject>

// Software updates from the configured feed; exists only when a feed is configured.
class UpdaterController : public QObject {
    Q_OBJECT
public:
    static bool feedConfigured();
    static UpdaterController& shared();
    void checkForUpdates();

private:
    UpdaterController() = default;
};
