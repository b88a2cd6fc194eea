// Translating a 300-word paragraph into Spanish as Translate does (the pair's programs joined by pipes, started
// directly), against the `apertium eng-spa` command on the same text in the same run. Goal: at most 1.2 times the
// command's time, and under a second.
// Run: ./translation
#include "BenchMain.h"
#include "speech/Translation.h"

#include <QProcess>
#include <benchmark/benchmark.h>

namespace {
// About 300 words of the plain English a learner reads.
QString paragraph()
{
    const QString text = QStringLiteral(
        "Every morning the children walk to the small school at the end of the village. The teacher opens the door "
        "at eight o'clock and the pupils hang their coats on the hooks beside the window. They read a story together "
        "before the first lesson begins. Some of them read quickly and others take their time, but everyone listens "
        "when a friend reads aloud. After the story they write a few sentences about the people in it and draw a "
        "picture of the place where it happened. ");
    QString result;
    while (result.split(u' ', Qt::SkipEmptyParts).size() < 300)
        result += text;
    return result.trimmed();
}

const QString Mode = QStringLiteral("eng-spa");

void TranslateParagraph(benchmark::State& state)
{
    const Translator translator;
    const QString text = paragraph();
    for (auto _ : state) {
        const TranslatedText translated = translator.translate(text, Mode);
        benchmark::DoNotOptimize(translated.text.size());
    }
}

void ApertiumCommand(benchmark::State& state)
{
    const QByteArray text = paragraph().toUtf8();
    for (auto _ : state) {
        QProcess apertium;
        apertium.start(QStringLiteral("apertium"), {Mode});
        apertium.write(text);
        apertium.closeWriteChannel();
        apertium.waitForFinished(-1);
        benchmark::DoNotOptimize(apertium.readAllStandardOutput().size());
    }
}

BENCHMARK(TranslateParagraph)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ApertiumCommand)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter(
        {{"translating 300 words", "TranslateParagraph", "the apertium command", "ApertiumCommand"}});
    return RunBenchmarks(argc, argv, BenchApplication::Core, &reporter);
}
