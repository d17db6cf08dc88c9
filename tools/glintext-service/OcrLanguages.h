#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Which Tesseract languages read a page, from the scripts of the device's own transcript
// (the only hint a request carries) and the languages the service was told to read.
namespace OcrLanguages {
// Installed traineddata names in `tessdataDir` ("eng", "jpn", ...).
QSet<QString> installed(const QString& tessdataDir);
// The tessdata folder Tesseract itself uses here.
QString tessdataDir();
// Script languages first (they decide how CJK spacing comes out), then the defaults;
// only installed ones; never empty while "eng" or a default is installed.
QStringList choose(const QString& transcript, const QStringList& defaults,
                   const QSet<QString>& installed);
} // namespace OcrLanguages
