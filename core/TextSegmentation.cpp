#include "core/TextSegmentation.h"

#include <QStringList>

namespace {

char32_t codePointAt(QStringView text, int i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return c.unicode();
}

char32_t codePointBefore(QStringView text, int end)
{
    const QChar c = text[end - 1];
    if (c.isLowSurrogate() && end >= 2 && text[end - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[end - 2], c);
    return c.unicode();
}

int unitsOf(char32_t code)
{
    return code > 0xFFFF ? 2 : 1;
}

bool isWordCharacter(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Symbol_Math:
    case QChar::Symbol_Currency:
    case QChar::Symbol_Modifier:
    case QChar::Symbol_Other:
        return true;
    default:
        return false;
    }
}

bool isPunctuation(char32_t code)
{
    return QChar::isPunct(code);
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0x85);
}

bool isTerminator(QChar c)
{
    switch (c.unicode()) {
    case '.':
    case '!':
    case '?':
    case 0x2026: // ellipsis
    case 0x203C:
    case 0x2047:
    case 0x2048:
    case 0x2049:
    case 0x3002: // ideographic full stop
    case 0xFF01:
    case 0xFF1F:
    case 0xFF61:
        return true;
    default:
        return false;
    }
}

// Full stops of scripts written without blanks end a sentence on their own.
bool endsWithoutBlank(QChar c)
{
    return c.unicode() == 0x3002 || c.unicode() == 0xFF01 || c.unicode() == 0xFF1F || c.unicode() == 0xFF61;
}

bool isCloser(QChar c)
{
    switch (c.unicode()) {
    case '"':
    case '\'':
    case ')':
    case ']':
    case '}':
    case 0x2019: // right single quote
    case 0x201D: // right double quote
    case 0x00BB: // right guillemet
    case 0x203A:
    case 0x300D:
    case 0x300F:
        return true;
    default:
        return false;
    }
}

bool isTitleAbbreviation(QStringView word)
{
    static const QStringList titles{QStringLiteral("mr"),    QStringLiteral("mrs"),  QStringLiteral("ms"),
                                    QStringLiteral("dr"),    QStringLiteral("prof"), QStringLiteral("sr"),
                                    QStringLiteral("jr"),    QStringLiteral("st"),   QStringLiteral("mt"),
                                    QStringLiteral("vs"),    QStringLiteral("fig"),  QStringLiteral("cf"),
                                    QStringLiteral("approx")};
    for (const QString& title : titles) {
        if (word.compare(title, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// 1 when the next word on the same line begins with a lower-case letter, 0 when not, -1 when the text runs out
// before that is known.
int nextWordIsLowerCase(QStringView text, int from, bool complete)
{
    int k = from;
    while (k < text.size() && isBlank(text[k]) && !isLineBreak(text[k]))
        ++k;
    if (k >= text.size())
        return complete ? 0 : -1;
    return text[k].isLower() ? 1 : 0;
}

// Whether a full stop at `dot` (a run of stops ending before `runEnd`, followed by a blank) can end a sentence;
// -1 when the text runs out before that is known.
int stopEndsSentence(QStringView text, int dot, int runEnd, bool complete)
{
    if (runEnd - dot == 1) {
        int w = dot;
        while (w > 0 && text[w - 1].isLetter())
            --w;
        const QStringView word = text.mid(w, dot - w);
        if (word.size() == 1 || isTitleAbbreviation(word))
            return 0;
    }
    const int lower = nextWordIsLowerCase(text, runEnd, complete);
    return lower < 0 ? -1 : 1 - lower;
}

} // namespace

QList<TextSpan> findWords(QStringView text)
{
    QList<TextSpan> words;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        int end = i;
        while (end < n && !isBlank(text[end]))
            ++end;
        int from = i;
        int to = end;
        while (from < to && isPunctuation(codePointAt(text, from)))
            from += unitsOf(codePointAt(text, from));
        while (to > from && isPunctuation(codePointBefore(text, to)))
            to -= unitsOf(codePointBefore(text, to));
        // An abbreviation keeps its closing stop: "e.g." but not "plan." or "3.14.".
        if (to > from && to < end && text[to] == u'.' && text[to - 1].isLetter() &&
            text.mid(from, to - from).contains(u'.'))
            ++to;
        bool hasWordCharacter = false;
        for (int k = from; k < to; k += unitsOf(codePointAt(text, k))) {
            if (isWordCharacter(codePointAt(text, k))) {
                hasWordCharacter = true;
                break;
            }
        }
        if (hasWordCharacter)
            words.append({from, to - from});
        i = end;
    }
    return words;
}

int findSentenceEnd(QStringView text, int from, bool complete, int maxLength)
{
    const int n = int(text.size());
    int start = from;
    while (start < n && isBlank(text[start]))
        ++start;
    for (int i = start; i < n; ++i) {
        if (i - start >= maxLength) {
            int cut = i;
            while (cut > start && !isBlank(text[cut - 1]))
                --cut;
            if (cut == start)
                cut = text[i - 1].isHighSurrogate() ? i + 1 : i;
            return cut;
        }
        const QChar c = text[i];
        if (isLineBreak(c))
            return i;
        if (!isTerminator(c))
            continue;
        int j = i + 1;
        bool onlyStops = c == u'.';
        while (j < n && isTerminator(text[j])) {
            onlyStops = onlyStops && text[j] == u'.';
            ++j;
        }
        const int runEnd = j;
        while (j < n && isCloser(text[j]))
            ++j;
        if (endsWithoutBlank(text[runEnd - 1]))
            return j;
        if (j >= n)
            return complete ? j : -1;
        if (!isBlank(text[j])) {
            i = j - 1;
            continue;
        }
        if (!onlyStops || runEnd != j) {
            // "Go!" she said: a lower-case word goes on with the same sentence.
            const int ends = nextWordIsLowerCase(text, j, complete);
            if (ends < 0)
                return -1;
            if (ends == 1) {
                i = j - 1;
                continue;
            }
        } else {
            const int ends = stopEndsSentence(text, i, runEnd, complete);
            if (ends < 0)
                return -1;
            if (ends == 0) {
                i = j - 1;
                continue;
            }
        }
        return j;
    }
    return complete ? n : -1;
}

QList<TextSpan> findSentences(QStringView text)
{
    QList<TextSpan> sentences;
    const int n = int(text.size());
    int position = 0;
    while (position < n) {
        int start = position;
        while (start < n && isBlank(text[start]))
            ++start;
        if (start >= n)
            break;
        int end = findSentenceEnd(text, start, true);
        if (end <= start)
            end = start + 1;
        int last = end;
        while (last > start && isBlank(text[last - 1]))
            --last;
        sentences.append({start, last - start});
        position = end;
    }
    return sentences;
}

QList<int> splitLongSentence(QStringView text, TextSpan span, int target)
{
    QList<int> ends;
    int position = span.start;
    const int end = span.end();
    while (end - position > target + target / 2) {
        const int window = position + target;
        int cut = -1;
        for (int k = window; k > position + target / 2; --k) {
            const QChar c = text[k - 1];
            if ((c == u',' || c == u';' || c == u':') && isBlank(text[k])) {
                cut = k;
                break;
            }
        }
        if (cut < 0) {
            for (int k = window; k > position + target / 4; --k) {
                if (isBlank(text[k - 1])) {
                    cut = k;
                    break;
                }
            }
        }
        if (cut < 0)
            cut = text[window - 1].isHighSurrogate() ? window + 1 : window;
        ends.append(cut);
        position = cut;
    }
    ends.append(end);
    return ends;
}
