// HtmlToText on generated web pages. The time must grow with the page, not with its square: a 5 MB page against
// twenty-five 200 kB pages, and 5 MB of hostile markup (quoted values and comments that never end, references
// cut short) against the ordinary 5 MB page. The plain method of the tests, which searches ahead without
// remembering anything, is timed on 200 kB beside the one pass. Run: ./html_to_text

#include "BenchMain.h"
#include "documents/OSTRoutines.h"
#include "tests/support/HtmlToTextReference.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <map>
#include <random>

namespace {

// A page of about `chars` characters: a head with its style and script, then paragraphs, tables and lists
// of words written with character references, links with quoted attributes, comments and line breaks.
QString generatePage(qsizetype chars)
{
    static const char* markup[] = {"<p>",
                                   "</p>\r\n",
                                   "<a href=\"/wiki/Page_name?a=1&amp;b=2\" title=\"Next &gt; page >\">",
                                   "</a>",
                                   "<br>",
                                   "<b>",
                                   "</b>",
                                   "<div class='c'>",
                                   "</div>\r\n",
                                   "<!-- note <p> -->",
                                   "<table><tr><td>",
                                   "</td><td>",
                                   "</td></tr></table>",
                                   "<ul><li>",
                                   "</li></ul>",
                                   "<script>if (a < b && c > d) { x = '</p>'; }</script>",
                                   "<style>p { margin: 0 }</style>"};
    static const char* words[] = {
        "reading ", "aloud ",     "the ",         "learner&rsquo;s ",      "voice; ",  "page\r\n",
        "\t",       "teacher ",   "caf&eacute; ", "&ldquo;quoted&rdquo; ", "&mdash; ", "&#8212;&nbsp;",
        "R&D ",     "&#x201C;x ", "AT&T "};
    std::mt19937 random(7);
    QString page = QStringLiteral("<html><head><title>Generated</title><style>body { color: #222 }</style>"
                                  "<script>var pages = 1;</script></head><body>");
    page.reserve(chars + 200);
    while (page.size() < chars) {
        page += QString::fromUtf8(markup[random() % std::size(markup)]);
        for (int n = int(random() % 12); n >= 0; --n)
            page += QString::fromUtf8(words[random() % std::size(words)]);
    }
    return page + QStringLiteral("</body></html>");
}

QString repeated(const char* piece, qsizetype chars)
{
    const QString text = QString::fromUtf8(piece);
    QString result;
    result.reserve(chars + text.size());
    while (result.size() < chars)
        result += text;
    return result;
}

// Half the page is tags whose quoted values hide every ">", up to a value that is never closed, so each tag's
// search for its end would run to there again; the rest, after the last ">", is comments, tags and character
// references that never end.
QString hostilePage(qsizetype chars)
{
    return repeated("<a x='>' ", chars / 2) + QStringLiteral("<b y=\"") +
           repeated("<!-- <i d=e &CounterClockwise &#x a < b ", chars / 2);
}

const QString& page(qsizetype chars)
{
    static std::map<qsizetype, QString> pages;
    auto found = pages.find(chars);
    if (found == pages.end())
        found = pages.emplace(chars, generatePage(chars)).first;
    return found->second;
}

constexpr qsizetype Small = 200'000;
constexpr qsizetype Large = 5'000'000;

void OnePassLarge(benchmark::State& state)
{
    const QString& html = page(Large);
    for (auto _ : state)
        benchmark::DoNotOptimize(HtmlToText(html));
    state.SetBytesProcessed(state.iterations() * html.size() * 2);
}

void OnePassSmallTimesTwentyFive(benchmark::State& state)
{
    const QString& html = page(Small);
    for (auto _ : state) {
        for (int i = 0; i < int(Large / Small); ++i)
            benchmark::DoNotOptimize(HtmlToText(html));
    }
}

void OnePassHostile(benchmark::State& state)
{
    static const QString html = hostilePage(Large);
    for (auto _ : state)
        benchmark::DoNotOptimize(HtmlToText(html));
    state.SetBytesProcessed(state.iterations() * html.size() * 2);
}

void OnePassSmall(benchmark::State& state)
{
    const QString& html = page(Small);
    for (auto _ : state)
        benchmark::DoNotOptimize(HtmlToText(html));
}

void PlainMethodSmall(benchmark::State& state)
{
    const QString& html = page(Small);
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::htmlToText(html));
}

} // namespace

BENCHMARK(OnePassLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(OnePassSmallTimesTwentyFive)->Unit(benchmark::kMillisecond);
BENCHMARK(OnePassHostile)->Unit(benchmark::kMillisecond);
BENCHMARK(OnePassSmall)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainMethodSmall)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    RatioReporter reporter(
        {{"a 5 MB page", "OnePassLarge", "25 pages of 200 kB", "OnePassSmallTimesTwentyFive"},
         {"5 MB of markup that never ends", "OnePassHostile", "an ordinary 5 MB page", "OnePassLarge"},
         {"the plain method on 200 kB", "PlainMethodSmall", "the one pass", "OnePassSmall"}});
    return RunBenchmarks(argc, argv, BenchApplication::Core, &reporter);
}
