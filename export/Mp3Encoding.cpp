#include "export/Mp3Encoding.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QIODevice>

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

// The length in bytes of the MPEG layer III frame whose four header bytes are at `header`, or 0 when they are no
// such header: sync, version, bit rate, sample rate and padding give each frame's length.
int frameLength(const uchar* header)
{
    static constexpr int Mpeg1Kbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int Mpeg2Kbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static constexpr int Mpeg1Rates[4] = {44100, 48000, 32000, 0};
    const int version = (header[1] >> 3) & 3; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const bool layer3 = ((header[1] >> 1) & 3) == 1;
    if (header[0] != 0xFF || (header[1] & 0xE0) != 0xE0 || version == 1 || !layer3)
        return 0;
    const bool mpeg1 = version == 3;
    const int kbps = (mpeg1 ? Mpeg1Kbps : Mpeg2Kbps)[header[2] >> 4];
    const int rate = Mpeg1Rates[(header[2] >> 2) & 3] / (mpeg1 ? 1 : version == 2 ? 2 : 4);
    if (kbps == 0 || rate == 0)
        return 0;
    return (mpeg1 ? 144000 : 72000) * kbps / rate + ((header[2] >> 1) & 1);
}

// Where each frame of an MP3 stream starts.
std::vector<qsizetype> frameStarts(const QByteArray& mp3)
{
    std::vector<qsizetype> starts;
    const auto* bytes = reinterpret_cast<const uchar*>(mp3.constData());
    for (qsizetype at = 0; at + 4 <= mp3.size();) {
        const int length = frameLength(bytes + at);
        if (length == 0)
            break;
        starts.push_back(at);
        at += length;
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
    // Benchmarks of hours of speech choose a cheaper search (lame's -q, 0 to 9).
    bool chosen = false;
    const int quality = qEnvironmentVariableIntValue("PARLIVO_MP3_QUALITY", &chosen);
    if (chosen)
        lame_set_quality(lame.get(), std::clamp(quality, 0, 9));
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

bool Mp3RunsToItsEnd(QIODevice& file)
{
    const qint64 size = file.size();
    QByteArray header(10, Qt::Uninitialized);
    qint64 at = 0;
    // A tag before the frames (ID3v2: its size in seven-bit bytes after the ten of its header), and one after them.
    if (file.seek(0) && file.read(header.data(), 10) == 10 && header.startsWith("ID3")) {
        const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
        at =
            10 + (qint64(bytes[6] & 0x7F) << 21 | (bytes[7] & 0x7F) << 14 | (bytes[8] & 0x7F) << 7 | (bytes[9] & 0x7F));
    }
    qint64 end = size;
    if (size >= 128 && file.seek(size - 128) && file.read(3) == "TAG")
        end = size - 128;
    qint64 frames = 0;
    while (at < end) {
        if (at + 4 > end || !file.seek(at) || file.read(header.data(), 4) != 4)
            return false;
        const int length = frameLength(reinterpret_cast<const uchar*>(header.constData()));
        if (length == 0)
            return false;
        at += length;
        ++frames;
    }
    return frames > 0 && at == end;
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

Mp3Writer::Mp3Writer(Sink write, QThreadPool* pool, double pieceSeconds)
    : mWrite(std::move(write)), mPool(pool),
      mPieceBytes(std::max<qint64>(2, qint64(pieceSeconds * BytesPerSecond)) & ~qint64(1))
{
}

Mp3Writer::~Mp3Writer()
{
    mCancelled->store(true);
    for (Pending& piece : mEncoding) {
        if (piece.encoded.valid())
            piece.encoded.wait();
    }
}

void Mp3Writer::add(const QByteArray& pcm, const std::function<bool()>& waiting)
{
    mPending.append(pcm);
    mAdded += pcm.size() / 2;
    const bool pieceDone = mPending.size() >= mPieceBytes && endsQuietly(mPending);
    // Speech without a pause for three pieces' length is cut all the same, so the work still spreads.
    const bool tooLong = mPending.size() >= 3 * mPieceBytes;
    if (!pieceDone && !tooLong)
        return;
    // Every thread busy and one piece ready to follow: the rendering waits for the encoder, which is slower.
    while (qsizetype(mEncoding.size()) > std::max(1, mPool->maxThreadCount()))
        writeOldest(waiting);
    // A whole number of frames ends a piece inside the pause; the rest of the pause opens the next one.
    if (pieceDone)
        submit(mPending.size() / 2 / FrameSamples * FrameSamples * 2, true);
    else
        submit(mPending.size(), false);
    while (!mEncoding.empty() &&
           mEncoding.front().encoded.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        writeOldest(waiting);
}

void Mp3Writer::submit(qint64 bytes, bool trim)
{
    Pending piece;
    piece.start = mAdded - mPending.size() / 2;
    piece.samples = bytes / 2;
    auto task = std::make_shared<std::packaged_task<EncodedPiece()>>(
        [pcm = mPending.left(bytes), trim, cancelled = mCancelled] {
            EncodedPiece encoded = EncodeMp3Piece(pcm, *cancelled);
            if (trim)
                TrimMp3Piece(encoded, pcm.size() / 2);
            return encoded;
        });
    mPending.remove(0, bytes);
    // What was cut off keeps only its own size: the buffer would otherwise hold a piece's room for good.
    mPending.squeeze();
    piece.encoded = task->get_future();
    mPool->start([task] { (*task)(); });
    mEncoding.push_back(std::move(piece));
}

void Mp3Writer::writeOldest(const std::function<bool()>& waiting)
{
    Pending& oldest = mEncoding.front();
    while (oldest.encoded.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        if (waiting && !waiting())
            cancel();
    }
    const EncodedPiece piece = oldest.encoded.get();
    mPlaced.push_back({oldest.start, piece.delay, mDecoded});
    mDecoded += piece.samples;
    mWritten += oldest.samples;
    mEncoding.pop_front();
    mWrite(piece.mp3);
}

void Mp3Writer::cancel()
{
    mCancelled->store(true);
    throw SpeechError(QCoreApplication::translate("Mp3Encoding", "The MP3 encoding was cancelled."));
}

void Mp3Writer::finish(const std::function<bool(double)>& progress)
{
    if (!mPending.isEmpty() || (mPlaced.empty() && mEncoding.empty()))
        submit(mPending.size(), false);
    while (!mEncoding.empty())
        writeOldest([&] { return !progress || progress(writtenShare()); });
    if (progress)
        progress(1.0);
}

qint64 Mp3Writer::mp3Sample(qint64 sample) const
{
    auto after = std::upper_bound(mPlaced.begin(), mPlaced.end(), sample,
                                  [](qint64 at, const Placed& piece) { return at < piece.start; });
    if (after == mPlaced.begin())
        return sample;
    const Placed& piece = *std::prev(after);
    return piece.base + piece.delay + (sample - piece.start);
}
