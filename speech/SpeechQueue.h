#pragma once

#include "speech/UtteranceRenderer.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <set>

// An utterance waiting for the synthesiser.
struct SpeechJob
{
    int stream = 0;
    QString text;
    bool markup = false;
    QString voice;
    bool toFile = false;
};

// What the user-interface thread, the synthesis thread and the audio thread share. Everything not atomic is
// guarded by `mutex`.
struct SpeechQueue
{
    // The synthesiser keeps about this much audio ready beyond what has been heard.
    static constexpr qint64 AheadBytes = Synthesis::SampleRate * 2;
    // A file rendering keeps at most this much audio waiting to be written.
    static constexpr qint64 FileAheadBytes = 8 * 1024 * 1024;

    std::mutex mutex;
    std::condition_variable synthesisWake;
    bool quit = false;

    std::deque<std::function<void()>> tasks; // run on the synthesis thread between pieces
    std::deque<SpeechJob> jobs;

    // Live speech on its way to the audio thread.
    std::deque<AudioChunk> chunks;
    qint64 chunkBytes = 0;
    qint64 playerBacklog = 0;  // bytes the audio thread holds or has handed to the device but not yet played
    std::set<int> outstanding; // utterances whose end has not been played (nor dropped)

    // A file rendering on its way to the user-interface thread.
    std::condition_variable fileWake;
    std::deque<AudioChunk> fileChunks;
    qint64 fileBytes = 0;
    bool fileDone = false;
    std::exception_ptr fileError;
    std::atomic<bool> fileCancelled{false};

    std::atomic<int> droppedUpTo{0}; // utterances up to this stream number were purged
    std::atomic<int> purges{0};      // counts purges, so the audio thread drops what it holds
    std::atomic<bool> paused{false};
    std::atomic<int> wordsPerMinute{175};
    std::atomic<int> volume{100};
    std::atomic<qint64> delivered{0}; // bytes of speech handed to the audio output, ever

    // Where playback is, so a purged utterance can report how far it got.
    std::atomic<int> playingStream{0};
    std::atomic<qint64> playingPosition{0};
};
