#pragma once

#include <QObject>

// Placeholder until this service is built: start() does nothing yet. The application builds
// one and starts it at its step of the start-up.
class CloudSync : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void start();
};
