#pragma once

#include <QObject>
#include <QUrl>

// The cloud account. Placeholder until the cloud work: nothing is signed in.
class CloudAccount : public QObject {
    Q_OBJECT
public:
    static CloudAccount& shared();
    void start();
    // True when the URL was the browser sign-in callback and was taken.
    bool handleCallback(const QUrl& url);

private:
    CloudAccount() = default;
};
