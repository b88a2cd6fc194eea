// Reading aloud when the sound server is missing, dies in the middle of a reading, or comes back: nothing may pass
// for a reading heard. Each test runs a sound server of its own, so it can kill and restart it without disturbing
// the one the test script started.
#include "speech/EspeakEngine.h"
#include "window/main/MainWindow.h"
#include "fakes/ScriptedPrompts.h"
#include "core/AppFolder.h"
#include "support/SinkMonitor.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

namespace {

constexpr auto PrivateSink = "restartsink";

void waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A PulseAudio server with a null sink in a runtime folder of its own. Clients given environment() never start
// one of their own when it is down.
class PrivateSoundServer
{
public:
    PrivateSoundServer()
    {
        QFile::setPermissions(mRuntime.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile config(mRuntime.filePath(QStringLiteral("client.conf")));
        if (config.open(QIODevice::WriteOnly))
            config.write("autospawn = no\n");
        mEnvironment = QProcessEnvironment::systemEnvironment();
        mEnvironment.insert(QStringLiteral("XDG_RUNTIME_DIR"), mRuntime.path());
        mEnvironment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), mRuntime.filePath(QStringLiteral("pulse")));
        mEnvironment.insert(QStringLiteral("PULSE_CLIENTCONFIG"), config.fileName());
        mEnvironment.remove(QStringLiteral("PULSE_SERVER"));
    }
    ~PrivateSoundServer() { kill(); }

    const QProcessEnvironment& environment() const { return mEnvironment; }

    // True once the server answers.
    bool start()
    {
        mServer = std::make_unique<QProcess>();
        mServer->setProcessEnvironment(mEnvironment);
        mServer->start(QStringLiteral("pulseaudio"),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--load=module-native-protocol-unix"),
                        QStringLiteral("--load=module-null-sink sink_name=%1").arg(QLatin1String(PrivateSink)),
                        QStringLiteral("--load=module-always-sink")});
        if (!mServer->waitForStarted())
            return false;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            QProcess info;
            info.setProcessEnvironment(mEnvironment);
            info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
            if (info.waitForFinished() && info.exitCode() == 0)
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    // As a crash ends it: streams are cut without a word.
    void kill()
    {
        if (!mServer)
            return;
        mServer->kill();
        mServer->waitForFinished();
        mServer.reset();
    }

private:
    QTemporaryDir mRuntime;
    QProcessEnvironment mEnvironment;
    std::unique_ptr<QProcess> mServer;
};

class SoundServerRestart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()) {
            if (qEnvironmentVariableIsSet("PARLIVO_REQUIRE_AUDIO"))
                FAIL() << "pulseaudio is not installed";
            GTEST_SKIP() << "pulseaudio is not installed";
        }
    }

    PrivateSoundServer server;
};

// Sentences for some seconds of speech each.
QString longReading(int sentences = 12)
{
    QString text;
    for (int i = 0; i < sentences; ++i)
        text += QStringLiteral("The class walked to the river and counted the ducks that swam by the old mill. ");
    return text;
}

struct CliRun
{
    int exitCode = -1;
    qint64 ms = 0;
    QString err;
};

} // namespace

TEST_F(SoundServerRestart, TheCommandLineSaysNoSoundDeviceCanBeUsedUnlessAskedToReadSilently)
{
    QTemporaryDir folder;
    const QString story = folder.filePath(QStringLiteral("story.txt"));
    const QString note = folder.filePath(QStringLiteral("note.txt"));
    for (const auto& [path, sentences] : {std::pair{story, 6}, std::pair{note, 1}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(longReading(sentences).toUtf8());
    }
    QProcessEnvironment environment = server.environment();
    environment.remove(QStringLiteral("PARLIVO_SPEECH_CLOCK"));
    QProcess cli;
    cli.setProcessEnvironment(environment);
    // Runs the command; `during`, when given, once the reading has gone on for two seconds.
    auto speak = [&](const QStringList& options, const std::function<void()>& during = {},
                     const QString& document = {}) {
        QElapsedTimer clock;
        clock.start();
        cli.start(QStringLiteral(PARLIVO_CLI_PATH),
                  QStringList{QStringLiteral("speak")} + options + QStringList{document.isEmpty() ? story : document});
        EXPECT_TRUE(cli.waitForStarted());
        if (during) {
            EXPECT_FALSE(cli.waitForFinished(2000)) << cli.readAllStandardError().toStdString();
            during();
        }
        EXPECT_TRUE(cli.waitForFinished(120'000));
        return CliRun{cli.exitCode(), clock.elapsed(), QString::fromUtf8(cli.readAllStandardError())};
    };

    // No sound server at all: said at once, rather than half a minute of silence passed off as a reading.
    CliRun run = speak({});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("No sound device can be used"))) << run.err.toStdString();
    EXPECT_LT(run.ms, 10000);
    run = speak({QStringLiteral("--allow-silence")}, {}, note);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("warning: no sound device can be used"))) << run.err.toStdString();

    // The server dies in the middle of the reading: the command says so and ends, it does not read on unheard.
    ASSERT_TRUE(server.start());
    run = speak({}, [&] { server.kill(); });
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("stopped playing in the middle of the reading")))
        << run.err.toStdString();

    // Asked to read on silently, it warns, and plays again once the server is back.
    ASSERT_TRUE(server.start());
    run = speak({QStringLiteral("--allow-silence"), QStringLiteral("--speed"), QStringLiteral("8")}, [&] {
        server.kill();
        QThread::msleep(500);
        ASSERT_TRUE(server.start());
    });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("warning: the sound device stopped playing"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("the sound device plays again"))) << run.err.toStdString();
}

TEST_F(SoundServerRestart, TheWindowReadsAloudAgainOnceTheServerIsBack)
{
    ASSERT_TRUE(server.start());
    // This process talks to the private server only when nothing in it has used sound yet, as when ctest runs
    // each test in a process of its own.
    for (const char* name : {"XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_CLIENTCONFIG"})
        qputenv(name, server.environment().value(QLatin1String(name)).toLocal8Bit());
    qunsetenv("PULSE_SERVER");
    if (QMediaDevices::defaultAudioOutput().id() != PrivateSink)
        GTEST_SKIP() << "sound was used in this process before the test; run it on its own";

    QTemporaryDir folder;
    setAppFolder(folder.path());
    ScriptedPrompts prompts;
    MainWindow reader(std::make_unique<EspeakEngine>());
    ASSERT_TRUE(reader.FormCreate());
    reader.show();
    int words = 0;
    QObject::connect(reader.spVoice, &Voice::OnWord, [&words](const SpeechEvent&) { ++words; });
    reader.reText->setPlainText(longReading());
    const QString NothingHeard = QStringLiteral("No sound device can be used, so nothing is heard.");

    QList<bool> lost; // what the status bar was told
    QObject::connect(&reader.spVoice->engine(), &SpeechEngine::soundLostChanged, [&](bool now) {
        lost.append(now);
        if (now) {
            EXPECT_TRUE(reader.statusBar->text().contains(NothingHeard)) << reader.statusBar->text().toStdString();
        }
    });

    reader.StartReading(true);
    waitUntil([&] { return words >= 3; }, 30000);
    ASSERT_GE(words, 3);
    // The server restarts: the reading goes on, unheard and saying so, then heard again.
    server.kill();
    waitUntil([&] { return !lost.isEmpty(); }, 5000);
    ASSERT_TRUE(server.start());
    SinkMonitor monitor;
    ASSERT_TRUE(monitor.started());
    const int wordsBefore = words;
    waitUntil([&] { return lost.size() >= 2; }, 15000);
    EXPECT_EQ(lost, (QList<bool>{true, false}));
    EXPECT_EQ(reader.statusBar->text(), QStringLiteral("The sound device plays again."));
    EXPECT_GT(words, wordsBefore) << "the reading went on";
    EXPECT_EQ(reader.model().state(), ReadingState::Reading);

    // The next reading is heard.
    reader.StopReading();
    const qint64 started = monitor.now();
    reader.StartReading(true);
    waitUntil([&] { return monitor.firstSoundFrom(started) >= 0; }, 10000);
    EXPECT_GE(monitor.firstSoundFrom(started), 0) << "the new reading is heard";
    EXPECT_EQ(reader.statusBar->text(), QStringLiteral("Reading started"));
    reader.StopReading();
}
