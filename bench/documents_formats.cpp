// PDF and Word documents beside the programs users already know, measured in the same run:
// the text of a 300-page TeX-typeset PDF against poppler's pdftotext on the same file (goal: at most 1.5 times
// its time), and opening a .docx against opening the .doc of the same document.
#include "BenchMain.h"
#include "window/readingarea/DocumentLoader.h"
#include "formats/PdfReader.h"
#include "formats/WordProcessorImport.h"
#include "support/DocumentFixtures.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextEdit>
#include <benchmark/benchmark.h>

#include <functional>

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

const QString Paragraph = QStringLiteral(
    "The river carried the boat past the village where the children waited for their teacher to arrive with the "
    "new books and the maps of the northern mountains. Everyone wanted to understand the extraordinary "
    "circumstances of the expedition and the responsibility that the international committee had placed upon "
    "the youngest travellers, who unquestionably deserved it.");

const QString& bookPdf()
{
    static const QString path = [] {
        QString body;
        // Nine paragraphs fill a page; 2700 of them make some 300 pages.
        for (int i = 0; i < 2700; ++i) {
            if (i % 50 == 0)
                body += QStringLiteral("\\section*{Chapter %1}\n").arg(i / 50 + 1);
            body += Paragraph + QStringLiteral("\n\n");
        }
        return fixtures::texPdf(folder().path(), QStringLiteral("book"),
                                QStringLiteral("\\documentclass{article}\\pagestyle{myheadings}\\markright{Rivers}"
                                               "\\begin{document}\n") +
                                    body + QStringLiteral("\\end{document}\n"));
    }();
    return path;
}

double secondsOf(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e9;
}

void BM_PdfTextAgainstPdftotext(benchmark::State& state)
{
    const QString pdf = bookPdf();
    if (pdf.isEmpty()) {
        state.SkipWithError("TeX (pdflatex) is not installed");
        return;
    }
    double ours = 0;
    double theirs = 0;
    qsizetype paragraphs = 0;
    for (auto _ : state) {
        ours += secondsOf([&] { paragraphs = readPdf(pdf).size(); });
        state.PauseTiming();
        theirs += secondsOf([&] { fixtures::pdftotext(pdf); });
        state.ResumeTiming();
    }
    // How much of our time is Poppler's own text extraction, and how much the paragraph layout.
    const double pagesOnly = secondsOf([&] { state.counters["pages"] = double(readPdfPages(pdf).size()); });
    const double n = static_cast<double>(state.iterations());
    state.counters["paragraphs"] = double(paragraphs);
    state.counters["parlivo_s"] = ours / n;
    state.counters["pdftotext_s"] = theirs / n;
    state.counters["times_pdftotext"] = ours / theirs;
    state.counters["poppler_share"] = pagesOnly / (ours / n);
}
BENCHMARK(BM_PdfTextAgainstPdftotext)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DocxOpenAgainstDoc(benchmark::State& state)
{
    if (wordProcessorProgram().isEmpty()) {
        state.SkipWithError("LibreOffice (soffice) is not installed");
        return;
    }
    QString html = QStringLiteral("<html><body><h1>Rivers</h1>");
    for (int i = 0; i < 200; ++i)
        html += QStringLiteral("<p>") + Paragraph + QStringLiteral(" <b>Bold</b> and <i>italic</i>.</p>");
    html += QStringLiteral("</body></html>");
    const QString page = fixtures::writeFile(folder().filePath(QStringLiteral("story.html")), html.toUtf8());
    const QString doc = fixtures::writeFile(folder().filePath(QStringLiteral("story.doc")),
                                            convertDocument(page, QStringLiteral("doc:MS Word 97")));
    const QString docx = fixtures::writeFile(folder().filePath(QStringLiteral("story.docx")),
                                             convertDocument(page, QStringLiteral("docx:MS Word 2007 XML")));
    QTextEdit area;
    double docxSeconds = 0;
    double docSeconds = 0;
    for (auto _ : state) {
        docxSeconds += secondsOf([&] { LoadDocumentByType(&area, docx, TextMode::Rich); });
        state.PauseTiming();
        docSeconds += secondsOf([&] { LoadDocumentByType(&area, doc, TextMode::Rich); });
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["docx_s"] = docxSeconds / n;
    state.counters["doc_s"] = docSeconds / n;
    state.counters["docx_over_doc"] = docxSeconds / docSeconds;
}
BENCHMARK(BM_DocxOpenAgainstDoc)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, BenchApplication::Widgets);
}
