#pragma once

// HTML to text written the plain way: every search runs from where it is needed to the end of the page without
// remembering anything, each character reference is looked up as the longest name of the table that the text
// after its "&" begins with, and white space is collapsed at the end. It is slow on purpose (quadratic on
// some pages): the tests, the fuzzer and the benchmark hold the one-pass conversion against it.

#include "documents/HtmlEntities.h"

#include <QHash>
#include <QString>

#include <algorithm>
namespace reference {

inline bool isControl(QChar c)
{
    return c.unicode() <= 32;
}

inline QString trimLeft(const QString& s)
{
    qsizetype begin = 0;
    while (begin < s.size() && isControl(s.at(begin)))
        ++begin;
    return s.mid(begin);
}

inline QString trim(const QString& s)
{
    QString t = trimLeft(s);
    qsizetype end = t.size();
    while (end > 0 && isControl(t.at(end - 1)))
        --end;
    return t.left(end);
}

// Scan from the first character; a run of two or more loses all but its first character, and the scan goes
// on after the character that follows the one kept.
inline QString collapseCharRuns(QString s, const QString& ch)
{
    if (ch.size() != 1)
        return s;
    qsizetype i = 0;
    while (i < s.size()) {
        if (s.at(i) != ch.at(0)) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < s.size() && s.at(j) == ch.at(0))
            ++j;
        if (j - i >= 2) {
            s.remove(i + 1, j - i - 1);
            i += 2;
        } else {
            ++i;
        }
    }
    return s;
}

inline QString crLfToSpace(QString s)
{
    for (qsizetype p = s.indexOf(QLatin1String("\r\n")); p >= 0; p = s.indexOf(QLatin1String("\r\n")))
        s.replace(p, 2, QLatin1String(" "));
    return s;
}

inline bool isMarkupSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

inline bool isLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Character references replaced by what they stand for, in text that holds no markup.
inline QString decodeReferences(const QString& s)
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> table;
        for (const HtmlEntity& entity : HtmlEntityTable()) {
            QString text = QString::fromUcs4(&entity.first, 1);
            if (entity.second)
                text += QString::fromUcs4(&entity.second, 1);
            table.insert(QString::fromLatin1(entity.name.data(), qsizetype(entity.name.size())), text);
        }
        return table;
    }();
    QString out;
    qsizetype i = 0;
    while (i < s.size()) {
        if (s[i] != u'&') {
            out += s[i++];
            continue;
        }
        if (i + 1 < s.size() && s[i + 1] == u'#') {
            const bool hex = i + 2 < s.size() && (s[i + 2] == u'x' || s[i + 2] == u'X');
            const qsizetype digits = i + 2 + (hex ? 1 : 0);
            qsizetype end = digits;
            while (end < s.size() && QStringLiteral("0123456789abcdefABCDEF").left(hex ? 22 : 10).contains(s[end]))
                ++end;
            if (end == digits) {
                out += s[i++];
                continue;
            }
            // The digits without their leading zeros tell whether the number is past the last code point.
            QString number = s.mid(digits, end - digits);
            while (number.size() > 1 && number.startsWith(u'0'))
                number.remove(0, 1);
            bool fits = number.size() <= 8;
            const qint64 value = fits ? number.toLongLong(nullptr, hex ? 16 : 10) : 0;
            fits = fits && value <= 0x10FFFF;
            char32_t c = fits ? char32_t(value) : 0xFFFD;
            if (c == 0 || (c >= 0xD800 && c <= 0xDFFF))
                c = 0xFFFD;
            if (c >= 0x80 && c <= 0x9F) {
                static const QHash<char32_t, char32_t> remap{
                    {0x80, 0x20AC}, {0x82, 0x201A}, {0x83, 0x192},  {0x84, 0x201E}, {0x85, 0x2026}, {0x86, 0x2020},
                    {0x87, 0x2021}, {0x88, 0x2C6},  {0x89, 0x2030}, {0x8A, 0x160},  {0x8B, 0x2039}, {0x8C, 0x152},
                    {0x8E, 0x17D},  {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022},
                    {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x2DC},  {0x99, 0x2122}, {0x9A, 0x161},  {0x9B, 0x203A},
                    {0x9C, 0x153},  {0x9E, 0x17E},  {0x9F, 0x178}};
                c = remap.value(c, c);
            }
            out += QString::fromUcs4(&c, 1);
            i = end < s.size() && s[end] == u';' ? end + 1 : end;
            continue;
        }
        qsizetype length = std::min<qsizetype>(32, s.size() - i - 1);
        while (length > 0 && !names.contains(s.mid(i + 1, length)))
            --length;
        if (length == 0) {
            out += s[i++];
            continue;
        }
        out += names.value(s.mid(i + 1, length));
        i += 1 + length;
    }
    return out;
}

// Where the tag whose attributes start at `p` ends: the first ">" outside quoted attribute values, else the
// first ">" after its "<", else -1.
inline qsizetype tagEnd(const QString& s, qsizetype lt, qsizetype p)
{
    enum
    {
        BeforeName,
        Name,
        AfterName,
        BeforeValue,
        Unquoted
    } state = BeforeName;
    for (; p < s.size(); ++p) {
        const QChar c = s[p];
        switch (state) {
        case BeforeName:
            if (c == u'>')
                return p;
            if (!isMarkupSpace(c) && c != u'/')
                state = Name;
            break;
        case Name:
            if (c == u'>')
                return p;
            if (c == u'=')
                state = BeforeValue;
            else if (isMarkupSpace(c))
                state = AfterName;
            else if (c == u'/')
                state = BeforeName;
            break;
        case AfterName:
            if (c == u'>')
                return p;
            if (c == u'=')
                state = BeforeValue;
            else if (c == u'/')
                state = BeforeName;
            else if (!isMarkupSpace(c))
                state = Name;
            break;
        case BeforeValue:
            if (c == u'"' || c == u'\'') {
                const qsizetype close = s.indexOf(c, p + 1);
                if (close < 0)
                    return s.indexOf(u'>', lt);
                p = close;
                state = BeforeName;
            } else if (c == u'>') {
                return p;
            } else if (!isMarkupSpace(c)) {
                state = Unquoted;
            }
            break;
        case Unquoted:
            if (c == u'>')
                return p;
            if (isMarkupSpace(c))
                state = BeforeName;
            break;
        }
    }
    return s.indexOf(u'>', lt);
}

// Letters A to Z in lower case; markup ignores the case of no other letter.
inline QString asciiLower(QString s)
{
    for (QChar& c : s) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return s;
}

inline qsizetype rawTextEnd(const QString& s, qsizetype from, const QString& name)
{
    for (qsizetype p = from; p + 2 + name.size() < s.size(); ++p) {
        const QChar after = s[p + 2 + name.size()];
        if (asciiLower(s.mid(p, 2 + name.size())) == QStringLiteral("</") + name &&
            (isMarkupSpace(after) || after == u'/' || after == u'>'))
            return p;
    }
    return s.size();
}

inline QString htmlToText(const QString& s)
{
    static const QStringList blocks =
        QStringLiteral(
            "address article aside blockquote body br caption center dd details dialog dir div dl dt fieldset "
            "figcaption figure footer form frameset h1 h2 h3 h4 h5 h6 head header hgroup hr html legend li listing "
            "main menu nav ol optgroup option p plaintext pre section summary table tbody td tfoot th thead title tr "
            "ul")
            .split(u' ');
    static const QStringList unread = QStringLiteral("script style noscript iframe noembed noframes xmp").split(u' ');
    QString text;    // what is read, with a space at each break between words
    QString pending; // text not yet decoded
    int hidden = 0;
    int svg = 0;
    qsizetype textOnlyUntil = 0;
    auto flush = [&] {
        if (hidden == 0)
            text += decodeReferences(pending);
        pending.clear();
    };
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
        const QChar afterNext = i + 2 < s.size() ? s[i + 2] : QChar();
        if (c != u'<' || i < textOnlyUntil) {
            pending += c;
            ++i;
            continue;
        }
        flush();
        if (next == u'!' && s.mid(i, 4) == QStringLiteral("<!--")) {
            qsizetype end = -1;
            if (s.mid(i + 4, 1) == QStringLiteral(">"))
                end = i + 4;
            else if (s.mid(i + 4, 2) == QStringLiteral("->"))
                end = i + 5;
            for (qsizetype p = i + 4; end < 0 && p + 2 < s.size(); ++p) {
                if (s.mid(p, 3) == QStringLiteral("-->"))
                    end = p + 2;
                else if (s.mid(p, 4) == QStringLiteral("--!>"))
                    end = p + 3;
            }
            if (end < 0)
                end = s.indexOf(u'>', i);
            i = end < 0 ? i + 1 : end + 1;
        } else if (next == u'!' || next == u'?' ||
                   (next == u'/' && afterNext != u'>' && !isLetter(afterNext) && i + 2 < s.size())) {
            const qsizetype end = s.indexOf(u'>', i);
            i = end < 0 ? i + 1 : end + 1;
        } else if (next == u'/' && afterNext == u'>') {
            i += 3;
        } else if (isLetter(next) || (next == u'/' && isLetter(afterNext))) {
            const bool closing = next == u'/';
            qsizetype p = i + (closing ? 2 : 1);
            while (p < s.size() && !isMarkupSpace(s[p]) && s[p] != u'/' && s[p] != u'>')
                ++p;
            const QString name = asciiLower(s.mid(i + (closing ? 2 : 1), p - i - (closing ? 2 : 1)));
            const qsizetype end = tagEnd(s, i, p);
            if (end < 0) {
                ++i;
                continue;
            }
            i = end + 1;
            const bool label = svg > 0 && (name == QStringLiteral("title") || name == QStringLiteral("desc"));
            if (closing) {
                if (name == QStringLiteral("template") || label)
                    hidden = std::max(hidden - 1, 0);
                else if (name == QStringLiteral("svg"))
                    svg = std::max(svg - 1, 0);
                if (blocks.contains(name) && !label)
                    text += u' ';
                continue;
            }
            if (label) {
                ++hidden;
                continue;
            }
            if (blocks.contains(name))
                text += u' ';
            if (name == QStringLiteral("template"))
                ++hidden;
            else if (name == QStringLiteral("svg") && s[end - 1] != u'/')
                ++svg;
            else if (unread.contains(name))
                i = rawTextEnd(s, i, name);
            else if (name == QStringLiteral("title") || name == QStringLiteral("textarea"))
                textOnlyUntil = rawTextEnd(s, i, name);
        } else {
            pending += c;
            ++i;
        }
    }
    flush();
    for (QChar& c : text) {
        if (isMarkupSpace(c) || c == QChar(0xA0))
            c = u' ';
    }
    return trim(collapseCharRuns(text, QStringLiteral(" ")));
}

} // namespace reference
