// The Festival voice and the pronunciation list, each against a baseline in the same run (Festival's time to first
// audio is measured beside espeak-ng's in speech_first_audio):
// - synthesis speed of the engine's rendering against Festival's own text2wave on the same text (goal: at least
//   0.9 of its speed, so a ratio of our time to its time of at most 1.1);
// - the cost per word of a 10,000-entry pronunciation list against no list;
// - loading a 100,000-entry list against splitting its text.
// Run: ./festival_speech
#include "BenchMain.h"
#include "speech/FestivalEngine.h"
#include "speech/Pronunciations.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString textOfSize(qsizetype size)
{
    const QString sentence =
        QStringLiteral("The reader opened the book and read the next sentence aloud to the class. ");
    QString text;
    while (text.size() < size)
        text += sentence;
    return text;
}

void FestivalAgainstText2wave(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString text = textOfSize(6000);
    QFile file(folder.filePath(QStringLiteral("text.txt")));
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8());
    file.close();
    SynthesisEngineOptions options;
    options.useClock = true;
    FestivalEngine engine(options);
    engine.voices();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        engine.render(text, false, [](const QByteArray&) {}, {});
        const double ours = timer.nsecsElapsed() / 1e9;
        timer.restart();
        QProcess::execute(QStringLiteral("text2wave"),
                          {QStringLiteral("-eval"), QStringLiteral("(voice_cmu_us_slt_arctic_hts)"), file.fileName(),
                           QStringLiteral("-o"), folder.filePath(QStringLiteral("x.wav"))});
        const double theirs = timer.nsecsElapsed() / 1e9;
        state.SetIterationTime(ours);
        state.counters["text2wave_s"] = theirs;
        state.counters["ratio"] = ours / theirs; // goal: at most 1.1
    }
}
BENCHMARK(FestivalAgainstText2wave)->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond);

void PronunciationsPerWord(benchmark::State& state)
{
    QString entries;
    for (int i = 0; i < 10000; ++i)
        entries += QStringLiteral("name%1=spoken %1\n").arg(i);
    const PronunciationList list = state.range(0) ? PronunciationList::fromText(entries) : PronunciationList();
    const QString text = textOfSize(100000) + QStringLiteral(" name42 ");
    const qsizetype words = text.count(QLatin1Char(' '));
    for (auto _ : state) {
        SpokenTextMap map;
        benchmark::DoNotOptimize(list.apply(text, false, &map));
    }
    state.counters["ns_per_word"] = benchmark::Counter(double(state.iterations()) * words,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(PronunciationsPerWord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Loading a list of 100,000 words against the baseline of only splitting its text into lines and sides; a load
// that looked each word up in the whole list grew with the square of its length (minutes at this size).
void PronunciationsLoad(benchmark::State& state)
{
    QString entries;
    for (int i = 0; i < 100000; ++i)
        entries += QStringLiteral("name%1=spoken %1\n").arg(i);
    QElapsedTimer timer;
    qint64 splitNs = 0;
    qint64 loadNs = 0;
    for (auto _ : state) {
        timer.start();
        qsizetype sides = 0;
        for (const QString& line : entries.split(QLatin1Char('\n')))
            sides += line.split(QLatin1Char('=')).size();
        benchmark::DoNotOptimize(sides);
        splitNs += timer.nsecsElapsed();
        timer.start();
        benchmark::DoNotOptimize(PronunciationList::fromText(entries).size());
        loadNs += timer.nsecsElapsed();
    }
    state.counters["ms_load_100k"] = double(loadNs) / 1e6 / double(state.iterations());
    state.counters["ratio_to_splitting"] = double(loadNs) / double(splitNs);
}
BENCHMARK(PronunciationsLoad)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Core);
}
