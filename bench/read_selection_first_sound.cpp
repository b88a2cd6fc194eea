// How soon a desktop shortcut is heard: the time from running `parlivo --read-selection` (which hands the request
// to the running copy over the session bus) to the first sound of the reading, set beside the time from F5 in the
// window to its first sound, in the same run. Goal: at most 1.5 times F5's time (the hand-off costs little).
// Both read the same sentence (the voice's first sound comes later for a longer one): F5 with it in the reading
// area, the command with it selected and other text in the area, which it replaces.
// The first sound is timed twice. Heard: the first loud sample on the default sink's monitor (parec), the sound on
// the device the goal speaks of. It is timed to the millisecond, by when the monitor's pieces reach the window's
// event loop, and holds the sink's own latency, the same both ways (some 6 ms on the null sink the tests use).
// Delivered: the first audio the voice hands to the sound device, timed to some 50 microseconds; without the
// sink's latency the hand-off weighs more in it, so it is the stricter of the two.
// Uses the session bus (tools/test.sh starts a private one), or starts one of its own; the heard times need a
// sound server (tools/test.sh starts one with a null sink) and are skipped without one.
// Run: ./read_selection_first_sound
#include "BenchMain.h"
#include "window/main/DesktopService.h"
#include "window/main/MainWindow.h"
#include "core/AppFolder.h"
#include "fakes/ScriptedPrompts.h"
#include "support/SinkMonitor.h"
#include "speech/EspeakEngine.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <thread>
#include <spawn.h>
#include <sys/wait.h>

namespace {

const QString Words = QStringLiteral("The fox ran home to its den in the woods.");

// A session bus for the run when there is none, stopped at the end.
class PrivateBus
{
public:
    PrivateBus()
    {
        if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            return;
        QProcess daemon;
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--fork"), QStringLiteral("--print-address=1"),
                      QStringLiteral("--print-pid=1")});
        daemon.waitForFinished();
        const QList<QByteArray> lines = daemon.readAllStandardOutput().split('\n');
        if (lines.size() < 2)
            return;
        qputenv("DBUS_SESSION_BUS_ADDRESS", lines.at(0));
        mPid = lines.at(1).toLongLong();
    }
    ~PrivateBus()
    {
        if (mPid > 0)
            QProcess::execute(QStringLiteral("kill"), {QString::number(mPid)});
    }

private:
    qint64 mPid = 0;
};

// The running copy: the main window with the real espeak-ng voice, offering the service.
struct RunningReader
{
    RunningReader()
    {
        setAppFolder(folder.path());
        auto espeak = std::make_unique<EspeakEngine>();
        engine = espeak.get();
        window = std::make_unique<MainWindow>(std::move(espeak));
        window->FormCreate();
        window->show();
        service = std::make_unique<DesktopService>(*window);
        started = service->start();
    }

    // Seconds until the first sound of a new reading after `start` runs, heard on the device or delivered to it;
    // -1 after ten seconds. The reading area holds `areaText` before, the clipboard the words both ways read.
    double firstSound(const std::function<void()>& start, const QString& areaText, bool heard)
    {
        window->StopReading();
        window->reText->setPlainText(areaText);
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300)
            QCoreApplication::processEvents();
        QGuiApplication::clipboard()->setText(Words);
        const qint64 before = engine->audioDelivered();
        const qint64 startedMs = monitor.now();
        QElapsedTimer timer;
        timer.start();
        start();
        // The window waits in its event loop as it does on a desktop, so a request from the bus is taken the moment
        // it arrives. A thread of the benchmark watches the engine's count of delivered audio meanwhile.
        QEventLoop loop;
        std::atomic<qint64> deliveredNs = -1;
        std::jthread watcher;
        QTimer listening;
        if (heard) {
            QObject::connect(&listening, &QTimer::timeout, &loop, [&] {
                if (monitor.firstSoundFrom(startedMs) >= 0)
                    loop.quit();
            });
            listening.start(1);
        } else {
            watcher = std::jthread([&](std::stop_token stop) {
                while (engine->audioDelivered() == before && !stop.stop_requested())
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
                if (!stop.stop_requested())
                    deliveredNs = timer.nsecsElapsed();
                QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
            });
        }
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        watcher.request_stop();
        if (watcher.joinable())
            watcher.join();
        if (heard) {
            const qint64 heardMs = monitor.firstSoundFrom(startedMs);
            return heardMs < 0 ? -1 : double(heardMs - startedMs) / 1e3;
        }
        return deliveredNs < 0 ? -1 : double(deliveredNs) / 1e9;
    }

    PrivateBus bus;
    QTemporaryDir folder;
    SinkMonitor monitor;
    bool monitoring = monitor.started();
    ScriptedPrompts prompts; // "Replace text in the reading area?": yes
    EspeakEngine* engine = nullptr;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<DesktopService> service;
    bool started = false;
};

// The running copy, made at the first benchmark and kept for all of them; it goes before the application does.
std::unique_ptr<RunningReader> running;

RunningReader& reader()
{
    if (!running)
        running = std::make_unique<RunningReader>();
    return *running;
}

void measure(benchmark::State& state, const std::function<void()>& start, const QString& areaText, bool heard)
{
    if (!reader().started) {
        state.SkipWithError("no session bus for the service");
        return;
    }
    if (heard && !reader().monitoring) {
        state.SkipWithError("no sound server to listen to (parec)");
        return;
    }
    reader().firstSound(start, areaText, heard); // the first reading opens the sound device
    for (auto _ : state) {
        const double seconds = reader().firstSound(start, areaText, heard);
        if (seconds < 0) {
            state.SkipWithError("nothing was heard");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

template <bool Listening> void F5ToFirstSound(benchmark::State& state)
{
    measure(
        state, [] { reader().window->pummiRead->trigger(); }, Words, Listening);
}

// Runs the command as a desktop's key daemon does, with posix_spawn: a fork of this process, which holds a browser,
// would cost more than the command itself.
pid_t runCommand()
{
    static char program[] = PARLIVO_PATH;
    static char request[] = "--read-selection";
    char* arguments[] = {program, request, nullptr};
    pid_t child = 0;
    return posix_spawn(&child, program, nullptr, nullptr, arguments, environ) == 0 ? child : -1;
}

template <bool Listening> void ReadSelectionToFirstSound(benchmark::State& state)
{
    pid_t command = -1;
    const auto reap = [&command] {
        if (command > 0)
            waitpid(command, nullptr, 0);
        command = -1;
    };
    measure(
        state,
        [&] {
            reap();
            command = runCommand();
        },
        // Something else is in the reading area, so the selection takes its place.
        QStringLiteral("Earlier text."), Listening);
    reap();
}

void twentyTimes(benchmark::internal::Benchmark* timed)
{
    timed->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
}

constexpr bool Delivered = false;
constexpr bool Heard = true;
BENCHMARK(F5ToFirstSound<Delivered>)->Name("F5ToFirstSoundDelivered")->Apply(twentyTimes);
BENCHMARK(ReadSelectionToFirstSound<Delivered>)->Name("ReadSelectionToFirstSoundDelivered")->Apply(twentyTimes);
BENCHMARK(F5ToFirstSound<Heard>)->Name("F5ToFirstSoundHeard")->Apply(twentyTimes);
BENCHMARK(ReadSelectionToFirstSound<Heard>)->Name("ReadSelectionToFirstSoundHeard")->Apply(twentyTimes);

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter({{"parlivo --read-selection to first sound delivered", "ReadSelectionToFirstSoundDelivered",
                             "F5 to first sound delivered", "F5ToFirstSoundDelivered"},
                            {"parlivo --read-selection to first sound heard", "ReadSelectionToFirstSoundHeard",
                             "F5 to first sound heard", "F5ToFirstSoundHeard"}});
    return RunBenchmarks(argc, argv, BenchApplication::WebEngine, &reporter, [] { running.reset(); });
}
