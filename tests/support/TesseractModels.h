#pragma once

#include "platform/tesseract/RecognitionLanguages.h"
#include "platform/tesseract/TesseractEnginePool.h"

#include <QFileInfo>
#include <QStringList>

// Whether every named model is installed; the tests that need one skip without it.
inline bool hasModels(const QStringList& models) {
    const QString dir = RecognitionLanguages::tessdataDirectory();
    for (const QString& m : models)
        if (!QFileInfo::exists(dir + "/" + m + ".traineddata"))
            return false;
    return true;
}

// One pool for a test program: loading the models is the slow part.
inline TesseractEnginePool& pool() {
    static TesseractEnginePool p(RecognitionLanguages::tessdataDirectory());
    return p;
}
