#pragma once

#include "speech/SynthesisEngine.h"

using EspeakEngineOptions = SynthesisEngineOptions;

// The speech engine over libespeak-ng: fast, and a voice for a hundred languages.
class EspeakEngine : public SynthesisEngine
{
public:
    explicit EspeakEngine(const Options& options = {}, QObject* parent = nullptr);
};
