#include "support/FrameworkLanguage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTranslator>

#include <memory>

namespace {

struct State {
    QMutex lock;
    std::optional<QString> code;
    // catalogue path + "|" + code -> loaded translator; successful loads only, never cleared.
    QHash<QString, QTranslator*> translatorCache;
    // The system language's translator per catalogue, used when no code is forced.
    QHash<QString, QTranslator*> systemCache;
    QStringList catalogues;
    bool cataloguesSet = false;
    bool installed = false;
};

State& state() {
    static State* s = new State; // lives as long as the process; lookups may run at exit
    return *s;
}

// Loads may run on any thread; the cached translators outlive it, so they belong to the
// application's thread.
void adoptByApplication(QObject* object) {
    if (QCoreApplication* app = QCoreApplication::instance())
        object->moveToThread(app->thread());
}

// A translator's destructor takes Qt's translator lock; deleting dropped ones from the event
// loop keeps that away from any lookup that may be under way.
void discard(std::unique_ptr<QTranslator> translator) {
    if (QCoreApplication::instance())
        translator.release()->deleteLater();
}

QStringList cataloguesLocked(State& s) {
    if (!s.cataloguesSet) {
        s.catalogues = {QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                        QStringLiteral("/qtbase")};
        s.cataloguesSet = true;
    }
    return s.catalogues;
}

QTranslator* systemTranslator(const QString& catalogue) {
    State& s = state();
    {
        QMutexLocker locker(&s.lock);
        if (s.systemCache.contains(catalogue))
            return s.systemCache.value(catalogue);
    }
    const QFileInfo info(catalogue);
    auto translator = std::make_unique<QTranslator>();
    adoptByApplication(translator.get());
    const bool loaded = translator->load(QLocale::system(), info.fileName(), QStringLiteral("_"),
                                         info.absolutePath());
    QMutexLocker locker(&s.lock);
    // The system language does not change while we run: a missing catalogue is remembered.
    if (s.systemCache.contains(catalogue) || !loaded) {
        if (!s.systemCache.contains(catalogue))
            s.systemCache.insert(catalogue, nullptr);
        QTranslator* kept = s.systemCache.value(catalogue);
        locker.unlock();
        discard(std::move(translator));
        return kept;
    }
    s.systemCache.insert(catalogue, translator.get());
    return translator.release();
}

// The loaded translator for a catalogue, from the caches only. Lookups never load or
// destroy a translator: QCoreApplication::translate() holds its own lock around them, and
// QTranslator takes that lock again when it loads or dies. Loading happens when the
// language is applied (preload below).
const QTranslator* cached(const QString& catalogue, const std::optional<QString>& code) {
    State& s = state();
    QMutexLocker locker(&s.lock);
    if (code)
        return s.translatorCache.value(catalogue + QLatin1Char('|') + *code);
    return s.systemCache.value(catalogue);
}

// Loads what lookups in the current language need. A missing catalogue is tried again the
// next time a language is applied.
void preload() {
    const std::optional<QString> code = FrameworkLanguage::code();
    for (const QString& catalogue : FrameworkLanguage::catalogues()) {
        if (code)
            FrameworkLanguage::catalogueTranslator(catalogue, *code);
        else
            systemTranslator(catalogue);
    }
}

// Installed once in the application; answers from the forced or the system catalogue.
class RedirectingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        std::optional<QString> forced;
        QStringList catalogues;
        {
            State& s = state();
            QMutexLocker locker(&s.lock);
            forced = s.code;
            catalogues = cataloguesLocked(s);
        }
        for (const QString& catalogue : catalogues) {
            const QTranslator* target = cached(catalogue, forced);
            if (!target)
                continue;
            const QString text = target->translate(context, sourceText, disambiguation, n);
            if (!text.isNull())
                return text;
        }
        return {};
    }
};

void announceLanguageChange() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    // QApplication forwards this to every top-level window, which relabels its Qt texts.
    if (QThread::currentThread() == app->thread()) {
        QEvent event(QEvent::LanguageChange);
        QCoreApplication::sendEvent(app, &event);
    } else {
        QCoreApplication::postEvent(app, new QEvent(QEvent::LanguageChange));
    }
}

} // namespace

namespace FrameworkLanguage {

void setCode(const std::optional<QString>& newCode) {
    {
        State& s = state();
        QMutexLocker locker(&s.lock);
        s.code = newCode && !newCode->isEmpty() ? newCode : std::nullopt;
    }
    preload();
    const bool wasInstalled = isInstalled();
    ensureInstalled();
    // Installing announces the change itself.
    if (wasInstalled)
        announceLanguageChange();
}

std::optional<QString> code() {
    State& s = state();
    QMutexLocker locker(&s.lock);
    return s.code;
}

QStringList candidates(const QString& code) {
    QStringList out;
    auto add = [&out](const QString& suffix) {
        if (!out.contains(suffix))
            out.append(suffix);
    };
    // Qt's catalogues are named with "_" ("qtbase_pt_BR.qm").
    add(QString(code).replace(QLatin1Char('-'), QLatin1Char('_')));
    // Script codes map to Qt's region-named catalogues: zh-Hans -> zh_CN, zh-Hant -> zh_TW.
    const QLocale locale(code);
    if (locale.language() != QLocale::C && code.size() > 2)
        add(locale.name());
    if (code.size() >= 2 && code.left(2) != code)
        add(code.left(2));
    // The source texts' own catalogue stands in for a "Base" localisation.
    if (code.startsWith(QLatin1String("en")))
        add(QString());
    return out;
}

QTranslator* catalogueTranslator(const QString& catalogue, const QString& code) {
    State& s = state();
    const QString cacheKey = catalogue + QLatin1Char('|') + code;
    {
        QMutexLocker locker(&s.lock);
        if (QTranslator* cached = s.translatorCache.value(cacheKey))
            return cached;
    }
    // Loaded outside the lock; a racing loader's result wins and ours is dropped.
    for (const QString& suffix : candidates(code)) {
        const QString path = suffix.isEmpty()
                                 ? catalogue + QStringLiteral(".qm")
                                 : catalogue + QLatin1Char('_') + suffix + QStringLiteral(".qm");
        if (!QFileInfo(path).isFile())
            continue;
        auto translator = std::make_unique<QTranslator>();
        adoptByApplication(translator.get());
        if (!translator->load(path)) {
            discard(std::move(translator));
            continue;
        }
        QMutexLocker locker(&s.lock);
        if (QTranslator* raced = s.translatorCache.value(cacheKey)) {
            locker.unlock();
            discard(std::move(translator));
            return raced;
        }
        s.translatorCache.insert(cacheKey, translator.get());
        return translator.release();
    }
    return nullptr;
}

QStringList catalogues() {
    State& s = state();
    QMutexLocker locker(&s.lock);
    return cataloguesLocked(s);
}

void addCatalogue(const QString& catalogue) {
    {
        State& s = state();
        QMutexLocker locker(&s.lock);
        QStringList list = cataloguesLocked(s);
        if (list.contains(catalogue))
            return;
        s.catalogues.append(catalogue);
    }
    preload();
    announceLanguageChange();
}

void ensureInstalled() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    {
        State& s = state();
        QMutexLocker locker(&s.lock);
        if (s.installed)
            return;
        s.installed = true;
    }
    preload();
    // Stays installed for the rest of the process; installing sends the first LanguageChange.
    QCoreApplication::installTranslator(new RedirectingTranslator);
}

bool isInstalled() {
    State& s = state();
    QMutexLocker locker(&s.lock);
    return s.installed;
}

} // namespace FrameworkLanguage
