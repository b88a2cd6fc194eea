#pragma once

#include "speech/SynthesisEngine.h"

// The speech engine over Festival, in process: natural-sounding voices (festvox), slower to make than espeak-ng's
// but still far ahead of the ear. Word, sentence and mouth-shape times come from Festival's own utterance.
// Voice ids start with FestivalVoicePrefix.
class FestivalEngine : public SynthesisEngine
{
public:
    explicit FestivalEngine(const Options& options = {}, QObject* parent = nullptr);
};

inline const QString FestivalVoicePrefix = QStringLiteral("festival/");

// The mouth shape (viseme, 0 to 21) of a phone of Festival's US and UK English phone sets; 0 for a pause or a
// phone it does not know.
int visemeForFestivalPhone(const QString& phone);
