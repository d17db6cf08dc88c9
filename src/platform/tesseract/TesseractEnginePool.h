#pragma once

#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QWaitCondition>

#include <memory>

namespace tesseract {
class TessBaseAPI;
}

// Initialised Tesseract engines kept between recognitions, one set per language string:
// loading a model costs 100 ms and more, so no capture should pay for it. An engine is
// used by one thread at a time; the pool hands each out exclusively, and hands it out again
// without what it learnt from the pages it read (a fresh one has nothing to forget).
class TesseractEnginePool {
public:
    struct Return {
        TesseractEnginePool* pool = nullptr;
        void operator()(tesseract::TessBaseAPI* engine) const;
    };
    using Lease = std::unique_ptr<tesseract::TessBaseAPI, Return>;

    explicit TesseractEnginePool(QString dataDirectory);
    ~TesseractEnginePool();

    // An idle engine for `languages`, or a new one. Waits for an engine that is being
    // created for the same languages rather than loading the model twice. Empty when the
    // model cannot be loaded.
    Lease acquire(const QString& languages);
    // An idle engine, or nothing; never loads a model.
    Lease acquireIdle(const QString& languages);
    // An idle engine of a combination that `model` leads ("chi_sim+eng" for "chi_sim"), or
    // nothing; never loads a model. Such an engine reads each word with `model` first and
    // asks the others only about words it doubts: where none of them read a word, its
    // reading is what `model` alone reads. Meant for the page it has just read: it is lent
    // without forgetting what it learnt from that page.
    Lease acquireLedBy(const QString& model);
    // Creates engines until `count` exist for `languages`, idle or at work.
    void prewarm(const QString& languages, int count = 1);
    int idleCount(const QString& languages);

private:
    tesseract::TessBaseAPI* create(const QString& languages);
    void giveBack(tesseract::TessBaseAPI* engine);
    // Takes an idle engine out, under the lock; `*used` says whether it must forget first.
    tesseract::TessBaseAPI* takeIdle(const QString& languages, bool* used);
    Lease lease(tesseract::TessBaseAPI* engine, bool used);

    QString m_dataDirectory;
    QMutex m_mutex;
    QWaitCondition m_created;
    QHash<QString, QList<tesseract::TessBaseAPI*>> m_idle;
    QHash<QString, int> m_pending;
    QHash<tesseract::TessBaseAPI*, QString> m_languagesOf;
    QSet<tesseract::TessBaseAPI*> m_used; // idle engines that have read since they forgot
};
