#pragma once

#include "support/AppLanguage.h"

#include <QString>

// Which plural form of a counted text a language uses for a number. A counted text gives its
// forms separated by "|", in the order of its language's categories: "one|other", or
// "one|few|many" for Russian and Polish; a text with one form serves every number.
namespace PluralForms {

// How many forms a counted text in `language` may give: 1, 2 or 3.
int count(AppLanguage language);

// The position of the form `language` uses for `n` (the sign is ignored).
int index(AppLanguage language, qint64 n);

// The form of `text` that `language` uses for `n`. A text with fewer forms than the language
// has falls back to its last form rather than show the separators.
QString select(const QString& text, AppLanguage language, qint64 n);

} // namespace PluralForms
