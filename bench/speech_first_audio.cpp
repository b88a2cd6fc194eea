// How soon speech starts: the time from speak() to the first sample handed to the audio output, for a 5 MB text
// against the baseline of a 1 KB text in the same run, for espeak-ng and for Festival. The engines read only as
// far as their first sentence, so the ratio stays near 1; espeak-ng takes a few milliseconds (Festival's goal:
// under 100 ms). Each reading starts from a quiet engine, as when a user presses Play; `ms_cutting_in` is the
// 1 KB text started just as another reading's first sound came, when Festival may first have to finish the
// part it is making (it cannot be stopped inside one; it makes a long sentence a phrase, or some fifteen words, at a
// time, and only as far ahead of the ear as it must). The texts open with short sentences, or with a sentence of 80
// words: with commas, without them, and one where Festival's phrasing finds no place to pause before its end, the
// longest first phrase there can be. Run: ./speech_first_audio
#include "BenchMain.h"
#include "speech/EspeakEngine.h"
#include "speech/FestivalEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

const QString ShortSentence =
    QStringLiteral("The reader opened the book and read the next sentence aloud to the class. ");

// The sentence a text opens with, by the benchmark's argument.
QString openingSentence(int kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral(
            "When the morning bell rang across the quiet valley, the children gathered their books, their coats and "
            "their lunches, walked along the river past the old mill, crossed the wooden bridge where the ducks were "
            "waiting for bread, climbed the hill behind the church, and finally reached the little school, where "
            "their teacher stood at the open door with a smile, ready to read them the next chapter of the long "
            "story they had started together in the late autumn. ");
    case 2:
        return QStringLiteral(
            "The reader opened the heavy old book that her grandmother had kept on the top shelf of the wooden "
            "cupboard in the kitchen for many years and slowly began to read the long first chapter aloud to the "
            "small group of children who sat on the soft carpet in front of the warm fire while the rain fell "
            "steadily against the windows and the wind moved through the tall trees behind the house at the far end of "
            "the lane. ");
    case 3:
        return QStringLiteral("It was a ") + QStringLiteral("very ").repeated(73) + QStringLiteral("long quiet day. ");
    default:
        return ShortSentence;
    }
}

const char* const OpeningNames[] = {"short sentences", "80 words with commas", "80 words without commas",
                                    "80 words, no phrase break"};

QString textOfSize(qsizetype bytes, const QString& opening)
{
    QString text = opening;
    text.reserve(bytes + ShortSentence.size());
    while (text.size() < bytes)
        text += ShortSentence;
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

// Stops the reading and lets the engine finish what it was making: Festival cannot be stopped inside the part of a
// sentence it is making. A short rendering waits behind it.
void settle(SynthesisEngine& engine)
{
    engine.skipAll();
    engine.render(
        QStringLiteral("Ready."), false, [](const QByteArray&) {}, [](const SpeechEvent&) {});
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
    const int opening = int(state.range(0));
    state.SetLabel(OpeningNames[opening]);
    const QString small = textOfSize(1024, openingSentence(opening));
    const QString large = textOfSize(5 * 1024 * 1024, openingSentence(opening));
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
BENCHMARK(FirstAudio<EspeakEngine>)->DenseRange(0, 3)->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstAudio<FestivalEngine>)->DenseRange(0, 3)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Core);
}
