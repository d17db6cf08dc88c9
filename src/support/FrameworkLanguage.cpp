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
    QHash<QString, QTranslator*> bundleCache;
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
        if (QTranslator* cached = s.systemCache.value(catalogue))
            return cached;
    }
    const QFileInfo info(catalogue);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale::system(), info.fileName(), QStringLiteral("_"),
                          info.absolutePath()))
        return nullptr;
    QMutexLocker locker(&s.lock);
    if (QTranslator* raced = s.systemCache.value(catalogue))
        return raced;
    s.systemCache.insert(catalogue, translator.get());
    return translator.release();
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
            const QTranslator* target =
                forced ? FrameworkLanguage::lproj(catalogue, *forced) : systemTranslator(catalogue);
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

QTranslator* lproj(const QString& catalogue, const QString& code) {
    State& s = state();
    const QString cacheKey = catalogue + QLatin1Char('|') + code;
    {
        QMutexLocker locker(&s.lock);
        if (QTranslator* cached = s.bundleCache.value(cacheKey))
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
        if (!translator->load(path))
            continue;
        QMutexLocker locker(&s.lock);
        if (QTranslator* raced = s.bundleCache.value(cacheKey))
            return raced;
        s.bundleCache.insert(cacheKey, translator.get());
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
    // Owned by the application; installTranslator sends the first LanguageChange.
    QCoreApplication::installTranslator(new RedirectingTranslator);
}

bool isInstalled() {
    State& s = state();
    QMutexLocker locker(&s.lock);
    return s.installed;
}

} // namespace FrameworkLanguage
