#include "formats/PdfLayout.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// --- Running headers, footers and page numbers -------------------------------------------------------------

// A line near the top or bottom edge that may repeat on other pages.
struct EdgeLine
{
    int page;
    int line;
    double centre;   // vertical centre as a share of the page height
    QString text;    // lower case, spaces collapsed
    QString pattern; // the same with its first number replaced by '#'
    qint64 offset;   // that number less the page's index, so page numbers that count up match
    bool numbered;
};

constexpr int EdgeLinesEachSide = 2;
constexpr double EdgeBand = 0.2;   // share of the page height at the top and bottom
constexpr double SamePlace = 0.02; // two lines stand at the same height within this share
// Books alternate their running heads, so a head may stand on only every other page.
constexpr int Repeats = 2;
// Running heads and footers are short; a line of body text is not one, wherever it stands.
constexpr qsizetype LongestRunningLine = 60;

QList<EdgeLine> edgeLines(const QList<PdfPageText>& pages)
{
    static const QRegularExpression number(QStringLiteral("\\d+"));
    QList<EdgeLine> edges;
    for (int p = 0; p < pages.size(); ++p) {
        const PdfPageText& page = pages[p];
        const double height = page.size.height() > 0 ? page.size.height() : 1;
        QList<int> order(page.lines.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return page.lines[a].box.center().y() < page.lines[b].box.center().y(); });
        QList<int> chosen;
        for (int i = 0; i < order.size() && i < EdgeLinesEachSide; ++i)
            chosen << order[i];
        for (int i = std::max<int>(EdgeLinesEachSide, order.size() - EdgeLinesEachSide); i < order.size(); ++i)
            chosen << order[i];
        for (int index : chosen) {
            const PdfLine& line = page.lines[index];
            const double centre = line.box.center().y() / height;
            if ((centre > EdgeBand && centre < 1 - EdgeBand) || line.text.size() > LongestRunningLine)
                continue;
            EdgeLine edge{p, index, centre, line.text.simplified().toLower(), {}, 0, false};
            const QRegularExpressionMatch match = number.match(edge.text);
            if (match.hasMatch() && match.capturedLength() <= 6) {
                edge.pattern = edge.text;
                edge.pattern.replace(match.capturedStart(), match.capturedLength(), QLatin1Char('#'));
                edge.offset = match.captured().toLongLong() - p;
                edge.numbered = true;
            }
            edges << edge;
        }
    }
    return edges;
}

// The lines to leave out: a short line at the top or bottom of a page that stands at the same height on other
// pages with the same text, or with a number that counts up with the pages, when most pages have such lines
// there. A page that repeats another whole is content, not a run of headers: it counts as that page.
QSet<QPair<int, int>> runningLines(const QList<PdfPageText>& pages)
{
    QSet<QPair<int, int>> dropped;
    if (pages.size() < 2)
        return dropped;
    QList<int> sameAs(pages.size());
    QHash<QString, int> firstWithText;
    for (int p = 0; p < pages.size(); ++p) {
        QString whole;
        for (const PdfLine& line : pages[p].lines)
            whole += line.text.simplified() + QLatin1Char('\n');
        sameAs[p] = *firstWithText.insert(whole, firstWithText.value(whole, p));
    }
    const qsizetype distinctPages = firstWithText.size();
    const QList<EdgeLine> edges = edgeLines(pages);

    QHash<QString, QList<int>> byText;
    QHash<QString, QList<int>> byNumber;
    for (int i = 0; i < edges.size(); ++i) {
        byText[edges[i].text] << i;
        if (edges[i].numbered)
            byNumber[edges[i].pattern + QLatin1Char('|') + QString::number(edges[i].offset)] << i;
    }
    QList<bool> repeats(edges.size(), false);
    const auto markRepeated = [&](const QList<int>& group) {
        if (group.size() < Repeats)
            return;
        for (int i : group) {
            // A header on every page makes a group as long as the book: one other page is enough.
            repeats[i] = std::any_of(group.begin(), group.end(), [&](int j) {
                return sameAs[edges[j].page] != sameAs[edges[i].page] &&
                       std::abs(edges[i].centre - edges[j].centre) <= SamePlace;
            });
        }
    };
    for (const QList<int>& group : std::as_const(byText))
        markRepeated(group);
    for (const QList<int>& group : std::as_const(byNumber))
        markRepeated(group);
    for (const bool top : {true, false}) {
        QSet<int> headed;
        for (int i = 0; i < edges.size(); ++i) {
            if (repeats[i] && (edges[i].centre < 0.5) == top)
                headed.insert(sameAs[edges[i].page]);
        }
        // Lines that repeat on a few pages only are the document's own: a heading used twice, a question asked
        // again.
        if (2 * headed.size() < distinctPages)
            continue;
        for (int i = 0; i < edges.size(); ++i) {
            if (repeats[i] && (edges[i].centre < 0.5) == top)
                dropped.insert({edges[i].page, edges[i].line});
        }
    }
    return dropped;
}

// --- Paragraphs --------------------------------------------------------------------------------------------

struct Placed
{
    const PdfLine* line;
    double pageWidth;
};

bool endsSentence(const QString& text)
{
    static const QString closers = QStringLiteral(".!?:;\"')]\u201D\u2019\u00BB");
    return !text.isEmpty() && closers.contains(text.back());
}

bool startsListItem(const QString& text)
{
    static const QRegularExpression item(QStringLiteral(
        "^(?:[\u2022\u25E6\u25AA\u25CF\u25A0\u25CB\u25A1\u2023\u27A2\u2043]|\\d{1,3}[.)]\\s|[a-z][.)]\\s)"));
    return item.match(text).hasMatch();
}

bool differentType(const PdfLine& a, const PdfLine& b)
{
    const double high = std::max(a.box.height(), b.box.height());
    return high > 0 && std::abs(a.box.height() - b.box.height()) > 0.2 * high;
}

class ParagraphBuilder
{
public:
    explicit ParagraphBuilder(const QList<Placed>& lines) : mLines(lines)
    {
        QList<double> heights;
        QList<double> pitches;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            heights << lines[i].line->box.height();
            if (i > 0) {
                const QRectF& a = lines[i - 1].line->box;
                const QRectF& b = lines[i].line->box;
                const double pitch = b.bottom() - a.bottom();
                if (pitch > 0 && pitch < 3 * std::max(a.height(), b.height()) &&
                    !differentType(*lines[i - 1].line, *lines[i].line))
                    pitches << pitch;
            }
        }
        mBodyHeight = median(heights);
        mPitch = median(pitches);
        collectWords();
    }

    TextBlocks build()
    {
        TextBlocks blocks;
        QString text;
        double height = 0;
        double paragraphRight = 0;
        const auto finish = [&] {
            if (!text.isEmpty())
                blocks << TextBlock{text.trimmed(), height > 1.15 * mBodyHeight ? 1 : 0};
            text.clear();
            height = 0;
            paragraphRight = 0;
        };
        for (qsizetype i = 0; i < mLines.size(); ++i) {
            const PdfLine& line = *mLines[i].line;
            if (i > 0 && startsParagraph(i, paragraphRight))
                finish();
            text = text.isEmpty() ? line.text.trimmed() : joinLines(text, line.text.trimmed());
            height = std::max(height, line.box.height());
            paragraphRight = std::max(paragraphRight, line.box.right());
        }
        finish();
        return blocks;
    }

private:
    bool startsParagraph(qsizetype i, double paragraphRight) const
    {
        const PdfLine& previous = *mLines[i - 1].line;
        const PdfLine& line = *mLines[i].line;
        if (line.startsParagraph || differentType(previous, line) || startsListItem(line.text))
            return true;
        const bool movedDown = line.box.center().y() > previous.box.center().y();
        // A space between lines wider than the usual line pitch.
        if (movedDown && mPitch > 0 && line.box.bottom() - previous.box.bottom() > 1.4 * mPitch)
            return true;
        // A first line set in from the line below it (or, at the foot of a column, from the line above).
        const PdfLine* reference = nullptr;
        if (i + 1 < mLines.size()) {
            const PdfLine& next = *mLines[i + 1].line;
            if (next.box.center().y() > line.box.center().y() && !differentType(line, next))
                reference = &next;
        }
        if (!reference && movedDown)
            reference = &previous;
        if (reference) {
            const double setIn = line.box.left() - reference->box.left();
            if (setIn > 0.6 * std::max(mBodyHeight, 1.0) && setIn < 0.25 * mLines[i].pageWidth)
                return true;
        }
        // A short line that ends a sentence ends its paragraph.
        const double right = std::max(paragraphRight, line.box.right());
        const double width = right - std::min(previous.box.left(), line.box.left());
        if (endsSentence(previous.text.trimmed()) && width > 0 && right - previous.box.right() > 0.15 * width)
            return true;
        if (brokenOnPurpose(previous, line, paragraphRight))
            return true;
        // A line of its own after a sentence's end, itself no sentence: a heading in the body's type.
        return endsSentence(previous.text.trimmed()) && !endsSentence(line.text.trimmed()) && i + 1 < mLines.size() &&
               brokenOnPurpose(line, *mLines[i + 1].line, right);
    }

    // Whether `line` stops short although the first word of `next` would have fitted after it: a break made on
    // purpose, after a heading or a paragraph's last line. `paragraphRight` is as far as the paragraph's lines
    // reached; the column's edge, unless `next` begins a new column.
    static bool brokenOnPurpose(const PdfLine& line, const PdfLine& next, double paragraphRight)
    {
        const QString text = next.text.trimmed();
        if (text.isEmpty())
            return false;
        const double columnRight =
            next.box.left() < line.box.right() ? std::max(paragraphRight, next.box.right()) : paragraphRight;
        const double charWidth = next.box.width() / text.size();
        const qsizetype space = text.indexOf(QLatin1Char(' '));
        const qsizetype wordLength = space > 0 ? space : text.size();
        return charWidth > 0 && columnRight - line.box.right() > std::max(1.5 * (wordLength + 1), 4.0) * charWidth;
    }

    // Every word of the document, lower case, a hyphenated compound as one word: letters and marks, with single
    // hyphens between them. Scanned by hand: a regular expression over a whole book costs more than the rest of
    // the layout together.
    void collectWords()
    {
        const auto wordAt = [](const QString& text, qsizetype i, qsizetype* length) {
            char32_t c = text[i].unicode();
            *length = 1;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(text[i], text[i + 1]);
                *length = 2;
            }
            return QChar::isLetter(c) || QChar::isMark(c);
        };
        for (const Placed& placed : mLines) {
            const QString& text = placed.line->text;
            const qsizetype n = text.size();
            qsizetype i = 0;
            qsizetype length = 0;
            while (i < n) {
                if (!wordAt(text, i, &length)) {
                    i += length;
                    continue;
                }
                const qsizetype start = i;
                while (i < n && wordAt(text, i, &length))
                    i += length;
                while (i + 1 < n && (text[i] == QLatin1Char('-') || text[i] == QChar(0x2010)) &&
                       wordAt(text, i + 1, &length)) {
                    i += 1;
                    while (i < n && wordAt(text, i, &length))
                        i += length;
                }
                mWords.insert(text.sliced(start, i - start).toLower());
            }
        }
    }

    // `before` ends where the line break falls.
    QString joinLines(const QString& before, const QString& after) const
    {
        if (after.isEmpty())
            return before;
        const QChar last = before.back();
        if (last == QChar(0x00AD))
            return before.chopped(1) + after;
        if (last == QChar(0x2014))
            return before + after;
        if ((last == QLatin1Char('-') || last == QChar(0x2010)) && before.size() >= 2 &&
            before[before.size() - 2].isLetter() && after.front().isLetter()) {
            return keepHyphen(before, after) ? before + after : before.chopped(1) + after;
        }
        return before + QLatin1Char(' ') + after;
    }

    // A line-end hyphen belongs to the word when the next part is a capitalised name, when the first part already
    // holds a hyphen ("state-of-the-"), or when the document writes the compound with its hyphen elsewhere.
    bool keepHyphen(const QString& before, const QString& after) const
    {
        if (after.front().isUpper())
            return true;
        qsizetype start = before.size() - 1;
        while (start > 0 && !before[start - 1].isSpace())
            --start;
        const QString head = before.mid(start, before.size() - 1 - start).toLower();
        qsizetype end = 0;
        while (end < after.size() && (after[end].isLetter() || after[end].isMark()))
            ++end;
        const QString tail = after.left(end).toLower();
        if (head.contains(QLatin1Char('-')))
            return true;
        const QString compound = head + QLatin1Char('-') + tail;
        if (mWords.contains(compound))
            return !mWords.contains(head + tail);
        return false;
    }

    const QList<Placed>& mLines;
    double mBodyHeight = 0;
    double mPitch = 0;
    QSet<QString> mWords;
};

} // namespace

QString expandLigatures(const QString& text)
{
    static const char* const written[] = {"ff", "fi", "fl", "ffi", "ffl", "st", "st"};
    const auto isLigature = [](QChar c) { return c.unicode() >= 0xFB00 && c.unicode() <= 0xFB06; };
    if (std::none_of(text.begin(), text.end(), isLigature))
        return text;
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (isLigature(c))
            result += QLatin1String(written[c.unicode() - 0xFB00]);
        else
            result += c;
    }
    return result;
}

TextBlocks paragraphsFromPages(const QList<PdfPageText>& pages)
{
    const QSet<QPair<int, int>> dropped = runningLines(pages);
    QList<Placed> lines;
    for (int p = 0; p < pages.size(); ++p) {
        for (int l = 0; l < pages[p].lines.size(); ++l) {
            if (!dropped.contains({p, l}) && !pages[p].lines[l].text.trimmed().isEmpty())
                lines << Placed{&pages[p].lines[l], pages[p].size.width()};
        }
    }
    return ParagraphBuilder(lines).build();
}
