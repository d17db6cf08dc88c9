#include "platform/tesseract/RecognitionLanguages.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>

namespace RecognitionLanguages {

QString modelFor(const QString& uiLanguage) {
    static const QHash<QString, QString> models{
        {"en", "eng"}, {"de", "deu"}, {"fr", "fra"}, {"es", "spa"}, {"it", "ita"}, {"pt", "por"},
        {"nl", "nld"}, {"sv", "swe"}, {"da", "dan"}, {"nb", "nor"}, {"no", "nor"}, {"fi", "fin"},
        {"pl", "pol"}, {"cs", "ces"}, {"sk", "slk"}, {"hu", "hun"}, {"ro", "ron"}, {"tr", "tur"},
        {"el", "ell"}, {"ru", "rus"}, {"uk", "ukr"}, {"bg", "bul"}, {"ja", "jpn"}, {"ko", "kor"},
        {"ar", "ara"}, {"he", "heb"}, {"hi", "hin"}, {"th", "tha"}, {"vi", "vie"}, {"id", "ind"},
        {"ca", "cat"}, {"hr", "hrv"}, {"sl", "slv"}, {"et", "est"}, {"lt", "lit"}, {"lv", "lav"}};
    QString tag = uiLanguage.trimmed();
    tag.replace(u'_', u'-');
    const qsizetype dot = tag.indexOf(u'.');
    if (dot >= 0)
        tag.truncate(dot);
    const QStringList parts = tag.split(u'-', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    const QString language = parts.first().toLower();
    if (language == u"zh") {
        for (const QString& part : parts.mid(1)) {
            const QString p = part.toLower();
            if (p == u"hant" || p == u"tw" || p == u"hk" || p == u"mo")
                return QStringLiteral("chi_tra");
        }
        return QStringLiteral("chi_sim");
    }
    return models.value(language);
}

namespace {

// Most likely first within a script, so that a line's script is found with the first try.
const QStringList ideographicModels{"jpn", "chi_sim", "chi_tra", "kor"};
const QStringList alphabeticModels{"rus", "ukr", "bul", "srp", "mkd", "bel",
                                   "ell", "heb", "ara", "fas", "hin", "tha"};

const QStringList latinModels{"eng", "deu", "fra", "spa", "ita", "por", "nld", "swe", "dan",
                              "nor", "fin", "pol", "ces", "slk", "hun", "ron", "tur", "cat",
                              "hrv", "slv", "est", "lit", "lav", "vie", "ind"};

void addOtherScripts(Choice& choice, const QStringList& chosen, const QStringList& installed) {
    for (const QString& model : ideographicModels)
        if (installed.contains(model) && !chosen.contains(model))
            choice.ideographic.append(model);
    for (const QString& model : alphabeticModels)
        if (installed.contains(model) && !chosen.contains(model))
            choice.alphabetic.append(model);
}

} // namespace

Choice choose(const QStringList& uiLanguages, const QStringList& installed) {
    QStringList models;
    for (const QString& ui : uiLanguages) {
        const QString model = modelFor(ui);
        if (model.isEmpty() || models.contains(model) || !installed.contains(model))
            continue;
        models.append(model);
    }
    if (models.size() > maximumModels)
        models.resize(maximumModels);
    Choice choice;
    const bool english = installed.contains(u"eng"_qs);
    QStringList withEnglish = models;
    if (english && !models.contains(u"eng"_qs)) {
        // English goes last so that the user's language leads.
        withEnglish = models.mid(0, maximumModels - 1);
        withEnglish.append(QStringLiteral("eng"));
    }
    // A model of a Latin alphabet reads English names and terms as well alone as with
    // English beside it, and each model of a combination costs its own load and a second
    // reading of every word it doubts. The CJK and Cyrillic models read Latin shortcuts and
    // names poorly, so English reads beside them.
    const bool latinAlone =
        !models.isEmpty() && std::all_of(models.cbegin(), models.cend(),
                                         [](const QString& m) { return latinModels.contains(m); });
    choice.horizontal = (latinAlone ? models : withEnglish).join(u'+');
    choice.englishInstalled = english;
    addOtherScripts(choice, models, installed);
    for (const QString& model : models) {
        if (model == u"jpn" || model == u"chi_sim" || model == u"chi_tra") {
            const QString vertical = model + QStringLiteral("_vert");
            if (installed.contains(vertical)) {
                choice.vertical = vertical;
                break;
            }
        }
    }
    if (choice.vertical.isEmpty())
        for (const char* vertical : {"jpn_vert", "chi_tra_vert", "chi_sim_vert"})
            if (installed.contains(QLatin1String(vertical)))
                choice.otherVertical.append(QLatin1String(vertical));
    return choice;
}

QString tessdataDirectory() {
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty()) {
        if (QFileInfo::exists(prefix + QStringLiteral("/eng.traineddata")))
            return prefix;
        if (QFileInfo::exists(prefix + QStringLiteral("/tessdata")))
            return prefix + QStringLiteral("/tessdata");
        return prefix;
    }
    for (const char* dir : {"/usr/share/tesseract-ocr/5/tessdata", "/usr/share/tessdata",
                            "/usr/local/share/tessdata"}) {
        if (QFileInfo(QString::fromLatin1(dir)).isDir())
            return QString::fromLatin1(dir);
    }
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

QStringList installedModels(const QString& directory) {
    QStringList models;
    for (const QFileInfo& file :
         QDir(directory).entryInfoList({QStringLiteral("*.traineddata")}, QDir::Files))
        models.append(file.completeBaseName());
    return models;
}

const Choice& forThisUser() {
    static const Choice choice =
        choose(QLocale::system().uiLanguages(), installedModels(tessdataDirectory()));
    return choice;
}

} // namespace RecognitionLanguages
