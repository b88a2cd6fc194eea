// Link detection in the reading area on a generated 5 MB text: finding the links against one plain pass
// over the same text (lower-casing it), loading the text into a reading area with the link highlighter
// against loading it without, and finding the link under the pointer in a 5 MB paragraph against
// scanning that paragraph. Run: ./web_links

#include "BenchMain.h"
#include "core/LinkDetection.h"
#include "window/readingarea/LinkClicks.h"

#include <benchmark/benchmark.h>

#include <QTextEdit>

#include <map>
#include <random>

namespace {

constexpr qsizetype TextSize = 5'000'000;

// Words, punctuation and about one web address in fifty words; `paragraphs` breaks every ~80 characters.
QString generateText(bool paragraphs)
{
    static const char* words[] = {"reading ", "aloud, ",  "the ",         "learner ", "voice. ",
                                  "(page) ",  "teacher ", "caf\xC3\xA9 ", "spell; ",  "word "};
    static const char* links[] = {"http://example.org/page?q=1. ", "www.school.org/list) ", "mailto:a@b.org ",
                                  "https://en.wikipedia.org/wiki/Foo_(bar), "};
    std::mt19937 random(11);
    QString text;
    text.reserve(TextSize + 100);
    qsizetype line = 0;
    while (text.size() < TextSize) {
        text += QString::fromUtf8(random() % 50 == 0 ? links[random() % std::size(links)]
                                                     : words[random() % std::size(words)]);
        if (paragraphs && text.size() - line > 80) {
            text += QLatin1Char('\n');
            line = text.size();
        }
    }
    return text;
}

const QString& text(bool paragraphs)
{
    static std::map<bool, QString> texts;
    auto found = texts.find(paragraphs);
    if (found == texts.end())
        found = texts.emplace(paragraphs, generateText(paragraphs)).first;
    return found->second;
}

void FindAllLinks(benchmark::State& state)
{
    const QString& body = text(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindLinks(body));
    state.SetBytesProcessed(state.iterations() * body.size() * 2);
}

void LowerCaseBaseline(benchmark::State& state)
{
    const QString& body = text(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(body.toLower());
    state.SetBytesProcessed(state.iterations() * body.size() * 2);
}

void LoadWithLinks(benchmark::State& state)
{
    const QString& body = text(true);
    for (auto _ : state) {
        QTextEdit edit;
        new LinkClicks(&edit);
        edit.setPlainText(body);
        benchmark::DoNotOptimize(edit.document()->blockCount());
    }
}

void LoadBaseline(benchmark::State& state)
{
    const QString& body = text(true);
    for (auto _ : state) {
        QTextEdit edit;
        edit.setPlainText(body);
        benchmark::DoNotOptimize(edit.document()->blockCount());
    }
}

void LinkUnderPointer(benchmark::State& state)
{
    const QString& body = text(false);
    qsizetype position = body.size() / 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LinkAt(body, position));
        position = (position + 7919) % body.size();
    }
}

} // namespace

BENCHMARK(FindAllLinks)->Unit(benchmark::kMillisecond);
BENCHMARK(LowerCaseBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadWithLinks)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadBaseline)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(LinkUnderPointer)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    RatioReporter reporter({{"finding the links in 5 MB", "FindAllLinks", "lower-casing it", "LowerCaseBaseline"},
                            {"loading 5 MB with links shown", "LoadWithLinks", "loading it plain", "LoadBaseline"},
                            {"the link under the pointer in a 5 MB paragraph", "LinkUnderPointer",
                             "finding all its links", "FindAllLinks"}});
    return RunBenchmarks(argc, argv, BenchApplication::Widgets, &reporter);
}
