#include "speech/AutoRead.h"

#include <algorithm>

namespace {

bool IsEnter(QChar key)
{
    return key == QLatin1Char('\r') || key == QLatin1Char('\n');
}

bool IsSentenceMark(QChar c)
{
    return c == QLatin1Char('!') || c == QLatin1Char('.') || c == QLatin1Char(';') || c == QLatin1Char('?');
}

bool IsLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

// Enter triggers a single word but is no delimiter: a line break in the text reads as a space, which
// separates words and not sentences.
bool IsDelimiter(QChar c, AutoReadMode mode)
{
    if (mode == AutoReadMode::SingleWord)
        return c == QLatin1Char(' ') || IsLineBreak(c) || IsSentenceMark(c);
    return IsSentenceMark(c);
}

QString TrimControls(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

} // namespace

bool IsAutoReadTrigger(QChar key, AutoReadMode mode)
{
    switch (mode) {
    case AutoReadMode::SingleWord:
        return IsEnter(key) || key == QLatin1Char(' ') || IsSentenceMark(key);
    case AutoReadMode::Sentence:
        return IsSentenceMark(key);
    case AutoReadMode::Off:
        break;
    }
    return false;
}

QString AutoReadFragment(const QString& text, int caret, QChar key, AutoReadMode mode)
{
    if (!IsAutoReadTrigger(key, mode))
        return {};
    const qsizetype end = std::clamp<qsizetype>(caret, 0, text.size());
    qsizetype start = end;
    while (start > 0 && !IsDelimiter(text.at(start - 1), mode))
        --start;
    QString fragment = text.mid(start, end - start);
    for (QChar& c : fragment)
        if (IsLineBreak(c))
            c = QLatin1Char(' ');
    return TrimControls(fragment + key);
}
