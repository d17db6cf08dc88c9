#include "core/ImproveReporter.h"

#include "core/AppSettings.h"

#include <QFile>

ImproveReporter::ImproveReporter(const AppSettings& settings, QString queueFile, QObject* parent)
    : QObject(parent), m_queueFile(std::move(queueFile)) {
    m_queue.setMaxThreadCount(1);
    m_queue.setExpiryTimeout(-1);
    // Every set to false empties the queue, even when sharing was already off.
    connect(&settings, &AppSettings::changed, this, [this, &settings](const QString& key) {
        if (key == QLatin1String(Settings::improveDataSharing.key) &&
            !settings.value(Settings::improveDataSharing))
            clearQueue();
    });
}

// What is queued is on the serial queue already; it is short file work and must not be lost.
ImproveReporter::~ImproveReporter() {
    m_queue.waitForDone();
}

void ImproveReporter::clearQueue() {
    const QString path = m_queueFile;
    m_queue.start([path] { QFile::remove(path); });
}

void ImproveReporter::waitForQueue() {
    m_queue.waitForDone();
}

// Events and samples are not sent yet: the queue format and its upload arrive together.
void ImproveReporter::start() {}
void ImproveReporter::record(const QString&, const QVariantMap&) {}
void ImproveReporter::sample(const QVariantMap&) {}
