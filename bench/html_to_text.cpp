// HtmlToText on generated web pages: the one-pass conversion against the plain step-by-step method that
// rescans from the start after every tag. Run: ./html_to_text  (add PARLIVO_BENCH_FULL=1 to time the plain
// method on the 5 MB page too; it takes minutes).

#include "core/TextRoutines.h"
#include "tests/support/HtmlToTextReference.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

namespace {

// A page of about `chars` characters holding `markup` tags and entities, with words, line breaks and tabs.
QString generatePage(qsizetype chars, int markup)
{
    static const char* tags[] = {"<p>",
                                 "</p>",
                                 "<a href=\"/wiki/Page_name\">",
                                 "</a>",
                                 "<br>",
                                 "<b>",
                                 "</b>",
                                 "<div class=\"c\">",
                                 "</div>\r\n",
                                 "<!-- note -->",
                                 "<span>>"};
    static const char* entities[] = {"&amp;", "&nbsp;", "&#8212;", "&quot;", "&lt;"};
    static const char* words[] = {"reading ", "aloud ", "the ", "learner ", "voice; ", "page\r\n", "\t", "teacher "};
    std::mt19937 random(7);
    QString page;
    page.reserve(chars + 64);
    const qsizetype textPerMarkup = chars / markup;
    for (int n = 0; n < markup; ++n) {
        page +=
            QString::fromUtf8(n % 3 == 2 ? entities[random() % std::size(entities)] : tags[random() % std::size(tags)]);
        const qsizetype until = qsizetype(n + 1) * textPerMarkup;
        while (page.size() < until)
            page += QString::fromUtf8(words[random() % std::size(words)]);
    }
    return page;
}

const QString& page(int kilobytes)
{
    static std::map<int, QString> pages;
    auto found = pages.find(kilobytes);
    if (found == pages.end())
        found = pages.emplace(kilobytes, generatePage(qsizetype(kilobytes) * 1000, kilobytes * 40)).first;
    return found->second;
}

void OnePass(benchmark::State& state)
{
    const QString& html = page(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(HtmlToText(html));
    state.SetBytesProcessed(state.iterations() * html.size());
}

void StepByStep(benchmark::State& state)
{
    const QString& html = page(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::htmlToText(html));
    state.SetBytesProcessed(state.iterations() * html.size());
}

// Prints, after the table, how many times faster the one pass is than the step-by-step method per page size.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const qsizetype slash = qsizetype(name.find('/'));
            const int kilobytes = std::atoi(name.c_str() + slash + 1);
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            (name.rfind("OnePass", 0) == 0 ? onePass : stepByStep)[kilobytes] = seconds;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [kilobytes, seconds] : onePass) {
            std::printf("page %d kB: one pass %.3f s", kilobytes, seconds);
            if (stepByStep.count(kilobytes)) {
                std::printf(", step by step %.3f s, ratio %.0f\n", stepByStep[kilobytes],
                            stepByStep[kilobytes] / seconds);
            } else if (!stepByStep.empty()) {
                // The step-by-step method grows with the square of the page, so scale from the largest page
                // it was timed on.
                const auto& [measured, measuredSeconds] = *stepByStep.rbegin();
                const double scale = double(kilobytes) / measured;
                const double estimate = measuredSeconds * scale * scale;
                std::printf(", step by step about %.0f s (estimated from %d kB), ratio about %.0f\n", estimate,
                            measured, estimate / seconds);
            } else {
                std::printf("\n");
            }
        }
    }

private:
    std::map<int, double> onePass;
    std::map<int, double> stepByStep;
};

} // namespace

BENCHMARK(OnePass)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(StepByStep)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(StepByStep)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (std::getenv("PARLIVO_BENCH_FULL"))
        benchmark::RegisterBenchmark("StepByStep", StepByStep)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
