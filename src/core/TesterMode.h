#pragma once

#include <QObject>

// Placeholder until this service is built: start() does nothing yet.
class TesterMode : public QObject {
    Q_OBJECT
public:
    static TesterMode& shared();
    void start();

private:
    TesterMode() = default;
};
