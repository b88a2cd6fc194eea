// How soon `parlivo-cli speak` is heard: the time from starting the program to its first sound reaching the sound
// server, set beside espeak-ng's own command saying the same words in the same run. The sound is caught on the null
// sink's monitor with parec, so both are timed the same way, start-up, voice and sound device included.
// Goal: parlivo-cli within three times espeak-ng's time. Runs on the sound server of the session (tools/test.sh
// starts one), or on a private PulseAudio server with a null sink that it starts and stops itself.
// Run: ./cli_first_sound
#include "BenchMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int MonitorRate = 22050;
const QByteArray Words = "The fox ran home.";

// A PulseAudio server with a null sink for the run, when the session has none.
class PrivateSoundServer
{
public:
    PrivateSoundServer()
    {
        if (QProcess::execute(QStringLiteral("pactl"), {QStringLiteral("info")}) == 0)
            return;
        mFolder = std::make_unique<QTemporaryDir>();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(mFolder->path()));
        QProcess::execute(QStringLiteral("pulseaudio"),
                          {QStringLiteral("-D"), QStringLiteral("-n"), QStringLiteral("--exit-idle-time=-1"),
                           QStringLiteral("--load=module-native-protocol-unix"),
                           QStringLiteral("--load=module-null-sink sink_name=nullsink"),
                           QStringLiteral("--load=module-always-sink")});
    }

    ~PrivateSoundServer()
    {
        if (mFolder)
            QProcess::execute(QStringLiteral("pulseaudio"), {QStringLiteral("--kill")});
    }

    bool running() const { return QProcess::execute(QStringLiteral("pactl"), {QStringLiteral("info")}) == 0; }

private:
    std::unique_ptr<QTemporaryDir> mFolder;
};

// Seconds from starting the program to the first sample above a whisper on the sink's monitor; -1 when nothing is
// heard within ten seconds. Each sample's time is when its piece of the recording came, less the samples after it.
double firstSoundSeconds(const QString& program, const QStringList& arguments)
{
    QProcess recorder;
    recorder.start(QStringLiteral("parec"),
                   {QStringLiteral("--device=@DEFAULT_MONITOR@"), QStringLiteral("--raw"),
                    QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                    QStringLiteral("--rate=%1").arg(MonitorRate), QStringLiteral("--latency-msec=5")});
    if (!recorder.waitForStarted())
        return -1;
    // What the previous speaker left plays out first, and the null sink, which renders two seconds at a time while
    // no stream asks for less, comes back to rest: a stream opened sooner waits up to half a second for its sound.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3000) {
        recorder.waitForReadyRead(50);
        recorder.readAllStandardOutput();
    }

    QProcess speaker;
    speaker.setStandardOutputFile(QProcess::nullDevice());
    speaker.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    speaker.start(program, arguments);
    double heard = -1;
    QByteArray pending;
    while (heard < 0 && clock.elapsed() < 10000) {
        if (!recorder.waitForReadyRead(20))
            continue;
        const double now = clock.nsecsElapsed() / 1e9;
        pending += recorder.readAllStandardOutput();
        const qsizetype count = pending.size() / 2;
        const auto* samples = reinterpret_cast<const qint16*>(pending.constData());
        const auto loud = std::find_if(samples, samples + count, [](qint16 s) { return std::abs(int(s)) > 300; });
        if (loud != samples + count)
            heard = now - double(samples + count - loud) / MonitorRate;
        pending = pending.right(pending.size() % 2);
    }
    // The speaker ends as a user would hear it end, so the next one starts on a quiet server.
    if (!speaker.waitForFinished(10000))
        speaker.kill();
    speaker.waitForFinished();
    recorder.kill();
    recorder.waitForFinished();
    return heard;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

void FirstSoundAgainstEspeakNg(benchmark::State& state)
{
    const PrivateSoundServer server;
    if (!server.running() || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty()) {
        state.SkipWithError("no sound server or no parec (pulseaudio, pulseaudio-utils)");
        return;
    }
    // The real sound device, as a user hears it.
    qunsetenv("PARLIVO_SPEECH_CLOCK");
    // PARLIVO_CLI=path times another build of the program (an older one, say) against the same baseline.
    const QString program = qEnvironmentVariable("PARLIVO_CLI", QStringLiteral(PARLIVO_CLI_PATH));
    QTemporaryDir folder;
    QFile text(folder.filePath(QStringLiteral("words.txt")));
    if (!text.open(QIODevice::WriteOnly) || text.write(Words) != Words.size())
        state.SkipWithError("cannot write the text");
    text.close();
    std::vector<double> ours;
    std::vector<double> espeak;
    for (auto _ : state) {
        const double parlivo = firstSoundSeconds(program, {QStringLiteral("speak"), text.fileName()});
        const double reference = firstSoundSeconds(QStringLiteral("espeak-ng"), {QString::fromLatin1(Words)});
        if (parlivo < 0 || reference < 0) {
            state.SkipWithError(parlivo < 0 ? "parlivo-cli was not heard" : "espeak-ng was not heard");
            return;
        }
        ours.push_back(parlivo);
        espeak.push_back(reference);
        state.SetIterationTime(parlivo);
    }
    state.counters["parlivo_cli_ms"] = median(ours) * 1000;
    state.counters["espeak_ng_ms"] = median(espeak) * 1000;
    state.counters["ratio"] = median(ours) / median(espeak); // goal: at most 3
    // The null sink sometimes holds a new stream's first audio back for a few tenths of a second whoever plays it;
    // the best runs show the programs' own start.
    state.counters["best_parlivo_cli_ms"] = *std::min_element(ours.begin(), ours.end()) * 1000;
    state.counters["best_espeak_ng_ms"] = *std::min_element(espeak.begin(), espeak.end()) * 1000;
    state.counters["best_ratio"] = state.counters["best_parlivo_cli_ms"] / state.counters["best_espeak_ng_ms"];
}
BENCHMARK(FirstSoundAgainstEspeakNg)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Core);
}
