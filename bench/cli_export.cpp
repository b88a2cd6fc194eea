// Exporting eight documents of 2,000 words each to MP3 with parlivo-cli, set beside the plain pipeline of the
// same work (espeak-ng -w, then lame, file by file) measured in the same run; the ratio is parlivo-cli's time
// over the pipeline's (goal: at most 0.55 on two cores). Three repetitions; read the medians.
#include "BenchProse.h"
#include "speech/EspeakVoices.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Documents = 8;
constexpr int WordsPerDocument = 2000;

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    // lame's progress display would fill the benchmark's output.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void CliExportAgainstEspeakAndLame(benchmark::State& state)
{
    const QString espeak = QStandardPaths::findExecutable(QStringLiteral("espeak-ng"));
    const QString lame = QStandardPaths::findExecutable(QStringLiteral("lame"));
    if (espeak.isEmpty() || lame.isEmpty()) {
        state.SkipWithError("espeak-ng and lame are needed");
        return;
    }
    QTemporaryDir folder;
    QStringList inputs;
    for (int i = 0; i < Documents; ++i) {
        const QString path = folder.filePath(QStringLiteral("document%1.txt").arg(i));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(BenchProse(WordsPerDocument, i));
        inputs << path;
    }
    // The speed the command uses by default (reading speed 5).
    const QString wordsPerMinute = QString::number(wordsPerMinuteForRate(-1));

    double pipelineSeconds = 0;
    double cliSeconds = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        for (const QString& input : inputs) {
            const QString wav = folder.filePath(QStringLiteral("pipeline.wav"));
            const QString mp3 = folder.filePath(QStringLiteral("pipeline-%1.mp3").arg(QFileInfo(input).baseName()));
            if (!run(espeak,
                     {QStringLiteral("-s"), wordsPerMinute, QStringLiteral("-w"), wav, QStringLiteral("-f"), input}) ||
                !run(lame, {QStringLiteral("--nohist"), wav, mp3})) {
                state.SkipWithError("the espeak-ng and lame pipeline failed");
                return;
            }
        }
        const double pipeline = clock.nsecsElapsed() / 1e9;

        clock.restart();
        if (!run(QStringLiteral(PARLIVO_CLI_PATH),
                 QStringList{QStringLiteral("export"), QStringLiteral("-o"), folder.filePath(QStringLiteral("cli"))} +
                     inputs)) {
            state.SkipWithError("parlivo-cli export failed");
            return;
        }
        const double cli = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(cli);
        pipelineSeconds += pipeline;
        cliSeconds += cli;
    }
    state.counters["pipeline_s"] = benchmark::Counter(pipelineSeconds, benchmark::Counter::kAvgIterations);
    state.counters["cli_s"] = benchmark::Counter(cliSeconds, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = cliSeconds / pipelineSeconds; // goal: at most 0.55
}

} // namespace

BENCHMARK(CliExportAgainstEspeakAndLame)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

BENCHMARK_MAIN();
