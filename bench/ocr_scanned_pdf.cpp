// Reading a 10-page scanned PDF (pages of typeset text drawn as 300 dpi pictures), set beside the tesseract command
// run page by page over the same page images in the same run; with the accuracy of each and the peak memory.
#include "BenchMain.h"
#include "formats/PdfReader.h"
#include "support/PicturePages.h"

#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <poppler-qt6.h>

#include <sys/resource.h>

namespace {

constexpr int Pages = 10;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Each page different, as a worksheet's are: the layout leaves out lines repeated at the same place on every page.
QStringList pageParagraphs(int page)
{
    static const QStringList sentences = {
        QStringLiteral("Each morning the ferry left the harbour before the fishing boats returned with their catch."),
        QStringLiteral("The lighthouse keeper wrote the weather in a book that nobody else was allowed to read."),
        QStringLiteral("Children from the island crossed to the mainland school and came home in the evening."),
        QStringLiteral("A storm in the winter closed the crossing for a week and the school sent lessons by radio."),
        QStringLiteral("The old map showed a path along the cliffs that the walkers still follow every summer."),
        QStringLiteral("Seals rested on the rocks below the cliffs while the birds circled above the water."),
        QStringLiteral("Visitors bought postcards in the shop beside the pier and posted them from the red box."),
        QStringLiteral("At the museum a model of the first ferry stood next to photographs of its crew."),
        QStringLiteral("The baker opened at six and sold bread to the sailors before they went out to sea."),
        QStringLiteral("In spring the meadows turned yellow with flowers and the lambs ran along the walls."),
    };
    QStringList paragraphs;
    for (int i = 0; i < 3; ++i)
        paragraphs << sentences[(page + i) % sentences.size()] + QLatin1Char(' ') + pictures::Worksheet[(page + i) % 2];
    return paragraphs;
}

QString sourceText()
{
    QStringList pages;
    for (int page = 0; page < Pages; ++page)
        pages << pictures::sourceText(pageParagraphs(page));
    return pages.join(QLatin1Char(' '));
}

// The scanned PDF, and its pages as Poppler renders them at 300 dpi for the command.
struct Scan
{
    QString pdf;
    QStringList images;
};

const Scan& scan()
{
    static const Scan made = [] {
        Scan result{folder().filePath(QStringLiteral("scan.pdf")), {}};
        {
            QPdfWriter writer(result.pdf);
            writer.setResolution(300);
            writer.setPageSize(QPageSize(QSizeF(6, 6), QPageSize::Inch));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter(&writer);
            for (int page = 0; page < Pages; ++page) {
                if (page > 0)
                    writer.newPage();
                painter.drawImage(QPointF(0, 0), pictures::typesetPage(pageParagraphs(page), 300));
            }
        }
        const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(result.pdf);
        for (int page = 0; page < Pages; ++page) {
            const QString image = folder().filePath(QStringLiteral("page%1.png").arg(page));
            document->page(page)->renderToImage(300, 300).save(image);
            result.images << image;
        }
        return result;
    }();
    return made;
}

double peakMegabytes(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_ParlivoScannedPdf(benchmark::State& state)
{
    const Scan& pages = scan();
    QString text;
    for (auto _ : state) {
        TextBlocks blocks = readPdf(pages.pdf);
        text.clear();
        for (const TextBlock& block : blocks)
            text += block.text + QLatin1Char(' ');
    }
    state.counters["similarity"] = pictures::wordSimilarity(sourceText(), text);
    state.counters["peak_MB"] = peakMegabytes(RUSAGE_SELF);
}
BENCHMARK(BM_ParlivoScannedPdf)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_TesseractCommandPageByPage(benchmark::State& state)
{
    const QString command = QStandardPaths::findExecutable(QStringLiteral("tesseract"));
    if (command.isEmpty()) {
        state.SkipWithError("the tesseract command (Debian package tesseract-ocr) is not installed");
        return;
    }
    const Scan& pages = scan();
    const QString timer = QStandardPaths::findExecutable(QStringLiteral("time"), {QStringLiteral("/usr/bin")});
    const bool timed = !timer.isEmpty();
    double commandPeak = 0;
    QString text;
    for (auto _ : state) {
        text.clear();
        for (const QString& image : pages.images) {
            QProcess tesseract;
            // GNU time reports the command's own peak memory (a forked child counts its parent's pages otherwise).
            if (timed)
                tesseract.start(timer,
                                {QStringLiteral("-f"), QStringLiteral("%M"), command, image, QStringLiteral("stdout")});
            else
                tesseract.start(command, {image, QStringLiteral("stdout")});
            tesseract.waitForFinished(-1);
            text += QString::fromUtf8(tesseract.readAllStandardOutput()) + QLatin1Char(' ');
            const QStringList errors =
                QString::fromUtf8(tesseract.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            if (timed && !errors.isEmpty())
                commandPeak = std::max(commandPeak, errors.last().toDouble() / 1024.0);
        }
    }
    state.counters["similarity"] = pictures::wordSimilarity(sourceText(), text);
    state.counters["peak_MB"] = commandPeak;
}
BENCHMARK(BM_TesseractCommandPageByPage)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter({{"reading a 10-page scanned PDF", "BM_ParlivoScannedPdf",
                             "the tesseract command page by page", "BM_TesseractCommandPageByPage"}});
    return RunBenchmarks(argc, argv, BenchApplication::Widgets, &reporter);
}
