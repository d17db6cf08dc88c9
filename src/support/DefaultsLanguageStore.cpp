#include "support/DefaultsLanguageStore.h"

#include "core/Defaults.h"
#include "core/Settings.h"

namespace {
const QString toolkitLanguagesKey = QStringLiteral("AppleLanguages");
} // namespace

DefaultsLanguageStore::DefaultsLanguageStore(Defaults& defaults) : m_defaults(defaults) {}

std::optional<QString> DefaultsLanguageStore::languageCode() const {
    return m_defaults.stringValue(QString::fromLatin1(Settings::languageCode.key));
}

void DefaultsLanguageStore::setToolkitLanguage(const std::optional<QString>& id) {
    if (id)
        m_defaults.setStringList(toolkitLanguagesKey, {*id});
    else if (m_defaults.contains(toolkitLanguagesKey))
        m_defaults.remove(toolkitLanguagesKey);
}
