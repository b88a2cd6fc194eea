// How long selecting the spoken word takes in a 5 MB document, against the baseline of the time between two
// words the voice speaks at normal speed (about 330 ms at 175 words a minute). The ratio must stay far below 1.
// Run: ./highlight_spoken
#include "BenchMain.h"
#include "window/main/MainWindow.h"
#include "fakes/ScriptedPrompts.h"
#include "fakes/ScriptedSpeechEngine.h"

#include <QTextEdit>
#include <benchmark/benchmark.h>

namespace {
constexpr double WordGapNs = 60e9 / 175;

void HighlightSpoken(benchmark::State& state)
{
    ScriptedPrompts prompts;
    MainWindow reader(std::make_unique<ScriptedSpeechEngine>());
    QString text;
    const QString paragraph = QStringLiteral("The children listened carefully while the teacher read the story. ");
    while (text.size() < 5 * 1024 * 1024)
        text += paragraph + (text.size() % 4096 < 80 ? QStringLiteral("\n") : QString());
    reader.reText->setPlainText(text);
    reader.resize(1200, 800);
    reader.show();
    reader.model().setState(ReadingState::Reading);
    const int words = int(text.size() / 6);
    int word = 0;
    for (auto _ : state) {
        // Words all over the document, so the view scrolls to each.
        const int position = int((qint64(word) * 7919 % words) * 6);
        reader.HighlightSpoken(position, 5);
        ++word;
    }
    state.counters["seconds_per_call"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["share_of_word_gap"] = benchmark::Counter(double(state.iterations()) * WordGapNs / 1e9,
                                                             benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(HighlightSpoken)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::WebEngine);
}
