#pragma once

#include <QObject>
#include <QUrl>

// The cloud account. Placeholder until the cloud work: nothing is signed in. The application
// builds one and starts it at its step of the start-up.
class CloudAccount : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void start();
    // True when the URL was the browser sign-in callback and was taken.
    bool handleCallback(const QUrl& url);
};
