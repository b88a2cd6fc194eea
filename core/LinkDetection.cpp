#include "core/LinkDetection.h"

#include <QChar>

namespace {

struct CodePoint
{
    char32_t value;
    qsizetype width; // in UTF-16 units
};

CodePoint codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

char32_t codePointBefore(QStringView text, qsizetype i)
{
    const QChar c = text[i - 1];
    if (c.isLowSurrogate() && i >= 2 && text[i - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[i - 2], c);
    return c.unicode();
}

// A link starts a word: "xhttp://" or "foo.www." are not links.
bool gluesToLink(char32_t cp)
{
    if (QChar::isLetterOrNumber(cp) || QChar::isMark(cp))
        return true;
    return cp == u'.' || cp == u'-' || cp == u'_' || cp == u'@' || cp == u'/';
}

bool canStandInAddress(char32_t cp)
{
    if (QChar::isSpace(cp))
        return false;
    switch (QChar::category(cp)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Symbol_Other: // emoji and the object-replacement character of pictures
        return false;
    default:
        break;
    }
    return cp != u'<' && cp != u'>' && cp != u'"' && cp != u'`';
}

bool isTrailingPunctuation(QChar c)
{
    switch (c.unicode()) {
    case u'.':
    case u',':
    case u';':
    case u':':
    case u'!':
    case u'?':
    case u'\'':
    case u'"':
        return true;
    default:
        return false;
    }
}

// Length of the link prefix that starts at i, or 0.
qsizetype prefixAt(QStringView text, qsizetype i)
{
    static const QLatin1StringView prefixes[] = {
        QLatin1StringView("http://"), QLatin1StringView("https://"), QLatin1StringView("ftp://"),
        QLatin1StringView("mailto:"), QLatin1StringView("www."),
    };
    const char16_t first = text[i].toLower().unicode();
    if (first != u'h' && first != u'f' && first != u'm' && first != u'w')
        return 0;
    for (const QLatin1StringView& prefix : prefixes) {
        if (text.size() - i >= prefix.size() && text.mid(i, prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0)
            return prefix.size();
    }
    return 0;
}

// Drops sentence punctuation and unmatched closing brackets from the end of [start, end).
qsizetype trimmedEnd(QStringView text, qsizetype start, qsizetype end)
{
    struct Pair
    {
        QChar open, close;
        int opens = 0, closes = 0;
    };
    Pair pairs[] = {{u'(', u')'}, {u'[', u']'}, {u'{', u'}'}};
    for (qsizetype k = start; k < end; ++k) {
        for (Pair& pair : pairs) {
            if (text[k] == pair.open)
                ++pair.opens;
            else if (text[k] == pair.close)
                ++pair.closes;
        }
    }
    while (end > start) {
        const QChar last = text[end - 1];
        if (isTrailingPunctuation(last)) {
            --end;
            continue;
        }
        bool unmatched = false;
        for (Pair& pair : pairs) {
            if (last == pair.close && pair.closes > pair.opens) {
                --pair.closes;
                unmatched = true;
            }
        }
        if (!unmatched)
            break;
        --end;
    }
    return end;
}

bool hasLetterOrDigit(QStringView text, qsizetype start, qsizetype end)
{
    for (qsizetype k = start; k < end; ++k) {
        if (text[k].isLetterOrNumber() || text[k].isSurrogate())
            return true;
    }
    return false;
}

} // namespace

QList<TextLink> FindLinks(QStringView text)
{
    QList<TextLink> links;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype prefix = prefixAt(text, i);
        if (prefix == 0 || (i > 0 && gluesToLink(codePointBefore(text, i)))) {
            ++i;
            continue;
        }
        qsizetype end = i + prefix;
        while (end < text.size()) {
            const CodePoint cp = codePointAt(text, end);
            if (!canStandInAddress(cp.value))
                break;
            end += cp.width;
        }
        end = trimmedEnd(text, i + prefix, end);
        if (!hasLetterOrDigit(text, i + prefix, end)) {
            ++i;
            continue;
        }
        links.append({i, end - i});
        i = end;
    }
    return links;
}

TextLink LinkAt(QStringView text, qsizetype position)
{
    if (position < 0 || position >= text.size() || text[position].isSpace())
        return {};
    qsizetype wordStart = position;
    while (wordStart > 0 && !text[wordStart - 1].isSpace())
        --wordStart;
    qsizetype wordEnd = position;
    while (wordEnd < text.size() && !text[wordEnd].isSpace())
        ++wordEnd;
    const QList<TextLink> links = FindLinks(text.mid(wordStart, wordEnd - wordStart));
    for (const TextLink& link : links) {
        if (position >= wordStart + link.start && position < wordStart + link.end())
            return {wordStart + link.start, link.length};
    }
    return {};
}
