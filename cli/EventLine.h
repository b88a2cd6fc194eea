#pragma once

#include "speech/SpeechEngine.h"

#include <QByteArray>

// One event as a line of JSON, e.g. {"type":"word","pos":12,"len":5,"ms":830}, ending in a line break: types
// "sentence", "word", "viseme" (with "id", "next" and "duration" in ms) and "end"; "ms" is the time in the
// audio. Positions are in UTF-16 units of the text as read. Empty for events that are not reported.
QByteArray EventJsonLine(const SpeechEvent& event);
