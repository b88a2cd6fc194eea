// The espeak-ng engine end to end: real synthesis, played to the clock (no sound device) at 20 times real time.
#include "core/Errors.h"
#include "speech/EspeakEngine.h"
#include "speech/WavFile.h"
#include "speech/Voice.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr double ClockSpeed = 20;
constexpr qint64 BytesPerSecond = 44100;

class EspeakEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EspeakEngine::Options options;
        options.useClock = true;
        options.clockSpeed = ClockSpeed;
        engine = std::make_unique<EspeakEngine>(options);
        QObject::connect(engine.get(), &SpeechEngine::speechEvent,
                         [this](const SpeechEvent& event) { events.push_back(event); });
    }

    bool waitFor(const std::function<bool()>& condition, int timeoutMs = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        return true;
    }

    int count(SpeechEvent::Type type, int stream) const
    {
        return int(std::count_if(events.begin(), events.end(),
                                 [&](const SpeechEvent& e) { return e.type == type && e.stream == stream; }));
    }

    bool ended(int stream) const { return count(SpeechEvent::EndStream, stream) > 0; }

    std::vector<SpeechEvent> of(SpeechEvent::Type type, int stream) const
    {
        std::vector<SpeechEvent> found;
        for (const SpeechEvent& event : events) {
            if (event.type == type && event.stream == stream)
                found.push_back(event);
        }
        return found;
    }

    QStringList spoken(const QString& text, SpeechEvent::Type type, int stream) const
    {
        QStringList words;
        for (const SpeechEvent& event : of(type, stream))
            words << text.mid(event.position, event.length);
        return words;
    }

    // Speaks and plays the text through to its end.
    int speakThrough(const QString& text, bool markup = false)
    {
        const int stream = engine->speak(text, markup, true);
        EXPECT_TRUE(waitFor([&] { return ended(stream); }));
        return stream;
    }

    static bool nonDecreasing(const std::vector<SpeechEvent>& list)
    {
        for (size_t i = 1; i < list.size(); ++i) {
            if (list[i].audioPosition < list[i - 1].audioPosition)
                return false;
        }
        return true;
    }

    std::unique_ptr<EspeakEngine> engine;
    std::vector<SpeechEvent> events;
};

const QString LongText = QStringLiteral(
    "One morning the reader opened the book at the first page. She read the opening sentence aloud, slowly. "
    "Then she read the second sentence, and the third, and the fourth. Every word was heard in its turn. "
    "The lesson went on until the bell rang at the end of the hour. Nobody wanted it to stop so soon.");

TEST_F(EspeakEngineTest, EveryWordGetsExactlyOneEventInOrderEvenWhereTheSynthesiserStumbles)
{
    const QString text = QStringLiteral("The cost of the 2021 well-known e.g. plan.");
    const int stream = speakThrough(text);
    EXPECT_EQ(spoken(text, SpeechEvent::Word, stream),
              (QStringList{QStringLiteral("The"), QStringLiteral("cost"), QStringLiteral("of"), QStringLiteral("the"),
                           QStringLiteral("2021"), QStringLiteral("well-known"), QStringLiteral("e.g."),
                           QStringLiteral("plan")}));
    EXPECT_TRUE(nonDecreasing(of(SpeechEvent::Word, stream)));
    const auto sentences = of(SpeechEvent::Sentence, stream);
    ASSERT_EQ(sentences.size(), 1u);
    EXPECT_EQ(sentences[0].position, 0);
    EXPECT_EQ(sentences[0].length, text.size());
    EXPECT_EQ(count(SpeechEvent::EndStream, stream), 1);
    EXPECT_TRUE(engine->isDone());
}

TEST_F(EspeakEngineTest, AccentedEmojiAndMultiLineTextSelectsExactlyTheWordsAndSentences)
{
    const QString text = QStringLiteral("Café 😀 naïve.\r\nNext line here? Yes!");
    const int stream = speakThrough(text);
    EXPECT_EQ(spoken(text, SpeechEvent::Word, stream),
              (QStringList{QStringLiteral("Café"), QStringLiteral("😀"), QStringLiteral("naïve"), QStringLiteral("Next"),
                           QStringLiteral("line"), QStringLiteral("here"), QStringLiteral("Yes")}));
    EXPECT_EQ(
        spoken(text, SpeechEvent::Sentence, stream),
        (QStringList{QStringLiteral("Café 😀 naïve."), QStringLiteral("Next line here?"), QStringLiteral("Yes!")}));
    const auto words = of(SpeechEvent::Word, stream);
    EXPECT_TRUE(nonDecreasing(words));
    // The sentence after the line break starts when its first word does, not before the first sentence ends.
    const auto sentences = of(SpeechEvent::Sentence, stream);
    ASSERT_EQ(sentences.size(), 3u);
    EXPECT_GT(sentences[1].audioPosition, words[2].audioPosition);
    EXPECT_LE(sentences[1].audioPosition, words[3].audioPosition);
}

TEST_F(EspeakEngineTest, MarkupSilencesPauseAndPositionsStillReferToTheTextAsGiven)
{
    const QString text = QStringLiteral("Hello <silence msec='2000'/>there <emph>bright</emph> world.");
    const int stream = speakThrough(text, true);
    const auto words = of(SpeechEvent::Word, stream);
    EXPECT_EQ(spoken(text, SpeechEvent::Word, stream),
              (QStringList{QStringLiteral("Hello"), QStringLiteral("there"), QStringLiteral("bright"),
                           QStringLiteral("world")}));
    ASSERT_EQ(words.size(), 4u);
    EXPECT_GE(words[1].audioPosition - words[0].audioPosition, 2 * BytesPerSecond);
    EXPECT_LT(words[1].audioPosition - words[0].audioPosition, 3 * BytesPerSecond);
    const auto sentences = of(SpeechEvent::Sentence, stream);
    ASSERT_EQ(sentences.size(), 1u);
    EXPECT_EQ(sentences[0].length, text.size());
}

TEST_F(EspeakEngineTest, TagsAreNeverSpokenButAStrayAngleBracketIs)
{
    const QString markup = QStringLiteral("<speak>Quite <unknown attr=\"1\">fine</unknown></speak>");
    const int tagged = speakThrough(markup, true);
    EXPECT_EQ(spoken(markup, SpeechEvent::Word, tagged),
              (QStringList{QStringLiteral("Quite"), QStringLiteral("fine")}));

    const QString stray = QStringLiteral("if a <b then c> d");
    const int plain = speakThrough(stray, true);
    EXPECT_EQ(spoken(stray, SpeechEvent::Word, plain),
              (QStringList{QStringLiteral("if"), QStringLiteral("a"), QStringLiteral("<b"), QStringLiteral("then"),
                           QStringLiteral("c>"), QStringLiteral("d")}));

    // Without the markup flag, text that begins with a tag is markup all the same.
    const QString leading = QStringLiteral("<p>Alone</p>");
    const int guessed = engine->speak(leading, false, true);
    ASSERT_TRUE(waitFor([&] { return ended(guessed); }));
    EXPECT_EQ(spoken(leading, SpeechEvent::Word, guessed), QStringList{QStringLiteral("Alone")});
}

TEST_F(EspeakEngineTest, LipsMeetForPAndBAndM)
{
    const int stream = speakThrough(QStringLiteral("p b m"));
    const auto visemes = of(SpeechEvent::Viseme, stream);
    EXPECT_TRUE(std::any_of(visemes.begin(), visemes.end(), [](const SpeechEvent& e) { return e.viseme == 21; }));
    EXPECT_TRUE(nonDecreasing(visemes));
    for (size_t i = 0; i + 1 < visemes.size(); ++i)
        EXPECT_EQ(visemes[i].nextViseme, visemes[i + 1].viseme);
}

TEST_F(EspeakEngineTest, PurgeDropsTheUtteranceAtOnceAndItEndsExactlyOnce)
{
    const int first = engine->speak(LongText, false, true);
    ASSERT_TRUE(waitFor([&] { return count(SpeechEvent::Word, first) >= 3; }));
    const int second = engine->speak(QStringLiteral("Stop."), false, true);
    const size_t atPurge = events.size();
    ASSERT_TRUE(waitFor([&] { return ended(second); }));
    QCoreApplication::processEvents();

    EXPECT_EQ(count(SpeechEvent::EndStream, first), 1);
    EXPECT_EQ(count(SpeechEvent::EndStream, second), 1);
    for (size_t i = atPurge; i < events.size(); ++i) {
        if (events[i].stream == first) {
            EXPECT_EQ(events[i].type, SpeechEvent::EndStream) << "a dropped utterance's word arrived after the purge";
        }
    }
    // The dropped utterance ends before the new one says anything.
    auto firstEnd = std::find_if(events.begin(), events.end(), [&](const SpeechEvent& e) {
        return e.stream == first && e.type == SpeechEvent::EndStream;
    });
    auto secondWord = std::find_if(events.begin(), events.end(), [&](const SpeechEvent& e) {
        return e.stream == second && e.type == SpeechEvent::Word;
    });
    EXPECT_LT(firstEnd - events.begin(), secondWord - events.begin());
    EXPECT_EQ(spoken(QStringLiteral("Stop."), SpeechEvent::Word, second), QStringList{QStringLiteral("Stop")});
    EXPECT_TRUE(engine->isDone());
}

TEST_F(EspeakEngineTest, SkipEndsEverythingQueuedAndTheEngineIsDoneAtOnce)
{
    const int first = engine->speak(LongText, false, true);
    const int second = engine->speak(LongText, false, false);
    ASSERT_TRUE(waitFor([&] { return count(SpeechEvent::Word, first) >= 2; }));
    EXPECT_FALSE(engine->isDone());
    EXPECT_EQ(engine->skipAll(), 2);
    EXPECT_TRUE(engine->isDone());
    ASSERT_TRUE(waitFor([&] { return ended(first) && ended(second); }));
    QThread::msleep(100);
    QCoreApplication::processEvents();
    EXPECT_EQ(count(SpeechEvent::EndStream, first), 1);
    EXPECT_EQ(count(SpeechEvent::EndStream, second), 1);
    EXPECT_EQ(count(SpeechEvent::Word, second), 0);
    EXPECT_EQ(engine->skipAll(), 0);
}

TEST_F(EspeakEngineTest, PauseHoldsAudioAndEventsAndResumeGoesOnWithoutLosingAWord)
{
    const int stream = engine->speak(LongText, false, true);
    ASSERT_TRUE(waitFor([&] { return count(SpeechEvent::Word, stream) >= 4; }));
    engine->pause();
    QThread::msleep(100);
    QCoreApplication::processEvents();
    const qint64 delivered = engine->audioDelivered();
    const size_t held = events.size();
    // Half a second on a clock twenty times fast is ten seconds of speech.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(events.size(), held);
    EXPECT_EQ(engine->audioDelivered(), delivered);
    EXPECT_FALSE(engine->isDone());

    engine->resume();
    ASSERT_TRUE(waitFor([&] { return ended(stream); }));
    const QStringList words = spoken(LongText, SpeechEvent::Word, stream);
    EXPECT_EQ(words.size(), LongText.split(u' ', Qt::SkipEmptyParts).size());
    EXPECT_EQ(words.first(), QStringLiteral("One"));
    EXPECT_EQ(words.last(), QStringLiteral("soon"));
    EXPECT_EQ(count(SpeechEvent::EndStream, stream), 1);
}

TEST_F(EspeakEngineTest, QueuedUtterancesPlayInTurnEachEndingOnce)
{
    const int first = engine->speak(QStringLiteral("First words."), false, false);
    const int second = engine->speak(QStringLiteral("Second words."), false, false);
    const int empty = engine->speak(QString(), false, false);
    ASSERT_TRUE(waitFor([&] { return ended(empty); }));
    auto firstEnd = std::find_if(events.begin(), events.end(), [&](const SpeechEvent& e) {
        return e.stream == first && e.type == SpeechEvent::EndStream;
    });
    auto secondWord = std::find_if(events.begin(), events.end(), [&](const SpeechEvent& e) {
        return e.stream == second && e.type == SpeechEvent::Word;
    });
    EXPECT_LT(firstEnd - events.begin(), secondWord - events.begin());
    for (int stream : {first, second, empty})
        EXPECT_EQ(count(SpeechEvent::EndStream, stream), 1);
    EXPECT_TRUE(engine->isDone());
}

TEST_F(EspeakEngineTest, SpeakAndWaitReturnsAfterTheSpeechAndDeliversItsEventsMeanwhile)
{
    EspeakEngine* raw = engine.release();
    Voice voice{std::unique_ptr<SpeechEngine>(raw)};
    QStringList heard;
    int ends = 0;
    QObject::connect(&voice, &Voice::OnWord, [&](const SpeechEvent& event) {
        heard << QStringLiteral("Hello there friend.").mid(event.position, event.length);
    });
    QObject::connect(&voice, &Voice::OnEndStream, [&](const SpeechEvent&) { ++ends; });
    QElapsedTimer timer;
    timer.start();
    SpeakAndWait(voice, QStringLiteral("Hello there friend."));
    EXPECT_EQ(heard, (QStringList{QStringLiteral("Hello"), QStringLiteral("there"), QStringLiteral("friend")}));
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(raw->isDone());
    // About 1.2 s of speech at twenty times: it waited for the audio, not just the synthesis.
    EXPECT_GE(timer.elapsed(), 40);
}

TEST_F(EspeakEngineTest, SpeakToFileWritesAWavOfTheSpeechWithItsEventsAtFilePositions)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("speech.wav"));
    const QString text = QStringLiteral("Saving speech to a file. <silence msec='1000'/>It has two sentences.");
    std::vector<double> shares;
    engine->speakToFile(text, true, path, [&](double share) {
        shares.push_back(share);
        return true;
    });

    const std::optional<WavInfo> wav = readWavInfo(path);
    ASSERT_TRUE(wav.has_value());
    EXPECT_EQ(wav->sampleRate, 22050);
    EXPECT_EQ(wav->channels, 1);
    EXPECT_EQ(wav->bitsPerSample, 16);
    EXPECT_EQ(wav->dataOffset, 44);
    EXPECT_EQ(QFileInfo(path).size(), 44 + wav->dataBytes);
    EXPECT_GT(wav->seconds(), 3.0);
    EXPECT_LT(wav->seconds(), 8.0);

    const int stream = events.back().stream;
    const auto end = of(SpeechEvent::EndStream, stream);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(end[0].audioPosition, wav->dataBytes);
    EXPECT_EQ(count(SpeechEvent::Word, stream), 9);
    for (const SpeechEvent& word : of(SpeechEvent::Word, stream))
        EXPECT_LE(word.audioPosition, wav->dataBytes);
    ASSERT_FALSE(shares.empty());
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_DOUBLE_EQ(shares.back(), 1.0);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files) == QStringList{QStringLiteral("speech.wav")});
}

TEST_F(EspeakEngineTest, SilenceMarkupLengthensTheFileByItsDuration)
{
    QTemporaryDir folder;
    const QString plain = folder.filePath(QStringLiteral("plain.wav"));
    const QString paused = folder.filePath(QStringLiteral("paused.wav"));
    engine->speakToFile(QStringLiteral("Wait for it. Now."), true, plain);
    engine->speakToFile(QStringLiteral("Wait for it. <silence msec='2000'/>Now."), true, paused);
    EXPECT_NEAR(readWavInfo(paused)->seconds() - readWavInfo(plain)->seconds(), 2.0, 0.05);
}

TEST_F(EspeakEngineTest, FasterRatesMakeShorterSpeech)
{
    QTemporaryDir folder;
    double previous = 1e9;
    for (int rate : {-10, -1, 0, 2, 10}) {
        const QString path = folder.filePath(QStringLiteral("rate%1.wav").arg(rate + 10));
        engine->setRate(rate);
        engine->speakToFile(LongText, false, path);
        const double seconds = readWavInfo(path)->seconds();
        EXPECT_LT(seconds, previous) << "rate " << rate;
        previous = seconds;
    }
}

TEST_F(EspeakEngineTest, VolumeScalesTheSamplesLinearly)
{
    QTemporaryDir folder;
    auto peak = [&](int volume) {
        const QString path = folder.filePath(QStringLiteral("volume%1.wav").arg(volume));
        engine->setVolume(volume);
        engine->speakToFile(QStringLiteral("Loud and clear."), false, path);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray data = file.readAll().mid(44);
        const auto* samples = reinterpret_cast<const qint16*>(data.constData());
        int highest = 0;
        for (qsizetype i = 0; i < data.size() / 2; ++i)
            highest = std::max(highest, std::abs(int(samples[i])));
        return highest;
    };
    const int full = peak(100);
    EXPECT_GT(full, 10000);
    // espeak-ng varies its output slightly from one rendering to the next.
    EXPECT_NEAR(peak(50), full / 2, full / 50);
    EXPECT_EQ(peak(0), 0);
}

TEST_F(EspeakEngineTest, CancelledOrImpossibleFileRenderingsLeaveNoFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cancelled.wav"));
    EXPECT_THROW(engine->speakToFile(LongText, false, path, [](double) { return false; }), SpeechError);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    const QString nowhere = folder.filePath(QStringLiteral("missing/folder/out.wav"));
    try {
        engine->speakToFile(QStringLiteral("Hello."), false, nowhere);
        FAIL() << "no error for a file that cannot be created";
    } catch (const SpeechError& error) {
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(nowhere)));
    }

    // The engine still speaks afterwards.
    const int stream = speakThrough(QStringLiteral("Still here."));
    EXPECT_EQ(count(SpeechEvent::Word, stream), 2);
}

TEST_F(EspeakEngineTest, VoicesAreTheInstalledOnesReadablyAndUniquelyDescribed)
{
    const QList<EngineVoice> voices = engine->voices();
    ASSERT_GT(voices.size(), 10);
    QSet<QString> descriptions;
    for (const EngineVoice& voice : voices) {
        EXPECT_FALSE(voice.id.startsWith(QLatin1String("mb/")));
        EXPECT_FALSE(voice.description.contains(u'_')) << voice.description.toStdString();
        descriptions.insert(voice.description.toCaseFolded());
    }
    EXPECT_EQ(descriptions.size(), voices.size());
    EXPECT_TRUE(std::any_of(voices.begin(), voices.end(), [](const EngineVoice& voice) {
        return voice.description == QLatin1String("English (Great Britain)");
    }));

    EXPECT_THROW(engine->setVoice(QStringLiteral("no/such-voice")), SpeechError);
    const auto german = std::find_if(voices.begin(), voices.end(),
                                     [](const EngineVoice& voice) { return voice.id == QLatin1String("gmw/de"); });
    ASSERT_NE(german, voices.end());
    engine->setVoice(german->id);
    const int stream = speakThrough(QStringLiteral("Guten Tag."));
    EXPECT_EQ(count(SpeechEvent::Word, stream), 2);
}

// Runs only where there is a sound device (e.g. a PulseAudio null sink): the sink plays at real time and each word
// arrives when its audio is heard, a constant device latency apart. The device reports its latency only once it
// plays, so the first word is left out.
TEST(EspeakEngineStart, AnEngineWithoutItsDataCannotStart)
{
    QTemporaryDir data;
    QDir(data.path()).mkpath(QStringLiteral("espeak-ng-data"));
    EspeakEngine::Options options;
    options.useClock = true;
    options.dataPath = data.path();
    EspeakEngine engine(options);
    EXPECT_THROW(engine.voices(), SpeechError);
    EXPECT_THROW(engine.speak(QStringLiteral("Hello."), false, true), SpeechError);
    EXPECT_TRUE(engine.isDone());
}

} // namespace
