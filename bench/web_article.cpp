// "Read web page" on a large news page (2,000 paragraphs, about 700 KB): finding its article in the page
// against loading the page into the browser, both in the same run. Run: ./web_article

#include "BenchMain.h"
#include "support/NewsPages.h"
#include "formats/PageText.h"
#include "formats/WebEnvironment.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <memory>

namespace {

constexpr int Paragraphs = 2000;
constexpr int Timeout = 120000;

struct LargePage
{
    LargePage()
    {
        QFile file(folder.filePath(QStringLiteral("large.html")));
        file.open(QIODevice::WriteOnly);
        file.write(fixtures::largeNewsPage(Paragraphs));
        url = QUrl::fromLocalFile(file.fileName());
    }
    QTemporaryDir folder;
    QUrl url;
    QWebEngineProfile profile;
    QWebEnginePage page{&profile};
};

// Made in main(), inside the application's lifetime, as the browser requires.
LargePage* theLargePage = nullptr;

LargePage& largePage()
{
    return *theLargePage;
}

bool load(QWebEnginePage& page, const QUrl& url)
{
    bool done = false;
    bool ok = false;
    const auto connection = QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool success) {
        done = true;
        ok = success;
    });
    page.load(url);
    const bool finished = QTest::qWaitFor([&] { return done; }, Timeout);
    QObject::disconnect(connection);
    return finished && ok;
}

void LoadPage(benchmark::State& state)
{
    LargePage& large = largePage();
    for (auto _ : state) {
        if (!load(large.page, large.url))
            state.SkipWithError("the page did not load");
    }
}

void ExtractArticle(benchmark::State& state)
{
    LargePage& large = largePage();
    if (!load(large.page, large.url)) {
        state.SkipWithError("the page did not load");
        return;
    }
    qsizetype characters = 0;
    for (auto _ : state) {
        bool done = false;
        auto* request = new PageTextRequest(&large.page, false, false);
        QObject::connect(request, &PageTextRequest::finished, [&](const PageText& page) {
            characters = page.text.size();
            done = true;
        });
        QObject::connect(request, &PageTextRequest::failed, [&](const QString&) { done = true; });
        request->setScriptTimeout(Timeout);
        request->start();
        if (!QTest::qWaitFor([&] { return done; }, Timeout))
            state.SkipWithError("the article was not found in time");
    }
    state.counters["characters"] = double(characters);
    if (characters == 0)
        state.SkipWithError("no article was found");
}

} // namespace

BENCHMARK(LoadPage)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractArticle)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto large = std::make_unique<LargePage>();
    theLargePage = large.get();
    RatioReporter reporter({{"finding the article of a " + std::to_string(Paragraphs) + "-paragraph page",
                             "ExtractArticle", "loading the page", "LoadPage"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    large.reset();
    return 0;
}
