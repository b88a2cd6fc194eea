// The reader's viseme drawing against its floor: drawing the mouth and eye images straight onto an image.
// A viseme event draws onto the face's canvas and puts it on screen before returning, so the mouth keeps
// pace with the voice; the ratio printed at the end says what that costs beyond the two image draws.
// Run: ./reader_face

#include "BenchMain.h"
#include "window/face/ReaderFace.h"
#include "speech/VisemeTable.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

namespace {

constexpr int Visemes[] = {7, 21, 1, 16, 8, 13, 19, 4, 0, 11};

// Baseline: the two image draws a viseme makes at most, onto a plain image.
void TwoImageDraws(benchmark::State& state)
{
    const ImageList images = MakeReaderFaceImages();
    QImage canvas(121, 137, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    size_t n = 0;
    for (auto _ : state) {
        const int image = VisemeImage(Visemes[n++ % std::size(Visemes)]);
        QPainter painter(&canvas);
        images.Draw(painter, ReaderFace::ImageOrigin, image);
        images.Draw(painter, ReaderFace::ImageOrigin, EyeOverlay(image));
    }
}

// A viseme event on a face shown on screen, including its paint and the flush to the window.
void VisemeOnShownFace(benchmark::State& state)
{
    ReaderFace face;
    face.show();
    QApplication::processEvents();
    size_t n = 0;
    for (auto _ : state)
        face.SpVoiceViseme(Visemes[n++ % std::size(Visemes)]);
}

BENCHMARK(TwoImageDraws);
BENCHMARK(VisemeOnShownFace);

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter(
        {{"a viseme event on the shown face", "VisemeOnShownFace", "two image draws", "TwoImageDraws"}});
    return RunBenchmarks(argc, argv, BenchApplication::Widgets, &reporter);
}
