#pragma once

#include "speech/EspeakVoices.h"
#include "speech/Synthesizer.h"
#include "speech/WordAligner.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <mutex>
#include <vector>

// libespeak-ng keeps global state and corrupts its output when two threads synthesise at once, so every use goes
// through one EspeakSession at a time. The library starts with the first owner and then stays for the process.
class EspeakSession
{
public:
    static constexpr int SampleRate = Synthesis::SampleRate;

    // Starts the library for one more owner, from `dataPath` (the folder holding espeak-ng-data) the first time.
    // Throws SpeechError when it cannot start (its data is missing).
    static void start(const QString& dataPath = {});
    static void stop();

    // Holds the library for the calling thread until the session ends.
    EspeakSession();
    ~EspeakSession();
    EspeakSession(const EspeakSession&) = delete;
    EspeakSession& operator=(const EspeakSession&) = delete;

    QList<EspeakVoiceEntry> voices() const;
    // Selects the voice by its identifier (empty for the default English one); false when it is not installed.
    bool setVoice(const QString& identifier);
    void setWordsPerMinute(int wordsPerMinute);
    // Synthesises a piece of plain text. `grown` is told each time audio has been added to `out`; `cancelled` is
    // asked then, and when it answers true synthesis stops at once and this returns false. Rethrows what either
    // throws.
    bool synthesize(const QString& text, bool endPause, Synthesis& out, const std::function<bool()>& cancelled,
                    const std::function<void(const Synthesis&)>& grown = {});

private:
    std::unique_lock<std::mutex> mLock;
};
