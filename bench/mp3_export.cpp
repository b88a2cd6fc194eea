// Exporting one ten-minute text to MP3 as Save As MP3 does (the voice renders while libmp3lame encodes the
// speech in pieces on every core), against the baseline of the same work done by the command-line programs in
// the same run: espeak-ng -w x.wav -f text.txt && lame x.wav x.mp3. Goal: at most 0.6 of the pipeline's time
// on two cores. Three repetitions; read the medians.
// Run: ./mp3_export
#include "BenchMain.h"
#include "export/SpeechExport.h"
#include "speech/EspeakEngine.h"
#include "speech/EspeakVoices.h"
#include "speech/Voice.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
// About ten minutes of speech at the default speed.
QString tenMinutes()
{
    const QString sentence =
        QStringLiteral("The children listened carefully while the teacher read the story aloud to the class. ");
    QString text;
    for (int words = 0; words < 1800; words += 15)
        text += sentence;
    return text;
}

void ExportAgainstEspeakAndLame(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString text = tenMinutes();
    QFile textFile(folder.filePath(QStringLiteral("text.txt")));
    textFile.open(QIODevice::WriteOnly);
    textFile.write(text.toUtf8());
    textFile.close();
    EspeakEngine::Options options;
    options.useClock = true;
    Voice voice(std::make_unique<EspeakEngine>(options));
    voice.SetRate(-1); // reading speed 5, the default
    const QString wordsPerMinute = QString::number(wordsPerMinuteForRate(-1));
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        ExportSpeech(voice, text, AudioFormat::Mp3, {folder.filePath(QStringLiteral("ours.mp3")), {}, {}}, {});
        const double ours = timer.nsecsElapsed() / 1e9;

        timer.restart();
        QProcess::execute(QStringLiteral("espeak-ng"),
                          {QStringLiteral("-s"), wordsPerMinute, QStringLiteral("-w"),
                           folder.filePath(QStringLiteral("x.wav")), QStringLiteral("-f"), textFile.fileName()});
        QProcess::execute(QStringLiteral("lame"), {QStringLiteral("--quiet"), folder.filePath(QStringLiteral("x.wav")),
                                                   folder.filePath(QStringLiteral("x.mp3"))});
        const double pipeline = timer.nsecsElapsed() / 1e9;
        state.SetIterationTime(ours);
        state.counters["pipeline_s"] = pipeline;
        state.counters["ratio"] = ours / pipeline; // goal: at most 0.6
    }
}

BENCHMARK(ExportAgainstEspeakAndLame)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);
} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Core);
}
