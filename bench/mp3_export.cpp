// Exporting a 20,000-word text to MP3 as the Save As MP3 command does (the voice renders a WAV file, the lame
// encoder turns it into MP3), against the baseline of the same two steps done by the command-line programs:
// espeak-ng -w x.wav -f text.txt && lame x.wav x.mp3, in the same run. The ratio should be at most 1.10.
// Run: ./mp3_export
#include "documents/AudioExport.h"
#include "platform/speech/EspeakEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
QString twentyThousandWords()
{
    const QString sentence =
        QStringLiteral("The children listened carefully while the teacher read the story aloud to the class. ");
    QString text;
    for (int words = 0; words < 20000; words += 15)
        text += sentence;
    return text;
}

double ourSeconds = 0;
double pipelineSeconds = 0;

void ParlivoExport(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString text = twentyThousandWords();
    EspeakEngine engine;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const QString wav = folder.filePath(QStringLiteral("story.wav"));
        engine.speakToFile(text, false, wav);
        if (EncodeMp3(wav, folder.filePath(QStringLiteral("story.mp3"))) != EncodeResult::Done)
            state.SkipWithError("the encoder failed");
        QFile::remove(wav);
        ourSeconds = timer.elapsed() / 1000.0;
    }
}

void CommandLinePipeline(benchmark::State& state)
{
    QTemporaryDir folder;
    QFile textFile(folder.filePath(QStringLiteral("text.txt")));
    textFile.open(QIODevice::WriteOnly);
    textFile.write(twentyThousandWords().toUtf8());
    textFile.close();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QProcess::execute(QStringLiteral("espeak-ng"), {QStringLiteral("-w"), folder.filePath(QStringLiteral("x.wav")),
                                                        QStringLiteral("-f"), textFile.fileName()});
        QProcess::execute(QStringLiteral("lame"), {QStringLiteral("--quiet"), folder.filePath(QStringLiteral("x.wav")),
                                                   folder.filePath(QStringLiteral("x.mp3"))});
        pipelineSeconds = timer.elapsed() / 1000.0;
    }
}

BENCHMARK(ParlivoExport)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(CommandLinePipeline)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (pipelineSeconds > 0)
        printf("export %.1f s, pipeline %.1f s, ratio %.2f (target <= 1.10)\n", ourSeconds, pipelineSeconds,
               ourSeconds / pipelineSeconds);
    return 0;
}
