// The espeak-ng engine playing through a real sound server: what the device plays is recorded from the null
// sink's monitor and compared with the events. tools/test.sh starts a private PulseAudio server for these.
#include "speech/EspeakEngine.h"
#include "window/main/MainWindow.h"
#include "fakes/ScriptedPrompts.h"
#include "core/AppFolder.h"
#include "support/SinkMonitor.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

// How far a word may be from its sound: a fraction of a word's length, with room for a busy machine running
// tests side by side (a highlight that waits for its sentence to end is seconds late).
constexpr double WordTolerance = 250.0;

class AudioDevice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QMediaDevices::defaultAudioOutput().isNull()) {
            if (qEnvironmentVariableIsSet("PARLIVO_REQUIRE_AUDIO"))
                FAIL() << "no sound device, though the test script started a sound server";
            GTEST_SKIP() << "no sound device";
        }
        ASSERT_TRUE(monitor.started()) << "parec (pulseaudio-utils) records the sink's monitor";
        engine = std::make_unique<EspeakEngine>();
        ASSERT_FALSE(engine->usesClock());
        QObject::connect(engine.get(), &SpeechEngine::speechEvent, [this](const SpeechEvent& event) {
            if (event.type == SpeechEvent::Word)
                words.emplace_back(monitor.now(), event.position);
            if (event.type == SpeechEvent::EndStream)
                ended = true;
        });
        // A sound server that has just started takes a second or two to play its first stream; the tests measure
        // the program, not that.
        engine->speak(QStringLiteral("Ready."), false, true);
        waitUntil([this] { return ended; });
        waitUntil([] { return false; }, 300);
        words.clear();
        ended = false;
    }

    void waitUntil(const std::function<bool()>& condition, int timeoutMs = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    SinkMonitor monitor;
    std::unique_ptr<EspeakEngine> engine;
    std::vector<std::pair<qint64, int>> words; // (ms, position in the text)
    bool ended = false;
};

} // namespace

TEST_F(AudioDevice, WordsArriveWhenTheDeviceSoundsThem)
{
    const QString text = QStringLiteral("Alpha. <silence msec='900'/> Bravo. <silence msec='900'/> Charlie. "
                                        "<silence msec='900'/> Delta.");
    const qint64 started = monitor.now();
    engine->speak(text, true, true);
    waitUntil([this] { return ended; });
    ASSERT_TRUE(ended);
    waitUntil([] { return false; }, 500); // the monitor's last samples
    ASSERT_EQ(words.size(), 4u);
    std::vector<qint64> sounds = monitor.soundStarts(400);
    std::erase_if(sounds, [started](qint64 at) { return at < started - 100; }); // the first utterance's
    ASSERT_GE(sounds.size(), 4u) << "each word is heard after its silence";
    // Each word arrives with a sound that starts after a silence. (A stream the device let stall is opened anew,
    // which can split a word's sound in two; that adds a start but moves no word.)
    for (size_t i = 0; i < words.size(); ++i) {
        const qint64 at = words[i].first;
        const qint64 nearest = *std::min_element(
            sounds.begin(), sounds.end(), [at](qint64 a, qint64 b) { return std::abs(a - at) < std::abs(b - at); });
        // The device's start-up latency leaves the first word a little ahead of its sound.
        EXPECT_NEAR(double(at), double(nearest), WordTolerance + (i == 0 ? 150.0 : 0.0)) << "word " << i;
    }
}

TEST_F(AudioDevice, AVolumeChangeIsHeardAtOnce)
{
    engine->speak(QStringLiteral("Reading on and on, the voice keeps speaking the same words again and again, so "
                                 "there is plenty of sound to measure before and after the volume changes."),
                  false, true);
    waitUntil([this] { return words.size() >= 3; });
    ASSERT_GE(words.size(), 3u);
    const qint64 changedAt = monitor.now();
    engine->setVolume(25);
    waitUntil([&] { return monitor.now() > changedAt + 1500; }, 3000);
    const double before = monitor.level(words.front().first, changedAt);
    const double after = monitor.level(changedAt + 500, changedAt + 1500);
    ASSERT_GT(before, 500.0) << "speech is heard";
    EXPECT_LT(after, before * 0.5);
    EXPECT_GT(after, before * 0.05);
    engine->skipAll();
}

TEST_F(AudioDevice, AStreamTheServerEndsMidReadingLosesNoWordAndPlaysAgain)
{
    const QString text = QStringLiteral("One two three four five six seven eight nine ten eleven twelve thirteen "
                                        "fourteen fifteen sixteen seventeen eighteen nineteen twenty.");
    engine->speak(text, false, true);
    waitUntil([this] { return words.size() >= 3; });
    ASSERT_GE(words.size(), 3u);

    // The server ends this program's stream, as when a headset is unplugged.
    QProcess list;
    list.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    ASSERT_TRUE(list.waitForFinished());
    const QString inputs = QString::fromUtf8(list.readAllStandardOutput());
    const QRegularExpression ours(QStringLiteral("Sink Input #(\\d+)[^#]*application\\.process\\.id = \"%1\"")
                                      .arg(QCoreApplication::applicationPid()));
    const QRegularExpressionMatch match = ours.match(inputs);
    ASSERT_TRUE(match.hasMatch()) << inputs.toStdString();
    ASSERT_EQ(QProcess::execute(QStringLiteral("pacmd"), {QStringLiteral("kill-sink-input"), match.captured(1)}), 0);

    waitUntil([this] { return ended; });
    ASSERT_TRUE(ended);
    // The device is still there: the rest of the reading is heard on it again.
    EXPECT_FALSE(engine->soundLost());
    // Every word of the reading still arrives, once and in order.
    EXPECT_EQ(words.size(), 20u);
    for (size_t i = 1; i < words.size(); ++i)
        EXPECT_GT(words[i].second, words[i - 1].second);
}

TEST_F(AudioDevice, AfterTheIdleDeviceClosesWordsStillArriveWithTheirSound)
{
    // The device closes after five idle seconds and opens again for the next speech.
    waitUntil([] { return false; }, 6000);
    const qint64 restarted = monitor.now();
    engine->speak(QStringLiteral("Alpha. <silence msec='900'/> Bravo. <silence msec='900'/> Charlie."), true, true);
    waitUntil([this] { return ended; });
    ASSERT_TRUE(ended);
    waitUntil([] { return false; }, 500);
    ASSERT_EQ(words.size(), 3u);
    std::vector<qint64> sounds = monitor.soundStarts(400);
    // What came before the silence that closed the device (the recording's own timing is rough by a few ms).
    std::erase_if(sounds, [restarted](qint64 at) { return at < restarted - 1000; });
    ASSERT_EQ(sounds.size(), 3u);
    for (size_t i = 0; i < words.size(); ++i)
        EXPECT_NEAR(double(words[i].first), double(sounds[i]), WordTolerance + (i == 0 ? 150.0 : 0.0)) << "word " << i;
}

namespace {
// The main window reading with the real espeak-ng voice to the sound server, as a learner hears it.
class ReadingMovesHeard : public AudioDevice
{
protected:
    void SetUp() override
    {
        AudioDevice::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        setAppFolder(folder.path());
        reader = std::make_unique<MainWindow>(std::make_unique<EspeakEngine>());
        ASSERT_TRUE(reader->FormCreate());
        reader->show();
        QObject::connect(reader->spVoice, &Voice::OnWord,
                         [this](const SpeechEvent&) { heard.append(reader->reText->textCursor().selectedText()); });
        QObject::connect(reader->spVoice, &Voice::OnEndStream, [this](const SpeechEvent&) { readingEnded = true; });
        // A long first sentence, so a move leaves seconds of it unsaid, and a short last one.
        reader->reText->setPlainText(QStringLiteral(
            "Alpha goes on with many more words than a learner wants to hear, for several seconds of sound at the "
            "very least, and then it goes on with some more words still. Stop."));
    }

    // How long sound went on after `from`, once the reading has ended.
    qint64 soundAfter(qint64 from)
    {
        waitUntil([this] { return readingEnded; });
        EXPECT_TRUE(readingEnded);
        waitUntil([] { return false; }, 500); // the monitor's last samples
        return monitor.lastSound() - from;
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> reader;
    QStringList heard; // the selection at each word event
    bool readingEnded = false;
};
} // namespace

// "Stop." takes about half a second to say; what is left of the first sentence, several.
constexpr qint64 ShortSentenceHeard = 1500;

TEST_F(ReadingMovesHeard, AfterAMoveOnlyTheSentenceMovedToIsHeard)
{
    reader->StartReading(true);
    waitUntil([this] { return heard.size() >= 3; });
    ASSERT_GE(heard.size(), 3);
    heard.clear();
    const qint64 moved = monitor.now();
    reader->MoveReading(ReadingMove::NextSentence);
    EXPECT_LT(soundAfter(moved), ShortSentenceHeard);
    EXPECT_EQ(heard, QStringList{QStringLiteral("Stop")});
}

TEST_F(ReadingMovesHeard, AMoveWhilePausedIsSilentAndResumesAtTheSentenceMovedTo)
{
    reader->StartReading(true);
    waitUntil([this] { return heard.size() >= 3; });
    reader->PauseReading();
    waitUntil([] { return false; }, 400);
    heard.clear();
    const qint64 moved = monitor.now();
    reader->MoveReading(ReadingMove::NextSentence);
    waitUntil([] { return false; }, 1000);
    EXPECT_LT(monitor.level(moved + 300, moved + 1000), 50.0) << "nothing is heard while paused";
    const qint64 resumed = monitor.now();
    reader->StartReading(true);
    EXPECT_LT(soundAfter(resumed), ShortSentenceHeard);
    EXPECT_EQ(heard, QStringList{QStringLiteral("Stop")});
}
