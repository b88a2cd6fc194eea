// The Festival engine end to end with the real voice, played to a fast clock, and beside espeak-ng in one list.
#include "speech/AllVoicesEngine.h"
#include "speech/EspeakEngine.h"
#include "speech/FestivalEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

const QString FestivalVoice = QStringLiteral("US English, female (Festival)");

class FestivalEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SynthesisEngineOptions options;
        options.useClock = true;
        options.clockSpeed = 20;
        engine = std::make_unique<FestivalEngine>(options);
        QObject::connect(engine.get(), &SpeechEngine::speechEvent,
                         [this](const SpeechEvent& event) { events.push_back(event); });
    }

    bool waitFor(const std::function<bool()>& condition, int timeoutMs = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        return condition();
    }

    bool ended(int stream) const
    {
        return std::any_of(events.begin(), events.end(), [stream](const SpeechEvent& e) {
            return e.type == SpeechEvent::EndStream && e.stream == stream;
        });
    }

    QStringList words(const QString& text, int stream) const
    {
        QStringList spoken;
        for (const SpeechEvent& event : events) {
            if (event.type == SpeechEvent::Word && event.stream == stream)
                spoken << text.mid(event.position, event.length);
        }
        return spoken;
    }

    std::unique_ptr<FestivalEngine> engine;
    std::vector<SpeechEvent> events;
};

} // namespace

TEST_F(FestivalEngineTest, EveryWrittenWordIsSelectedOnceInOrderWithTheMouthMoving)
{
    const auto voices = engine->voices();
    ASSERT_TRUE(std::any_of(voices.begin(), voices.end(), [](const EngineVoice& voice) {
        return voice.description == FestivalVoice && voice.id.startsWith(FestivalVoicePrefix);
    }));
    // Festival reads "$3.50" as three words and "Dr." as "doctor", and sounds out names its lexicon lacks by rule
    // ("Aoife"): the written words are what is selected.
    const QString text =
        QStringLiteral("Dr. Smith paid $3.50 for well-known books in 2021. Then, quietly, Aoife left!");
    const int stream = engine->speak(text, false, true);
    ASSERT_TRUE(waitFor([&] { return ended(stream); }));
    EXPECT_EQ(
        words(text, stream),
        (QStringList{QStringLiteral("Dr"), QStringLiteral("Smith"), QStringLiteral("paid"), QStringLiteral("$3.50"),
                     QStringLiteral("for"), QStringLiteral("well-known"), QStringLiteral("books"), QStringLiteral("in"),
                     QStringLiteral("2021"), QStringLiteral("Then"), QStringLiteral("quietly"), QStringLiteral("Aoife"),
                     QStringLiteral("left")}));
    const bool lipsMeet = std::any_of(events.begin(), events.end(), [](const SpeechEvent& e) {
        return e.type == SpeechEvent::Viseme && e.viseme == 21; // p, b, m
    });
    EXPECT_TRUE(lipsMeet);

    // A long sentence whose phrasing has no early break starts with its first few words on their own; no word is
    // lost or moved where they join, and "well-known" is never split.
    const QString unbroken = QStringLiteral("It was a very very very very very very very well-known very very very "
                                            "very long day.");
    const int second = engine->speak(unbroken, false, true);
    ASSERT_TRUE(waitFor([&] { return ended(second); }));
    const QStringList expected = unbroken.chopped(1).split(QLatin1Char(' '));
    EXPECT_EQ(words(unbroken, second), expected);
}

TEST_F(FestivalEngineTest, SentenceTimesFallOnTheStartOfTheirSound)
{
    const QString text = QStringLiteral("The cat sat on the mat. Children read their books. The teacher listened.");
    QByteArray pcm;
    std::vector<SpeechEvent> rendered;
    engine->render(
        text, false, [&pcm](const QByteArray& stretch) { pcm += stretch; },
        [&rendered](const SpeechEvent& event) { rendered.push_back(event); });
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const qint64 count = pcm.size() / 2;
    int sentences = 0;
    for (const SpeechEvent& event : rendered) {
        if (event.type != SpeechEvent::Sentence)
            continue;
        ++sentences;
        // Quiet just before the sentence's time (or the start), sound within 100 ms after it.
        const qint64 at = event.audioPosition / 2;
        qint64 sound = at;
        while (sound < count && std::abs(samples[sound]) < 300)
            ++sound;
        EXPECT_LT(sound - at, Synthesis::SampleRate / 10) << "sentence " << sentences;
        double energy = 0;
        const qint64 from = std::max<qint64>(0, at - Synthesis::SampleRate / 20);
        for (qint64 i = from; i < at; ++i)
            energy += double(samples[i]) * samples[i];
        EXPECT_LT(std::sqrt(energy / std::max<qint64>(1, at - from)), 300)
            << "sentence " << sentences << " is heard before its time";
    }
    EXPECT_EQ(sentences, 3);
}

TEST_F(FestivalEngineTest, PauseHoldsTheWordsResumeGoesOnAndSkipEndsAtOnce)
{
    const QString text = QStringLiteral("One two three four five six seven eight nine ten. Eleven twelve thirteen.");
    const int stream = engine->speak(text, false, true);
    ASSERT_TRUE(waitFor([&] { return words(text, stream).size() >= 2; }));
    engine->pause();
    QCoreApplication::processEvents();
    const qsizetype held = words(text, stream).size();
    waitFor([] { return false; }, 400);
    EXPECT_EQ(words(text, stream).size(), held) << "no word is heard while paused";
    engine->resume();
    ASSERT_TRUE(waitFor([&] { return words(text, stream).size() > held + 2; }));
    engine->skipAll();
    EXPECT_TRUE(engine->isDone());
    ASSERT_TRUE(waitFor([&] { return ended(stream); }));
    const QStringList heard = words(text, stream);
    EXPECT_EQ(heard, QStringList(heard.begin(), heard.end())) << "in order";
    EXPECT_LT(heard.size(), 13) << "the rest was skipped";
}

// Festival makes a sentence whole, and one of 80 words with no place to pause takes it most of a second: a new
// reading, or Stop, does not wait for that, and the long sentence's words still come out whole and in order.
TEST(FestivalCuttingIn, ANewReadingStartsWithoutWaitingForALongSentenceToBeMade)
{
    SynthesisEngineOptions options;
    options.useClock = true; // heard at the pace of a listener
    FestivalEngine engine(options);
    const QString unbroken =
        QStringLiteral("It was a ") + QStringLiteral("very ").repeated(73) + QStringLiteral("long quiet day.");
    std::vector<SpeechEvent> rendered;
    const auto render = [&] {
        rendered.clear();
        engine.render(
            unbroken, false, [](const QByteArray&) {}, [&](const SpeechEvent& e) { rendered.push_back(e); });
    };
    render(); // starts Festival and its voice
    QElapsedTimer clock;
    clock.start();
    render();
    const qint64 whole = clock.elapsed();
    int words = 0;
    qint64 last = -1;
    for (const SpeechEvent& event : rendered)
        if (event.type == SpeechEvent::Word) {
            ++words;
            EXPECT_GT(event.audioPosition, last) << "word " << words;
            last = event.audioPosition;
        }
    EXPECT_EQ(words, 79);

    const auto firstSound = [&](const QString& text) {
        QCoreApplication::processEvents();
        const qint64 before = engine.audioDelivered();
        clock.restart();
        engine.speak(text, false, true);
        while (engine.audioDelivered() == before && clock.elapsed() < 20000)
            QThread::usleep(200);
        return clock.elapsed();
    };
    firstSound(unbroken);
    const qint64 cuttingIn = firstSound(QStringLiteral("Stop there."));
    EXPECT_LT(cuttingIn * 3, whole) << cuttingIn << " ms to cut in; the whole sentence takes " << whole << " ms";
    engine.skipAll();
}

TEST(AllVoices, EachVoiceSpeaksThroughItsOwnEngineAndANewReadingCutsTheOtherOff)
{
    SynthesisEngineOptions options;
    options.useClock = true;
    options.clockSpeed = 20;
    std::vector<std::unique_ptr<SpeechEngine>> engines;
    engines.push_back(std::make_unique<EspeakEngine>(options));
    engines.push_back(std::make_unique<FestivalEngine>(options));
    AllVoicesEngine all(std::move(engines));
    std::vector<SpeechEvent> events;
    QObject::connect(&all, &SpeechEngine::speechEvent,
                     [&events](const SpeechEvent& event) { events.push_back(event); });
    const QList<EngineVoice> voices = all.voices();
    const auto festival = std::find_if(voices.begin(), voices.end(),
                                       [](const EngineVoice& voice) { return voice.description == FestivalVoice; });
    ASSERT_NE(festival, voices.end());
    ASSERT_GT(voices.size(), 50) << "espeak-ng's voices are there too";

    all.setVoice(festival->id);
    const int first =
        all.speak(QStringLiteral("A long sentence from the natural voice goes on and on for a while."), false, true);
    all.setVoice(QString());
    const int second = all.speak(QStringLiteral("Short."), false, true);
    EXPECT_NE(first, second);
    QElapsedTimer timer;
    timer.start();
    auto endsOf = [&events](int stream) {
        return std::count_if(events.begin(), events.end(), [stream](const SpeechEvent& e) {
            return e.type == SpeechEvent::EndStream && e.stream == stream;
        });
    };
    while ((endsOf(first) == 0 || endsOf(second) == 0) && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(endsOf(first), 1);
    EXPECT_EQ(endsOf(second), 1);
    EXPECT_TRUE(all.isDone());
}
