// Speech encoded in pieces on several threads and joined into one MP3, decoded again by the lame program.
#include "speech/EspeakEngine.h"
#include "export/Mp3Encoding.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::vector<qint16> samplesOf(const QByteArray& pcm)
{
    const auto* data = reinterpret_cast<const qint16*>(pcm.constData());
    return {data, data + pcm.size() / 2};
}

int largestStep(const std::vector<qint16>& samples, size_t from, size_t to)
{
    int largest = 0;
    for (size_t i = from + 1; i < std::min(to, samples.size()); ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

} // namespace

TEST(Mp3Pieces, JoinedPiecesDecodeToTheSpeechWithoutAGapOrAClick)
{
    EspeakEngine::Options options;
    options.useClock = true;
    EspeakEngine engine(options);
    QString text;
    for (int i = 0; i < 12; ++i)
        text += QStringLiteral("The children listened while the teacher read the story aloud. ");
    QByteArray pcm;
    QByteArray mp3;
    // Pieces of two seconds, so a short text has several joins.
    Mp3Writer writer([&mp3](const QByteArray& encoded) { mp3 += encoded; }, QThreadPool::globalInstance(), 2.0);
    engine.render(text, false,
                  [&](const QByteArray& stretch) {
                      pcm += stretch;
                      writer.add(stretch);
                  },
                  {});
    // The voice renders far faster than the encoder encodes: it waits for the encoder rather than piling up audio,
    // and the MP3 is written as it is encoded, not kept to the end.
    const qsizetype writtenWhileRendering = mp3.size();
    writer.finish();
    EXPECT_GT(writtenWhileRendering, mp3.size() / 2);

    QTemporaryDir folder;
    QFile encoded(folder.filePath(QStringLiteral("joined.mp3")));
    ASSERT_TRUE(encoded.open(QIODevice::WriteOnly));
    encoded.write(mp3);
    encoded.close();
    ASSERT_EQ(QProcess::execute(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("--decode"),
                                                         encoded.fileName(), folder.filePath(QStringLiteral("d.wav"))}),
              0);
    QFile decodedFile(folder.filePath(QStringLiteral("d.wav")));
    ASSERT_TRUE(decodedFile.open(QIODevice::ReadOnly));
    const std::vector<qint16> decoded = samplesOf(decodedFile.readAll().mid(44));
    const std::vector<qint16> original = samplesOf(pcm);

    // Where the pieces begin in the original: the writer maps each to its place in the MP3.
    std::vector<qint64> joins;
    for (qint64 sample = 1; sample < qint64(original.size()); ++sample) {
        if (writer.mp3Sample(sample) - writer.mp3Sample(sample - 1) != 1)
            joins.push_back(sample);
    }
    ASSERT_GE(joins.size(), 5u) << "the speech was cut into pieces";
    // Each join adds the encoder's delay, under a frame of 576 samples, and the last piece its own padding.
    const double frame = 576;
    EXPECT_NEAR(double(decoded.size()), double(original.size()), frame * (joins.size() + 2));
    EXPECT_GE(decoded.size(), original.size());

    // Around every join the decoded sound moves no more sharply than the speech itself does.
    const int speechStep = largestStep(original, 0, original.size());
    for (qint64 join : joins) {
        const qint64 at = writer.mp3Sample(join);
        EXPECT_LE(largestStep(decoded, size_t(at - 1200), size_t(at + 1200)), speechStep) << "join at " << join;
    }
    // And the sound is where the writer says: the loudest stretch of the speech lines up.
    const auto loudest = std::max_element(original.begin(), original.end(),
                                          [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); });
    const qint64 where = writer.mp3Sample(loudest - original.begin());
    const auto near = std::max_element(decoded.begin() + where - 300, decoded.begin() + where + 300,
                                       [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); });
    EXPECT_NEAR(double(std::abs(*near)), double(std::abs(*loudest)), std::abs(*loudest) * 0.3);
}
