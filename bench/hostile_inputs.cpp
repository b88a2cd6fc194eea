// Hostile inputs cost time in proportion to their size: each case runs at n and 4n, and the fitted complexity
// (the "BigO" and "RMS" lines) shows whether the time grows linearly. A quadratic path shows as a time ratio
// near 16 between the two sizes instead of near 4.
#include "BenchMain.h"
#include "documents/DocumentLoading.h"
#include "platform/ProfileStrings.h"
#include "platform/rtf/RtfReader.h"
#include "spelling/SpellingFile.h"
#include "web/LinkDetection.h"

#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

QByteArray repeated(const QByteArray& piece, qsizetype times)
{
    QByteArray bytes;
    bytes.reserve(piece.size() * times);
    for (qsizetype i = 0; i < times; ++i)
        bytes += piece;
    return bytes;
}

void finish(benchmark::State& state, qsizetype bytes)
{
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(qint64(state.iterations()) * bytes);
}

void BM_RichTextNestedGroups(benchmark::State& state)
{
    const QByteArray rtf = "{\\rtf1 " + repeated("{\\b ", state.range(0)) + "x" + repeated("}", state.range(0)) + "}";
    for (auto _ : state) {
        QTextDocument document;
        readRtf(rtf, &document);
    }
    finish(state, rtf.size());
}
BENCHMARK(BM_RichTextNestedGroups)->Arg(25000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_RichTextUnclosedGroups(benchmark::State& state)
{
    const QByteArray rtf = "{\\rtf1 " + repeated("{\\i a", state.range(0));
    for (auto _ : state) {
        QTextDocument document;
        readRtf(rtf, &document);
    }
    finish(state, rtf.size());
}
BENCHMARK(BM_RichTextUnclosedGroups)->Arg(25000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_PageWithManyTags(benchmark::State& state)
{
    const QByteArray page = repeated("<b>w</b> <i>&amp;</i>\r\n", state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(htmlDocumentText(page));
    finish(state, page.size());
}
BENCHMARK(BM_PageWithManyTags)->Arg(250000)->Arg(1000000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_PageWithUnclosedTags(benchmark::State& state)
{
    const QByteArray page = repeated("<a href=x ", state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(htmlDocumentText(page));
    finish(state, page.size());
}
BENCHMARK(BM_PageWithUnclosedTags)->Arg(25000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_PlainTextWithZerosAndStrayBytes(benchmark::State& state)
{
    const QByteArray text = repeated(QByteArray("word \xe9\0\r\n", 9), state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(plainTextFromBytes(text));
    finish(state, text.size());
}
BENCHMARK(BM_PlainTextWithZerosAndStrayBytes)
    ->Arg(250000)
    ->Arg(1000000)
    ->Arg(4000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_SpellingFileLines(benchmark::State& state)
{
    const QByteArray file = "Intro\r\nEnd\r\n" + repeated("word,10\r\n", state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(TestWordLines(SplitSpellingLines(DecodeSpellingText(file))));
    finish(state, file.size());
}
BENCHMARK(BM_SpellingFileLines)
    ->Arg(25000)
    ->Arg(100000)
    ->Arg(400000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_SettingsWithManySections(benchmark::State& state)
{
    QString text;
    for (int i = 0; i < state.range(0); ++i)
        text += QStringLiteral("[Section %1]\r\nKey=%1\r\n").arg(i);
    text += QStringLiteral("[Parlivo Settings]\r\nReader=Anna\r\n");
    for (auto _ : state) {
        ProfileDocument document = ProfileDocument::fromText(text);
        benchmark::DoNotOptimize(document.value(u"parlivo settings", u"reader"));
        document.setValue(QStringLiteral("Parlivo Settings"), QStringLiteral("Speed"), QStringLiteral("5"));
    }
    finish(state, text.size() * 2);
}
BENCHMARK(BM_SettingsWithManySections)
    ->Arg(25000)
    ->Arg(100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_LinksInALongParagraph(benchmark::State& state)
{
    const QString text =
        QString::fromLatin1(repeated("see www.example.org/a?b=c, http:// or mailto:x@y. ", state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(FindLinks(text));
    finish(state, text.size() * 2);
}
BENCHMARK(BM_LinksInALongParagraph)->Arg(25000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Widgets);
}
