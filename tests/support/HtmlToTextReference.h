#pragma once

// The HTML-to-text conversion written the plain way, step by step, rescanning from the start after every
// tag and deleting in place. It is slow (quadratic) on purpose: the tests and the benchmark hold the fast
// conversion against it.

#include <QString>

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

inline QString htmlToText(QString s)
{
    // 1. Tags, always searching again from the start; an unclosed "<" is dropped on its own.
    for (qsizetype open = s.indexOf(QLatin1Char('<')); open >= 0; open = s.indexOf(QLatin1Char('<'))) {
        qsizetype close = -1;
        for (qsizetype k = open; k < s.size(); ++k) {
            if (s.at(k) == QLatin1Char('>') && (k + 1 == s.size() || s.at(k + 1) != QLatin1Char('>'))) {
                close = k;
                break;
            }
        }
        if (close < 0)
            s.remove(open, 1);
        else
            s.remove(open, close - open + 1);
        s = trimLeft(s);
    }
    // 2. and 3.
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    s = trim(s);
    s = trim(crLfToSpace(s));
    // 4.
    s = collapseCharRuns(s, QStringLiteral(" "));
    // 5. Entities, from the last character to the first, each deletion seen by the "&"s before it.
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        if (s.at(i) != QLatin1Char('&') || (i + 1 < s.size() && s.at(i + 1) == QLatin1Char(' ')))
            continue;
        const qsizetype semicolon = s.indexOf(QLatin1Char(';'), i + 1);
        if (semicolon >= 0)
            s.remove(i, semicolon - i);
    }
    // 6. to 8.
    s = collapseCharRuns(s, QStringLiteral(";"));
    s.replace(QLatin1Char(';'), QLatin1Char(' '));
    return trim(trim(s));
}

} // namespace reference
