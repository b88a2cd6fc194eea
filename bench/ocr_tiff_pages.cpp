// Loading a TIFF of 1,000 and of 4,000 blank pages (a scanner's long run, every page looked at for text): the time
// must grow with the pages, not with their square, so the larger takes no more than about four times as long.
#include "BenchMain.h"
#include "formats/DocumentLoading.h"
#include "support/PicturePages.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString blankTiff(int pages)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("blank%1.tiff").arg(pages));
    if (!QFile::exists(path)) {
        // A letter page at 100 dpi.
        QImage blank(850, 1100, QImage::Format_RGB32);
        blank.fill(Qt::white);
        blank.setDotsPerMeterX(3937);
        blank.setDotsPerMeterY(3937);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(pictures::tiffOfPages({blank}, QList<int>(pages, 0)));
    }
    return path;
}

void loadBlankTiff(benchmark::State& state, int pages)
{
    const QString path = blankTiff(pages);
    for (auto _ : state) {
        ReadProgress progress;
        const DocumentLoadResult loaded = loadDocument(path, TextMode::Plain, &progress);
        // Blank pages have no text; every page must have been looked at.
        if (!loaded.error || loaded.error->kind != DocumentLoadError::Kind::NoText || progress.done != pages)
            state.SkipWithError("the blank pages were not all read");
    }
    state.counters["pages"] = pages;
}

void BM_Tiff1000BlankPages(benchmark::State& state)
{
    loadBlankTiff(state, 1000);
}
BENCHMARK(BM_Tiff1000BlankPages)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_Tiff4000BlankPages(benchmark::State& state)
{
    loadBlankTiff(state, 4000);
}
BENCHMARK(BM_Tiff4000BlankPages)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter(
        {{"a TIFF of 4,000 blank pages", "BM_Tiff4000BlankPages", "one of 1,000", "BM_Tiff1000BlankPages"}});
    return RunBenchmarks(argc, argv, BenchApplication::Widgets, &reporter);
}
