#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QThreadPool>
#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <vector>

// One stretch of speech encoded as a self-contained MP3 stream by libmp3lame, with the lame program's own
// defaults: mono, the speech's sample rate (22050 Hz), the bit rate the encoder chooses (PARLIVO_MP3_QUALITY, lame's
// -q from 0 to 9, lets a benchmark choose a cheaper search). `cancelled` is looked
// at between seconds of audio; a cancelled encoding returns what it had. Throws SpeechError when the encoder
// cannot start or fails.
struct EncodedPiece
{
    QByteArray mp3;
    qint64 samples = 0; // what the MP3 holds once decoded: whole frames, the encoder's delay and padding included
    int delay = 0;      // samples of the encoder's delay before the first sample given
};
EncodedPiece EncodeMp3Piece(const QByteArray& pcm, const std::atomic<bool>& cancelled);
// Drops the frames after the one that holds the last of `pcmSamples` given, for a piece that ends in a pause and
// is followed by another: joined pieces then add only the encoder's delay, under a frame, at each join.
void TrimMp3Piece(EncodedPiece& piece, qint64 pcmSamples);

// True when the MP3 in `file` is whole: its frames (between a tag at the start and one at the end) run exactly to its
// end, so a file cut short, or no MP3 at all, is not.
bool Mp3RunsToItsEnd(QIODevice& file);

// Turns speech into one MP3 while it is being rendered. The audio is cut at pauses into pieces of about
// `pieceSeconds`, and each piece is encoded on a thread of `pool` as soon as it is complete, so long speech is
// encoded on every core while the voice renders the rest. Each piece is a fresh MP3 stream, so the joined file
// is valid throughout, and a cut inside a pause is silent on both sides. The MP3 goes to `write` piece by piece, in
// order, as soon as each is encoded, and no more pieces wait for the encoder than it has threads to take them: the
// memory used stays the same however long the speech.
class Mp3Writer
{
public:
    using Sink = std::function<void(const QByteArray& mp3)>;
    explicit Mp3Writer(Sink write, QThreadPool* pool = QThreadPool::globalInstance(), double pieceSeconds = 30);
    // Cancels the encoding still running and waits for it.
    ~Mp3Writer();
    Mp3Writer(const Mp3Writer&) = delete;
    Mp3Writer& operator=(const Mp3Writer&) = delete;

    // 16-bit mono samples at 22050 Hz, in order. When the encoder is behind, waits for it and meanwhile calls
    // `waiting` now and then; its false cancels, which throws SpeechError. What `write` throws comes out of here.
    void add(const QByteArray& pcm, const std::function<bool()>& waiting = {});
    // Encodes the rest and writes what is left. `progress` receives writtenShare() and returns false to cancel,
    // which throws SpeechError.
    void finish(const std::function<bool(double)>& progress = {});
    // The share of the audio added so far whose MP3 has been written (0 to 1).
    double writtenShare() const { return mAdded > 0 ? double(mWritten) / double(mAdded) : 0.0; }
    // After finish: where the sample at `sample` of what was added is heard in the decoded MP3, in samples.
    qint64 mp3Sample(qint64 sample) const;

private:
    // Where a piece lies: its first sample among all added, its encoder's delay, and the decoded samples of the
    // pieces before it.
    struct Placed
    {
        qint64 start = 0;
        int delay = 0;
        qint64 base = 0;
    };
    struct Pending
    {
        qint64 start = 0;
        qint64 samples = 0; // of the audio added
        std::future<EncodedPiece> encoded;
    };
    // Encodes the first `bytes` waiting; `trim` when they end in a pause.
    void submit(qint64 bytes, bool trim);
    // Waits for the oldest piece the encoder holds and writes it; `waiting` as for add().
    void writeOldest(const std::function<bool()>& waiting);
    [[noreturn]] void cancel();

    Sink mWrite;
    QThreadPool* mPool;
    qint64 mPieceBytes;
    QByteArray mPending;
    qint64 mAdded = 0;
    qint64 mWritten = 0; // samples added whose MP3 has been written
    std::deque<Pending> mEncoding;
    std::vector<Placed> mPlaced;
    qint64 mDecoded = 0;
    std::shared_ptr<std::atomic<bool>> mCancelled = std::make_shared<std::atomic<bool>>(false);
};
