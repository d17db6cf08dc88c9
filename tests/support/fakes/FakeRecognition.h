#pragma once

#include "platform/Recognition.h"
#include "support/fakes/FakeBarcodeDetector.h"
#include "support/fakes/FakeLanguageTagger.h"
#include "support/fakes/FakeTextAnalyzer.h"

class FakeRecognition : public Recognition {
public:
    TextAnalyzer& textAnalyzer() override { return text; }
    BarcodeDetector& barcodeDetector() override { return codes; }
    LanguageTagger& languageTagger() override { return tagger; }

    FakeTextAnalyzer text;
    FakeBarcodeDetector codes;
    FakeLanguageTagger tagger;
};
