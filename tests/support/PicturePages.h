#pragma once

// Pages of typeset text drawn as pictures, as a scanner or a camera would give them, and a measure of how well
// their recognised text matches what was drawn.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace pictures {

// Source text of a worksheet; "vil-|lage" may be broken there, with its hyphen, at the end of a line.
inline const QStringList Worksheet = {
    QStringLiteral("The river carried the boat past the vil-|lage where the chil-|dren waited for their teach-|er to "
                   "arrive with the new books and the maps of the north-|ern moun-|tains."),
    QStringLiteral("Every-|one wanted to under-|stand the jour-|ney, and the com-|mittee had placed the young-|est "
                   "travel-|lers at the front of the boat."),
};

// The words of the source as the reader should give them, words broken at a line end whole.
inline QString sourceText(const QStringList& paragraphs)
{
    return paragraphs.join(QLatin1Char(' ')).replace(QStringLiteral("-|"), QString());
}

// The paragraphs set in 12 point type on a page 6 inches wide at `dpi`, a blank line between paragraphs.
inline QImage typesetPage(const QStringList& paragraphs, int dpi, double widthInches = 6)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(12 * dpi / 72);
    const QFontMetricsF metrics(font);
    const double margin = dpi / 2.0;
    const double width = widthInches * dpi - 2 * margin;
    QStringList lines;
    for (const QString& paragraph : paragraphs) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString whole = QString(word).remove(QStringLiteral("-|"));
            const QString prefix = line.isEmpty() ? QString() : line + QLatin1Char(' ');
            if (metrics.horizontalAdvance(prefix + whole) <= width) {
                line = prefix + whole;
                continue;
            }
            // Broken at its mark when the first part fits, as a typesetter hyphenates.
            const QString head = word.section(QLatin1Char('|'), 0, 0);
            if (word.contains(QLatin1Char('|')) && metrics.horizontalAdvance(prefix + head) <= width) {
                lines << prefix + head;
                line = word.section(QLatin1Char('|'), 1);
            } else {
                lines << line;
                line = whole;
            }
        }
        lines << line << QString();
    }
    const double pitch = metrics.lineSpacing() * 1.2;
    QImage page(qRound(widthInches * dpi), qRound(2 * margin + pitch * lines.size()), QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter painter(&page);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(margin, margin + metrics.ascent() + i * pitch), lines[i]);
    return page;
}

// The page turned clockwise by `degrees` on white paper large enough to hold it.
inline QImage turned(const QImage& page, double degrees)
{
    QTransform turn;
    turn.rotate(degrees);
    const QRect bounds = turn.mapRect(page.rect());
    QImage result(bounds.size(), QImage::Format_RGB32);
    result.fill(Qt::white);
    result.setDotsPerMeterX(page.dotsPerMeterX());
    result.setDotsPerMeterY(page.dotsPerMeterY());
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(-bounds.topLeft());
    painter.setTransform(turn, true);
    painter.drawImage(0, 0, page);
    return result;
}

// Specks of black and white over `share` of the pixels, the same each run.
inline QImage speckled(QImage page, double share)
{
    QRandomGenerator random(7);
    const qint64 count = qint64(share * page.width() * page.height());
    for (qint64 i = 0; i < count; ++i)
        page.setPixel(random.bounded(page.width()), random.bounded(page.height()), i % 2 ? 0xFF000000 : 0xFFFFFFFF);
    return page;
}

// A sheet as a teacher photographs it with a phone: the paragraphs in `pixelSize` type on tinted paper lit unevenly
// from one side, turned by `degrees`, softened by the lens and speckled by the sensor, at 72 dpi as phones label
// their pictures. Save it as a JPEG to finish the likeness.
struct Photo
{
    QStringList paragraphs;
    int pixelSize = 32;
    double degrees = 0;
    QColor paper = QColor(0xF4, 0xE9, 0xC8);
    double blur = 1; // the lens's softness, in pixels
    int noise = 12;  // the sensor's grain, in grey levels either way
};

inline QImage photographed(const Photo& photo)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(photo.pixelSize);
    const QFontMetricsF metrics(font);
    const double width = 34 * metrics.averageCharWidth();
    const double margin = 2 * photo.pixelSize;
    double height = 0;
    QList<QRectF> boxes;
    for (const QString& paragraph : photo.paragraphs) {
        const QRectF box = metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, paragraph);
        boxes << QRectF(margin, margin + height, width, box.height());
        height += box.height() + metrics.lineSpacing();
    }
    QImage sheet(qRound(width + 2 * margin), qRound(height + 2 * margin), QImage::Format_RGB32);
    {
        QPainter painter(&sheet);
        QLinearGradient light(0, 0, sheet.width(), sheet.height());
        light.setColorAt(0, photo.paper.lighter(106));
        light.setColorAt(1, photo.paper.darker(118));
        painter.fillRect(sheet.rect(), light);
        painter.setFont(font);
        painter.setPen(QColor(0x30, 0x2C, 0x34));
        for (qsizetype i = 0; i < boxes.size(); ++i)
            painter.drawText(boxes[i], Qt::TextWordWrap, photo.paragraphs[i]);
    }
    // Turned on a darker desk that shows at the corners.
    QTransform turn;
    turn.rotate(photo.degrees);
    const QRect bounds = turn.mapRect(sheet.rect());
    QImage result(bounds.size(), QImage::Format_RGB32);
    result.fill(QColor(0x6B, 0x5A, 0x48));
    {
        QPainter painter(&result);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(-bounds.topLeft());
        painter.setTransform(turn, true);
        painter.drawImage(0, 0, sheet);
    }
    if (photo.blur > 0) {
        const QSize size = result.size();
        result = result.scaled(size / (1 + photo.blur), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QRandomGenerator random(11);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int grain = int(random.bounded(2 * photo.noise + 1)) - photo.noise;
            row[x] = qRgb(std::clamp(qRed(row[x]) + grain, 0, 255), std::clamp(qGreen(row[x]) + grain, 0, 255),
                          std::clamp(qBlue(row[x]) + grain, 0, 255));
        }
    }
    result.setDotsPerMeterX(qRound(72 / 0.0254));
    result.setDotsPerMeterY(qRound(72 / 0.0254));
    return result;
}

// What the tesseract command makes of the picture at `path` with its own defaults; empty when it is not installed.
inline QString tesseractCommandText(const QString& path)
{
    const QString command = QStandardPaths::findExecutable(QStringLiteral("tesseract"));
    if (command.isEmpty())
        return {};
    QProcess tesseract;
    tesseract.start(command, {path, QStringLiteral("stdout")});
    tesseract.waitForFinished(-1);
    return QString::fromUtf8(tesseract.readAllStandardOutput());
}

// A TIFF in black and white whose pages are `pages[order[0]]`, `pages[order[1]]`, ...; each picture's pixels are
// stored once however often it recurs, so thousands of pages take little room. `unknownTag` adds a private tag
// that the TIFF library warns of.
inline QByteArray tiffOfPages(const QList<QImage>& pages, const QList<int>& order, bool unknownTag = false)
{
    QByteArray out;
    const auto put = [&](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xFF));
    };
    out.append("II", 2);
    put(42, 2);
    put(0, 4); // the first page's directory, set below
    struct Stored
    {
        quint32 strip, bytes, resolution;
        int width, height;
    };
    QList<Stored> stored;
    for (const QImage& page : pages) {
        const QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
        Stored at{quint32(out.size()), quint32((grey.width() + 7) / 8 * grey.height()), 0, grey.width(), grey.height()};
        for (int y = 0; y < grey.height(); ++y) {
            const uchar* row = grey.constScanLine(y);
            for (int x = 0; x < grey.width(); x += 8) {
                uchar bits = 0;
                for (int b = 0; b < 8 && x + b < grey.width(); ++b)
                    bits |= row[x + b] > 127 ? 0x80 >> b : 0; // a set bit is white
                out.append(char(bits));
            }
        }
        at.resolution = quint32(out.size());
        put(quint32(std::max(qRound(page.dotsPerMeterX() * 0.0254), 1)), 4);
        put(1, 4);
        stored << at;
    }
    const quint32 first = quint32(out.size());
    out[4] = char(first & 0xFF), out[5] = char((first >> 8) & 0xFF), out[6] = char((first >> 16) & 0xFF),
    out[7] = char(first >> 24);
    const int entries = unknownTag ? 13 : 12;
    for (qsizetype p = 0; p < order.size(); ++p) {
        const Stored& page = stored[order[p]];
        put(entries, 2);
        const auto entry = [&](int tag, int type, quint32 value) {
            put(tag, 2);
            put(type, 2);
            put(1, 4);
            put(value, 4);
        };
        entry(256, 4, page.width);
        entry(257, 4, page.height);
        entry(258, 3, 1);
        entry(259, 3, 1); // uncompressed
        entry(262, 3, 1); // black is zero
        entry(273, 4, page.strip);
        entry(277, 3, 1);
        entry(278, 4, page.height);
        entry(279, 4, page.bytes);
        entry(282, 5, page.resolution);
        entry(283, 5, page.resolution);
        entry(296, 3, 2); // inches
        if (unknownTag)
            entry(65000, 4, 7);
        put(p + 1 < order.size() ? quint32(out.size()) + 4 : 0, 4);
    }
    return out;
}

inline QStringList wordsOf(const QString& text)
{
    QString clean = text.toLower();
    clean.replace(QRegularExpression(QStringLiteral("[^\\p{L}\\p{N}\\s]")), QString());
    return clean.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// Twice the longest common run of words over both counts: 1 for the same words in the same order.
inline double wordSimilarity(const QString& expected, const QString& actual)
{
    const QStringList a = wordsOf(expected);
    const QStringList b = wordsOf(actual);
    if (a.isEmpty() && b.isEmpty())
        return 1;
    std::vector<int> row(b.size() + 1, 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = 0;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return 2.0 * row[b.size()] / double(a.size() + b.size());
}

} // namespace pictures
