#pragma once

#include <QObject>

// Placeholder until this service is built: start() does nothing yet.
class CrashReporter : public QObject {
    Q_OBJECT
public:
    static CrashReporter& shared();
    void start();

private:
    CrashReporter() = default;
};
