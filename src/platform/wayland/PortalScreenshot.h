#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

// The desktop portal's Screenshot: one picture of the whole desktop, taken without the
// portal's interactive dialog. The portal hands the picture over as a file; it is read and
// removed at once, so no capture stays on disk. Also tells whether the desktop offers the
// portal at all. GUI thread; never blocks.
class PortalScreenshot : public QObject {
    Q_OBJECT
public:
    struct Result {
        enum class Status {
            Taken,   // `image` holds the desktop
            Refused, // the user or the desktop said no, or the request was cancelled
            Failed,  // no portal, no answer in time, or no readable picture; see `error`
        };
        Status status = Status::Failed;
        QImage image;
        QString error;
    };
    using Done = std::function<void(const Result&)>;

    enum class Presence { Unknown, Present, Missing };

    // A portal that has not answered after this long has failed the capture.
    static constexpr int answerTimeoutMs = 10000;

    explicit PortalScreenshot(QDBusConnection bus, QString service = defaultService(),
                              int timeoutMs = answerTimeoutMs, QObject* parent = nullptr);

    static QString defaultService();

    // Calls `done` once, later, on the GUI thread (never from inside take()).
    void take(Done done);

    // Asks the portal in the background whether it offers Screenshot; presenceChanged()
    // follows when the answer changes what presence() says.
    void probe();
    Presence presence() const { return m_presence; }
    // The last request was refused or cancelled (and none has succeeded since).
    bool lastRefused() const { return m_lastRefused; }

Q_SIGNALS:
    void presenceChanged();

private:
    void setPresence(Presence presence);
    void finishReading(const QVariantMap& results, Done done);
    static Result readPicture(const QVariantMap& results);

    QDBusConnection m_bus;
    QString m_service;
    int m_timeoutMs;
    Presence m_presence = Presence::Unknown;
    bool m_lastRefused = false;
    bool m_probing = false;
};
