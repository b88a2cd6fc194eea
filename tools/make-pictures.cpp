// Draws the about window's pictures from the reader figure's own images, so the logo and the figure
// beside the text always look alike. Run through make-pictures.sh.
#include "window/face/VisemeImages.h"
#include "speech/VisemeTable.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

const QColor Ink(0x1d, 0x4e, 0x89);
const QColor Accent(0x22, 0x9a, 0x80);

// The figure as the reader shows it: the whole figure, a mouth and its eye overlay.
void DrawFigure(QPainter& p, const ImageList& images, QPointF at, int viseme)
{
    images.Draw(p, at, 0);
    const int mouth = VisemeImage(viseme);
    if (mouth > 0) {
        images.Draw(p, at, mouth);
        images.Draw(p, at, EyeOverlay(mouth));
    }
}

// Three short arcs beside the head, centred on the mouth: the sign of a voice.
void DrawSoundWaves(QPainter& p, QPointF mouth, qreal firstRadius)
{
    for (int i = 0; i < 3; ++i) {
        const qreal r = firstRadius + i * 9;
        QColor c = Accent;
        c.setAlphaF(1.0 - i * 0.25);
        p.setPen(QPen(c, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(mouth.x() - r, mouth.y() - r, 2 * r, 2 * r), -22 * 16, 44 * 16);
    }
}

QFont LogoFont(int pixelSize, int weight)
{
    QFont font(QStringLiteral("URW Gothic"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Weight(weight));
    return font;
}

QImage Logo()
{
    QImage image(400, 221, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);

    // A soft round backdrop behind the figure.
    const QPointF centre(82, 110);
    QRadialGradient glow(centre, 100);
    glow.setColorAt(0, QColor(0xe4, 0xf4, 0xff));
    glow.setColorAt(0.75, QColor(0xee, 0xf8, 0xff));
    glow.setColorAt(1, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, 100, 100);

    const qreal scale = 1.55;
    const QPointF origin(centre.x() - 78 * scale, 12);
    const ImageList images = MakeReaderFaceImages(2.0);
    p.save();
    p.translate(origin);
    p.scale(scale, scale);
    DrawFigure(p, images, QPointF(0, 0), 4);
    p.restore();
    DrawSoundWaves(p, origin + QPointF(78, 72) * scale, 70);

    p.setPen(Ink);
    p.setFont(LogoFont(62, 700));
    p.drawText(QRectF(180, 52, 220, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Parlivo"));
    p.setPen(QPen(Accent, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(186, 136), QPointF(384, 136));
    p.setPen(QColor(0x4a, 0x5a, 0x6a));
    p.setFont(LogoFont(19, 400));
    p.drawText(QRectF(184, 144, 216, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("read \u00b7 listen \u00b7 learn"));
    return image;
}

QImage Picture()
{
    QImage image(240, 240, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(0xd8, 0xef, 0xff));
    sky.setColorAt(1, QColor(0xfd, 0xf6, 0xe3));
    p.fillRect(image.rect(), sky);
    const qreal scale = 1.6;
    const ImageList images = MakeReaderFaceImages(2.0);
    p.save();
    p.translate(104 - 78 * scale, 30);
    p.scale(scale, scale);
    DrawFigure(p, images, QPointF(0, 0), 4);
    p.restore();

    // A speech bubble saying hello.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(150, 8, 82, 46), 18, 18);
    QPainterPath tail;
    tail.moveTo(166, 48);
    tail.lineTo(152, 68);
    tail.lineTo(182, 52);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(bubble);
    p.setPen(Ink);
    p.setFont(LogoFont(26, 700));
    p.drawText(QRectF(150, 8, 82, 46), Qt::AlignCenter, QStringLiteral("Hi!"));
    return image;
}

// The figure at rest, at every mouth and with both eye images, as the reader panel shows it, scale times
// the size.
QImage Strip(int scale)
{
    const QSize box(121, 137);
    const int columns = 5;
    const int label = 22;
    const ImageList images = MakeReaderFaceImages(scale);
    const QList<QPair<int, const char*>> frames = {{0, "rest"},    {1, "1 p b m"},  {2, "2 w uw"},    {3, "3 r"},
                                                   {4, "4 f v"},   {5, "5 th"},     {6, "6 l"},       {7, "7 s t n"},
                                                   {8, "8 sh ch"}, {9, "9 ih k"},   {10, "10 eh"},    {11, "11 aa"},
                                                   {12, "12 oy"},  {13, "13 half"}, {14, "14 closed"}};
    const int rows = int((frames.size() + columns - 1) / columns);
    QImage strip(columns * box.width() * scale, rows * (box.height() * scale + label), QImage::Format_RGB32);
    strip.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter p(&strip);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    for (int i = 0; i < frames.size(); ++i) {
        const QPoint origin((i % columns) * box.width() * scale, (i / columns) * (box.height() * scale + label));
        p.save();
        p.translate(origin);
        p.fillRect(QRect(QPoint(0, 0), box * scale), i % 2 ? QColor(0xdd, 0xe8, 0xf3) : QColor(0xf4, 0xef, 0xe1));
        p.setClipRect(QRect(QPoint(0, 0), box * scale));
        p.scale(scale, scale);
        images.Draw(p, QPointF(-20, 0), 0);
        const int index = frames.at(i).first;
        if (index > 0) {
            images.Draw(p, QPointF(-20, 0), index);
            if (index <= 12)
                images.Draw(p, QPointF(-20, 0), EyeOverlay(index));
        }
        p.restore();
        p.setPen(Qt::black);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        p.drawText(QRect(origin.x(), origin.y() + box.height() * scale, box.width() * scale, label), Qt::AlignCenter,
                   QString::fromLatin1(frames.at(i).second));
    }
    return strip;
}

bool Save(const QImage& image, const QString& path, const char* format, int quality)
{
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-pictures ABOUT-FOLDER [--strip FILE [SCALE]]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = Save(Logo(), folder + QStringLiteral("/logo.jpg"), "JPEG", 92) &&
              Save(Picture(), folder + QStringLiteral("/picture.jpg"), "JPEG", 92);
    if (argc >= 4 && qstrcmp(argv[2], "--strip") == 0)
        ok = Save(Strip(argc >= 5 ? QByteArray(argv[4]).toInt() : 3), QString::fromLocal8Bit(argv[3]), "PNG", -1) && ok;
    return ok ? 0 : 1;
}
