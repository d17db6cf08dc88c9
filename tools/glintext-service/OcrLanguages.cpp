#include "OcrLanguages.h"

#include <QDir>

namespace OcrLanguages {

namespace {

struct ScriptCount {
    int kana = 0;
    int hangul = 0;
    int han = 0;
    int cyrillic = 0;
    int ukrainian = 0; // letters Russian does not have
    int greek = 0;
};

ScriptCount countScripts(const QString& text) {
    ScriptCount count;
    for (const uint ucs : text.toUcs4()) {
        switch (QChar::script(ucs)) {
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
            ++count.kana;
            break;
        case QChar::Script_Hangul:
            ++count.hangul;
            break;
        case QChar::Script_Han:
            ++count.han;
            break;
        case QChar::Script_Cyrillic:
            ++count.cyrillic;
            if (QStringLiteral("іїєґІЇЄҐ").contains(QChar(ucs)))
                ++count.ukrainian;
            break;
        case QChar::Script_Greek:
            ++count.greek;
            break;
        default:
            break;
        }
    }
    return count;
}

} // namespace

QSet<QString> installed(const QString& dir) {
    QSet<QString> names;
    const QStringList files = QDir(dir).entryList({"*.traineddata"}, QDir::Files);
    for (const QString& file : files)
        names.insert(file.chopped(int(qstrlen(".traineddata"))));
    return names;
}

QString tessdataDir() {
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        return prefix;
    return "/usr/share/tesseract-ocr/5/tessdata";
}

QStringList choose(const QString& transcript, const QStringList& defaults,
                   const QSet<QString>& available) {
    const ScriptCount count = countScripts(transcript);
    QStringList wanted;
    // Kana means Japanese even beside kanji; Han alone is read as Chinese.
    if (count.kana > 0)
        wanted << "jpn";
    if (count.hangul > 0)
        wanted << "kor";
    if (count.han > 0 && count.kana == 0)
        wanted << "chi_sim";
    if (count.ukrainian > 0)
        wanted << "ukr";
    if (count.cyrillic > 0)
        wanted << "rus";
    if (count.greek > 0)
        wanted << "ell";
    wanted << defaults << "eng";
    QStringList chosen;
    for (const QString& language : std::as_const(wanted)) {
        if (available.contains(language) && !chosen.contains(language))
            chosen << language;
    }
    return chosen;
}

} // namespace OcrLanguages
