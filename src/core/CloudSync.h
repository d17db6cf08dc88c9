#pragma once

#include <QObject>

// Placeholder until this service is built: start() does nothing yet.
class CloudSync : public QObject {
    Q_OBJECT
public:
    static CloudSync& shared();
    void start();

private:
    CloudSync() = default;
};
