// The memory an MP3 export takes must not grow with the length of the text: parlivo-cli exports texts of 1, 4 and
// 16 hours of words at the default speed's words a minute (its words being short, the speech runs about a tenth
// shorter; speech_h reports it), and the peak resident memory of each run (the child's maximum RSS, from
// wait4) is reported. Goal: the three peaks within 20% of each other, and each under 150 MB.
// The encoder runs at its cheapest search (PARLIVO_MP3_QUALITY=9), which changes how long encoding takes, not how
// the audio waits for it: the voice still renders several times faster than the encoder encodes. The text is ten
// minutes of varied prose repeated, in paragraphs of a few sentences, so each run reads and speaks all of it.
// Run: ./cli_export_memory (PARLIVO_CLI overrides the program measured)
#include "BenchProse.h"
#include "speech/EspeakVoices.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct ChildRun
{
    int status = -1;
    double peakMegabytes = 0;
    double seconds = 0;
};

// Runs the program to its end and reads its own peak memory from the kernel.
ChildRun runChild(const QByteArray& program, const QList<QByteArray>& arguments)
{
    std::vector<char*> argv{const_cast<char*>(program.constData())};
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDERR_FILENO);
        ::setenv("PARLIVO_MP3_QUALITY", "9", 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ChildRun run;
    rusage usage{};
    if (child > 0 && ::wait4(child, &run.status, 0, &usage) == child) {
        run.peakMegabytes = double(usage.ru_maxrss) / 1024.0;
        run.seconds = clock.nsecsElapsed() / 1e9;
    }
    return run;
}

// Hours of speech in an MP3 of one bit rate, as the export makes at 22050 Hz: its size over the bit rate of its first
// frame (MPEG-2 layer III).
double speechHours(const QString& path)
{
    static constexpr int Kbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(4);
    const int kbps = header.size() == 4 ? Kbps[quint8(header[2]) >> 4] : 0;
    return kbps == 0 ? 0 : double(file.size()) * 8 / (kbps * 1000.0) / 3600;
}

std::map<int, double> peaks;

void ExportPeakMemory(benchmark::State& state)
{
    const int hours = int(state.range(0));
    QTemporaryDir folder;
    // Ten minutes of text at the speed the command uses by default (reading speed 5), repeated.
    const qint64 tenMinutesOfWords = 10 * wordsPerMinuteForRate(-1);
    const QByteArray block = BenchProse(tenMinutesOfWords, 0) + "\n";
    const QString input = folder.filePath(QStringLiteral("book.txt"));
    QFile file(input);
    file.open(QIODevice::WriteOnly);
    for (int i = 0; i < hours * 6; ++i)
        file.write(block);
    file.close();
    const QString output = folder.filePath(QStringLiteral("book.mp3"));
    const QByteArray program =
        qEnvironmentVariableIsSet("PARLIVO_CLI") ? qgetenv("PARLIVO_CLI") : QByteArray(PARLIVO_CLI_PATH);

    for (auto _ : state) {
        const ChildRun run = runChild(program, {"export", "-o", output.toLocal8Bit(), input.toLocal8Bit()});
        if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
            state.SkipWithError("parlivo-cli export failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        state.counters["peak_MB"] = run.peakMegabytes;
        state.counters["text_MB"] = double(QFileInfo(input).size()) / (1024 * 1024);
        state.counters["mp3_MB"] = double(QFileInfo(output).size()) / (1024 * 1024);
        state.counters["speech_h"] = speechHours(output);
        peaks[hours] = run.peakMegabytes;
    }
}

BENCHMARK(ExportPeakMemory)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(1);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (peaks.size() == 3) {
        double lowest = peaks.begin()->second;
        double highest = lowest;
        for (const auto& [hours, peak] : peaks) {
            lowest = std::min(lowest, peak);
            highest = std::max(highest, peak);
        }
        std::printf("peak memory of 1, 4 and 16 hours: %.1f, %.1f, %.1f MB; highest over lowest %.3f (goal: at most "
                    "1.2, each under 150 MB)\n",
                    peaks[1], peaks[4], peaks[16], highest / lowest);
    }
    return 0;
}
