#pragma once

#include <QByteArray>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <vector>

// One stretch of speech encoded as a self-contained MP3 stream by libmp3lame, with the lame program's own
// defaults: mono, the speech's sample rate (22050 Hz), the bit rate the encoder chooses. `cancelled` is looked
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

// Turns speech into one MP3 while it is being rendered. The audio is cut at pauses into pieces of about
// `pieceSeconds`, and each piece is encoded on a thread of `pool` as soon as it is complete, so long speech is
// encoded on every core while the voice renders the rest. Each piece is a fresh MP3 stream, so the joined file
// is valid throughout, and a cut inside a pause is silent on both sides.
class Mp3Writer
{
public:
    explicit Mp3Writer(QThreadPool* pool = QThreadPool::globalInstance(), double pieceSeconds = 30);
    // Cancels the encoding still running and waits for it.
    ~Mp3Writer();
    Mp3Writer(const Mp3Writer&) = delete;
    Mp3Writer& operator=(const Mp3Writer&) = delete;

    // 16-bit mono samples at 22050 Hz, in order.
    void add(const QByteArray& pcm);
    // Waits for every piece and returns the whole MP3. `progress` receives the share of pieces done (0 to 1)
    // and returns false to cancel, which throws SpeechError.
    QByteArray finish(const std::function<bool(double)>& progress = {});
    // After finish: where the sample at `sample` of what was added is heard in the decoded MP3, in samples.
    qint64 mp3Sample(qint64 sample) const;

private:
    struct Piece
    {
        qint64 start = 0; // the first sample of the piece among all added
        std::future<EncodedPiece> encoded;
        EncodedPiece result;
        qint64 base = 0; // decoded samples of the pieces before it
    };
    // Encodes the first `bytes` waiting; `trim` when they end in a pause.
    void submit(qint64 bytes, bool trim);

    QThreadPool* mPool;
    qint64 mPieceBytes;
    QByteArray mPending;
    qint64 mAdded = 0;
    std::vector<Piece> mPieces;
    std::shared_ptr<std::atomic<bool>> mCancelled = std::make_shared<std::atomic<bool>>(false);
};
