#pragma once

#include "speech/SpeechEngine.h"

#include <QList>
#include <QString>

// An installed espeak-ng voice as the library lists it.
struct EspeakVoiceEntry
{
    QString name;       // e.g. "English (Great Britain)"
    QString language;   // its first language code, e.g. "en-gb"
    QString identifier; // its file below espeak-ng-data/voices, e.g. "gmw/en"; what the library selects it by
};

// The voices to offer, in the library's order: MBROLA voices ("mb/...", listed but not installed) left out; each
// described by its own name, or where that is missing or only a code, by its language as QLocale names it
// ("German (Switzerland)"); a description already given to an earlier voice gets the language code (or the
// identifier) added, so no two voices look alike. The id is the identifier.
QList<EngineVoice> describeVoices(const QList<EspeakVoiceEntry>& voices);

// The speaking speed for a rate of -10 to 10, in words per minute. Rate 0 is espeak-ng's normal 175;
// each side is geometric up to the library's limits, so every step changes the speed by the same ratio:
//   rate < 0: 175 * (80 / 175) ^ (-rate / 10)   (-10 gives 80, -5 gives 118)
//   rate > 0: 175 * (450 / 175) ^ (rate / 10)   (5 gives 281, 10 gives 450)
// Rates beyond -10..10 count as the nearest end.
int wordsPerMinuteForRate(int rate);
