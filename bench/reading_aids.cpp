// What the reading aids add to moving the highlight: line focus and syllables on, in a 5 MB document, against the
// highlight alone in the same window and the same run. Each move is followed by the repaint it causes.
// Goal: the aids add well under a millisecond a word. Run: ./reading_aids
#include "BenchMain.h"
#include "window/main/MainWindow.h"
#include "fakes/ScriptedPrompts.h"
#include "fakes/ScriptedSpeechEngine.h"

#include <QApplication>
#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <benchmark/benchmark.h>

namespace {
constexpr int MovesPerRound = 200;

// Lays the whole document out now, rather than in the steps the reading area takes between events, so no round
// pays for laying out what the last switch of the aids changed.
void settle(MainWindow& reader)
{
    QTextDocument* document = reader.reText->document();
    document->documentLayout()->blockBoundingRect(document->lastBlock());
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void moves(MainWindow& reader, int first, int words, bool jump)
{
    for (int i = 0; i < MovesPerRound; ++i) {
        const int word = jump ? int((qint64(first + i) * 7919) % words) : (first + i) % words;
        reader.HighlightSpoken(word * 6, 5);
        QApplication::processEvents();
    }
}

// Seconds for one round of moves from `first`, word after word or all over the document. The same moves run once
// untimed first, so both settings meet the same warm caches and the view starts from the same place.
double round(MainWindow& reader, int first, int words, bool jump)
{
    settle(reader);
    moves(reader, first, words, jump);
    reader.HighlightSpoken(first * 6, 5);
    settle(reader);
    QElapsedTimer timer;
    timer.start();
    moves(reader, first, words, jump);
    return double(timer.nsecsElapsed()) / 1e9;
}

void HighlightWithReadingAids(benchmark::State& state)
{
    ScriptedPrompts prompts;
    QString text;
    const QString paragraph = QStringLiteral("The children listened carefully while the teacher read the story. ");
    while (text.size() < 5 * 1024 * 1024)
        text += paragraph + (text.size() % 4096 < 80 ? QStringLiteral("\n") : QString());
    MainWindow reader(std::make_unique<ScriptedSpeechEngine>());
    reader.reText->setPlainText(text);
    reader.resize(1200, 800);
    reader.show();
    reader.model().setState(ReadingState::Reading);
    reader.EnterReadingState();
    ReadingAids aids;
    aids.FocusLines = 3;
    aids.Syllables = true;
    const int words = int(text.size() / 6);
    const bool jump = state.range(0) != 0;

    // The same window and the same words, with the aids off and then on; switching them (which formats the
    // whole document again) is left out of the times.
    double alone = 0;
    double withAids = 0;
    int first = words / 3;
    for (auto _ : state) {
        reader.mReadingAids = {};
        reader.ApplyAppearance();
        alone += round(reader, first, words, jump);
        reader.mReadingAids = aids;
        reader.ApplyAppearance();
        const double seconds = round(reader, first, words, jump);
        withAids += seconds;
        state.SetIterationTime(seconds);
        first += MovesPerRound;
    }
    const double moves = double(state.iterations()) * MovesPerRound;
    state.counters["highlight_alone_us"] = alone / moves * 1e6;
    state.counters["with_aids_us"] = withAids / moves * 1e6;
    state.counters["added_us_per_word"] = (withAids - alone) / moves * 1e6;
    state.counters["ratio"] = withAids / alone;
}
BENCHMARK(HighlightWithReadingAids)
    ->ArgName("jump")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);
} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::WebEngine);
}
