#pragma once

#include <QString>
#include <QStringList>

// Which Tesseract models read this user's text: the preferred interface languages whose
// models are installed, the user's first language leading, and English beside the models
// of other scripts.
namespace RecognitionLanguages {

inline constexpr int maximumModels = 3;

struct Choice {
    QString horizontal; // "deu", "deu+fra", "jpn+eng", "rus+eng"; "eng" alone
    QString vertical;   // "jpn_vert", or empty when no vertical model fits
    // Installed models for scripts the horizontal ones may not read, tried on lines those
    // misread: Han, kana and Hangul ("kor", "chi_tra") and other alphabets ("rus", "ukr").
    QStringList ideographic;
    QStringList alphabetic;
    bool englishInstalled = false; // read beside another script's model
    // Without one of its own, a desktop still meets columns of Japanese or Chinese: the
    // installed vertical models, tried when the ink clearly runs in columns.
    QStringList otherVertical;
};

// "de-CH" -> "deu", "zh-TW" -> "chi_tra"; empty for languages without a model name.
QString modelFor(const QString& uiLanguage);
Choice choose(const QStringList& uiLanguages, const QStringList& installedModels);

QString tessdataDirectory();
QStringList installedModels(const QString& directory);
// From QLocale::uiLanguages() and the installed models; computed once.
const Choice& forThisUser();

} // namespace RecognitionLanguages
