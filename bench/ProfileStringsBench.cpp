// Reading one value from a large settings file costs a small constant times reading the file at all, at every
// size: parsing is linear, never quadratic.
#include "core/ProfileStrings.h"
#include "core/TextEncoding.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

QString makeIni(int sections)
{
    QString text;
    for (int i = 0; i < sections; ++i)
        text += QStringLiteral("[Section %1]\r\nKey=%1\r\nOther=some longer value %1\r\n\r\n").arg(i);
    return text;
}

template <typename F> double medianSeconds(F&& f, int runs = 5)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Baseline: what any reader must do, reading the bytes, decoding them and finding the line ends.
qsizetype readAndSplit(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QString text = decodeText(file.readAll());
    return text.count(QLatin1Char('\n'));
}

void BM_ReadLastKey(benchmark::State& state)
{
    const int sections = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Parlivo.ini"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(encodeText(makeIni(sections)));
    }
    const ProfileStrings ini(path);
    const QString last = QStringLiteral("section %1").arg(sections - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.readInteger(last, u"key", -1));

    const double baseline = medianSeconds([&] { benchmark::DoNotOptimize(readAndSplit(path)); });
    const double read = medianSeconds([&] { benchmark::DoNotOptimize(ini.readInteger(last, u"key", -1)); });
    state.counters["ratio_to_read_and_split"] = read / baseline;
    state.counters["ns_per_section"] = read * 1e9 / sections;
}
BENCHMARK(BM_ReadLastKey)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WriteLastKey(benchmark::State& state)
{
    const int sections = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Parlivo.ini"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(encodeText(makeIni(sections)));
    }
    const ProfileStrings ini(path);
    const QString last = QStringLiteral("Section %1").arg(sections - 1);
    int value = 0;
    for (auto _ : state)
        ini.writeInteger(last, QStringLiteral("Key"), ++value);

    const double baseline = medianSeconds([&] { benchmark::DoNotOptimize(readAndSplit(path)); });
    const double write = medianSeconds([&] { ini.writeInteger(last, QStringLiteral("Key"), ++value); });
    state.counters["ratio_to_read_and_split"] = write / baseline;
}
BENCHMARK(BM_WriteLastKey)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
