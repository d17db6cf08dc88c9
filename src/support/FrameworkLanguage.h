#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTranslator;

// Makes Qt's own texts (standard buttons, text-field context menus, file dialogs) follow the
// interface language at once. One translator is installed in the application for good; every
// lookup through it asks the catalogue of the forced language, or of the system language when
// none is forced. Lookups happen on any thread; the code and the cache share one lock.
namespace FrameworkLanguage {

// Forces a language id ("de", "zh-Hans", "pt-BR"), or clears it. Installs the redirection
// on first use and tells every window to retranslate.
void setCode(const std::optional<QString>& code);
std::optional<QString> code();

// The translator of catalogue `catalogue` (a path without "_<suffix>.qm", such as
// ".../translations/qtbase") for `code`, loaded once and cached. Candidates in order: the
// code, the code's Qt locale name ("zh_CN" for zh-Hans), its first two characters, and for
// English codes the catalogue without suffix. Nothing when no candidate file loads. Lookups
// read only what this has loaded; applying a language (setCode) calls it.
QTranslator* catalogueTranslator(const QString& catalogue, const QString& code);

// Candidate suffixes tried by catalogueTranslator() for `code`; an empty suffix is the unsuffixed
// catalogue.
QStringList candidates(const QString& code);

// The catalogues that are redirected. By default Qt's qtbase in its translations folder.
QStringList catalogues();
void addCatalogue(const QString& catalogue);

// Installs the redirection once, when an application object exists (before that, setCode
// only records the code); later calls do nothing.
void ensureInstalled();
bool isInstalled();

} // namespace FrameworkLanguage
