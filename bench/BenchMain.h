#pragma once

// What every benchmark program shares: the Qt application it runs in, and a report of each measurement against
// its baseline in the same run, printed after the table.
#include "formats/WebEnvironment.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Collects each benchmark's real time in seconds (by its name before any "/argument") and prints the ratios asked
// for once the table is done.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    struct Ratio
    {
        std::string what;         // "finding the links in 5 MB"
        std::string name;         // the benchmark measured
        std::string baseline;     // "lower-casing it"
        std::string baselineName; // the benchmark it is set against
    };

    explicit RatioReporter(std::vector<Ratio> ratios) : mRatios(std::move(ratios)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            mSeconds[run.benchmark_name().substr(0, run.benchmark_name().find('/'))] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const Ratio& ratio : mRatios) {
            if (!mSeconds.count(ratio.name) || !mSeconds.count(ratio.baselineName))
                continue;
            const double measured = mSeconds[ratio.name];
            const double baseline = mSeconds[ratio.baselineName];
            std::printf("%s: %.6g s; %s: %.6g s; ratio %.3g\n", ratio.what.c_str(), measured, ratio.baseline.c_str(),
                        baseline, measured / baseline);
        }
    }

private:
    std::vector<Ratio> mRatios;
    std::map<std::string, double> mSeconds;
};

// The application a benchmark needs: events only, widgets (drawn off screen unless a platform is set), or widgets
// beside the embedded browser.
enum class BenchApplication
{
    Core,
    Widgets,
    WebEngine
};

// Runs every registered benchmark inside the application, through `reporter` when one is given. `beforeQuit` runs
// while the application still stands, for what the benchmarks kept between runs (a window, a server).
inline int RunBenchmarks(int argc, char** argv, BenchApplication kind, benchmark::BenchmarkReporter* reporter = nullptr,
                         const std::function<void()>& beforeQuit = {})
{
    if (kind != BenchApplication::Core && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (kind == BenchApplication::WebEngine)
        PrepareWebEngineEnvironment();
    std::unique_ptr<QCoreApplication> application;
    if (kind == BenchApplication::Core)
        application = std::make_unique<QCoreApplication>(argc, argv);
    else
        application = std::make_unique<QApplication>(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    if (beforeQuit)
        beforeQuit();
    return 0;
}
