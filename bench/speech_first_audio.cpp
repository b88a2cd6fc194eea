// How soon speech starts: the time from speak() to the first sample handed to the audio output, for a 5 MB text
// against the baseline of a 1 KB text in the same run, for espeak-ng and for Festival. The engines read only as
// far as their first sentence, so the ratio stays near 1; espeak-ng takes a few milliseconds (Festival's goal:
// under 100 ms). Each reading starts from a quiet engine, as when a user presses Play; `ms_cutting_in` is the
// 1 KB text started just as another reading's first sound came, when Festival may first have to finish the
// phrase it is making (it cannot be stopped inside one).
// Run: ./speech_first_audio
#include "BenchMain.h"
#include "speech/EspeakEngine.h"
#include "speech/FestivalEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

QString textOfSize(qsizetype bytes)
{
    const QString sentence =
        QStringLiteral("The reader opened the book and read the next sentence aloud to the class. ");
    QString text;
    text.reserve(bytes + sentence.size());
    while (text.size() < bytes)
        text += sentence;
    return text;
}

// Milliseconds from speak() to the first audio of that utterance reaching the output.
double firstAudioMs(SynthesisEngine& engine, const QString& text)
{
    QCoreApplication::processEvents();
    const qint64 before = engine.audioDelivered();
    QElapsedTimer timer;
    timer.start();
    engine.speak(text, true, true);
    while (engine.audioDelivered() == before) {
        if (timer.elapsed() > 5000)
            return -1;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

// Stops the reading and gives the engine time to finish what it was making.
void settle(SynthesisEngine& engine)
{
    engine.skipAll();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300)
        QCoreApplication::processEvents();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Engine> void FirstAudio(benchmark::State& state)
{
    SynthesisEngineOptions options;
    options.useClock = true;
    Engine engine(options);
    engine.voices();
    const QString small = textOfSize(1024);
    const QString large = textOfSize(5 * 1024 * 1024);
    firstAudioMs(engine, small);

    std::vector<double> smallMs;
    std::vector<double> largeMs;
    std::vector<double> cuttingInMs;
    for (auto _ : state) {
        settle(engine);
        smallMs.push_back(firstAudioMs(engine, small));
        settle(engine);
        largeMs.push_back(firstAudioMs(engine, large));
        cuttingInMs.push_back(firstAudioMs(engine, small));
    }
    engine.skipAll();
    QCoreApplication::processEvents();
    state.counters["ms_1KB_baseline"] = median(smallMs);
    state.counters["ms_5MB"] = median(largeMs);
    state.counters["ratio_5MB_to_1KB"] = median(largeMs) / median(smallMs);
    state.counters["ms_cutting_in"] = median(cuttingInMs);
    // On a busy machine the medians mostly measure waiting for a core; the best runs show the work itself.
    const double smallBest = *std::min_element(smallMs.begin(), smallMs.end());
    const double largeBest = *std::min_element(largeMs.begin(), largeMs.end());
    state.counters["best_ratio_5MB_to_1KB"] = largeBest / smallBest;
    state.counters["best_ms_1KB"] = smallBest;
    state.counters["best_ms_5MB"] = largeBest;
}
BENCHMARK(FirstAudio<EspeakEngine>)->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstAudio<FestivalEngine>)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Core);
}
