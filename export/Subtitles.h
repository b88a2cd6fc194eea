#pragma once

#include "speech/SpeechEngine.h"

#include <QList>
#include <QString>
#include <vector>

// A stretch of the spoken text with the time its speech starts and ends, in milliseconds from the start of the
// audio.
struct TimedSpan
{
    int position = 0; // in the text as given to the voice, UTF-16 units
    int length = 0;
    qint64 startMs = 0;
    qint64 endMs = 0;
};

// The sentences and words of one rendering, timed from its events.
struct SpeechTimings
{
    QList<TimedSpan> sentences;
    QList<TimedSpan> words;
    qint64 durationMs = 0;
};

// Milliseconds of 22050 Hz mono 16-bit audio before a byte position.
qint64 AudioMilliseconds(qint64 audioBytes);

// Times the sentences and words of `text` from the events of its rendering (in the order they came). Each span
// lasts until the next one of its kind starts (a word at most until its sentence ends), the last until the end
// of the audio, so the times never run backwards and never pass the audio's end, even when the engine repeats
// or skips a word. A sentence reported without a length runs to the next sentence.
SpeechTimings TimingsFromEvents(const QString& text, const std::vector<SpeechEvent>& events);

// "mm:ss.xx" (minutes keep counting past 59), as LRC files write times.
QString LrcTimestamp(qint64 ms);
// "hh:mm:ss,mmm", as SRT files write times.
QString SrtTimestamp(qint64 ms);

// An enhanced LRC file: one line per sentence, "[mm:ss.xx]" and then each word with its own "<mm:ss.xx>".
// Sentences with no word events carry only the line's time.
QString FormatLrc(const QString& text, const SpeechTimings& timings, const QString& title = {});
// An SRT file: one numbered cue per sentence.
QString FormatSrt(const QString& text, const SpeechTimings& timings);
