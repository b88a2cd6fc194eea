// Loading a 5 MB document into the reading area, plain and rich, in MB/s; the rich text load is set beside
// LibreOffice's own conversion of the same file to text, measured in the same run.
#include "BenchMain.h"
#include "window/readingarea/DocumentLoader.h"
#include "formats/WordProcessorImport.h"
#include "formats/RtfReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr qsizetype TargetBytes = 5 * 1024 * 1024;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeOnce(const QString& name, const QByteArray& bytes)
{
    const QString path = folder().filePath(name);
    if (!QFile::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    return path;
}

// Paragraphs of ordinary prose with the formatting changes, code-page bytes and \u characters that word
// processors write.
const QString& richTextFile()
{
    static const QString path = [] {
        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New "
                         "Roman;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n";
        for (int n = 0; rtf.size() < TargetBytes; ++n) {
            rtf += "\\pard\\plain\\f0\\fs24 Paragraph " + QByteArray::number(n) +
                   ": the quick brown fox {\\b jumps} over the {\\i lazy} dog, caf\\'e9 and "
                   "{\\cf1 na\\u239\\'efve} \\ldblquote quoted\\rdblquote  words {\\f1\\fs32 in a larger serif} "
                   "follow, {\\ul\\cf2 underlined blue} text\\tab after a tab\\line and a new line.\\par\r\n";
        }
        rtf += "}";
        return writeOnce(QStringLiteral("document.rtf"), rtf);
    }();
    return path;
}

const QString& plainTextFile()
{
    static const QString path = [] {
        QByteArray text;
        for (int n = 0; text.size() < TargetBytes; ++n) {
            text += "Paragraph " + QByteArray::number(n) +
                    ": the quick brown fox jumps over the lazy dog, caf\xC3\xA9 and na\xC3\xAFve "
                    "\xE2\x80\x9Cquoted\xE2\x80\x9D words follow in a long enough line of text.\r\n";
        }
        return writeOnce(QStringLiteral("document.txt"), text);
    }();
    return path;
}

double seconds(const std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void reportThroughput(benchmark::State& state, qint64 bytes)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
    state.counters["MB_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * bytes / 1e6, benchmark::Counter::kIsRate);
}

void BM_LoadPlainTextIntoReadingArea(benchmark::State& state)
{
    const QString path = plainTextFile();
    QTextEdit area;
    for (auto _ : state)
        LoadDocumentByType(&area, path, TextMode::Rich);
    reportThroughput(state, QFileInfo(path).size());
}
BENCHMARK(BM_LoadPlainTextIntoReadingArea)->Unit(benchmark::kMillisecond);

void BM_ParseRichText(benchmark::State& state)
{
    QFile file(richTextFile());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        QTextDocument document;
        readRtf(bytes, &document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    reportThroughput(state, bytes.size());
}
BENCHMARK(BM_ParseRichText)->Unit(benchmark::kMillisecond);

void BM_LoadRichTextIntoReadingArea(benchmark::State& state)
{
    const QString path = richTextFile();
    const qint64 bytes = QFileInfo(path).size();
    QTextEdit area;
    double ours = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        LoadDocumentByType(&area, path, TextMode::Rich);
        ours += seconds(start);
    }
    ours /= static_cast<double>(state.iterations());
    reportThroughput(state, bytes);

    // The peer: LibreOffice converting the same file to plain text, start-up included as a user meets it.
    if (wordProcessorProgram().isEmpty()) {
        state.SetLabel("LibreOffice not installed: no comparison");
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        benchmark::DoNotOptimize(convertDocument(path, QStringLiteral("txt:Text"), std::chrono::minutes(10)));
    } catch (const WordProcessorError& error) {
        state.SkipWithError(error.what());
        return;
    }
    const double libreOffice = seconds(start);
    state.counters["libreoffice_s"] = libreOffice;
    state.counters["libreoffice_MB_per_s"] = bytes / 1e6 / libreOffice;
    state.counters["times_faster_than_libreoffice"] = libreOffice / ours;
}
BENCHMARK(BM_LoadRichTextIntoReadingArea)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Widgets);
}
