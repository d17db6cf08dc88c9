#include "platform/tesseract/TesseractEnginePool.h"

#include "platform/tesseract/SerialOpenMP.h"

#include <tesseract/baseapi.h>

#include <algorithm>

TesseractEnginePool::TesseractEnginePool(QString dataDirectory)
    : m_dataDirectory(std::move(dataDirectory)) {}

TesseractEnginePool::~TesseractEnginePool() {
    for (auto& list : m_idle) {
        for (tesseract::TessBaseAPI* engine : list) {
            engine->End();
            delete engine;
        }
    }
}

void TesseractEnginePool::Return::operator()(tesseract::TessBaseAPI* engine) const {
    if (engine)
        pool->giveBack(engine);
}

tesseract::TessBaseAPI* TesseractEnginePool::create(const QString& languages) {
    SerialOpenMP::onThisThread();
    auto* engine = new tesseract::TessBaseAPI;
    const QByteArray data = m_dataDirectory.toLocal8Bit();
    const QByteArray langs = languages.toLatin1();
    if (engine->Init(data.constData(), langs.constData(), tesseract::OEM_LSTM_ONLY) != 0) {
        delete engine;
        return nullptr;
    }
    // Keeps runs of spaces (terminals, code) and stops spaces between CJK characters.
    engine->SetVariable("preserve_interword_spaces", "1");
    // Pages arrive dark on light already; the inverted second reading of doubtful
    // lines would only cost time.
    engine->SetVariable("tessedit_do_invert", "0");
    // Resolution warnings would otherwise go to stderr on every call.
    engine->SetVariable("debug_file", "/dev/null");
    return engine;
}

tesseract::TessBaseAPI* TesseractEnginePool::takeIdle(const QString& languages, bool* used) {
    QList<tesseract::TessBaseAPI*>& idle = m_idle[languages];
    if (idle.isEmpty())
        return nullptr;
    tesseract::TessBaseAPI* engine = idle.takeLast();
    *used = m_used.remove(engine);
    return engine;
}

// Outside the lock: forgetting costs a few milliseconds a model.
TesseractEnginePool::Lease TesseractEnginePool::lease(tesseract::TessBaseAPI* engine, bool used) {
    if (engine && used)
        engine->ClearAdaptiveClassifier();
    return Lease(engine, Return{this});
}

TesseractEnginePool::Lease TesseractEnginePool::acquire(const QString& languages) {
    QMutexLocker lock(&m_mutex);
    for (;;) {
        bool used = false;
        if (tesseract::TessBaseAPI* engine = takeIdle(languages, &used)) {
            lock.unlock();
            return lease(engine, used);
        }
        if (m_pending.value(languages) == 0)
            break;
        m_created.wait(&m_mutex);
    }
    ++m_pending[languages];
    lock.unlock();
    tesseract::TessBaseAPI* engine = create(languages);
    lock.relock();
    --m_pending[languages];
    if (engine)
        m_languagesOf.insert(engine, languages);
    m_created.wakeAll();
    return Lease(engine, Return{this});
}

TesseractEnginePool::Lease TesseractEnginePool::acquireIdle(const QString& languages) {
    QMutexLocker lock(&m_mutex);
    bool used = false;
    tesseract::TessBaseAPI* engine = takeIdle(languages, &used);
    lock.unlock();
    return lease(engine, used);
}

TesseractEnginePool::Lease TesseractEnginePool::acquireLedBy(const QString& model) {
    QMutexLocker lock(&m_mutex);
    const QString lead = model + u'+';
    for (auto it = m_idle.cbegin(); it != m_idle.cend(); ++it) {
        if (!it.key().startsWith(lead) || it.value().isEmpty())
            continue;
        // Lent to read again what it has just read part of: nothing to forget first. It
        // comes back as used, and forgets before it is lent for another page.
        bool used = false;
        return Lease(takeIdle(it.key(), &used), Return{this});
    }
    return Lease(nullptr, Return{this});
}

void TesseractEnginePool::prewarm(const QString& languages, int count) {
    for (;;) {
        QMutexLocker lock(&m_mutex);
        // Engines at work count too: a recognition that took the engine this warm-up has
        // just made must not have it load another one (a cold run would wait for it).
        const auto made = std::count(m_languagesOf.cbegin(), m_languagesOf.cend(), languages);
        if (made + m_pending.value(languages) >= count)
            return;
        ++m_pending[languages];
        lock.unlock();
        tesseract::TessBaseAPI* engine = create(languages);
        lock.relock();
        --m_pending[languages];
        if (engine) {
            m_languagesOf.insert(engine, languages);
            m_idle[languages].append(engine);
        }
        m_created.wakeAll();
        if (!engine)
            return;
    }
}

int TesseractEnginePool::idleCount(const QString& languages) {
    QMutexLocker lock(&m_mutex);
    return int(m_idle.value(languages).size());
}

void TesseractEnginePool::giveBack(tesseract::TessBaseAPI* engine) {
    engine->Clear();
    QMutexLocker lock(&m_mutex);
    m_used.insert(engine);
    m_idle[m_languagesOf.value(engine)].append(engine);
    m_created.wakeAll();
}
