#pragma once

// Pages of typeset text drawn as pictures, as a scanner or a camera would give them, and a measure of how well
// their recognised text matches what was drawn.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegularExpression>
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
