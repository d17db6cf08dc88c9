#include "core/ImproveReporter.h"

#include "base/AppPaths.h"

#include <QFile>

ImproveReporter& ImproveReporter::shared() {
    static ImproveReporter* instance = new ImproveReporter();
    return *instance;
}

ImproveReporter::ImproveReporter() : m_queueFile(AppPaths::dataFile("improve-queue.jsonl")) {
    m_queue.setMaxThreadCount(1);
    m_queue.setExpiryTimeout(-1);
}

void ImproveReporter::clearQueue() {
    const QString path = m_queueFile;
    m_queue.start([path] { QFile::remove(path); });
}

void ImproveReporter::waitForQueue() {
    m_queue.waitForDone();
}

// Events are not queued yet: the queue format and its upload arrive together.
void ImproveReporter::start() {}
void ImproveReporter::record(const QString&, const QVariantMap&) {}
