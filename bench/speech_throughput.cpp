// How fast speech is rendered: the engine writing a 10,000-word text to a WAV file against the baseline of the
// espeak-ng program doing the same (espeak-ng -w) in the same run. The ratio is the engine's throughput over the
// program's (audio seconds made per second); it should be at least 0.9.
// Run: ./speech_throughput
#include "BenchMain.h"
#include "speech/EspeakEngine.h"
#include "speech/WavFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

QString tenThousandWords()
{
    const QStringList sentences{
        QStringLiteral("The children listened carefully while the teacher read the story aloud."),
        QStringLiteral("In 2021 the school library bought forty new books about science and history."),
        QStringLiteral("Reading every day helps learners to spell, to speak and to understand."),
        QStringLiteral("Dr. Smith asked whether anyone had finished the well-known puzzle, e.g. the crossword."),
    };
    QString text;
    int words = 0;
    for (int i = 0; words < 10000; ++i) {
        const QString& sentence = sentences[i % sentences.size()];
        text += sentence + u' ';
        words += int(sentence.split(u' ').size());
    }
    return text;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void RenderToFile(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString textPath = folder.filePath(QStringLiteral("text.txt"));
    const QString text = tenThousandWords();
    {
        QFile file(textPath);
        file.open(QIODevice::WriteOnly);
        file.write(text.toUtf8());
    }
    EspeakEngine::Options options;
    options.useClock = true;
    EspeakEngine engine(options);
    engine.voices();

    std::vector<double> engineSeconds;
    std::vector<double> programSeconds;
    double engineAudio = 0;
    double programAudio = 0;
    for (auto _ : state) {
        const QString ours = folder.filePath(QStringLiteral("engine.wav"));
        QElapsedTimer timer;
        timer.start();
        engine.speakToFile(text, false, ours);
        engineSeconds.push_back(timer.nsecsElapsed() / 1e9);
        engineAudio = readWavInfo(ours)->seconds();

        const QString theirs = folder.filePath(QStringLiteral("program.wav"));
        timer.restart();
        QProcess program;
        program.start(QStringLiteral("espeak-ng"), {QStringLiteral("-w"), theirs, QStringLiteral("-f"), textPath});
        program.waitForFinished(-1);
        programSeconds.push_back(timer.nsecsElapsed() / 1e9);
        programAudio = readWavInfo(theirs) ? readWavInfo(theirs)->seconds() : 0;
    }
    const double ours = engineAudio / median(engineSeconds);
    const double theirs = programAudio / median(programSeconds);
    state.counters["engine_audio_s"] = engineAudio;
    state.counters["program_audio_s"] = programAudio;
    state.counters["engine_x_realtime"] = ours;
    state.counters["program_x_realtime_baseline"] = theirs;
    state.counters["throughput_ratio"] = theirs > 0 ? ours / theirs : 0;
}
BENCHMARK(RenderToFile)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Core);
}
