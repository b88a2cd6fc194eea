#include "speech/SpeechMarkup.h"

#include <algorithm>

namespace {

// A tag longer than this is not taken for one: it keeps a stray '<' in a long text from costing a scan to the end.
constexpr int MaxTagLength = 4096;
constexpr int MaxEntityLength = 12;

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u':';
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || c.isDigit() || c == u'.' || c == u'-';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// A parsed tag: where it ends and, for a silence, how long.
struct Tag
{
    int end = -1; // index after '>', or -1 when the text there is no well-formed tag
    int silenceMsec = -1;
    int cdataFrom = -1, cdataTo = -1; // the content of <![CDATA[...]]>, which is text
};

int findWithin(QStringView text, int from, QStringView what)
{
    const int limit = std::min<qsizetype>(text.size(), from + MaxTagLength);
    const qsizetype found = text.left(limit).indexOf(what, from);
    return found < 0 ? -1 : int(found + what.size());
}

int parseMsec(QStringView value)
{
    value = value.trimmed();
    if (value.isEmpty())
        return -1;
    qint64 msec = 0;
    for (QChar c : value) {
        if (!c.isDigit() || c.unicode() > 127)
            return -1;
        msec = std::min<qint64>(msec * 10 + (c.unicode() - u'0'), MaxSilenceMsec);
    }
    return int(msec);
}

Tag parseTag(QStringView text, int at)
{
    Tag tag;
    const int n = int(text.size());
    int i = at + 1;
    if (i >= n)
        return tag;
    if (text.mid(i).startsWith(u"!--")) {
        tag.end = findWithin(text, i + 3, u"-->");
        return tag;
    }
    if (text.mid(i).startsWith(u"![CDATA[")) {
        const int close = findWithin(text, i + 8, u"]]>");
        if (close >= 0) {
            tag.end = close;
            tag.cdataFrom = i + 8;
            tag.cdataTo = close - 3;
        }
        return tag;
    }
    if (text[i] == u'?') {
        tag.end = findWithin(text, i + 1, u"?>");
        return tag;
    }
    if (text[i] == u'!') {
        if (i + 1 < n && text[i + 1].isLetter())
            tag.end = findWithin(text, i + 1, u">");
        return tag;
    }
    const bool closing = text[i] == u'/';
    if (closing)
        ++i;
    if (i >= n || !isNameStart(text[i]))
        return tag;
    const int nameFrom = i;
    while (i < n && isNameChar(text[i]))
        ++i;
    const QStringView name = text.mid(nameFrom, i - nameFrom);
    const bool silence = !closing && name.compare(u"silence", Qt::CaseInsensitive) == 0;
    int msec = -1;
    const int limit = std::min(n, at + MaxTagLength);
    while (true) {
        const int blanksFrom = i;
        while (i < limit && isBlank(text[i]))
            ++i;
        if (i >= limit)
            return tag;
        if (text[i] == u'>') {
            tag.end = i + 1;
            break;
        }
        if (text[i] == u'/' && !closing) {
            if (i + 1 < limit && text[i + 1] == u'>') {
                tag.end = i + 2;
                break;
            }
            return tag;
        }
        // An attribute must be set off from what precedes it.
        if (closing || i == blanksFrom || !isNameStart(text[i]))
            return tag;
        const int attrFrom = i;
        while (i < limit && isNameChar(text[i]))
            ++i;
        const QStringView attr = text.mid(attrFrom, i - attrFrom);
        while (i < limit && isBlank(text[i]))
            ++i;
        if (i >= limit || text[i] != u'=')
            return tag;
        ++i;
        while (i < limit && isBlank(text[i]))
            ++i;
        if (i >= limit || (text[i] != u'\'' && text[i] != u'"'))
            return tag;
        const QChar quote = text[i++];
        const int valueFrom = i;
        while (i < limit && text[i] != quote && text[i] != u'<')
            ++i;
        if (i >= limit || text[i] != quote)
            return tag;
        if (silence && attr.compare(u"msec", Qt::CaseInsensitive) == 0)
            msec = parseMsec(text.mid(valueFrom, i - valueFrom));
        ++i;
    }
    if (silence)
        tag.silenceMsec = msec;
    return tag;
}

} // namespace

void SpokenText::append(QChar c, int sourceFrom, int sourceTo)
{
    text.append(c);
    from.append(sourceFrom);
    to.append(sourceTo);
}

void SpokenText::clear()
{
    text.clear();
    from.clear();
    to.clear();
    silences.clear();
}

void SpokenText::removeFront(int count)
{
    if (count <= 0)
        return;
    text.remove(0, count);
    from.remove(0, count);
    to.remove(0, count);
    QList<Silence> kept;
    for (const Silence& silence : std::as_const(silences)) {
        if (silence.at >= count)
            kept.append({silence.at - count, silence.msec});
    }
    silences = kept;
}

bool looksLikeMarkup(QStringView text)
{
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i < text.size() && text[i] == u'<' && parseTag(text, i).end > 0;
}

MarkupReader::MarkupReader(const QString& source, bool markup) : mSource(source), mMarkup(markup) {}

bool MarkupReader::read(SpokenText& out, int count)
{
    const int n = int(mSource.size());
    const int stop = std::min<qint64>(n, qint64(mPosition) + std::max(count, 1));
    if (!mMarkup) {
        out.text.reserve(out.text.size() + (stop - mPosition));
        for (; mPosition < stop; ++mPosition)
            out.append(mSource.at(mPosition), mPosition, mPosition + 1);
        return !atEnd();
    }
    while (mPosition < stop) {
        const QChar c = mSource.at(mPosition);
        if (c == u'<' && readTag(out))
            continue;
        if (c == u'&' && readEntity(out))
            continue;
        out.append(c, mPosition, mPosition + 1);
        ++mPosition;
    }
    return !atEnd();
}

bool MarkupReader::readTag(SpokenText& out)
{
    const Tag tag = parseTag(mSource, mPosition);
    if (tag.end < 0)
        return false;
    if (tag.cdataFrom >= 0) {
        for (int i = tag.cdataFrom; i < tag.cdataTo; ++i)
            out.append(mSource.at(i), i, i + 1);
    }
    if (tag.silenceMsec > 0)
        out.silences.append({int(out.text.size()), tag.silenceMsec});
    mPosition = tag.end;
    return true;
}

bool MarkupReader::readEntity(SpokenText& out)
{
    const int from = mPosition;
    const int limit = std::min<int>(mSource.size(), from + MaxEntityLength);
    const qsizetype semicolon = QStringView(mSource).left(limit).indexOf(u';', from + 1);
    if (semicolon < 0)
        return false;
    const QStringView name = QStringView(mSource).mid(from + 1, semicolon - from - 1);
    char32_t code = 0;
    if (name == u"lt")
        code = '<';
    else if (name == u"gt")
        code = '>';
    else if (name == u"amp")
        code = '&';
    else if (name == u"quot")
        code = '"';
    else if (name == u"apos")
        code = '\'';
    else if (name.startsWith(u'#') && name.size() > 1) {
        const bool hex = name[1] == u'x' || name[1] == u'X';
        bool ok = false;
        const uint value = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        code = value;
    } else {
        return false;
    }
    const int to = int(semicolon) + 1;
    for (QChar unit : QChar::fromUcs4(code))
        out.append(unit, from, to);
    mPosition = to;
    return true;
}

SpokenText spokenText(const QString& source, bool markup)
{
    SpokenText out;
    MarkupReader reader(source, markup);
    while (reader.read(out, 4096)) {
    }
    return out;
}
