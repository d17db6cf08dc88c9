#include "platform/cld2/Cld2LanguageTagger.h"

// The CLD2 headers use size_t and friends without including them.
#include <cld2/public/compact_lang_det.h>
#include <cstdio>

std::optional<QString> Cld2LanguageTagger::dominantLanguage(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty())
        return std::nullopt;
    bool reliable = false;
    const CLD2::Language language =
        CLD2::DetectLanguage(utf8.constData(), int(utf8.size()), true, &reliable);
    // Very short strings ("OK") come back with a guess flagged unreliable.
    if (!reliable || language == CLD2::UNKNOWN_LANGUAGE)
        return std::nullopt;
    const char* code = CLD2::LanguageCode(language);
    if (!code || !*code)
        return std::nullopt;
    return QString::fromLatin1(code);
}
