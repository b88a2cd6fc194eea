#include "export/Mp3Encoding.h"

#include "core/Errors.h"

#include <QCoreApplication>

#include <lame/lame.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int SampleRate = 22050;
constexpr qint64 BytesPerSecond = SampleRate * 2;
// A cut needs this much silence at the end of a piece: it falls inside a pause, never in a word.
constexpr qint64 QuietTailBytes = 2400;
constexpr int QuietLevel = 64;
// Samples of one MPEG-2 layer III frame, the kind the encoder makes at 22050 Hz.
constexpr qint64 FrameSamples = 576;

using LameHandle = std::unique_ptr<lame_global_flags, decltype(&lame_close)>;

bool endsQuietly(const QByteArray& pcm)
{
    if (pcm.size() < QuietTailBytes)
        return false;
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData() + pcm.size() - QuietTailBytes);
    return std::all_of(samples, samples + QuietTailBytes / 2, [](qint16 s) { return std::abs(int(s)) < QuietLevel; });
}

// Where each frame of an MPEG-2 layer III stream starts, from the frame headers (sync, bit rate, sample rate and
// padding give each frame's length).
std::vector<qsizetype> frameStarts(const QByteArray& mp3)
{
    static constexpr int Kbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static constexpr int Rates[4] = {22050, 24000, 16000, 0};
    std::vector<qsizetype> starts;
    const auto* bytes = reinterpret_cast<const uchar*>(mp3.constData());
    for (qsizetype at = 0; at + 4 <= mp3.size();) {
        const bool mpeg2Layer3 = bytes[at] == 0xFF && (bytes[at + 1] & 0xFE) == 0xF2;
        const int kbps = Kbps[bytes[at + 2] >> 4];
        const int rate = Rates[(bytes[at + 2] >> 2) & 3];
        if (!mpeg2Layer3 || kbps == 0 || rate == 0)
            break;
        starts.push_back(at);
        at += 72000 * kbps / rate + ((bytes[at + 2] >> 1) & 1);
    }
    return starts;
}

} // namespace

EncodedPiece EncodeMp3Piece(const QByteArray& pcm, const std::atomic<bool>& cancelled)
{
    LameHandle lame(lame_init(), &lame_close);
    if (!lame)
        throw SpeechError(QCoreApplication::translate("Mp3Encoding", "The MP3 encoder could not start."));
    lame_set_num_channels(lame.get(), 1);
    lame_set_in_samplerate(lame.get(), SampleRate);
    lame_set_mode(lame.get(), MONO);
    // The pieces are joined, so none carries the header frame that describes a whole file.
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        throw SpeechError(QCoreApplication::translate("Mp3Encoding", "The MP3 encoder could not start."));

    EncodedPiece piece;
    const auto* samples = reinterpret_cast<const short*>(pcm.constData());
    const qint64 count = pcm.size() / 2;
    QByteArray block;
    for (qint64 at = 0; at < count && !cancelled.load(); at += SampleRate) {
        const int n = int(std::min<qint64>(SampleRate, count - at));
        // The size the encoder's documentation asks for in the worst case.
        block.resize(n * 5 / 4 + 7200);
        const int made = lame_encode_buffer(lame.get(), samples + at, nullptr, n,
                                            reinterpret_cast<unsigned char*>(block.data()), int(block.size()));
        if (made < 0)
            throw SpeechError(
                QCoreApplication::translate("Mp3Encoding", "The MP3 encoder failed (error %1).").arg(made));
        piece.mp3.append(block.constData(), made);
    }
    block.resize(7200);
    const int flushed =
        lame_encode_flush(lame.get(), reinterpret_cast<unsigned char*>(block.data()), int(block.size()));
    if (flushed < 0)
        throw SpeechError(
            QCoreApplication::translate("Mp3Encoding", "The MP3 encoder failed (error %1).").arg(flushed));
    piece.mp3.append(block.constData(), flushed);
    piece.delay = lame_get_encoder_delay(lame.get());
    piece.samples = qint64(frameStarts(piece.mp3).size()) * FrameSamples;
    return piece;
}

void TrimMp3Piece(EncodedPiece& piece, qint64 pcmSamples)
{
    // The frames after the one holding the last sample given carry the encoder's padding and the tail of the
    // decoder's delay: silence here, since pieces end in a pause. Frames never borrow from later ones, so the
    // stream stays valid.
    const std::vector<qsizetype> starts = frameStarts(piece.mp3);
    const qsizetype keep = qsizetype((piece.delay + pcmSamples + FrameSamples - 1) / FrameSamples);
    if (keep < qsizetype(starts.size())) {
        piece.mp3.truncate(starts[size_t(keep)]);
        piece.samples = keep * FrameSamples;
    }
}

Mp3Writer::Mp3Writer(QThreadPool* pool, double pieceSeconds)
    : mPool(pool), mPieceBytes(std::max<qint64>(2, qint64(pieceSeconds * BytesPerSecond)) & ~qint64(1))
{
}

Mp3Writer::~Mp3Writer()
{
    mCancelled->store(true);
    for (Piece& piece : mPieces) {
        if (piece.encoded.valid())
            piece.encoded.wait();
    }
}

void Mp3Writer::add(const QByteArray& pcm)
{
    mPending.append(pcm);
    mAdded += pcm.size() / 2;
    if (mPending.size() >= mPieceBytes && endsQuietly(mPending)) {
        // A whole number of frames ends the piece, inside the pause; the rest of the pause opens the next one.
        const qint64 cut = mPending.size() / 2 / FrameSamples * FrameSamples * 2;
        submit(cut, true);
    } else if (mPending.size() >= 3 * mPieceBytes) {
        // Speech without a pause for three pieces' length is cut all the same, so the work still spreads.
        submit(mPending.size(), false);
    }
}

void Mp3Writer::submit(qint64 bytes, bool trim)
{
    Piece piece;
    piece.start = mAdded - mPending.size() / 2;
    auto task = std::make_shared<std::packaged_task<EncodedPiece()>>(
        [pcm = mPending.left(bytes), trim, cancelled = mCancelled] {
            EncodedPiece encoded = EncodeMp3Piece(pcm, *cancelled);
            if (trim)
                TrimMp3Piece(encoded, pcm.size() / 2);
            return encoded;
        });
    mPending.remove(0, bytes);
    piece.encoded = task->get_future();
    mPool->start([task] { (*task)(); });
    mPieces.push_back(std::move(piece));
}

QByteArray Mp3Writer::finish(const std::function<bool(double)>& progress)
{
    if (!mPending.isEmpty() || mPieces.empty())
        submit(mPending.size(), false);
    QByteArray mp3;
    qint64 base = 0;
    for (size_t i = 0; i < mPieces.size(); ++i) {
        Piece& piece = mPieces[i];
        while (piece.encoded.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            if (progress && !progress(double(i) / mPieces.size())) {
                mCancelled->store(true);
                throw SpeechError(QCoreApplication::translate("Mp3Encoding", "The MP3 encoding was cancelled."));
            }
        }
        piece.result = piece.encoded.get();
        piece.base = base;
        base += piece.result.samples;
        mp3.append(piece.result.mp3);
        piece.result.mp3.clear();
    }
    if (progress)
        progress(1.0);
    return mp3;
}

qint64 Mp3Writer::mp3Sample(qint64 sample) const
{
    auto after = std::upper_bound(mPieces.begin(), mPieces.end(), sample,
                                  [](qint64 at, const Piece& piece) { return at < piece.start; });
    if (after == mPieces.begin())
        return sample;
    const Piece& piece = *std::prev(after);
    return piece.base + piece.result.delay + (sample - piece.start);
}
