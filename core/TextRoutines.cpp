#include "core/TextRoutines.h"

#include <algorithm>
#include <vector>

namespace {

bool isControl(QChar c)
{
    return c.unicode() <= 32;
}

QString replaceTabs(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '));
}

// Every tag goes, from its "<" to the last ">" of the first run of ">" after it, in one pass: the text
// before the first "<" never holds another "<", so each new search can start where the last tag ended.
QString removeTags(const QString& text)
{
    const qsizetype n = text.size();
    QString out;
    out.reserve(n);
    bool noMoreEnds = false;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('<')) {
            out.append(c);
            ++i;
            continue;
        }
        qsizetype end = -1;
        if (!noMoreEnds) {
            for (qsizetype q = i; q < n; ++q) {
                if (text.at(q) == QLatin1Char('>') && (q + 1 == n || text.at(q + 1) != QLatin1Char('>'))) {
                    end = q;
                    break;
                }
            }
        }
        if (end < 0) {
            // A "<" that is never closed: only the "<" goes, and no later "<" can be closed either.
            noMoreEnds = true;
            ++i;
        } else {
            i = end + 1;
        }
    }
    return out;
}

// Walks from the last character to the first; an "&" not followed by a space deletes everything up to the
// first ";" after it in the text as it stands by then. The processed tail is kept reversed, so deleting
// from its front is popping from the back, and each character is pushed and popped at most once.
QString removeEntities(const QString& text)
{
    std::vector<QChar> tail;
    tail.reserve(text.size());
    qsizetype semicolons = 0;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&') && (tail.empty() || tail.back() != QLatin1Char(' ')) && semicolons > 0) {
            while (tail.back() != QLatin1Char(';'))
                tail.pop_back();
            continue;
        }
        if (c == QLatin1Char(';'))
            ++semicolons;
        tail.push_back(c);
    }
    QString out;
    out.reserve(qsizetype(tail.size()));
    for (auto it = tail.rbegin(); it != tail.rend(); ++it)
        out.append(*it);
    return out;
}

QString collapseRuns(const QString& text, QChar ch)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == ch && i > 0 && text.at(i - 1) == ch)
            continue;
        out.append(c);
    }
    return out;
}

} // namespace

QString TrimControl(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isControl(text.at(begin)))
        ++begin;
    while (end > begin && isControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimLeftControl(const QString& text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isControl(text.at(begin)))
        ++begin;
    return text.mid(begin);
}

QString CollapseSpaces(const QString& text)
{
    return collapseRuns(text, QLatin1Char(' '));
}

QString CollapseCharRuns(const QString& text, const QString& ch)
{
    if (ch.size() != 1)
        return text;
    return collapseRuns(text, ch.at(0));
}

QString CrLfToSpace(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            out.append(QLatin1Char(' '));
            ++i;
        } else {
            out.append(text.at(i));
        }
    }
    return out;
}

QString HtmlToText(const QString& text)
{
    // Trimming the left after each tag, as the steps are usually told, changes nothing that the trim after
    // the tabs does not do anyway: only characters of code 32 or below ever become leading.
    QString s = removeTags(text);
    s = TrimControl(replaceTabs(s));
    s = TrimControl(CrLfToSpace(s));
    s = CollapseSpaces(s);
    s = removeEntities(s);
    s = CollapseCharRuns(s, QStringLiteral(";"));
    s.replace(QLatin1Char(';'), QLatin1Char(' '));
    return TrimControl(s);
}
